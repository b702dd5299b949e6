#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>
#include <QVector>

#include "checkargs.h"

namespace cli {

class Options;

// The options of the reads through a gateway over Modbus TCP, each declared
// here once: check, write's --check, survey and tune take them.
namespace option {

// --unit ID: the unit the reads go to.
QCommandLineOption unit();
// --read KIND:ADDRESS[:COUNT]: a read.
QCommandLineOption read();
// --timeout MS: the wait for the connection and for each reply.
QCommandLineOption timeout();
// --via HOST[:PORT]: where the reads connect.
QCommandLineOption via();

// --unit as given, 1 when not; a line in `faults` when it is no unit.
int unitOf(const Options &o, QStringList *faults);
// Each value of `which` as a read of `unit` (`defaults` when none is
// given); a line in `faults`, "--NAME" and the fault, for each bad one.
QVector<checkargs::Read> readsOf(const Options &o, const QCommandLineOption &which, int unit,
                                 const QStringList &defaults, QStringList *faults);
// Whether --via is given; its host and port, or a line in `faults`.
bool viaOf(const Options &o, QString *host, int *port, QStringList *faults);
// --timeout into `ms`, left as it is when not given; false, with a
// message, when it is no number 10-600000.
bool timeoutOf(const Options &o, int *ms);

} // namespace option
} // namespace cli
