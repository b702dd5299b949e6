#include "exitcode.h"

#include "command.h"

namespace cli {

namespace {

const ExitCode serialExitCodes[] = {
    {Done, QT_TRANSLATE_NOOP("cli", "done")},
    {Failed, QT_TRANSLATE_NOOP("cli", "the module refused a value, reported a bad value, or read back something other "
                                      "than was written (a batch: some row failed, and some row reached a module)")},
    {Usage, QT_TRANSLATE_NOOP("cli", "bad usage or input: nothing was sent (for values that cannot work with the "
                                     "module's own, nothing written)")},
    {NoModule, QT_TRANSLATE_NOOP("cli", "no module: no such port, no serial device, a busy port, a silent module, "
                                        "garbled replies, a module lost or not back after its restart (a batch: no "
                                        "row reached a module)")},
    {Interrupted, QT_TRANSLATE_NOOP("cli", "interrupted (Ctrl+C, SIGTERM, SIGHUP, the console closed); the command on "
                                           "the wire is finished first")},
};

} // namespace

int exitCodeOf(Commissioning::Outcome outcome)
{
    switch (outcome) {
    case Commissioning::Outcome::Ok:
        return Done;
    case Commissioning::Outcome::Refused:
    case Commissioning::Outcome::Mismatch:
    case Commissioning::Outcome::BadValue:
        return Failed;
    case Commissioning::Outcome::Invalid:
        return Usage;
    case Commissioning::Outcome::Garbled:
    case Commissioning::Outcome::Silent:
    case Commissioning::Outcome::Lost:
    case Commissioning::Outcome::NoPort:
    case Commissioning::Outcome::NotSerial:
    case Commissioning::Outcome::Busy:
    case Commissioning::Outcome::NotBack:
        return NoModule;
    case Commissioning::Outcome::Interrupted:
        return Interrupted;
    }
    return Failed;
}

int exitCodeOf(const ModbusCheck &check)
{
    static_assert(int(ModbusCheck::AllAnswered) == Done && int(ModbusCheck::Unproven) == Failed
                  && int(ModbusCheck::NoConnection) == NoModule && int(ModbusCheck::DeviceRefused) == DeviceRefused);
    return check.result().interrupted ? Interrupted : int(check.status());
}

ExitCodes exitCodes()
{
    return exitCodeList(serialExitCodes);
}

} // namespace cli
