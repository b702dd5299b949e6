#pragma once

#include <QString>

#include "commissioning.h"

// The words of gateway-cli's interface, which scripts read and which are
// never translated: the result words, and the names of the JSON documents'
// keys and of the report's columns.
namespace cli {

// One word for an outcome, as reports and JSON give it: ok, refused,
// mismatch, garbled, invalid, silent, lost, no-port, not-serial, busy,
// interrupted.
QString resultWord(Commissioning::Outcome outcome);

namespace key {
inline QString port() { return QStringLiteral("port"); }
inline QString ports() { return QStringLiteral("ports"); }
inline QString result() { return QStringLiteral("result"); }
inline QString detail() { return QStringLiteral("detail"); }
inline QString found() { return QStringLiteral("found"); }
inline QString mac() { return QStringLiteral("mac"); }
inline QString version() { return QStringLiteral("version"); }
inline QString module() { return QStringLiteral("module"); }
inline QString file() { return QStringLiteral("file"); }
inline QString parameters() { return QStringLiteral("parameters"); }
inline QString differences() { return QStringLiteral("differences"); }
inline QString written() { return QStringLiteral("written"); }
inline QString before() { return QStringLiteral("before"); }
inline QString after() { return QStringLiteral("after"); }
inline QString mismatched() { return QStringLiteral("mismatched"); }
inline QString location() { return QStringLiteral("location"); }
inline QString description() { return QStringLiteral("description"); }
inline QString manufacturer() { return QStringLiteral("manufacturer"); }
inline QString serialNumber() { return QStringLiteral("serial_number"); }
inline QString usb() { return QStringLiteral("usb"); }
inline QString byId() { return QStringLiteral("by_id"); }
// The report's rows (CSV columns and JSON keys alike).
inline QString rows() { return QStringLiteral("rows"); }
inline QString line() { return QStringLiteral("line"); }
inline QString started() { return QStringLiteral("started"); }
inline QString finished() { return QStringLiteral("finished"); }
inline QString plan() { return QStringLiteral("plan"); }
inline QString tool() { return QStringLiteral("tool"); }
inline QString host() { return QStringLiteral("host"); }
// How long a module took to answer again after its restart.
inline QString backAfterMs() { return QStringLiteral("back_after_ms"); }
// A value the plan asked for: its key and this.
inline QString askedSuffix() { return QStringLiteral("_asked"); }
// The network check after the read-back.
inline QString check() { return QStringLiteral("check"); }
inline QString checkResult() { return QStringLiteral("check_result"); }
inline QString checkMs() { return QStringLiteral("check_ms"); }
// A value before the write: its key and this.
inline QString beforeSuffix() { return QStringLiteral("_before"); }
} // namespace key

} // namespace cli
