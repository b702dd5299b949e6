#pragma once

#include <QList>
#include <QStringList>

#include "command.h"

// gateway-cli's commands as one table: each row with its name, usage,
// texts, options and handler (command.h). The handlers live in the files
// named; each parses its options, plans the modules' jobs, runs them
// (BatchRun) and renders what came of them.
namespace cli {

// The rows, in the order the help lists them; made anew at each call, so
// that a translator loaded before applies.
QList<Command> commands();

// Each row, from the file of its handler.
Command portsCommand();        // portcommands.cpp
Command findCommand();         // portcommands.cpp
Command scanCommand();         // modulecommands.cpp
Command writeCommand();        // modulecommands.cpp
Command diffCommand();         // modulecommands.cpp
Command rebootCommand();       // modulecommands.cpp
Command factoryResetCommand(); // modulecommands.cpp
Command planCommand();         // batchcommands.cpp
Command batchCommand();        // batchcommands.cpp
Command checkCommand();        // check.cpp
Command surveyCommand();       // surveycommand.cpp
Command tuneCommand();         // tune.cpp
Command serveCommand();        // serve.cpp

// The whole program: the command named first, --help, --version.
int main(const QStringList &arguments);

} // namespace cli
