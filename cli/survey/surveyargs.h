#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QStringList>

#include "survey.h"

namespace cli {

class Options;

// What survey and tune take alike: the units asked and the read sent to
// each.
namespace surveyargs {

// --units LIST, which survey and tune take.
QCommandLineOption unitsOption();
// Parses --units and --read (netoptions.h) into `asked`; false with a line for each bad
// one in `faults`.
bool parse(const Options &o, Survey::Asked *asked, QStringList *faults);

} // namespace surveyargs
} // namespace cli
