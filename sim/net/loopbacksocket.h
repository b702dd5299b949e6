// The socket chores the network side's server and client share: the
// loopback address to bind or connect to, a peer's name in the log, and
// reading what a connection has.
#pragma once

#include <string>

#include <netinet/in.h>

// HOST:PORT as a socket address; false unless HOST is an address in
// 127.0.0.0/8, whatever the module's own addresses say.
bool loopbackAddress(const std::string &host, int port, sockaddr_in *address);
// "127.0.0.1:PORT", as the log names a peer or a port.
std::string addressText(const sockaddr_in &address);
// Appends what `fd` has to `buffer`. False once the connection is over:
// `why` is then the system's error, or empty when the peer closed it.
bool receiveInto(int fd, std::string &buffer, std::string *why);
