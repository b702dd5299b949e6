#pragma once

#include <QJsonObject>
#include <QString>

#include "tuning.h"

// tune as a person reads it, as JSON, and its record: one row per try and
// one for the move after the tries.
namespace tunereport {

// What the module was found holding: its identity and line setting.
QString moduleText(const cli::Tuning &tuning);
// One try's line as it ended: the devices found, none, or what failed.
QString triedText(const cli::Tuning::Try &t);
// How the whole ended: what was found where, where the module stands and
// whether it was put back (as read back), devices at several settings.
QString endText(const cli::Tuning &tuning);
// Its result word: found, none, refused, failed, interrupted.
QString resultWord(const cli::Tuning &tuning);

// {"port", "via", "result", "original": {"speed", "parity", "stop_bits"},
//  "tried": [{"speed", "parity", "stop_bits", "written", "units_asked",
//  "found": [units], "result", "detail", "ms"}], "found": {"speed",
//  "parity", "stop_bits", "units": [...]} or null, "several_settings",
//  "final": {...} or null, "restored", "detail"}
QJsonObject json(const cli::Tuning &tuning);

// The record as CSV (lines end with CR LF): step, port, via, speed,
// parity, stop_bits, written, units_asked, found, result, detail, ms,
// started, finished, tool, host.
QString csv(const cli::Tuning &tuning, const QString &tool, const QString &host);

} // namespace tunereport
