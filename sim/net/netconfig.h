// What the simulated module's network side is told: its options, the
// parsing of those that take an address or a request, and the module's
// values it works with.
#pragma once

#include "fieldline.h"
#include "gatewaymodule.h"
#include "modbus.h"

#include <functional>
#include <string>

struct NetConfig {
    bool enabled = false; // --tcp, or any option below
    std::string listenHost = "127.0.0.1";
    int listenPort = -1; // --tcp-listen HOST[:PORT]; -1: port_tcp (0: one the system picks)
    std::string serverHost = "127.0.0.1";
    int serverPort = -1; // --tcp-server HOST[:PORT]; -1: port_tcp
    FieldLine line;      // --field UNIT@SPEED/PARITY/STOP
    // --rtu-master KIND:ADDRESS:COUNT@MS: what the RTU master on the line
    // asks, and how often (client mode).
    unsigned char masterFunction = modbus::ReadHoldingRegisters;
    int masterAddress = 0;
    int masterCount = 2;
    int masterIntervalMs = 1000;
    bool refuse = false; // --tcp-refuse: the port bound, nothing listening
    bool stall = false;  // --tcp-stall: accept, never answer
    int dropAfter = 0;   // --tcp-drop-after N: close a connection after N replies
    int retryMs = 2000;  // client mode: the next attempt
};

// One line of the log.
using NetLog = std::function<void(const std::string &)>;

// Whether HOST is an IPv4 address in 127.0.0.0/8.
bool isLoopback(const std::string &host);
// HOST[:PORT] with HOST in 127.0.0.0/8; PORT (0-65535) stays -1 when not
// given. False with `fault` set.
bool parseLoopbackAddress(const std::string &text, std::string *host, int *port, std::string *fault);
// --rtu-master KIND:ADDRESS:COUNT@MS; false with `fault` set.
bool parseRtuMaster(const std::string &text, NetConfig *config, std::string *fault);
// The word of a read's table (hr, ir, coil, di); nullptr for any other
// function.
const char *readKind(unsigned char function);

// The module's port_tcp, and its side of the RS-485 line, as they are
// stored now.
int portTcpOf(const GatewayModule &module);
FieldLine::Settings lineSettingsOf(const GatewayModule &module);
