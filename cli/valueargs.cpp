#include "valueargs.h"

#include "parameterfile.h"
#include "command.h"
#include "protocoltables.h"

namespace valueargs {

QString writableKeys()
{
    QStringList keys;
    for (const proto::Param p : proto::order::write)
        keys << proto::nameOf(p);
    return keys.join(QStringLiteral(", "));
}

bool take(const QString &key, const QString &value, bool force, ModuleValues &values, QStringList *faults)
{
    const proto::Parameter *row = proto::parameterNamed(key);
    if (!row) {
        *faults << cli::tr("%1: no such key (the keys: %2)").arg(key, writableKeys());
        return false;
    }
    const QString fault = proto::valueFault(row->param, value);
    // A read-only parameter cannot be written, forced or not.
    if (!fault.isEmpty() && (!force || !row->rule)) {
        *faults << QStringLiteral("%1=\"%2\": %3").arg(key, value, fault);
        return false;
    }
    values.set(row->param, value);
    return true;
}

bool takeItem(const QString &item, bool force, ModuleValues &values, QStringList *faults)
{
    const int eq = item.indexOf(QLatin1Char('='));
    if (eq <= 0) {
        *faults << cli::tr("\"%1\": not KEY=VALUE").arg(item);
        return false;
    }
    return take(item.left(eq), item.mid(eq + 1), force, values, faults);
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
    for (const proto::Param p : read.params())
        take(proto::nameOf(p), read.value(p), force, checked, &own);
    for (const QString &fault : own)
        *faults << QStringLiteral("%1: %2").arg(path, fault);
    return checked;
}

} // namespace valueargs
