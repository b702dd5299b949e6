#pragma once

#include <QObject>
#include <QTimer>

#include "options.h"
#include "survey.h"

namespace cli {

// What gateway-cli prints of a survey. On a terminal: the connection, a
// line for each device as it is found, and a progress line rewritten in
// place below them (units asked of all, found so far, time left). Anywhere
// else a line for each device found, as it is found. Then how it ended.
// A survey that is one step of more (`ending` false) shows neither its
// connection nor its end. With --json nothing but --verbose's trace.
class SurveyView : public QObject
{
    Q_OBJECT

public:
    SurveyView(const Survey &survey, const Common &common, bool ending = true);

private:
    void onAnswered(int index);
    void onFinished();
    void drawProgress();
    void clearLive();

    const Survey &survey;
    const bool text;
    const bool live;
    const bool ending;
    bool lineShown = false;
    QTimer redraw;
};

} // namespace cli
