#pragma once

#include <QList>
#include <QStringList>

#include "command.h"

// gateway-cli's commands as one table: each row with its name, usage,
// texts, options and handler (command.h), declared by its part
// (serialcommands.h, batchcommands.h, bridgecommands.h, surveycommands.h);
// each handler parses its options, plans the modules' jobs, runs them
// (BatchRun) and renders what came of them.
namespace cli {

// The rows, in the order the help lists them.
QList<const Command *> commands();

// The whole program: the command named first, --help, --version.
int main(const QStringList &arguments);

} // namespace cli
