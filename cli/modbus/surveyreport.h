#pragma once

#include <QJsonObject>
#include <QString>

#include "survey.h"

// A survey as a person reads it and as JSON.
namespace surveyreport {

// A time for a person: "12.3 s", "3 min 28 s".
QString duration(double ms);
// "unit 5: 5000 (12.3 ms)", or its exception: a device found.
QString foundText(const Survey &survey, int index);
// The progress line: units asked of all, found so far, time left.
QString progressText(const Survey &survey);
// How the survey ended: the connection's failure with its hint, the
// devices found (or none, with what to try next), the units the gateway
// has no path to, a connection lost, an interrupt. `hintTune`: point to
// tune when none was found.
QString endText(const Survey &survey, bool hintTune);
// The units found, "1, 5, 10".
QString unitsText(const Survey &survey);
// Its result word: found, none, unreachable, lost, interrupted.
QString resultWord(const Survey &survey);

// {"host", "port", "connected", "connect_ms", "error", "failure", "hint",
//  "closed_by_gateway", "interrupted", "result", "timeout_ms", "read",
//  "units", "units_asked", "found": [{"unit", "values", "exception",
//  "exception_name", "ms"}], "no_path": [units], "reconnects", "ms"};
// the connection's keys are the last connection's.
QJsonObject json(const Survey &survey);

} // namespace surveyreport
