#pragma once

#include <QJsonObject>
#include <QString>

#include "modbuscheck.h"
#include "modulevalues.h"

// A network check as a person reads it and as JSON. `module`: the module's
// settings where known (their values go into the hints).
namespace checkreport {

// The whole check when it has ended: its connection, each read, then how
// it ended; each of these with its hint on the lines below it. The same
// three parts, taken one by one, tell the check as it goes.
QString text(const ModbusCheck &check, const ModuleValues &module);
// "HOST:PORT: connected in 0.4 ms", or no connection and its hint.
QString connectionText(const ModbusCheck &check, const ModuleValues &module);
// The read at `index` as it stands: its values, exception or what became
// of it, and its hint.
QString answerText(const ModbusCheck &check, int index, const ModuleValues &module);
// What became of a read of the check, without its unit and read: its
// values and round trip, the exception and its name, or what else.
QString answerOutcome(const ModbusCheck &check, const ModbusCheck::Answer &answer);
// How the check ended, where that is more than its reads tell: the gateway
// closed the connection, a reply could not be framed, it was interrupted.
QString endText(const ModbusCheck &check);
// The read at `index` in a few words for a line rewritten in place
// ("round 12 of 100: unit 1 hr:0:1: 1000 (1.2 ms)").
QString roundText(const ModbusCheck &check, int index);

// {"host", "port", "connected", "connect_ms", "error", "failure", "hint",
//  "closed_by_gateway", "interrupted", "result", "timeout_ms", "repeat",
//  "requests": [{"unit", "kind", "address", "count", "result", "values",
//  "exception", "exception_name", "mismatch", "ms", "error", "hint"; with
//  repeat > 1 also "ms_min", "ms_median", "ms_max", "round_trips"}]}
QJsonObject json(const ModbusCheck &check, const ModuleValues &module);

// A check in one word, as a batch's report gives it: "ok" (every read
// answered with data), "unreachable" (no connection), "interrupted",
// "invalid-reply" (a reply that did not match its request), "exception
// 0x0B" (the first exception that proves no path), "no reply" (a read
// unanswered), "exception 0x02" (the first exception of a device).
QString resultWord(const ModbusCheck &check);
// What a failed check makes of a batch's row (its result word in the
// report), in step with the check's exit status: "unreachable" (3),
// "invalid-reply" or "no-field-reply" (1), "interrupted"; empty when the
// check proves every path (0 or 4).
QString rowResult(const ModbusCheck &check);

// The median of the round trips, -1 when there are none.
double median(QVector<double> ms);

} // namespace checkreport
