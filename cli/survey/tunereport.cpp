#include "tunereport.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <cmath>
#include <functional>

#include "keys.h"
#include "language.h"
#include "modulevalues.h"
#include "plan.h"
#include "report.h"
#include "surveyreport.h"

namespace tunereport {

namespace {

using cli::Tuning;
using proto::Param;
namespace key = cli::key;

QString tr(const char *text)
{
    return QCoreApplication::translate("tunereport", text);
}

QString tr(const char *text, const char *disambiguation, int n)
{
    return QCoreApplication::translate("tunereport", text, disambiguation, n);
}

QString unitList(const QVector<int> &units, const QString &separator)
{
    QStringList out;
    for (const int u : units)
        out << QString::number(u);
    return out.join(separator);
}

QJsonArray unitArray(const QVector<int> &units)
{
    QJsonArray out;
    for (const int u : units)
        out << u;
    return out;
}

QJsonValue settingJson(const cli::LineSetting &s)
{
    if (s.isEmpty())
        return QJsonValue();
    return QJsonObject{{proto::nameOf(Param::Speed), s.speed},
                       {proto::nameOf(Param::Parity), s.parity},
                       {proto::nameOf(Param::StopBits), s.stopBits}};
}

QStringList namesOf(const QList<Param> &params)
{
    QStringList names;
    for (const Param p : params)
        names << proto::nameOf(p);
    return names;
}

// Where the module stands at the end, for a person.
QString standingText(const Tuning &tuning)
{
    const Tuning::Result &r = tuning.result();
    if (!r.changed)
        return tr("the module's line settings were not changed: %1\n").arg(r.original.text());
    if (r.ending == Tuning::Ending::Found)
        return tr("the module is left at %1 (read back)\n").arg(r.final.text());
    if (tuning.restored())
        return tr("the module was put back at %1 (read back)\n").arg(r.original.text());
    if (!r.final.isEmpty())
        return tr("the module could not be put back: it stands at %1 (read back); it was at %2\n")
            .arg(r.final.text(), r.original.text());
    return tr("the module could not be put back and its line settings are not known: it was at %1; write "
              "them with gateway-cli write --set speed=... --set parity=... --set stop_bits=...\n")
        .arg(r.original.text());
}

} // namespace

QString moduleText(const Tuning &tuning)
{
    const ModuleValues &m = tuning.result().module;
    return tr("%1: module %2, line %3, timeout_response %4 ms; %n setting(s) to try\n", "",
              tuning.asked().settings.size())
        .arg(tuning.asked().port, m.value(Param::Mac), tuning.result().original.text(),
             m.value(Param::TimeoutResponse));
}

QString triedText(const Tuning::Try &t)
{
    if (!t.found.isEmpty())
        return tr("%1: found %n device(s): unit(s) %2\n", "", t.found.size())
            .arg(t.setting.text(), unitList(t.found, QStringLiteral(", ")));
    if (t.result == QLatin1String("none"))
        return tr("%1: no device answered (%2 units asked)\n").arg(t.setting.text()).arg(t.unitsAsked);
    if (t.result == QLatin1String("interrupted"))
        return tr("%1: interrupted\n").arg(t.setting.text());
    return tr("%1: %2 %3\n").arg(t.setting.text(), t.result, t.detailText);
}

QString endText(const Tuning &tuning)
{
    const Tuning::Result &r = tuning.result();
    QString out;
    // Nothing is known of the module's line (nor changed): the messages said why.
    if (r.ending == Tuning::Ending::Refused || r.original.isEmpty())
        return r.ending == Tuning::Ending::Interrupted ? tr("interrupted\n") : out;
    if (r.foundAt >= 0) {
        const Tuning::Try &t = r.tried[r.foundAt];
        out += tr("found at %1: %n device(s), unit(s) %2\n", "", t.found.size())
                   .arg(t.setting.text(), unitList(t.found, QStringLiteral(", ")));
    } else if (r.ending == Tuning::Ending::NoneFound) {
        out += tr("no device answered at the %n setting(s) tried\n", "", r.tried.size());
    }
    if (tuning.severalSettings())
        out += tr("devices answered at more than one setting: one line carries one setting, so those at the "
                  "others cannot be reached while the module is at the first\n");
    if (r.ending == Tuning::Ending::Failed && !r.failure.isEmpty())
        out += tr("failed: %1\n").arg(r.failure);
    if (r.ending == Tuning::Ending::Interrupted)
        out += tr("interrupted\n");
    return out + standingText(tuning);
}

QString resultWord(const Tuning &tuning)
{
    switch (tuning.result().ending) {
    case Tuning::Ending::Found:
        return QStringLiteral("found");
    case Tuning::Ending::NoneFound:
        return QStringLiteral("none");
    case Tuning::Ending::Refused:
        return QStringLiteral("refused");
    case Tuning::Ending::Failed:
        return QStringLiteral("failed");
    case Tuning::Ending::Interrupted:
        return QStringLiteral("interrupted");
    }
    return QString();
}

QJsonObject json(const Tuning &tuning)
{
    const language::SourceTexts english;
    const Tuning::Result &r = tuning.result();
    QJsonArray tried;
    for (const Tuning::Try &t : r.tried) {
        QJsonObject o = settingJson(t.setting).toObject();
        o.insert(key::written(), QJsonArray::fromStringList(namesOf(t.written)));
        o.insert(key::unitsAsked(), t.unitsAsked);
        o.insert(key::found(), unitArray(t.found));
        o.insert(key::result(), t.result);
        o.insert(key::detail(), t.detail.isEmpty() ? QJsonValue() : QJsonValue(t.detail));
        o.insert(key::ms(), std::round(t.ms * 1000) / 1000);
        tried << o;
    }
    QJsonValue found;
    if (r.foundAt >= 0) {
        QJsonObject f = settingJson(r.tried[r.foundAt].setting).toObject();
        f.insert(key::units(), unitArray(r.tried[r.foundAt].found));
        found = f;
    }
    const QString detail = r.ending == Tuning::Ending::Refused ? r.refusal : r.failure;
    return {{key::port(), tuning.asked().port},
            {key::via(), QStringLiteral("%1:%2").arg(tuning.asked().viaHost).arg(tuning.asked().viaPort)},
            {key::result(), resultWord(tuning)},
            {key::detail(), detail.isEmpty() ? QJsonValue() : QJsonValue(detail)},
            {key::original(), settingJson(r.original)},
            {key::tried(), tried},
            {key::found(), found},
            {key::severalSettings(), tuning.severalSettings()},
            {key::finalSettings(), settingJson(r.final)},
            {key::restored(), tuning.restored()}};
}

QString csv(const Tuning &tuning, const QString &tool, const QString &host)
{
    const QString via = QStringLiteral("%1:%2").arg(tuning.asked().viaHost).arg(tuning.asked().viaPort);
    const QStringList columns{key::step(),       key::port(),  key::via(),
                              proto::nameOf(Param::Speed), proto::nameOf(Param::Parity), proto::nameOf(Param::StopBits),
                              key::written(),    key::unitsAsked(), key::found(), key::result(), key::detail(),
                              key::ms(),         key::started(), key::finished(), key::tool(), key::host()};
    QString text;
    const auto line = [&text](const QStringList &cells) {
        QStringList quoted;
        for (const QString &c : cells)
            quoted << csv::field(c);
        text += quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    };
    line(columns);
    const auto row = [&](const QString &step, const Tuning::Try &t) {
        line({step, tuning.asked().port, via, t.setting.speed, t.setting.parity, t.setting.stopBits,
              namesOf(t.written).join(QLatin1Char(' ')), t.surveyed ? QString::number(t.unitsAsked) : QString(),
              unitList(t.found, QStringLiteral(" ")), t.result, t.detail,
              t.ms > 0 ? QString::number(t.ms, 'f', 1) : QString(), report::isoTime(t.started),
              report::isoTime(t.finished), tool, host});
    };
    const Tuning::Result &r = tuning.result();
    for (int i = 0; i < r.tried.size(); ++i)
        row(QString::number(i + 1), r.tried[i]);
    if (r.moved)
        row(r.ending == Tuning::Ending::Found ? QStringLiteral("move") : QStringLiteral("put-back"), r.move);
    return text;
}

} // namespace tunereport
