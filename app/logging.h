#pragma once

#include <QLoggingCategory>

// Developer traces. Both categories are on by default, like plain debug
// output; switch them with the usual rules, for example
// QT_LOGGING_RULES="gateway.protocol.debug=false". The port's own reasons
// for its failures go to a third, gateway.link (link/portlog.h).
Q_DECLARE_LOGGING_CATEGORY(lcProtocol)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
