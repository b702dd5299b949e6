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
// The options that several commands take alike: --overwrite (a file the
// command writes) and --reboot-timeout (S, the wait for a module's return).
QCommandLineOption overwriteOption();
QCommandLineOption rebootTimeoutOption();

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

} // namespace cli
