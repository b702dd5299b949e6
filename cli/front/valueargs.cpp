#include "valueargs.h"

#include <QSet>

#include "command.h"
#include "messages.h"
#include "netrules.h"
#include "parameterfile.h"
#include "command.h"
#include "protocoltables.h"

namespace valueargs {

namespace {

using proto::Param;

// Why a number written as `text` breaks its rule's form, or an empty text
// when its form is good (its range is the rule's to say).
QString numberFault(const QString &text)
{
    if (text.isEmpty())
        return cli::tr("empty");
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return cli::tr("\"%1\" is no digit 0-9").arg(cli::shown(QString(c)));
    if (text.size() > 1 && text.startsWith(QLatin1Char('0')))
        return cli::tr("no leading zeros");
    return QString();
}

// What is wrong with a value that breaks its parameter's rule, the part
// that is named: an address's number, a number's form or range.
QString ruleFault(const proto::Parameter &row, const QString &value, const QString &rule)
{
    if (!row.rule)
        return rule;
    switch (row.rule->format) {
    case proto::Format::Choice:
        return rule;
    case proto::Format::Ipv4: {
        const QStringList parts = value.split(QLatin1Char('.'));
        if (parts.size() != 4)
            return cli::tr("%n number(s) with dots between them, not four; %1", nullptr, int(parts.size())).arg(rule);
        for (int i = 0; i < parts.size(); ++i) {
            QString fault = numberFault(parts[i]);
            if (fault.isEmpty() && (parts[i].size() > 3 || parts[i].toInt() > 255))
                fault = cli::tr("over 255");
            if (!fault.isEmpty())
                return cli::tr("%1 in its number %2 (\"%3\"); %4").arg(fault).arg(i + 1).arg(cli::shown(parts[i]), rule);
        }
        return rule;
    }
    case proto::Format::Number: {
        const QString fault = numberFault(value);
        return fault.isEmpty() ? rule : cli::tr("%1; %2").arg(fault, rule);
    }
    }
    return rule;
}

// The value in the module's spelling: a choice's word or "off" as the
// module writes it, whatever the case it was given in.
QString moduleSpelling(Param p, const QString &value)
{
    const proto::ChoiceList words = proto::replyChoices(p);
    for (std::size_t i = 0; i < words.count; ++i)
        if (value.compare(QLatin1String(words.words[i].word), Qt::CaseInsensitive) == 0)
            return QLatin1String(words.words[i].word);
    if (proto::kindOf(p) == proto::Kind::SlaveId && value.compare(QLatin1String(proto::SlaveIdOff), Qt::CaseInsensitive) == 0)
        return QLatin1String(proto::SlaveIdOff);
    return value;
}

} // namespace

QString writableKeys()
{
    QStringList keys;
    for (const Param p : proto::order::write)
        keys << proto::nameOf(p);
    return keys.join(QStringLiteral(", "));
}

bool take(const QString &key, const QString &given, bool force, ModuleValues &values, QStringList *faults)
{
    const proto::Parameter *row = proto::parameterNamed(key.toLower());
    if (!row) {
        *faults << cli::tr("%1: no such key (the keys: %2)").arg(cli::shown(key), writableKeys());
        return false;
    }
    const QString value = moduleSpelling(row->param, given);
    const QString name = proto::nameOf(row->param);
    const QString rule = proto::valueFault(row->param, value);
    // A read-only parameter cannot be written, forced or not.
    if (!rule.isEmpty() && (!force || !row->rule)) {
        *faults << QStringLiteral("%1=\"%2\": %3").arg(name, cli::shown(given), ruleFault(*row, value, rule));
        return false;
    }
    const QString net = force ? QString() : NetRules::ownFault(row->param, value, false);
    if (!net.isEmpty()) {
        *faults << QStringLiteral("%1=\"%2\": %3").arg(name, cli::shown(given), net);
        return false;
    }
    values.set(row->param, value);
    return true;
}

bool takeItems(const QStringList &items, bool force, ModuleValues &values, QStringList *faults)
{
    const int before = faults->size();
    QSet<QString> keys;
    for (const QString &item : items) {
        const int eq = item.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            *faults << cli::tr("\"%1\": not KEY=VALUE").arg(cli::shown(item));
            continue;
        }
        const QString key = item.left(eq).toLower();
        if (keys.contains(key)) {
            *faults << cli::tr("%1: given twice with --set; say each key once").arg(cli::shown(item.left(eq)));
            continue;
        }
        keys.insert(key);
        take(item.left(eq), item.mid(eq + 1), force, values, faults);
    }
    return faults->size() == before;
}

ModuleValues fromFile(const QString &path, bool force, QStringList *faults)
{
    ParameterFile file;
    QString error;
    if (!file.load(path, &error)) {
        *faults << QStringLiteral("%1: %2").arg(path, error);
        return {};
    }
    QStringList own;
    const ModuleValues read = proto::fromFile(file, &own);
    ModuleValues checked;
    for (const Param p : read.params())
        take(proto::nameOf(p), read.value(p), force, checked, &own);
    for (const QString &fault : own)
        *faults << QStringLiteral("%1: %2").arg(path, fault);
    return checked;
}

} // namespace valueargs
