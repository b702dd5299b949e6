#pragma once

#include "command.h"

// The commands that prove the bridge over Modbus TCP, each row beside its
// handler: the check through a gateway, and the server a module in client
// mode connects to.
namespace cli {

extern const Command checkCommand;
extern const Command serveCommand;

} // namespace cli
