#include "surveyreport.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <cmath>

#include "checkreport.h"
#include "checkwords.h"
#include "keys.h"
#include "language.h"
#include "modbus.h"

namespace surveyreport {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("surveyreport", text);
}

QString tr(const char *text, const char *disambiguation, int n)
{
    return QCoreApplication::translate("surveyreport", text, disambiguation, n);
}

QString unitList(const QVector<int> &units)
{
    QStringList out;
    for (const int u : units)
        out << QString::number(u);
    return out.join(QStringLiteral(", "));
}

QJsonValue msValue(double value)
{
    return QJsonValue(std::round(value * 1000) / 1000);
}

QJsonObject foundJson(const ModbusCheck::Answer &a)
{
    using namespace cli;
    QJsonArray values;
    for (const quint16 v : a.values)
        values << int(v);
    const bool exception = a.outcome == ModbusCheck::Outcome::Exception;
    return {{key::unit(), a.read.unit},
            {key::values(), exception ? QJsonValue() : QJsonValue(values)},
            {key::exception(), exception ? QJsonValue(a.exception) : QJsonValue()},
            {key::exceptionName(), exception ? QJsonValue(checkwords::exceptionName(a.exception)) : QJsonValue()},
            {key::ms(), a.ms.isEmpty() ? QJsonValue() : msValue(a.ms.last())}};
}

} // namespace

QString duration(double ms)
{
    const qint64 s = qint64(ms / 1000.0 + 0.5);
    if (s < 60)
        return tr("%1 s").arg(language::decimal(ms / 1000.0, 1));
    return tr("%1 min %2 s").arg(s / 60).arg(s % 60);
}

QString foundText(const Survey &survey, int index)
{
    const ModbusCheck::Answer &a = survey.answer(index);
    QString line = tr("unit %1: %2").arg(a.read.unit).arg(checkreport::answerOutcome(*survey.check(), a));
    if (a.outcome == ModbusCheck::Outcome::Exception)
        line += tr(": its own exception, a device is there");
    return line + QLatin1Char('\n');
}

QString progressText(const Survey &survey)
{
    const int all = survey.asked().units.size();
    const int asked = survey.unitsAsked();
    QString line = tr("asked %1 of %2 units, found %3").arg(asked).arg(all).arg(survey.found().size());
    if (asked > 1) {
        // Each unit so far took its share of the time: the rest will take as long.
        const double left = survey.surveyMs() / (asked - 1) * (all - asked + 1);
        line += tr(", about %1 left").arg(duration(left));
    }
    return line;
}

QString unitsText(const Survey &survey)
{
    QVector<int> units;
    for (const int i : survey.found())
        units << survey.asked().units[i];
    return unitList(units);
}

QString endText(const Survey &survey, bool hintTune)
{
    const ModbusCheck *check = survey.check();
    if (!survey.isConnected())
        return check && !survey.interrupted() ? checkreport::connectionText(*check, ModuleValues())
                                              : tr("interrupted before the connection\n");
    QString out;
    const QVector<int> noPath = survey.noPath();
    if (!noPath.isEmpty())
        out += tr("the gateway has no path to %n unit(s) (exception 0x0A): %1; its routing or its own "
                  "settings, not the devices\n", "", noPath.size())
                   .arg(unitList(noPath));
    if (!check->result().connected)
        out += checkreport::connectionText(*check, ModuleValues());
    else if (!check->result().interrupted)
        out += checkreport::endText(*check);
    if (survey.reconnects() > 0)
        out += tr("the gateway closed the connection %n time(s); each time it was opened again and the unit "
                  "whose reply it took asked again\n",
                  "", survey.reconnects());
    const QString time = language::decimal(survey.surveyMs() / 1000.0, 1);
    const int found = survey.found().size();
    if (found > 0)
        out += tr("found %n device(s): unit(s) %1 (%2 of %3 units asked in %4 s)\n", "", found)
                   .arg(unitsText(survey))
                   .arg(survey.unitsAsked())
                   .arg(survey.asked().units.size())
                   .arg(time);
    else
        out += tr("no device answered (%1 of %2 units asked in %3 s)\n")
                   .arg(survey.unitsAsked())
                   .arg(survey.asked().units.size())
                   .arg(time);
    if (survey.interrupted())
        out += tr("interrupted: the units after unit %1 were not asked\n")
                   .arg(survey.asked().units.value(qMax(0, survey.unitsAsked() - 1)));
    else if (found == 0 && survey.complete() && hintTune)
        out += tr("  The devices may talk at other line settings (speed, parity, stop bits)\n"
                  "  than the gateway's: gateway-cli tune tries them (gateway-cli tune --help).\n");
    return out;
}

QString resultWord(const Survey &survey)
{
    if (survey.interrupted())
        return QStringLiteral("interrupted");
    if (!survey.isConnected())
        return QStringLiteral("unreachable");
    switch (survey.status()) {
    case Survey::Found:
        return QStringLiteral("found");
    case Survey::NoneFound:
        return QStringLiteral("none");
    case Survey::NoConnection:
        return QStringLiteral("lost");
    }
    return QString();
}

QJsonObject json(const Survey &survey)
{
    using namespace cli;
    const language::SourceTexts english;
    QJsonObject doc;
    if (survey.check()) {
        doc = checkreport::json(*survey.check(), ModuleValues());
        doc.remove(key::requests());
        doc.remove(key::repeat());
    } else {
        doc = {{key::host(), survey.asked().host}, {key::port(), survey.asked().port}, {key::connected(), false}};
    }
    QJsonArray found;
    for (const int i : survey.found())
        found << foundJson(survey.answer(i));
    QJsonArray noPath;
    for (const int u : survey.noPath())
        noPath << u;
    doc.insert(key::interrupted(), survey.interrupted());
    doc.insert(key::result(), resultWord(survey));
    doc.insert(key::read(), checkargs::readText(survey.asked().read));
    doc.insert(key::units(), survey.asked().units.size());
    doc.insert(key::unitsAsked(), survey.unitsAsked());
    doc.insert(key::found(), found);
    doc.insert(key::noPath(), noPath);
    doc.insert(key::reconnects(), survey.reconnects());
    doc.insert(key::ms(), msValue(survey.elapsedMs()));
    return doc;
}

} // namespace surveyreport
