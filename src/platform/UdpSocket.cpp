#include "platform/UdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

bool toAddress(const std::string& text, std::uint16_t port, sockaddr_in& out)
{
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    if (text.empty()) {
        out.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    return inet_pton(AF_INET, text.c_str(), &out.sin_addr) == 1;
}

std::string systemReason()
{
    return std::strerror(errno);
}

}  // namespace

int udpCreate(std::string& reason)
{
    const int handle = socket(AF_INET, SOCK_DGRAM, 0);
    if (handle < 0) {
        reason = systemReason();
        return -1;
    }
    const int flags = fcntl(handle, F_GETFL, 0);
    if (flags < 0 || fcntl(handle, F_SETFL, flags | O_NONBLOCK) < 0) {
        reason = systemReason();
        close(handle);
        return -1;
    }
    return handle;
}

bool udpBind(int handle, const std::string& address, std::uint16_t port, std::string& reason,
             UdpBindFailure* failure)
{
    UdpBindFailure ignored;
    UdpBindFailure& kind = failure ? *failure : ignored;
    kind = UdpBindFailure::None;
    sockaddr_in local;
    if (!toAddress(address, port, local)) {
        reason = "not a dotted IPv4 address: " + address;
        kind = UdpBindFailure::Other;
        return false;
    }
    if (bind(handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        const int error = errno;
        reason = systemReason();
        kind = error == EADDRINUSE               ? UdpBindFailure::PortInUse
               : error == EACCES || error == EPERM ? UdpBindFailure::NotPermitted
                                                   : UdpBindFailure::Other;
        return false;
    }
    return true;
}

std::uint16_t udpLocalPort(int handle)
{
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (getsockname(handle, reinterpret_cast<sockaddr*>(&local), &size) != 0)
        return 0;
    return ntohs(local.sin_port);
}

bool udpEnableBroadcast(int handle, std::string& reason)
{
    const int on = 1;
    if (setsockopt(handle, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        reason = systemReason();
        return false;
    }
    return true;
}

bool udpSendTo(int handle, const std::string& address, std::uint16_t port, const void* data, std::size_t length,
               std::string& reason)
{
    sockaddr_in to;
    if (!toAddress(address, port, to) || address.empty()) {
        reason = "not a dotted IPv4 address";
        return false;
    }
    if (sendto(handle, data, length, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
        reason = systemReason();
        return false;
    }
    return true;
}

long udpReceive(int handle, void* buffer, std::size_t capacity, std::string& senderAddress)
{
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t n = recvfrom(handle, buffer, capacity, 0, reinterpret_cast<sockaddr*>(&from), &size);
    if (n < 0)
        return -1;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
    senderAddress = text;
    return static_cast<long>(n);
}

void udpClose(int handle)
{
    if (handle < 0)
        return;
    shutdown(handle, SHUT_WR);
    close(handle);
}

}  // namespace platform
