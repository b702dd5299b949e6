#pragma once

#include <QObject>

#include <memory>

#include "options.h"
#include "progressview.h"
#include "surveyview.h"
#include "tuning.h"

namespace cli {

// What gateway-cli prints of tune as it goes: the module found, each try
// (its number of all, its setting, the time left), the serial steps on
// stderr's terminal (ProgressView), each survey's devices as they are
// found (SurveyView), each try's end and the move after the tries. With
// --json nothing but the serial steps' progress and --verbose's trace.
class TuneView : public QObject
{
    Q_OBJECT

public:
    TuneView(const Tuning &tuning, const Common &common);

private:
    const Tuning &tuning;
    const Common common;
    std::unique_ptr<ProgressView> progress;
    std::unique_ptr<SurveyView> survey;
};

} // namespace cli
