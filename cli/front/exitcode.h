#pragma once

#include <QList>
#include <QString>

#include "command.h"
#include "commissioning.h"
#include "modbuscheck.h"

namespace cli {

// The exit codes (documented in --help from exitCodes(), the manual page
// and the README).
enum Exit {
    Done = 0,
    Failed = 1,      // the module refused, reported a bad value, or read back something else
    Usage = 2,       // bad usage or input: nothing was sent (or nothing written)
    NoModule = 3,    // no module answered in the protocol: no port, not serial, busy, silent, garbled, lost, not back
    // A network check: each path proven, but a device answered a read with
    // its own exception (0x01-0x04...): not 1, so that a script tells a
    // proven path from an unproven one by the code alone.
    DeviceRefused = 4,
    Interrupted = 130,
};

int exitCodeOf(Commissioning::Outcome outcome);
// A network check's: 130 when interrupted, else its status, whose numbers
// are these codes (0, 1, 3 or 4).
int exitCodeOf(const ModbusCheck &check);

// Each exit code of the commands on a serial port with what it means to a
// person, for the help (ExitCodes is in command.h).
ExitCodes exitCodes();

} // namespace cli
