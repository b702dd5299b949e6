// gateway-cli tune: the line settings at which the devices on a gateway's
// RS-485 line answer.
#include <QSysInfo>

#include "checkargs.h"
#include "console.h"
#include "exitcode.h"
#include "help.h"
#include "messages.h"
#include "netoptions.h"
#include "options.h"
#include "outputfile.h"
#include "parameters.h"
#include "surveyargs.h"
#include "surveycommands.h"
#include "tunereport.h"
#include "tuneview.h"
#include "tuning.h"

namespace cli {

namespace {

QCommandLineOption speedsOption()
{
    return {QStringLiteral("speeds"), tr("the speeds tried, separated by commas (default every speed of the module)"),
            QStringLiteral("LIST")};
}

QCommandLineOption paritiesOption()
{
    return {QStringLiteral("parities"), tr("the parities tried: none, even, odd, separated by commas (default all)"),
            QStringLiteral("LIST")};
}

QCommandLineOption stopBitsOption()
{
    return {QStringLiteral("stop-bits"), tr("the stop bits tried: 1, 2, separated by commas (default both)"),
            QStringLiteral("LIST")};
}

QCommandLineOption allOption()
{
    return {QStringLiteral("all"),
            tr("try every setting and report each one's devices; the module then goes to the first setting found")};
}

QList<QCommandLineOption> tuneOptions()
{
    return {option::via(),  speedsOption(), paritiesOption(),   stopBitsOption(),       surveyargs::unitsOption(),
            option::read(), allOption(),    option::report(), option::overwrite(), option::rebootTimeout()};
}

// A comma-separated list of the module's words for one parameter; all of
// them when not given.
QStringList wordList(const Options &o, const QCommandLineOption &option, const proto::ChoiceList &words,
                     QStringList *faults)
{
    QStringList known;
    for (std::size_t i = 0; i < words.count; ++i)
        known << QLatin1String(words.words[i].word);
    if (!o.isSet(option))
        return known;
    QStringList out;
    for (const QString &given : o.value(option).split(QLatin1Char(','))) {
        const QString word = given.trimmed().toLower();
        if (!known.contains(word))
            *faults << tr("--%1 \"%2\": not one of %3")
                           .arg(option.names().first(), shown(given), known.join(QStringLiteral(", ")));
        else if (!out.contains(word))
            out << word;
    }
    return out;
}

bool parse(const Options &o, Tuning::Asked *asked, QString *reportPath)
{
    QStringList faults;
    asked->port = o.positional[0];
    asked->interval = o.common.interval;
    if (!option::viaOf(o, &asked->viaHost, &asked->viaPort, &faults))
        faults << tr("--via HOST[:PORT] is needed: the module's TCP side, where the devices are asked");
    Survey::Asked survey;
    surveyargs::parse(o, &survey, &faults);
    asked->units = survey.units;
    asked->read = survey.read;
    asked->settings = tryOrder(wordList(o, speedsOption(), proto::words::speedChoices.write, &faults),
                               wordList(o, paritiesOption(), proto::words::parityChoices.write, &faults),
                               wordList(o, stopBitsOption(), proto::words::stopBitChoices.write, &faults));
    asked->all = o.isSet(allOption());
    if (!option::rebootTimeoutMs(o, &asked->rebootTimeoutMs))
        return false;
    *reportPath = o.value(option::report());
    if (!reportPath->isEmpty()) {
        const QString fault = OutputFile::fault(*reportPath, o.isSet(option::overwrite()));
        if (!fault.isEmpty())
            faults << fault;
    }
    if (!faults.isEmpty()) {
        refuse(faults);
        return false;
    }
    return true;
}

int exitCodeOf(const Tuning &tuning)
{
    switch (tuning.result().ending) {
    case Tuning::Ending::Found:
        return Done;
    case Tuning::Ending::NoneFound:
        return Failed;
    case Tuning::Ending::Refused:
        return Usage;
    case Tuning::Ending::Failed:
        return NoModule;
    case Tuning::Ending::Interrupted:
        return Interrupted;
    }
    return NoModule;
}

int tune(const Options &o)
{
    // Parse: every option, and the record's file proven writable, before
    // the first byte is sent.
    Tuning::Asked asked;
    QString reportPath;
    if (!parse(o, &asked, &reportPath))
        return Usage;

    // Run, the record written however it ends (a second Ctrl+C, which ends
    // the program at once, too).
    Tuning tuning(asked);
    TuneView view(tuning, o.common);
    const auto writeReport = [&]() {
        if (reportPath.isEmpty())
            return true;
        QString error;
        const QString text = tunereport::csv(tuning, toolName(), QSysInfo::machineHostName());
        if (OutputFile::write(reportPath, text.toUtf8(), &error))
            return true;
        message(tr("%1: %2; the record follows on stderr").arg(reportPath, error));
        console::err(text);
        return false;
    };
    Interrupts::instance()->setLastWords([&] { writeReport(); });
    tuning.run();
    Interrupts::instance()->setLastWords(nullptr);

    // Render.
    int status = exitCodeOf(tuning);
    if (!writeReport() && status == Done)
        status = Failed;
    const Tuning::Result &r = tuning.result();
    if (r.ending == Tuning::Ending::Refused)
        message(r.refusal + QLatin1Char('\n') + tr("nothing was written"));
    // Where the text's summary does not say it.
    if (r.ending == Tuning::Ending::Failed && (o.common.json || r.original.isEmpty()))
        message(r.failure);
    if (o.common.json)
        printJson(tunereport::json(tuning));
    else
        console::out(tunereport::endText(tuning));
    return status;
}

} // namespace

const ExitCode tuneExitCodes[] = {
    {Done, QT_TRANSLATE_NOOP("cli", "a device found: the module is left at its setting")},
    {Failed, QT_TRANSLATE_NOOP("cli", "no setting found a device: the module at its original line settings again")},
    {Usage, QT_TRANSLATE_NOOP("cli", "bad usage, or the module in TCP client mode: nothing was written")},
    {NoModule, QT_TRANSLATE_NOOP("cli", "the module or the connection failed: the module put back where it could be "
                                        "(the output says whether it was)")},
    {Interrupted, QT_TRANSLATE_NOOP("cli", "interrupted (Ctrl+C, SIGTERM, SIGHUP): the module put back (the output "
                                           "says whether it was)")},
};

const Command tuneCommand{
    "tune", "PORT",
    "PORT --via HOST[:PORT] [--speeds LIST] [--parities LIST] [--stop-bits LIST] "
                                "[--units LIST] [OPTION]...",
    1, 1, Command::Serial,
    QT_TRANSLATE_NOOP("cli", "find the line settings at which the devices on the gateway's RS-485 line answer"),
    QT_TRANSLATE_NOOP("cli",
                      "Finds the speed, parity and stop bits of the devices on a gateway's RS-485\n"
                      "line: reads the module's settings through its configuration port PORT,\n"
                      "then for each line setting in turn writes what changes of speed, parity\n"
                      "and stop_bits, restarts the module, waits until it answers again (read\n"
                      "back) and surveys --units through its TCP side at --via, as survey does.\n"
                      "It stops at the first setting at which a device answers and leaves the\n"
                      "module there. Only the line settings are ever written."),
    tuneOptions,
    QT_TRANSLATE_NOOP("cli",
                      "The order, the commonest first: 9600 and 19200 with none/1 and even/1;\n"
                      "then 38400, 115200 and 57600 with them; then 9600 and 19200 with none/2,\n"
                      "odd/1, even/2 and odd/2; then 4800, 2400, 1200, 128000 and 256000 with\n"
                      "none/1 and even/1; then the middle speeds and then the rare ones with the\n"
                      "rare framings. --speeds, --parities and --stop-bits narrow it.\n"
                      "\n"
                      "Nothing lost: when no setting finds a device, a step fails, or the\n"
                      "program is interrupted (Ctrl+C, SIGTERM, SIGHUP), the module's original\n"
                      "speed, parity and stop bits are written back, the module restarted and\n"
                      "its settings read back before the program ends; the output says whether\n"
                      "that was done. A move under way when interrupted ends first (the module\n"
                      "restarted and read back). A second interrupt ends the program at once\n"
                      "(the record is written). A module in TCP client mode has no TCP side to ask: it is\n"
                      "refused before anything is written.\n"
                      "\n"
                      "Each try takes the changed settings at the module's pace (--interval),\n"
                      "the restart, and the survey: each absent unit costs the module's\n"
                      "timeout_response. A short --units list makes each try short. The record\n"
                      "of --report has a row per try, and one for the module put back or moved.\n"
                      "\n"
                      "With --json: {\"port\", \"via\", \"result\", \"original\": {\"speed\", \"parity\",\n"
                      "\"stop_bits\"}, \"tried\": [{\"speed\", \"parity\", \"stop_bits\", \"written\",\n"
                      "\"units_asked\", \"found\", \"result\", \"detail\", \"ms\"}], \"found\": {\"speed\",\n"
                      "\"parity\", \"stop_bits\", \"units\"} or null, \"several_settings\", \"final\",\n"
                      "\"restored\", \"detail\"}."),
    exitCodeList(tuneExitCodes),
    tune};

} // namespace cli
