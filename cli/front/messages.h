#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include "commissioning.h"
#include "modulevalues.h"

// What gateway-cli says: to a person on stderr, and JSON documents on stdout.
namespace cli {

// A text as a message shows it: what is no text (a control character, a
// byte of an argument that was not UTF-8) escaped as \xHH, never raw.
QString shown(const QString &text);

// A message for a person on stderr: "gateway-cli: " and the text.
void message(const QString &text);
// Bad input refused before anything was sent: each fault a message, then
// that nothing was sent; the exit status Usage.
int refuse(const QStringList &faults);

// The values as a JSON object, key: value.
QJsonObject toJson(const ModuleValues &values);
// The start of every JSON document about one module: its port, result
// word and the detail, if any.
QJsonObject resultJson(const QString &port, Commissioning::Outcome outcome, const QString &detail);
// One JSON document on stdout.
void printJson(const QJsonObject &document);

} // namespace cli
