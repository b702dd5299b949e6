#pragma once

#include "command.h"

// The commands of many modules at once, each row beside its handler: the
// plan that numbers their addresses, and the batch that commissions them.
namespace cli {

extern const Command planCommand;
extern const Command batchCommand;

} // namespace cli
