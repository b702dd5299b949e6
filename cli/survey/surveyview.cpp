#include "surveyview.h"

#include "checkreport.h"
#include "checkview.h"
#include "console.h"
#include "surveyreport.h"

namespace cli {

namespace {

// Clears the cursor's line from its start.
const QString clearLine = QStringLiteral("\r\x1b[K");

} // namespace

SurveyView::SurveyView(const Survey &survey, const Common &common, bool ending)
    : survey(survey)
    , text(!common.json)
    , live(!common.json && console::canRewrite(false))
    , ending(ending)
{
    if (common.verbose) {
        const QString where = QStringLiteral("%1:%2").arg(survey.asked().host).arg(survey.asked().port);
        connect(&survey, &Survey::traffic, this,
                [where](bool sent, const QByteArray &frame) { console::err(traceLine(where, sent, frame)); });
    }
    if (!text)
        return;
    connect(&survey, &Survey::answered, this, &SurveyView::onAnswered);
    connect(&survey, &Survey::finished, this, &SurveyView::onFinished);
    if (!live)
        return;
    connect(&survey, &Survey::connected, this, [this] {
        // A step of more (a try of tune) has its own heading.
        if (this->ending)
            console::out(checkreport::connectionText(*this->survey.check(), ModuleValues()));
        drawProgress();
    });
    // A unit answered at once may take a fraction of a millisecond: the
    // line is drawn at most ten times a second.
    redraw.setSingleShot(true);
    redraw.setInterval(100);
    connect(&redraw, &QTimer::timeout, this, &SurveyView::drawProgress);
}

void SurveyView::onAnswered(int index)
{
    if (survey.answer(index).proves()) {
        clearLive();
        console::out(surveyreport::foundText(survey, index));
        drawProgress();
    } else if (live && !redraw.isActive()) {
        redraw.start();
    }
}

void SurveyView::drawProgress()
{
    if (!live || !survey.isConnected())
        return;
    console::out(clearLine + surveyreport::progressText(survey).left(console::width(false) - 1));
    lineShown = true;
}

void SurveyView::clearLive()
{
    if (lineShown)
        console::out(clearLine);
    lineShown = false;
}

void SurveyView::onFinished()
{
    redraw.stop();
    clearLive();
    if (ending)
        console::out(surveyreport::endText(survey, true));
}

} // namespace cli
