// UdpSocket: the one door to IPv4 datagram sockets. The network endpoint
// (net/FNetwork) calls these; nothing else in the engine touches POSIX
// sockets. Every failing call hands back the system's reason as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// A non-blocking IPv4 datagram socket; -1 and `reason` set when it cannot be made.
int udpCreate(std::string& reason);
// Why a bind failed, in the terms a player can act on.
enum class UdpBindFailure { None, PortInUse, NotPermitted, Other };

// Binds to `port` on `address` (empty or "0.0.0.0": every local address); port 0 takes a free port.
bool udpBind(int handle, const std::string& address, std::uint16_t port, std::string& reason,
             UdpBindFailure* failure = nullptr);
// The port the socket is bound to; 0 when unknown.
std::uint16_t udpLocalPort(int handle);
bool udpEnableBroadcast(int handle, std::string& reason);
// Sends one datagram to a dotted IPv4 address; false when the address is not
// dotted IPv4 or the system refuses.
bool udpSendTo(int handle, const std::string& address, std::uint16_t port, const void* data, std::size_t length,
               std::string& reason);
// Reads one waiting datagram of at most `capacity` bytes (longer ones are
// cut); its length, or -1 when none is waiting or the read failed.
long udpReceive(int handle, void* buffer, std::size_t capacity, std::string& senderAddress);
// Stops sending, then closes.
void udpClose(int handle);

}  // namespace platform
