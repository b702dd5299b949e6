// gateway-cli survey: which units answer through a gateway.
#include "batchrun.h"
#include "checkargs.h"
#include "exitcode.h"
#include "messages.h"
#include "netoptions.h"
#include "options.h"
#include "survey.h"
#include "surveyargs.h"
#include "surveycommands.h"
#include "surveyreport.h"
#include "surveyview.h"

namespace cli {

namespace {

QList<QCommandLineOption> surveyOptions()
{
    return {surveyargs::unitsOption(), option::read(), option::timeout()};
}

int survey(const Options &o)
{
    // Parse: nothing is sent before every option is known good.
    Survey::Asked asked;
    QStringList faults;
    QString fault;
    if (!checkargs::parseHostPort(o.positional[0], &asked.host, &asked.port, &fault))
        faults << fault;
    surveyargs::parse(o, &asked, &faults);
    const bool bad = !option::timeoutOf(o, &asked.timeoutMs);
    if (bad || !faults.isEmpty())
        return refuse(faults);

    // Run on the driver, drawn as it goes; then the document.
    Survey run(asked);
    SurveyView view(run, o.common);
    BatchRun().runWith(run);
    if (o.common.json)
        printJson(surveyreport::json(run));
    return run.interrupted() ? int(Interrupted) : int(run.status());
}

} // namespace

const ExitCode surveyExitCodes[] = {
    {Done, QT_TRANSLATE_NOOP("cli", "at least one device found")},
    {Failed, QT_TRANSLATE_NOOP("cli", "every unit asked, no device found: the line settings may differ (tune)")},
    {Usage, QT_TRANSLATE_NOOP("cli", "bad usage (a malformed --units, --read or host): nothing was sent")},
    {NoModule, QT_TRANSLATE_NOOP("cli", "no connection, or the connection lost before every unit was asked")},
    {Interrupted, QT_TRANSLATE_NOOP("cli", "interrupted (Ctrl+C, SIGTERM, SIGHUP): what was found is printed")},
};

const Command surveyCommand{
    "survey", "HOST[:PORT]",
    "HOST[:PORT] [--units LIST] [--read KIND:ADDRESS[:COUNT]] [OPTION]...",
    1, 1, Command::Network,
    QT_TRANSLATE_NOOP("cli", "ask every unit through the gateway: which devices answer on its RS-485 line?"),
    QT_TRANSLATE_NOOP("cli",
                      "Finds the devices on a gateway's RS-485 line: connects to it over Modbus\n"
                      "TCP at HOST and PORT (default 502) and sends the read of --read to each\n"
                      "unit of --units in turn, one request at a time. A unit whose device\n"
                      "answers, with values or with its own exception (0x01-0x04: a device is\n"
                      "there), is found; 0x0B or no reply: none there. Nothing is sent to the\n"
                      "module's configuration port."),
    surveyOptions,
    QT_TRANSLATE_NOOP("cli",
                      "The line carries one request at a time, so each absent unit costs the\n"
                      "gateway's response time-out (timeout_response) before its 0x0B: 247 units\n"
                      "at 1000 ms take about four minutes. A short --units list makes it short.\n"
                      "Requests go one at a time: several at once would save only the network's\n"
                      "round trip per unit, and a gateway without a queue refuses or drops them.\n"
                      "Exception 0x0A (the gateway has no path) is reported once for all the\n"
                      "units that got it. A connection the gateway closes is opened again and\n"
                      "the unit whose reply it took asked again, as long as each connection got\n"
                      "a unit answered.\n"
                      "\n"
                      "On a terminal: the connection, a line for each device as it is found, and\n"
                      "a progress line (units asked of all, found so far, time left). Piped: a\n"
                      "line for each device found, then the summary. Ctrl+C prints what was\n"
                      "found.\n"
                      "\n"
                      "With --json: {\"host\", \"port\", \"connected\", \"connect_ms\", \"error\",\n"
                      "\"failure\", \"hint\", \"closed_by_gateway\", \"interrupted\", \"result\",\n"
                      "\"timeout_ms\", \"read\", \"units\", \"units_asked\", \"found\": [{\"unit\",\n"
                      "\"values\", \"exception\", \"exception_name\", \"ms\"}], \"no_path\",\n"
                      "\"reconnects\", \"ms\"}; one whole document also after Ctrl+C."),
    exitCodeList(surveyExitCodes),
    survey};

} // namespace cli
