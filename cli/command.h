#pragma once

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QString>

namespace cli {

// A text for a person: translated once gateway-cli's translator is loaded.
// The words scripts read are not (words.h). The context is the namespace's
// name, as lupdate files a tr() called in namespace cli.
inline QString tr(const char *text)
{
    return QCoreApplication::translate("cli", text);
}
// The same with a count for the text's %n and its plural forms (Russian has
// three), as QObject::tr() takes it.
inline QString tr(const char *text, const char *disambiguation, int n)
{
    return QCoreApplication::translate("cli", text, disambiguation, n);
}

class Options;

// An exit code with what it means to a person, for the help.
struct ExitCode {
    int code;
    QString meaning;
};

// A row of gateway-cli's command table (commands.h): what the command is
// called, takes and does, for its parsing and for the help made from it,
// and its handler. The texts are made at run time, so that a translator
// loaded before applies.
struct Command {
    QString name;
    // Its arguments as the program's list of commands shows them ("PORT [FILE]").
    QString arguments;
    // Its whole usage after its name ("PORT [FILE] [--set KEY=VALUE]... [OPTION]...").
    QString synopsis;
    // One line for the program's list of commands.
    QString summary;
    // What it does: its help's paragraphs before its options.
    QString about;
    // Its own options with their descriptions; those of every command are
    // added to them (options.h).
    QList<QCommandLineOption> options;
    // Its help's paragraphs after its options; may be empty.
    QString notes;
    // Its exit codes, where they are not those of every command (exitcode.h).
    QList<ExitCode> exitCodes;
    // Whether it talks to modules through their serial ports (and so takes
    // --interval).
    bool serial = true;
    // How many arguments it takes besides its options; -1: any number.
    int minArguments = 0;
    int maxArguments = 0;
    // Parses what its options hold, plans, runs and renders; the exit code.
    int (*run)(const Options &options) = nullptr;
};

} // namespace cli
