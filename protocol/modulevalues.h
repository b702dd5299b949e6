#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "parameters.h"

class ParameterFile;

// Values of a module's parameters as its replies give them ("server",
// "9600", "none", "off", "192.168.0.1"), each present or not. Programs
// without the window speak of values in this form; the window's form and
// the settings files hold list positions instead, and change lines carry the
// write words.
class ModuleValues
{
public:
    bool has(proto::Param p) const { return present[int(p)]; }
    QString value(proto::Param p) const { return values[int(p)]; }
    void set(proto::Param p, const QString &v)
    {
        values[int(p)] = v;
        present[int(p)] = true;
    }
    void remove(proto::Param p) { present[int(p)] = false; }
    bool isEmpty() const;
    // The present parameters, in the table's order.
    QList<proto::Param> params() const;

private:
    QString values[proto::ParamCount];
    bool present[proto::ParamCount] = {};
};

namespace proto {

// A parameter's name as programs without the window use it ("ip",
// "port_tcp", ...: the simulated module's names).
inline QString nameOf(Param p) { return QLatin1String(parameter(p).simName); }
// The parameter of a name, or nullptr.
const Parameter *parameterNamed(const QString &name);

// Why a value cannot be written to a parameter, or an empty text when it
// can: a read-only parameter, or a value that breaks the parameter's rule
// (an IPv4 address, a number in its range, one of a choice's reply words).
QString valueFault(Param p, const QString &value);

// The value of a query's reply, or an empty text with `fault` set: the
// reply does not echo the query, or its value is empty or not one of a
// choice's words. The value is cut as the window cuts it.
QString replyValue(const Parameter &row, const QByteArray &reply, QString *fault);

// The change line that writes a value (reply form) to a parameter.
QByteArray changeLineFor(Param p, const QString &value);

// The values of a settings file, in reply form: only the keys it holds. A
// list position without a word is a fault (one line per key in `faults`).
ModuleValues fromFile(const ParameterFile &file, QStringList *faults);
// Puts values into a settings record as the window's save would after a
// scan that gave them.
void toFile(const ModuleValues &values, ParameterFile &file);

} // namespace proto
