#include "exitcode.h"

#include "command.h"

namespace cli {

int exitCodeOf(Commissioning::Outcome outcome)
{
    switch (outcome) {
    case Commissioning::Outcome::Ok:
        return Done;
    case Commissioning::Outcome::Refused:
    case Commissioning::Outcome::Mismatch:
    case Commissioning::Outcome::BadValue:
        return Failed;
    case Commissioning::Outcome::Silent:
    case Commissioning::Outcome::Lost:
    case Commissioning::Outcome::Busy:
    case Commissioning::Outcome::NotBack:
        return NoModule;
    case Commissioning::Outcome::Interrupted:
        return Interrupted;
    }
    return Failed;
}

QList<ExitCode> exitCodes()
{
    return {
        {Done, tr("done")},
        {Failed, tr("the module refused a value, reported a bad value, or read back something other than was "
                    "written")},
        {Usage, tr("bad usage or input: nothing was sent")},
        {NoModule, tr("no module: the port cannot be opened, or the module is silent, was lost or did not come "
                      "back after its reboot")},
        {Interrupted, tr("interrupted (Ctrl+C); the line on the wire is finished first")},
    };
}

} // namespace cli
