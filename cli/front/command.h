#pragma once

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <cstddef>

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

// An exit code with what it means to a person, for the help: the meaning
// is QT_TRANSLATE_NOOP("cli", ...), translated when the help is made.
struct ExitCode {
    int code;
    const char *meaning;
};

// A command's own exit codes: a table at namespace scope (exitCodeList()),
// or none, for those of every command on a serial port (exitcode.h).
struct ExitCodes {
    const ExitCode *rows = nullptr;
    int count = 0;
};
template <std::size_t N>
constexpr ExitCodes exitCodeList(const ExitCode (&rows)[N])
{
    return {rows, int(N)};
}

// The options of a command that has none of its own.
inline QList<QCommandLineOption> noOptions()
{
    return {};
}

// A row of gateway-cli's command table (commands.h): what the command is
// called, takes and does, for its parsing and for the help made from it,
// and its handler. Each is a constant at namespace scope in its handler's
// file, declared in its part's header. Its texts for a person are
// QT_TRANSLATE_NOOP("cli", ...), translated when the help is made, and its
// options are made by a function, so that a translator loaded before
// applies to both.
struct Command {
    // Whether it talks to modules through their serial ports (and so takes
    // --interval), or only over the network.
    enum Side { Serial, Network };

    const char *name;
    // Its arguments as the program's list of commands shows them ("PORT [FILE]").
    const char *arguments;
    // Its whole usage after its name ("PORT [FILE] [--set KEY=VALUE]... [OPTION]...").
    const char *synopsis;
    // How many arguments it takes besides its options; -1: any number.
    int minArguments;
    int maxArguments;
    Side side;
    // One line for the program's list of commands.
    const char *summary;
    // What it does: its help's paragraphs before its options.
    const char *about;
    // Its own options with their descriptions; those of every command are
    // added to them (options.h).
    QList<QCommandLineOption> (*options)();
    // Its help's paragraphs after its options; null for none.
    const char *notes;
    // Its exit codes, where they are not those of every command.
    ExitCodes exitCodes;
    // Parses what its options hold, plans, runs and renders; the exit code.
    int (*run)(const Options &options);
};

} // namespace cli
