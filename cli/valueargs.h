#pragma once

#include <QString>
#include <QStringList>

#include "modulevalues.h"

// The values a command is to write, from a settings file and KEY=VALUE
// items, checked before anything is sent.
namespace valueargs {

// The keys that can be written, in the window's write order, for messages.
QString writableKeys();

// Takes one value for a key: the key must name a parameter that can be
// written and, unless `force`, the value must keep the parameter's rule.
// False with one line in `faults` naming the key and the value.
bool take(const QString &key, const QString &value, bool force, ModuleValues &values, QStringList *faults);

// One KEY=VALUE item of --set. False with a line in `faults`.
bool takeItem(const QString &item, bool force, ModuleValues &values, QStringList *faults);

// The values of a settings file, each checked unless `force`; a fault
// (file unreadable, a bad list position, a bad value) adds a line.
ModuleValues fromFile(const QString &path, bool force, QStringList *faults);

} // namespace valueargs
