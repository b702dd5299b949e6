#pragma once

#include <QCommandLineOption>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include "checkargs.h"
#include "modulevalues.h"

namespace cli {

class Options;
struct Common;

// The network check that ends a write (--check, --unit, --via) and a
// batch's rows (their check and via columns): what is asked, the module in
// client mode refused before any change is sent, and where and how long
// the check goes once the module has come back with its new settings.
namespace writecheck {

struct Asked {
    QVector<checkargs::Read> reads; // none: no check
    bool via = false;               // connect at viaHost:viaPort, not at the module's ip and port_tcp
    QString viaHost;
    int viaPort = 0;
    bool wanted() const { return !reads.isEmpty(); }
};

// write's --check, --unit and --via.
QList<QCommandLineOption> options();
// Parses them; false with a line for each bad one in `faults`.
bool parse(const Options &o, Asked *asked, QStringList *faults);
// A plan's cells: `check` (UNIT:KIND:ADDRESS[:COUNT] ...) and `via`; each
// fault without its place.
bool parseCells(const QString &check, const QString &via, Asked *asked, QStringList *faults);

// Why a module with these values cannot be checked this way (mode client),
// pointing to serve; empty when it can or its mode is not known.
QString clientModeFault(const ModuleValues &values);

// The module as it stands after the write: what was scanned before, the
// values written over it, what was read back over those.
ModuleValues standing(const ModuleValues &before, const ModuleValues &written, const ModuleValues &after);
// Where the check connects: --via, else the module's ip and port_tcp. False
// when neither is known.
bool target(const Asked &asked, const ModuleValues &module, QString *host, int *port);
// How long it waits: the module's timeout_response + 1000 where known, else
// 3000 ms.
int timeoutMs(const ModuleValues &module);

// Runs the check after a write on the driver, prints it (as text, or into
// `json` under "check"), and gives its exit status (0, 1, 3 or 4 as the
// check command's; 130 when interrupted).
int run(const Asked &asked, const ModuleValues &module, const Common &common, QJsonObject *json);

} // namespace writecheck
} // namespace cli
