// The terminal side of the simulated module: the loop that watches the
// pseudo-terminal (ptydevice.*) and the network side, gap framing of the
// commands, the restart (device vanishes, a new one comes back), the fault
// options (replyfaults.*) and the log (simlog.*).
#pragma once

#include "gatewaymodule.h"
#include "netconfig.h"

#include <string>

struct SimConfig {
    std::string linkPath;      // --link: symlink kept pointing at the slave
    std::string logPath;       // --log: log file (appended)
    bool logToStderr = true;   // --quiet turns it off
    int gapMs = 20;            // --gap: silence that ends a command
    int restartDelayMs = 1500; // --restart-delay
    bool silent = false;       // --silent
    int lateMs = 0;            // --late
    int splitMs = -1;          // --split (-1: off)
    bool garbage = false;      // --garbage
    int burstBytes = 0;        // --burst
    int vanishAfter = 0;       // --vanish-after (0: off)
    GatewayModule::Options module;
    NetConfig net;             // the network side (netconfig.h, netbridge.h)
};

// Runs until SIGTERM/SIGINT; returns the exit status.
int runSimulator(const SimConfig &config);
