#include "modulevalues.h"

#include <QCoreApplication>

#include <QStringList>

#include "lines.h"
#include "parameterfile.h"
#include "protocoltables.h"

bool ModuleValues::isEmpty() const
{
    for (bool p : present)
        if (p)
            return false;
    return true;
}

QList<proto::Param> ModuleValues::params() const
{
    QList<proto::Param> out;
    for (int i = 0; i < proto::ParamCount; ++i)
        if (present[i])
            out << proto::Param(i);
    return out;
}

namespace proto {

namespace {

QString wordsOf(ChoiceList list)
{
    QStringList words;
    for (std::size_t i = 0; i < list.count; ++i)
        words << QLatin1String(list.words[i].word);
    return words.join(QStringLiteral(", "));
}

QString ruleText(const Parameter &row)
{
    const ValueRule &rule = *row.rule;
    switch (rule.format) {
    case Format::Choice:
        return QCoreApplication::translate("proto", "one of %1").arg(wordsOf(replyChoices(row.param)));
    case Format::Ipv4:
        return QCoreApplication::translate("proto", "an IPv4 address (four numbers 0-255 with dots)");
    case Format::Number: {
        QString text = QCoreApplication::translate("proto", "a number %1-%2").arg(rule.min).arg(rule.max);
        if (rule.also >= 0)
            text = QCoreApplication::translate("proto", "%1 or %2").arg(rule.also).arg(text);
        if (row.kind == Kind::SlaveId)
            text = QCoreApplication::translate("proto", "%1 or %2").arg(text, QLatin1String(SlaveIdOff));
        return text;
    }
    }
    return QString();
}

int replyIndex(Param p, const QString &value)
{
    return matchChoice(value, replyChoices(p));
}

} // namespace

const Parameter *parameterNamed(const QString &name)
{
    const QByteArray bytes = name.toUtf8();
    return findName(bytes.constData(), std::size_t(bytes.size()));
}

QString valueFault(Param p, const QString &value)
{
    const Parameter &row = parameter(p);
    if (!row.rule)
        return QCoreApplication::translate("proto", "is read only");
    const bool allowed = row.rule->format == Format::Choice
        ? replyIndex(p, value) >= 0
        : valueAllowed(p, value.toLatin1().constData(), std::size_t(value.toLatin1().size()))
            && value == QString::fromLatin1(value.toLatin1());
    return allowed ? QString() : QCoreApplication::translate("proto", "must be %1").arg(ruleText(row));
}

QString replyValue(const Parameter &row, const QByteArray &reply, QString *fault)
{
    const QString text = cleanReply(reply);
    if (!text.startsWith(QLatin1String(row.query)) || text.size() < valuePosition(row)) {
        *fault = QStringLiteral("the reply \"%1\" is no answer to \"%2\"").arg(text, QLatin1String(row.query));
        return QString();
    }
    const QString value = cutValue(text, row);
    if (value.isEmpty()) {
        *fault = QStringLiteral("the reply \"%1\" holds no value").arg(text);
        return QString();
    }
    if (row.kind == Kind::Choice && replyIndex(row.param, value) < 0) {
        *fault = QStringLiteral("\"%1\" is not one of %2").arg(value, wordsOf(replyChoices(row.param)));
        return QString();
    }
    return value;
}

QByteArray changeLineFor(Param p, const QString &value)
{
    const Parameter &row = parameter(p);
    const int index = replyIndex(p, value);
    // A value forced past the checks that is none of the choice's words
    // goes as it was given: the module judges it.
    if (row.kind == Kind::Choice && index < 0)
        return QByteArray(row.change) + value.toLatin1();
    const bool off = row.kind == Kind::SlaveId && value == QLatin1String(SlaveIdOff);
    return changeLine(row, universalWriteChoices(p), value, index, off);
}

ModuleValues fromFile(const ParameterFile &file, QStringList *faults)
{
    ModuleValues values;
    for (const Param p : order::file) {
        if (!file.has(p))
            continue;
        if (kindOf(p) != Kind::Choice) {
            values.set(p, file.value(p).toString());
            continue;
        }
        bool number = false;
        const int position = file.value(p).toInt(&number);
        const char *word = number ? choiceWordAt(replyChoices(p), position) : nullptr;
        if (word)
            values.set(p, QLatin1String(word));
        else
            *faults << QCoreApplication::translate("proto", "%1: the file's list position \"%2\" is none of %3")
                           .arg(nameOf(p), file.value(p).toString(), wordsOf(replyChoices(p)));
    }
    return values;
}

void toFile(const ModuleValues &values, ParameterFile &file)
{
    for (const Param p : order::file) {
        if (!values.has(p))
            continue;
        if (kindOf(p) == Kind::Choice)
            file.setValue(p, replyIndex(p, values.value(p)));
        else
            file.setValue(p, values.value(p));
    }
}

} // namespace proto
