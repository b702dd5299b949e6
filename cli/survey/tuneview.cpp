#include "tuneview.h"

#include "console.h"
#include "surveyreport.h"
#include "tunereport.h"

namespace cli {

TuneView::TuneView(const Tuning &tuning, const Common &common)
    : tuning(tuning)
    , common(common)
{
    connect(&tuning, &Tuning::jobStarting, this, [this](BatchRun &run) {
        survey.reset();
        progress = std::make_unique<ProgressView>(run, ProgressView::Style::Line, this->common);
    });
    connect(&tuning, &Tuning::jobEnded, this, [this] { progress.reset(); });
    connect(&tuning, &Tuning::surveyStarting, this, [this](const Survey &s) {
        progress.reset();
        survey = std::make_unique<SurveyView>(s, this->common, false);
    });
    connect(&tuning, &Tuning::surveyEnded, this, [this] { survey.reset(); });
    if (common.json)
        return;
    connect(&tuning, &Tuning::moduleRead, this,
            [this] { console::out(tunereport::moduleText(this->tuning)); });
    connect(&tuning, &Tuning::trying, this, [this](int index, int total, double leftMs) {
        const LineSetting &s = this->tuning.asked().settings[index];
        QString line = tr("try %1 of %2: %3").arg(index + 1).arg(total).arg(s.text());
        if (leftMs >= 0)
            line += tr(" (about %1 left)").arg(surveyreport::duration(leftMs));
        console::out(line + QLatin1Char('\n'));
    });
    connect(&tuning, &Tuning::tried, this, [this](int index) {
        console::out(tunereport::triedText(this->tuning.result().tried[index]));
    });
    connect(&tuning, &Tuning::moving, this, [this](bool puttingBack) {
        const Tuning::Result &r = this->tuning.result();
        console::out(puttingBack ? tr("putting the module back at %1...\n").arg(r.original.text())
                                 : tr("moving the module to %1, the first setting found...\n")
                                       .arg(r.tried[r.foundAt].setting.text()));
    });
}

} // namespace cli
