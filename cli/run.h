#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

#include "commissioning.h"

class QSerialPortInfo;

// What every command of gateway-cli shares: its common options, the exit
// codes, the words of the results, and running modules' jobs side by side.
namespace cli {

// The exit codes (documented in --help, the manual page and the README).
enum Exit {
    Done = 0,
    Failed = 1,      // the module refused, reported a bad value, or read back something else
    Usage = 2,       // bad usage or input: nothing was sent
    NoModule = 3,    // the port cannot be opened; the module is silent, lost or did not come back
    Interrupted = 130,
};

struct Common {
    int interval = ModuleSession::DefaultInterval;
    bool verbose = false;
    bool json = false;
};

int exitCodeOf(Commissioning::Outcome outcome);
// One word for an outcome, as reports and JSON give it: ok, refused,
// mismatch, silent, lost, busy, interrupted.
QString resultWord(Commissioning::Outcome outcome);

// The values as a JSON object, key: value.
QJsonObject toJson(const ModuleValues &values);
// One JSON document on stdout.
void printJson(const QJsonObject &document);
// A message for a person on stderr: "gateway-cli: " and the text.
void message(const QString &text);
// Bad input refused before anything was sent: each fault a message, then
// that nothing was sent; the exit status Usage.
int refuse(const QStringList &faults);

// Runs the jobs side by side in the event loop until every one has ended;
// Ctrl+C stops them all (the line on the wire is finished first). With
// `common.verbose`, every line sent and received goes to stderr with a time
// stamp.
void runAll(const QList<Commissioning *> &jobs, const Common &common);

// A listed port by the name a command takes: COM3 on Windows, the device's
// path elsewhere; and every port the system lists so.
QString portArgument(const QSerialPortInfo &info);
QStringList listedPorts();

// A line's bytes as readable text: printable ASCII as it is, \r \n \t \\ \"
// and \xHH for the others.
QString escaped(const QByteArray &bytes);

} // namespace cli
