#include "loopbacksocket.h"
#include "netconfig.h"

#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <sys/socket.h>

bool loopbackAddress(const std::string &host, int port, sockaddr_in *address)
{
    *address = {};
    address->sin_family = AF_INET;
    address->sin_port = htons(static_cast<uint16_t>(port));
    return isLoopback(host) && ::inet_pton(AF_INET, host.c_str(), &address->sin_addr) == 1;
}

std::string addressText(const sockaddr_in &address)
{
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

bool receiveInto(int fd, std::string &buffer, std::string *why)
{
    char chunk[4096];
    const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
    if (got == 0) {
        why->clear();
        return false;
    }
    if (got < 0) {
        if (errno == EAGAIN || errno == EINTR)
            return true;
        *why = std::strerror(errno);
        return false;
    }
    buffer.append(chunk, std::size_t(got));
    return true;
}
