#pragma once

#include <QString>
#include <QStringList>

namespace language {

// The language a program (gateway-cli, gateway-sim) speaks to a person: the
// one `--lang en|ru` names (anywhere among the arguments), else the
// variable GATEWAY_LANG, else the system's (QLocale::system().uiLanguages():
// on Linux LANGUAGE, LC_ALL, LC_MESSAGES, LANG; on Windows the user's
// display language): Russian for ru, English for anything else, C and POSIX
// included. Loads the program's translation (:/translations/PROGRAM_xx.qm,
// built into it) and returns the arguments without --lang; a language it
// does not know is a fault, said in the system's language.
QStringList choose(const QString &program, const QStringList &arguments, QString *fault);

// Whether the texts for a person are in English, the sources' language
// (always so while a SourceTexts lives).
bool english();
// A number as a person reads it, with `decimals` digits after the decimal
// separator of the person's language: 1.3 in English, 1,3 in Russian. What
// programs read (JSON, reports, the simulator's log) keeps its point and
// never comes through here.
QString decimal(double value, int decimals);

// While one lives, texts come out untranslated, in English: JSON documents
// are made under it, so that they are the same in every language.
class SourceTexts
{
public:
    SourceTexts();
    ~SourceTexts();
    SourceTexts(const SourceTexts &) = delete;
    SourceTexts &operator=(const SourceTexts &) = delete;

private:
    bool installed = false;
};

} // namespace language
