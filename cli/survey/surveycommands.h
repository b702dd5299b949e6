#pragma once

#include "command.h"

// The commands that find the devices on a gateway's line, each row beside
// its handler: the survey of its units, and tune's tries of its settings.
namespace cli {

extern const Command surveyCommand;
extern const Command tuneCommand;

} // namespace cli
