#include "logging.h"

Q_LOGGING_CATEGORY(lcProtocol, "gateway.protocol")
Q_LOGGING_CATEGORY(lcSettings, "gateway.settings")
