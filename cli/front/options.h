#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include "command.h"
#include "modulesession.h"

namespace cli {

// What every command takes.
struct Common {
    int interval = ModuleSession::DefaultInterval;
    bool verbose = false;
    bool json = false;
};

// The options of every command, with their descriptions; --interval only
// for those on a serial port.
QList<QCommandLineOption> commonOptions(bool serial = true);

// A command's arguments as parsed: the options of every command and its
// own, each read back through the very option its table row gives.
class Options
{
public:
    explicit Options(const Command &command);

    // Parses the arguments after the command's name. False when the command
    // is not to run: --help or --version was given (exit status 0), or the
    // arguments are bad (a message was given, exit status 2); `exitCode`
    // says which.
    bool parse(const QStringList &args, int *exitCode);

    bool isSet(const QCommandLineOption &option) const { return parser.isSet(option); }
    QString value(const QCommandLineOption &option) const { return parser.value(option); }
    QStringList values(const QCommandLineOption &option) const { return parser.values(option); }
    // A whole number option within its bounds, or a message and false.
    bool number(const QCommandLineOption &option, int min, int max, int *out) const;

    const Command &command;
    Common common;
    QStringList positional;

private:
    QCommandLineParser parser;
};

// The options that commands of several parts take alike, each declared
// here once; a command whose use of one differs says how in its own help.
// The network's reads (--unit, --read, --timeout, --via) are in
// netoptions.h.
namespace option {

// -o, --output FILE: the file a command writes.
QCommandLineOption output();
// --overwrite: that file, or a report, replaced if it exists.
QCommandLineOption overwrite();
// --force: the values sent unchecked.
QCommandLineOption force();
// --only-changed: a scan first, and only the values that differ written.
QCommandLineOption onlyChanged();
// --reboot-timeout S: the wait for a module's return after its restart.
QCommandLineOption rebootTimeout();
// --report FILE: the record of what a command did.
QCommandLineOption report();

// --reboot-timeout in milliseconds (30 s when not given); false, with a
// message, when it is no number of seconds 1-3600.
bool rebootTimeoutMs(const Options &o, int *ms);

} // namespace option

} // namespace cli
