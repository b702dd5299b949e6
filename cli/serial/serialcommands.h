#pragma once

#include "command.h"

// The commands over a module's configuration port, each row beside its
// handler: the ports and the modules on them, one module's scan, write,
// diff, reboot and factory reset.
namespace cli {

extern const Command portsCommand;
extern const Command findCommand;
extern const Command scanCommand;
extern const Command writeCommand;
extern const Command diffCommand;
extern const Command rebootCommand;
extern const Command factoryResetCommand;

} // namespace cli
