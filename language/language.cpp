#include "language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace language {

namespace {

const QStringList known{QStringLiteral("en"), QStringLiteral("ru")};

QString systemLanguage()
{
    const QString first = QLocale::system().uiLanguages().value(0);
    return first.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower() == QLatin1String("ru")
        ? QStringLiteral("ru")
        : QStringLiteral("en");
}

QTranslator &translator()
{
    static QTranslator one;
    return one;
}
bool loaded = false;
// The language of the translation loaded: "en" or "ru".
QString current = QStringLiteral("en");
// How many SourceTexts live.
int sourceDepth = 0;

// Loads the program's translation into the language `code` (English has
// one for its plural forms only).
void load(const QString &program, const QString &code)
{
    QCoreApplication::removeTranslator(&translator());
    loaded = translator().load(QStringLiteral(":/translations/%1_%2.qm").arg(program, code))
        && QCoreApplication::installTranslator(&translator());
    current = loaded ? code : QStringLiteral("en");
}

} // namespace

QStringList choose(const QString &program, const QStringList &arguments, QString *fault)
{
    QStringList rest;
    QString chosen = qEnvironmentVariable("GATEWAY_LANG");
    QString source = QStringLiteral("GATEWAY_LANG");
    bool given = !chosen.isEmpty();
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        // As the parser takes options: -lang too.
        const QString name = a.startsWith(QLatin1String("--")) ? a.mid(2) : a.mid(1);
        if (i > 0 && a.startsWith(QLatin1Char('-')) && name == QLatin1String("lang")) {
            chosen = arguments.value(++i);
        } else if (i > 0 && a.startsWith(QLatin1Char('-')) && name.startsWith(QLatin1String("lang="))) {
            chosen = name.mid(5);
        } else {
            rest << a;
            continue;
        }
        source = QStringLiteral("--lang");
        given = true;
    }
    if (given && !known.contains(chosen)) {
        load(program, systemLanguage());
        *fault = QCoreApplication::translate("language", "%1 \"%2\": must be en or ru").arg(source, chosen);
        return rest;
    }
    load(program, given ? chosen : systemLanguage());
    return rest;
}

bool english()
{
    return current == QLatin1String("en") || sourceDepth > 0;
}

QString decimal(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (!english())
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

SourceTexts::SourceTexts()
    : installed(loaded)
{
    ++sourceDepth;
    if (installed)
        QCoreApplication::removeTranslator(&translator());
}

SourceTexts::~SourceTexts()
{
    --sourceDepth;
    if (installed)
        QCoreApplication::installTranslator(&translator());
}

} // namespace language
