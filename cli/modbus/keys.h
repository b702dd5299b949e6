#pragma once

#include <QString>

// The names of the keys of gateway-cli's JSON documents and of its report's
// columns, all in this one place: scripts read them, and they are never
// translated.
namespace cli {

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
// A network check's document (check, write --check).
inline QString connected() { return QStringLiteral("connected"); }
inline QString connectMs() { return QStringLiteral("connect_ms"); }
inline QString error() { return QStringLiteral("error"); }
inline QString failure() { return QStringLiteral("failure"); }
inline QString hint() { return QStringLiteral("hint"); }
inline QString closedByGateway() { return QStringLiteral("closed_by_gateway"); }
inline QString interrupted() { return QStringLiteral("interrupted"); }
inline QString timeoutMs() { return QStringLiteral("timeout_ms"); }
inline QString repeat() { return QStringLiteral("repeat"); }
inline QString requests() { return QStringLiteral("requests"); }
inline QString unit() { return QStringLiteral("unit"); }
inline QString kind() { return QStringLiteral("kind"); }
inline QString address() { return QStringLiteral("address"); }
inline QString count() { return QStringLiteral("count"); }
inline QString values() { return QStringLiteral("values"); }
inline QString exception() { return QStringLiteral("exception"); }
inline QString exceptionName() { return QStringLiteral("exception_name"); }
inline QString mismatch() { return QStringLiteral("mismatch"); }
inline QString ms() { return QStringLiteral("ms"); }
inline QString roundTrips() { return QStringLiteral("round_trips"); }
inline QString msMedian() { return QStringLiteral("ms_median"); }
inline QString msMin() { return QStringLiteral("ms_min"); }
inline QString msMax() { return QStringLiteral("ms_max"); }
// A survey's document (survey, each try of tune).
inline QString read() { return QStringLiteral("read"); }
inline QString units() { return QStringLiteral("units"); }
inline QString unitsAsked() { return QStringLiteral("units_asked"); }
inline QString noPath() { return QStringLiteral("no_path"); }
// How many times the gateway closed a survey's connection and it was opened again.
inline QString reconnects() { return QStringLiteral("reconnects"); }
// tune's document and record.
inline QString via() { return QStringLiteral("via"); }
inline QString original() { return QStringLiteral("original"); }
inline QString tried() { return QStringLiteral("tried"); }
inline QString finalSettings() { return QStringLiteral("final"); }
inline QString restored() { return QStringLiteral("restored"); }
inline QString step() { return QStringLiteral("step"); }
inline QString survey() { return QStringLiteral("survey"); }
// Devices found at more than one setting of the same line (tune --all).
inline QString severalSettings() { return QStringLiteral("several_settings"); }
// serve's document.
inline QString listen() { return QStringLiteral("listen"); }
inline QString seconds() { return QStringLiteral("seconds"); }
inline QString connections() { return QStringLiteral("connections"); }
inline QString peer() { return QStringLiteral("peer"); }
inline QString atS() { return QStringLiteral("at_s"); }
inline QString function() { return QStringLiteral("function"); }
inline QString served() { return QStringLiteral("served"); }
} // namespace key

} // namespace cli
