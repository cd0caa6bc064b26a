// FUdpNetwork: the game's endpoint on a real UDP socket, bound to port 240
// on every local address and broadcasting to the whole segment. The shell
// makes one at menu start-up; the network layer sees only TNetwork.
#pragma once

#include "net/FNetwork.h"

// Where the endpoint binds and sends. The game always uses the defaults;
// tests bind loopback addresses and a free port (0 picks one).
struct TNetworkOptions {
    std::string bindAddress;  // empty: every local address
    std::uint16_t port = NetPort;
    std::string broadcastAddress = BroadcastAddress;
};

class TUdpNetwork : public TNetwork {
public:
    // Each failing step is logged; the endpoint is then closed and every send logs its error.
    explicit TUdpNetwork(const TNetworkOptions& options = {});
    ~TUdpNetwork() override;
    TUdpNetwork(const TUdpNetwork&) = delete;
    TUdpNetwork& operator=(const TUdpNetwork&) = delete;

    // An empty datagram is logged as "Received zero".
    long receive(std::uint8_t* buffer, std::string& senderAddress) override;
    void sendTo(const std::string& address, const void* data, std::size_t length) override;
    void broadcast(const void* data, std::size_t length) override;
    void close() override;

    bool open() const override { return handle_ >= 0; }
    std::uint16_t port() const override { return port_; }

private:
    int handle_ = -1;
    std::uint16_t port_ = NetPort;
    std::string broadcastAddress_;
};
