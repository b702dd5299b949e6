#include "help.h"

namespace cli {

namespace {

const char common[] = R"(
Options of every command:
  --interval MS   the time between two commands to a module (default 1000,
                  the module's pace; less only for modules known to keep up)
  --verbose       every line sent and received, with a time stamp, on stderr
  --json          one JSON document on stdout; messages stay on stderr
  -h, --help      this help
  --version       the program's version
)";

const char exitStatus[] = R"(
Exit status:
  0    done
  1    the module refused a value, reported a bad value, or read back
       something other than was written
  2    bad usage or input: nothing was sent
  3    no module: the port cannot be opened, or the module is silent, was
       lost or did not come back after its reboot
  130  interrupted (Ctrl+C); the line on the wire is finished first
)";

const char program[] = R"(Usage: gateway-cli COMMAND [ARGUMENT]... [OPTION]...

Reads and writes the parameters of Modbus TCP-RTU gateway modules through
their serial configuration port, one module or many at once, and proves
over Modbus TCP that a module bridges to the devices on its line.

Commands:
  ports                 the serial ports of this computer
  find [PORT]...        which ports have a module (all listed ports by default)
  scan PORT             the module's fifteen parameters
  write PORT [FILE]     write parameters, reboot the module, read them back
  diff PORT FILE        the parameters that differ from a settings file
  reboot PORT           restart the module
  factory-reset PORT    return the module to its factory settings (--yes)
  plan                  a batch plan that numbers the modules' addresses
  batch PLAN            commission every module of a plan at once
  check HOST[:PORT]     read through the gateway over Modbus TCP: does it
                        reach the devices on its RS-485 line?
  serve [HOST:]PORT     the Modbus TCP server that a module in client mode
                        connects to: shows what it forwards

"gateway-cli COMMAND --help" tells more of each.

PORT is a port name (COM3, ttyUSB0) or a device path
(/dev/serial/by-id/...). FILE is a settings file (.TRset), as the
configurator's menu "Файл настройки" opens and saves them.

Parameter keys: mode, version, mac, ip, mask, gateway, port_tcp, parity,
speed, stop_bits, timeout_response, ip_server_tcp, timeout_tcp,
rtu_virtual_id, tcp_slave_id. Values are written as the module replies
them: mode server or client; parity none, odd or even; speed the baud rate;
stop_bits 1 or 2; tcp_slave_id a number or off. version and mac are read
only.
)";

const char ports[] = R"(Usage: gateway-cli ports [--json]

Lists the serial ports that the system reports, with their description,
manufacturer, serial number and USB vendor:product where known, and on
Linux the stable name under /dev/serial/by-id where there is one.
Pseudo-terminals and some device paths are not listed; any command takes
them all the same.
)";

const char find[] = R"(Usage: gateway-cli find [PORT]... [--json]

Asks every listed port, or the ports given, all at once, whether a module
is there (its MAC address and firmware version, at 9600 baud 8N1), and
prints those that answer. With --json, the ports that cannot be opened or
stay silent are listed too, with why. Exit status 0 when a module was
found, 3 when none was.
)";

const char scan[] = R"(Usage: gateway-cli scan PORT [-o FILE] [--json]

Reads the module's fifteen parameters, in the order the configurator's scan
takes them, and prints them (key, value), or with --json as
{"port": ..., "result": "ok", "parameters": {"mode": "server", ...}}.

  -o, --output FILE   also save the thirteen values a settings file holds,
                      as the configurator saves them after the same scan

A reply that is missing, empty or not one of a choice's words fails the
scan and names the key: exit status 3 for a silent module, 1 for a bad
value.
)";

const char write[] = R"(Usage: gateway-cli write PORT [FILE] [--set KEY=VALUE]... [OPTION]...

Writes the values of a settings file, each --set overriding one (without a
file, only the --set keys), in the configurator's write order, each
acknowledgement checked; then reboots the module ("reset"), waits for it to
come back and reads every parameter back. Before anything is sent, every
value is checked: IPv4 addresses for ip, mask, gateway and ip_server_tcp;
port_tcp 502 or 10000-65535; timeout_response 100-60000; timeout_tcp
5-240; rtu_virtual_id 1-247; tcp_slave_id 1-255 or off; the choices'
words. A bad value, an unknown key or an item that is not KEY=VALUE is
named, one line each, and nothing is sent (exit status 2).

  --set KEY=VALUE        a value to write (repeatable)
  --only-changed         scan first and write only the values that differ
  --no-reboot            end after the changes: no reboot, no read-back
  --reboot-timeout S     how long to wait for the module to come back after
                         its reboot (default 30)
  --force                send the values unchecked: the module judges them

The first refusal ("?"), or an answer other than "ok", or none in the
module's time, stops the write: nothing more is sent, and the keys written
before it are named. Exit status 0 only when every value reads back as
written.
)";

const char diff[] = R"(Usage: gateway-cli diff PORT FILE [--json]

Scans the module and lists the keys whose values differ from the settings
file's. Exit status 0 when none differ, 1 when some do.
)";

const char reboot[] = R"(Usage: gateway-cli reboot PORT

Asks the module who it is, then restarts it ("RESET").
)";

const char factoryReset[] = R"(Usage: gateway-cli factory-reset PORT --yes

Asks the module who it is, then returns it to its factory settings ("LOAD
SETTING:DEFAULT"). It refuses without --yes (exit status 2).
)";

const char plan[] = R"(Usage: gateway-cli plan --template FILE --ports PORT,... --ip-from IP [--rtu-id-from N]

Writes a batch plan (CSV) on stdout: one row per port, in the order given,
each with the template and the next IP address from --ip-from on (and the
next rtu_virtual_id from --rtu-id-from on, when given). --ports found takes
the ports where find sees a module.
)";

const char batch[] = R"(Usage: gateway-cli batch PLAN [--report FILE] [OPTION]...

Commissions every module of a plan at once, one port each, side by side:
open, scan (identity and the values before), write, reboot, wait for the
module to come back, read back and compare. A module that fails fails its
own row only.

The plan is CSV (comma or semicolon, quotes as RFC 4180, a UTF-8 BOM
allowed): a header row, then one row per module with the columns
  port     a port name or device path, or
  mac      the module's MAC address, found on whichever port it is
  file     a settings file to start from (relative to the plan's folder)
  KEY      any writable parameter key; a cell overrides the file's value,
           an empty cell leaves it
The whole plan is checked before anything is sent (unknown columns, rows
with neither port nor mac, missing files, bad values, two rows on one port
or with one mac, two modules given one ip): every fault is listed with its
line and column, and the exit status is 2.

  --report FILE         the as-built record (CSV): one row per plan row with
                        its result, the values read back and those before
  --force               replace an existing report
  --ports PORT,...      where the modules of the rows with a mac are looked
                        for (default: every listed port)
  --only-changed        write only the values that differ
  --reboot-timeout S    how long to wait for a module after its reboot
                        (default 30)

With --json the report is also printed as JSON. Exit status 0 when every
row is ok, 1 when any failed, 2 for a bad plan, 130 when interrupted (the
report is still written, unfinished rows "interrupted").
)";

const char check[] = R"(Usage: gateway-cli check HOST[:PORT] [--read KIND:ADDRESS[:COUNT]]... [OPTION]...

Proves that a gateway bridges: connects to it over Modbus TCP at HOST and
PORT (default 502), sends each read in the order given, each to the unit
of --unit, and reports what came back: the values, or the exception with
its name, what it means at a gateway and what to look at. Nothing is sent
to the module's configuration port.

  --unit ID         the unit (the device's address on the RS-485 line),
                    1-247 (default 1)
  --read KIND:ADDRESS[:COUNT]
                    a read (repeatable; default hr:0:1). KIND is hr
                    (holding registers), ir (input registers), coil or di
                    (discrete inputs); ADDRESS the protocol address as it
                    goes on the wire, 0-65535: the first holding register
                    is hr:0. Pollers and device manuals count from 1 with
                    the table in front: 40001 is hr:0, 40010 hr:9, 30001
                    ir:0, 10001 di:0, 00001 coil:0. COUNT 1-125 for
                    registers, 1-2000 for bits (default 1).
  --timeout MS      how long to wait for the connection and for each reply
                    (default 3000; with --file, the file's timeout_response
                    + 1000)
  --repeat N        send the reads N times: each read's round trip as its
                    median, minimum and maximum
  --file FILE       the module's settings file (.TRset): its response
                    time-out, and its values named in the hints

A device's own exceptions (0x01-0x04) prove that the path through the
gateway works: the read was wrong for the device. 0x0B says that no device
answered on the gateway's RS-485 line: speed, parity, stop bits, the
device's address, wiring, termination or timeout_response. A connection
that the gateway closes is not opened again: the reads not answered by
then are reported unanswered.

With --json: {"host", "port", "connected", "connect_ms", "error",
"requests": [{"unit", "kind", "address", "count", "values", "exception",
"exception_name", "ms", ...}], ...}.

Exit status:
  0    every read answered with data
  1    connected, but some read got an exception or no answer
  2    bad usage (a malformed --read, unit or host): nothing was sent
  3    no connection
  130  interrupted (Ctrl+C)
)";

const char serve[] = R"(Usage: gateway-cli serve [HOST:]PORT [--for SECONDS] [--map FILE] [--json]

Stands in for the Modbus TCP server that a module in TCP client mode
connects to (its ip_server_tcp, at its port_tcp): listens at PORT, on the
address HOST of this PC (without HOST: every address of this PC; PORT 0:
one the system picks, named on the first line), answers every unit it is
asked for, and shows each connection (the peer's address) and each request
served (unit, function, address, count) as it comes. So the requests of the
RTU master on the module's line arrive here when the module forwards them.

  --for SECONDS     how long to serve (default 60)
  --map FILE        values to hold. Without it each holding and input
                    register reads back its own address (hr:7 is 7), and
                    each coil and discrete input is 1 at an odd address, 0
                    at an even one. A map file has lines
                      KIND:ADDRESS = VALUE...
                    (hr:100 = 1234, ir:0 = 10 20 30, coil:8 = 1 0 1); the
                    values go to ADDRESS and the addresses after it;
                    registers 0-65535 (or 0x0000-0xFFFF), bits 0 or 1;
                    # begins a comment.

With --json the connections and requests come as one JSON document at the
end ({"listen", "port", "seconds", "connections": [{"peer", "at_s"}],
"requests": [{"peer", "unit", "function", "address", "count", "exception",
"at_s"}], "served"}), the live lines on stderr.

Exit status:
  0    at least one request was served
  2    bad usage: nothing was listened for
  3    no request came (or the port could not be listened at)
  130  interrupted (Ctrl+C)
)";

// The commands whose help gives its own exit status.
const char *const ownExitStatus[] = {"check", "serve"};

} // namespace

QString helpText(const QString &command)
{
    const struct {
        const char *name;
        const char *text;
    } texts[] = {{"", program},     {"ports", ports},   {"find", find},
                 {"scan", scan},    {"write", write},   {"diff", diff},
                 {"reboot", reboot}, {"factory-reset", factoryReset},
                 {"plan", plan},    {"batch", batch},
                 {"check", check},  {"serve", serve}};
    bool own = false;
    for (const char *name : ownExitStatus)
        own = own || command == QLatin1String(name);
    for (const auto &t : texts) {
        if (command == QLatin1String(t.name))
            return QString::fromUtf8(t.text) + QString::fromUtf8(common) + QString::fromUtf8(own ? "" : exitStatus);
    }
    return QString();
}

} // namespace cli
