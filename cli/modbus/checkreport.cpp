#include "checkreport.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <algorithm>
#include <cmath>

#include "checkwords.h"
#include "keys.h"
#include "language.h"
#include "modbus.h"
#include "modbusreply.h"
#include "systemwords.h"

namespace checkreport {

namespace {

using Outcome = ModbusCheck::Outcome;

QString tr(const char *text)
{
    return QCoreApplication::translate("checkreport", text);
}

QString tr(const char *text, const char *disambiguation, int n)
{
    return QCoreApplication::translate("checkreport", text, disambiguation, n);
}

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
    switch (a.outcome) {
    case Outcome::Exception:
        return checkwords::exceptionHint(a.exception, a.read, module);
    case Outcome::Timeout:
        return checkwords::noAnswerHint(check.timeoutMs(), module);
    case Outcome::Invalid:
        return checkwords::invalidHint();
    case Outcome::NotSent:
    case Outcome::Data:
    case Outcome::Closed:
    case Outcome::Interrupted:
        break;
    }
    return QString();
}

// What JSON's "error" gives for a read without an answer; empty for one
// answered.
QString errorWord(const ModbusCheck::Answer &a)
{
    switch (a.outcome) {
    case Outcome::Data:
    case Outcome::Exception:
        return QString();
    case Outcome::NotSent:
        return QStringLiteral("not sent");
    case Outcome::Timeout:
        return QStringLiteral("timeout");
    case Outcome::Invalid:
        return QStringLiteral("invalid-reply");
    case Outcome::Closed:
        return QStringLiteral("closed");
    case Outcome::Interrupted:
        return QStringLiteral("interrupted");
    }
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

QString valuesText(const QVector<quint16> &values)
{
    QStringList out;
    for (const quint16 v : values)
        out << QString::number(v);
    return out.join(QLatin1Char(' '));
}

// The round trips of a read: "1.2 ms", or with several their median,
// minimum, maximum and number.
QString timeText(const QVector<double> &trips)
{
    if (trips.size() == 1)
        return tr("%1 ms").arg(ms(trips.first()));
    return tr("median %1 ms, min %2, max %3, %n round trip(s)", nullptr, int(trips.size()))
        .arg(ms(median(trips)), ms(*std::min_element(trips.begin(), trips.end())),
             ms(*std::max_element(trips.begin(), trips.end())));
}

QString readName(const ModbusCheck::Answer &a)
{
    return tr("unit %1 %2").arg(a.read.unit).arg(checkargs::readText(a.read));
}

// What became of a read's last request, on one line without its name.
QString outcomeText(const ModbusCheck &check, const ModbusCheck::Answer &a)
{
    switch (a.outcome) {
    case Outcome::Data:
        return tr("%1 (%2)").arg(valuesText(a.values), timeText(a.ms));
    case Outcome::Exception:
        return tr("exception %1 %2 (%3)")
            .arg(modbusreply::hexCode(a.exception), checkwords::exceptionNameText(a.exception), timeText(a.ms));
    case Outcome::Invalid:
        return tr("a malformed reply, not taken: %1").arg(modbusreply::mismatchText(a.mismatch));
    case Outcome::Timeout:
        return tr("no reply within %1 ms").arg(check.timeoutMs());
    case Outcome::Closed:
        return tr("not answered: the connection was closed");
    case Outcome::NotSent:
        return tr("not sent");
    case Outcome::Interrupted:
        return tr("interrupted before its reply");
    }
    return QString();
}

bool anyOutcome(const ModbusCheck &check, Outcome outcome)
{
    for (const ModbusCheck::Answer &a : check.result().answers)
        if (a.outcome == outcome)
            return true;
    return false;
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
    if (r.interrupted)
        return QStringLiteral("interrupted");
    if (anyOutcome(check, Outcome::Invalid))
        return QStringLiteral("invalid-reply");
    for (const ModbusCheck::Answer &a : r.answers)
        if (a.outcome == Outcome::Exception && !a.proves())
            return QStringLiteral("exception %1").arg(modbusreply::hexCode(a.exception));
    for (const ModbusCheck::Answer &a : r.answers)
        if (!a.proves())
            return QStringLiteral("no reply");
    for (const ModbusCheck::Answer &a : r.answers)
        if (a.outcome == Outcome::Exception)
            return QStringLiteral("exception %1").arg(modbusreply::hexCode(a.exception));
    return QStringLiteral("ok");
}

QString rowResult(const ModbusCheck &check)
{
    if (check.result().interrupted)
        return QStringLiteral("interrupted");
    switch (check.status()) {
    case ModbusCheck::NoConnection:
        return QStringLiteral("unreachable");
    case ModbusCheck::Unproven:
        return anyOutcome(check, Outcome::Invalid) ? QStringLiteral("invalid-reply")
                                                   : QStringLiteral("no-field-reply");
    case ModbusCheck::AllAnswered:
    case ModbusCheck::DeviceRefused:
        break;
    }
    return QString();
}

QString connectionText(const ModbusCheck &check, const ModuleValues &module)
{
    const ModbusCheck::Result &r = check.result();
    const QString where = QStringLiteral("%1:%2").arg(check.host()).arg(check.port());
    if (r.connected)
        return tr("%1: connected in %2 ms\n").arg(where, ms(r.connectMs));
    if (r.interrupted)
        return tr("%1: interrupted before the connection\n").arg(where);
    return tr("%1: no connection (%2)\n").arg(where, failureText(r))
        + wrapped(checkwords::connectHint(r.failure, check.host(), check.port(), check.timeoutMs(), module));
}

QString answerText(const ModbusCheck &check, int index, const ModuleValues &module)
{
    const ModbusCheck::Answer &a = check.result().answers[index];
    QString out = tr("%1: %2\n").arg(readName(a), outcomeText(check, a));
    // What an earlier round read, when the last one did not.
    if (a.outcome != Outcome::Data && !a.values.isEmpty())
        out += tr("  before that: %1 (%2)\n").arg(valuesText(a.values), timeText(a.ms));
    return out + wrapped(hintOf(check, a, module));
}

QString answerOutcome(const ModbusCheck &check, const ModbusCheck::Answer &answer)
{
    return outcomeText(check, answer);
}

QString endText(const ModbusCheck &check)
{
    const ModbusCheck::Result &r = check.result();
    QString out;
    if (r.closedByGateway)
        out += wrapped(checkwords::closedHint());
    else if (r.gaveUp)
        out += wrapped(checkwords::gaveUpHint());
    if (r.interrupted && r.connected)
        out += tr("interrupted in round %1 of %2\n").arg(check.round()).arg(check.repeat());
    return out;
}

QString roundText(const ModbusCheck &check, int index)
{
    const ModbusCheck::Answer &a = check.result().answers[index];
    QString last;
    switch (a.outcome) {
    case Outcome::Data:
        last = tr("%1 (%2 ms)").arg(valuesText(a.values), ms(a.ms.last()));
        break;
    case Outcome::Exception:
        last = tr("exception %1 (%2 ms)").arg(modbusreply::hexCode(a.exception), ms(a.ms.last()));
        break;
    default:
        last = outcomeText(check, a);
        break;
    }
    return tr("round %1 of %2: %3: %4").arg(check.round()).arg(check.repeat()).arg(readName(a), last);
}

QString text(const ModbusCheck &check, const ModuleValues &module)
{
    QString out = connectionText(check, module);
    if (!check.result().connected)
        return out;
    for (int i = 0; i < check.result().answers.size(); ++i)
        out += answerText(check, i, module);
    return out + endText(check);
}

QJsonObject json(const ModbusCheck &check, const ModuleValues &module)
{
    using namespace cli;
    // The hints in English: JSON is the same in every language.
    const language::SourceTexts english;
    const ModbusCheck::Result &r = check.result();
    QJsonArray requests;
    for (const ModbusCheck::Answer &a : r.answers) {
        QJsonObject o{{key::unit(), a.read.unit},
                      {key::kind(), checkargs::kindWord(a.read.kind)},
                      {key::address(), a.read.address},
                      {key::count(), a.read.count}};
        QJsonArray values;
        for (const quint16 v : a.values)
            values << int(v);
        // The last values read, also when a later request got none.
        o.insert(key::values(), a.values.isEmpty() ? QJsonValue() : QJsonValue(values));
        const bool exception = a.outcome == Outcome::Exception;
        o.insert(key::exception(), exception ? QJsonValue(a.exception) : QJsonValue());
        o.insert(key::exceptionName(), exception ? QJsonValue(checkwords::exceptionName(a.exception)) : QJsonValue());
        o.insert(key::mismatch(),
                 a.outcome == Outcome::Invalid ? QJsonValue(modbusreply::mismatchText(a.mismatch)) : QJsonValue());
        o.insert(key::ms(), msValue(median(a.ms)));
        o.insert(key::error(), orNull(errorWord(a)));
        o.insert(key::hint(), orNull(hintOf(check, a, module)));
        if (check.repeat() > 1) {
            o.insert(key::roundTrips(), a.ms.size());
            o.insert(key::msMedian(), msValue(median(a.ms)));
            o.insert(key::msMin(), msValue(a.ms.isEmpty() ? -1 : *std::min_element(a.ms.begin(), a.ms.end())));
            o.insert(key::msMax(), msValue(a.ms.isEmpty() ? -1 : *std::max_element(a.ms.begin(), a.ms.end())));
        }
        requests << o;
    }
    QString hint;
    if (!r.connected && !r.interrupted)
        hint = checkwords::connectHint(r.failure, check.host(), check.port(), check.timeoutMs(), module);
    else if (r.closedByGateway)
        hint = checkwords::closedHint();
    else if (r.gaveUp)
        hint = checkwords::gaveUpHint();
    return {{key::host(), check.host()},
            {key::port(), check.port()},
            {key::connected(), r.connected},
            {key::connectMs(), msValue(r.connected ? r.connectMs : -1)},
            {key::error(), orNull(r.connected && !r.closedByGateway ? QString() : r.error)},
            {key::failure(), orNull(failureWord(r.failure))},
            {key::hint(), orNull(hint)},
            {key::closedByGateway(), r.closedByGateway},
            {key::interrupted(), r.interrupted},
            {key::result(), resultWord(check)},
            {key::timeoutMs(), check.timeoutMs()},
            {key::repeat(), check.repeat()},
            {key::requests(), requests}};
}

} // namespace checkreport
