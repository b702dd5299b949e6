#pragma once

#include <QJsonObject>
#include <QString>

#include "modbuscheck.h"
#include "modulevalues.h"

// A finished network check as a person reads it and as JSON. `module`: the
// module's settings where known (their values go into the hints).
namespace checkreport {

// The connection, then each read with its values or its exception or
// error, each of these with its hint on the lines below it.
QString text(const ModbusCheck &check, const ModuleValues &module);

// {"host", "port", "connected", "connect_ms", "error", "failure", "hint",
//  "closed_by_gateway", "timeout_ms", "repeat", "requests": [{"unit",
//  "kind", "address", "count", "values", "exception", "exception_name",
//  "ms", "error", "hint"; with repeat > 1 also "ms_min", "ms_median",
//  "ms_max", "round_trips"}]}
QJsonObject json(const ModbusCheck &check, const ModuleValues &module);

// A check in one word, as a batch's report gives it: "ok" (every read
// answered with data), "exception 0x0B" (the first exception), "no reply"
// (a read unanswered after connecting), "unreachable" (no connection).
QString resultWord(const ModbusCheck &check);
// Whether the path to the field failed although the gateway was reached:
// 0x0A, 0x0B, or a read without an answer. A device's own exception
// (0x01-0x04, ...) proves the path and is not such a failure.
bool fieldFailed(const ModbusCheck &check);

// The median of the round trips, -1 when there are none.
double median(QVector<double> ms);

} // namespace checkreport
