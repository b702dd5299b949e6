#pragma once

#include <QString>

#include "commissioning.h"
#include "keys.h"

// The words of gateway-cli's interface, which scripts read and which are
// never translated: the result words, and (keys.h) the names of the JSON
// documents' keys and of the report's columns.
namespace cli {

// One word for an outcome, as reports and JSON give it: ok, refused,
// mismatch, garbled, invalid, silent, lost, no-port, not-serial, busy,
// interrupted.
QString resultWord(Commissioning::Outcome outcome);

} // namespace cli
