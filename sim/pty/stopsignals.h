// SIGTERM, SIGINT and SIGHUP end the simulator cleanly: the handler only
// notes the request and wakes the loop's ppoll() through a pipe. SIGPIPE is
// ignored: a socket's peer gone shows as an error of send().
#pragma once

void catchStopSignals();
bool stopRequested();
// The descriptor that becomes readable on a stop request.
int stopWakeFd();
