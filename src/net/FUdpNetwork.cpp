#include "net/FUdpNetwork.h"

#include "platform/Files.h"
#include "platform/UdpSocket.h"
#include "shell/FLogs.h"

TUdpNetwork::TUdpNetwork(const TNetworkOptions& options)
    : port_(options.port), broadcastAddress_(options.broadcastAddress)
{
    int failures = 0;
    std::string reason;
    handle_ = platform::udpCreate(reason);
    if (handle_ < 0) {
        ++failures;
        logLine("Error #2 :  Can't connect to socket");
        logLine("The UDP socket could not be made: " + reason);
    } else if (!platform::udpBind(handle_, options.bindAddress, options.port, reason)) {
        ++failures;
        logLine("Error #3 :  Can't bind socket");
        logLine("Binding UDP port " + std::to_string(options.port) + " failed: " + reason +
                ". Ports below 1024 need a capability for a normal user; grant it once with: "
                "sudo setcap cap_net_bind_service=+ep " + platform::executableDirectory() +
                platform::executableName());
        // An unbound socket would send from a stray port that no answer can reach.
        platform::udpClose(handle_);
        handle_ = -1;
    } else if (options.port == 0) {
        port_ = platform::udpLocalPort(handle_);
    }
    if (failures > 0)
        logLine(std::to_string(failures) + " errors while trying to connect");
}

TUdpNetwork::~TUdpNetwork()
{
    platform::udpClose(handle_);
}

long TUdpNetwork::receive(std::uint8_t* buffer, std::string& senderAddress)
{
    const long n = platform::udpReceive(handle_, buffer, MaxDatagram, senderAddress);
    if (n == 0)
        logLine("Received zero");
    return n;
}

void TUdpNetwork::sendTo(const std::string& address, const void* data, std::size_t length)
{
    std::string reason;
    if (platform::udpSendTo(handle_, address, port_, data, length, reason))
        logLine(std::to_string(length) + " bytes sent to " + address);
    else
        logLine("Error #5 :  Can't send to " + address);
}

void TUdpNetwork::broadcast(const void* data, std::size_t length)
{
    logLine("Sending broadcast...");
    std::string reason;
    platform::udpEnableBroadcast(handle_, reason);
    sendTo(broadcastAddress_, data, length);
}

void TUdpNetwork::close()
{
    platform::udpClose(handle_);
    handle_ = -1;
    logLine("Connection closed");
}
