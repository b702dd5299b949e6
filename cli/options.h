#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include "run.h"

namespace cli {

// A command's options: the common ones and its own, parsed from the
// arguments after the command's name.
class Options
{
public:
    explicit Options(const QString &command);
    // One of the command's own options.
    void add(const QCommandLineOption &option) { parser.addOption(option); }

    // Parses the arguments. False when the command is not to run: --help or
    // --version was given (exit status 0), or the arguments are bad (a
    // message was given, exit status 2); `exitCode` says which.
    bool parse(const QStringList &args, int minPositional, int maxPositional, int *exitCode);

    bool isSet(const QString &name) const { return parser.isSet(name); }
    QString value(const QString &name) const { return parser.value(name); }
    QStringList values(const QString &name) const { return parser.values(name); }
    // A whole number option within its bounds, or a message and false.
    bool number(const QString &name, int min, int max, int *out) const;

    Common common;
    QStringList positional;

private:
    QString command;
    QCommandLineParser parser;
};

} // namespace cli
