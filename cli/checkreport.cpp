#include "checkreport.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <algorithm>
#include <cmath>

#include "checkwords.h"
#include "language.h"
#include "modbus.h"
#include "systemwords.h"

namespace checkreport {

namespace {

// Milliseconds as a person reads them (the person's decimal separator).
QString ms(double value)
{
    return language::decimal(value, 1);
}

// Why there is no connection, in the program's own words for a person
// (the system's text stays in the JSON's "error").
QString failureText(const ModbusCheck::Result &r)
{
    switch (r.failure) {
    case ModbusCheck::Failure::Refused:
        return language::failureText(language::Failure::ConnectionRefused, r.error);
    case ModbusCheck::Failure::HostNotFound:
        return language::failureText(language::Failure::HostNotFound, r.error);
    case ModbusCheck::Failure::TimedOut:
        return language::failureText(language::Failure::ConnectionTimedOut, r.error);
    case ModbusCheck::Failure::None:
    case ModbusCheck::Failure::Other:
        break;
    }
    return r.error;
}

// An exception code as the text gives it: 0B.
QString hexCode(int code)
{
    return QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

// A hint as lines of at most 78 characters, each indented by two blanks.
QString wrapped(const QString &hint)
{
    QString out;
    QString line;
    for (const QString &word : hint.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > 76) {
            out += QStringLiteral("  ") + line + QLatin1Char('\n');
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        out += QStringLiteral("  ") + line + QLatin1Char('\n');
    return out;
}

QString hintOf(const ModbusCheck &check, const ModbusCheck::Answer &a, const ModuleValues &module)
{
    if (a.answered && a.exception > 0)
        return checkwords::exceptionHint(a.exception, a.read, module);
    if (!a.answered && a.error == QLatin1String("timeout"))
        return checkwords::noAnswerHint(check.timeoutMs(), module);
    return QString();
}

QString failureWord(ModbusCheck::Failure failure)
{
    switch (failure) {
    case ModbusCheck::Failure::None:
        return QString();
    case ModbusCheck::Failure::Refused:
        return QStringLiteral("refused");
    case ModbusCheck::Failure::TimedOut:
        return QStringLiteral("timeout");
    case ModbusCheck::Failure::HostNotFound:
        return QStringLiteral("host-not-found");
    case ModbusCheck::Failure::Other:
        return QStringLiteral("other");
    }
    return QString();
}

// Milliseconds to the microsecond, as JSON gives them.
QJsonValue msValue(double value)
{
    return value < 0 ? QJsonValue() : QJsonValue(std::round(value * 1000) / 1000);
}

QJsonValue orNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

} // namespace

double median(QVector<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString resultWord(const ModbusCheck &check)
{
    const ModbusCheck::Result &r = check.result();
    if (!r.connected)
        return QStringLiteral("unreachable");
    for (const ModbusCheck::Answer &a : r.answers)
        if (a.answered && a.exception > 0)
            return QStringLiteral("exception 0x%1").arg(hexCode(a.exception));
    for (const ModbusCheck::Answer &a : r.answers)
        if (!a.hasData())
            return QStringLiteral("no reply");
    return QStringLiteral("ok");
}

bool fieldFailed(const ModbusCheck &check)
{
    const ModbusCheck::Result &r = check.result();
    if (!r.connected)
        return false;
    for (const ModbusCheck::Answer &a : r.answers)
        if (!a.answered || a.exception == modbus::GatewayPathUnavailable
            || a.exception == modbus::GatewayTargetNoResponse)
            return true;
    return false;
}

QString text(const ModbusCheck &check, const ModuleValues &module)
{
    const ModbusCheck::Result &r = check.result();
    const QString where = QStringLiteral("%1:%2").arg(check.host()).arg(check.port());
    QString out;
    if (!r.connected) {
        out += QCoreApplication::translate("checkreport", "%1: no connection (%2)\n").arg(where, failureText(r));
        out += wrapped(checkwords::connectHint(r.failure, check.host(), check.port(), check.timeoutMs(), module));
        return out;
    }
    out += QCoreApplication::translate("checkreport", "%1: connected in %2 ms\n").arg(where, ms(r.connectMs));
    for (const ModbusCheck::Answer &a : r.answers) {
        const QString what =
            QCoreApplication::translate("checkreport", "unit %1 %2").arg(a.read.unit).arg(checkargs::readText(a.read));
        QString time;
        if (a.ms.size() == 1)
            time = QCoreApplication::translate("checkreport", "%1 ms").arg(ms(a.ms.first()));
        else if (a.ms.size() > 1)
            time = QCoreApplication::translate("checkreport", "median %1 ms, min %2, max %3, %4 round trips")
                       .arg(ms(median(a.ms)), ms(*std::min_element(a.ms.begin(), a.ms.end())),
                            ms(*std::max_element(a.ms.begin(), a.ms.end())))
                       .arg(a.ms.size());
        if (a.hasData()) {
            QStringList values;
            for (const quint16 v : a.values)
                values << QString::number(v);
            out += QCoreApplication::translate("checkreport", "%1: %2 (%3)\n")
                       .arg(what, values.join(QLatin1Char(' ')), time);
        } else if (a.answered && a.exception > 0) {
            out += QCoreApplication::translate("checkreport", "%1: exception 0x%2 %3 (%4)\n")
                       .arg(what, hexCode(a.exception), checkwords::exceptionNameText(a.exception), time);
        } else if (a.answered) {
            out +=
                QCoreApplication::translate("checkreport", "%1: a reply that is not Modbus: %2\n").arg(what, a.error);
        } else if (a.error == QLatin1String("timeout")) {
            out += QCoreApplication::translate("checkreport", "%1: no reply within %2 ms\n")
                       .arg(what)
                       .arg(check.timeoutMs());
        } else {
            out +=
                QCoreApplication::translate("checkreport", "%1: not answered: the connection was closed\n").arg(what);
        }
        out += wrapped(hintOf(check, a, module));
    }
    if (r.closedByGateway)
        out += wrapped(checkwords::closedHint());
    return out;
}

QJsonObject json(const ModbusCheck &check, const ModuleValues &module)
{
    // The hints in English: JSON is the same in every language.
    const language::SourceTexts english;
    const ModbusCheck::Result &r = check.result();
    QJsonArray requests;
    for (const ModbusCheck::Answer &a : r.answers) {
        QJsonObject o{{QStringLiteral("unit"), a.read.unit},
                      {QStringLiteral("kind"), checkargs::kindWord(a.read.kind)},
                      {QStringLiteral("address"), a.read.address},
                      {QStringLiteral("count"), a.read.count}};
        QJsonArray values;
        for (const quint16 v : a.values)
            values << int(v);
        o.insert(QStringLiteral("values"), a.hasData() ? QJsonValue(values) : QJsonValue());
        const bool exception = a.answered && a.exception > 0;
        o.insert(QStringLiteral("exception"), exception ? QJsonValue(a.exception) : QJsonValue());
        o.insert(QStringLiteral("exception_name"),
                 exception ? QJsonValue(checkwords::exceptionName(a.exception)) : QJsonValue());
        o.insert(QStringLiteral("ms"), msValue(median(a.ms)));
        o.insert(QStringLiteral("error"), orNull(a.error));
        o.insert(QStringLiteral("hint"), orNull(hintOf(check, a, module)));
        if (check.repeat() > 1) {
            o.insert(QStringLiteral("round_trips"), a.ms.size());
            o.insert(QStringLiteral("ms_median"), msValue(median(a.ms)));
            o.insert(QStringLiteral("ms_min"),
                     msValue(a.ms.isEmpty() ? -1 : *std::min_element(a.ms.begin(), a.ms.end())));
            o.insert(QStringLiteral("ms_max"),
                     msValue(a.ms.isEmpty() ? -1 : *std::max_element(a.ms.begin(), a.ms.end())));
        }
        requests << o;
    }
    QString hint;
    if (!r.connected)
        hint = checkwords::connectHint(r.failure, check.host(), check.port(), check.timeoutMs(), module);
    else if (r.closedByGateway)
        hint = checkwords::closedHint();
    return {{QStringLiteral("host"), check.host()},
            {QStringLiteral("port"), check.port()},
            {QStringLiteral("connected"), r.connected},
            {QStringLiteral("connect_ms"), msValue(r.connected ? r.connectMs : -1)},
            {QStringLiteral("error"), orNull(r.connected && !r.closedByGateway ? QString() : r.error)},
            {QStringLiteral("failure"), orNull(failureWord(r.failure))},
            {QStringLiteral("hint"), orNull(hint)},
            {QStringLiteral("closed_by_gateway"), r.closedByGateway},
            {QStringLiteral("timeout_ms"), check.timeoutMs()},
            {QStringLiteral("repeat"), check.repeat()},
            {QStringLiteral("requests"), requests}};
}

} // namespace checkreport
