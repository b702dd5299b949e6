#pragma once

#include <QString>
#include <QStringList>

#include "modulevalues.h"

// The values a command is to write, from a settings file and KEY=VALUE
// items, checked before anything is sent. Keys and the choices' words are
// taken in any case (a spreadsheet writes "IP" and "None") and kept in the
// module's own spelling.
namespace valueargs {

// The keys that can be written, in the window's write order, for messages.
QString writableKeys();

// Takes one value for a key: the key must name a parameter that can be
// written and, unless `force`, the value must keep the parameter's rule and
// the network's rules of its own (netrules.h). False with one line in
// `faults` naming the key, the value and what is wrong with it.
bool take(const QString &key, const QString &value, bool force, ModuleValues &values, QStringList *faults);

// The KEY=VALUE items of --set, each key once. False with a line in
// `faults` for each bad item.
bool takeItems(const QStringList &items, bool force, ModuleValues &values, QStringList *faults);

// The values of a settings file, each checked unless `force`; a fault
// (file unreadable, a bad list position, a bad value) adds a line.
ModuleValues fromFile(const QString &path, bool force, QStringList *faults);

} // namespace valueargs
