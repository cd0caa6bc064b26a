// Helpers for the network tests: this process plays one machine, bound to
// 127.0.0.1 on a free port; Peer sockets on 127.0.0.2, 127.0.0.3, ... play
// the other machines, on the same port, so every datagram stays on loopback.
#pragma once

#include "TestSupport.h"
#include "interface/FXMLLoader.h"
#include "net/FNetwork.h"
#include "net/FReceive.h"
#include "net/FServer.h"
#include "net/FUdpNetwork.h"
#include "platform/UdpSocket.h"
#include "script/FLua.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace testing_support {

class Peer {
public:
    explicit Peer(const std::string& address) : address_(address)
    {
        std::string reason;
        handle_ = platform::udpCreate(reason);
        EXPECT_TRUE(platform::udpBind(handle_, address, Network->port(), reason)) << reason;
    }
    ~Peer() { platform::udpClose(handle_); }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    const std::string& address() const { return address_; }

    void sendBytes(const void* data, std::size_t length, const std::string& to = "127.0.0.1")
    {
        std::string reason;
        EXPECT_TRUE(platform::udpSendTo(handle_, to, Network->port(), data, length, reason)) << reason;
    }
    template <typename T>
    void send(const T& message)
    {
        sendBytes(&message, sizeof message);
    }

    // Every datagram waiting for this peer.
    std::vector<std::vector<std::uint8_t>> receiveAll()
    {
        std::vector<std::vector<std::uint8_t>> all;
        std::uint8_t buffer[MaxDatagram];
        std::string from;
        long n;
        while ((n = platform::udpReceive(handle_, buffer, sizeof buffer, from)) >= 0)
            all.emplace_back(buffer, buffer + n);
        return all;
    }
    // The waiting datagrams of one kind, read as that record.
    template <typename T>
    std::vector<T> receiveKind(std::int32_t kind)
    {
        std::vector<T> out;
        for (const auto& d : receiveAll()) {
            std::int32_t k = 0;
            std::memcpy(&k, d.data(), 4);
            if (k == kind && d.size() == sizeof(T)) {
                T m;
                std::memcpy(&m, d.data(), sizeof m);
                out.push_back(m);
            }
        }
        return out;
    }

private:
    std::string address_;
    int handle_ = -1;
};

template <typename T>
T message(std::int32_t kind, std::int64_t stamp = 0)
{
    T m;
    std::memset(&m, 0, sizeof m);
    TPacketHeader h{kind, stamp};
    std::memcpy(&m, &h, sizeof h);
    return m;
}

inline TShortString shortString(const std::string& text)
{
    TShortString s;
    writeShortString(s, text);
    return s;
}

// One machine started in a scratch folder with a Vrax.cfg naming "Aldric",
// its clock past the 30 ms hold, its menu interface ready, in the menu or the
// game as `inGame` says, and the script callbacks and game-start requests recorded.
class NetMachine : public ::testing::Test {
protected:
    ScratchDir dir;
    std::vector<std::string> cleared;
    std::vector<std::tuple<std::string, std::string, int, int, int>> playerRows;  // nick, address, race, colour, team
    std::vector<std::tuple<std::string, std::string, int, std::string>> serverRows;
    std::vector<int> events;
    bool inGame = false;
    bool gameStartRequested = false;

    void SetUp() override
    {
        startLog();
        writeFile("Vrax.cfg", "[Player info]\r\nNickname=Aldric\r\n");
        FrameClock = TFrameClock{};
        FrameClock.totalTime = 1000;
        InterfaceReady = true;
        LaunchHooks.inGame = [this] { return inGame; };
        LaunchHooks.requestGameStart = [this] { gameStartRequested = true; };
        LobbyHooks.listBoxClear = [this](const std::string& list) {
            cleared.push_back(list);
            playerRows.clear();
        };
        LobbyHooks.addServerList5 = [this](const std::string& nick, const std::string& address, int race, int colour,
                                           int team) { playerRows.emplace_back(nick, address, race, colour, team); };
        LobbyHooks.addServerList4 = [this](const std::string& address, const std::string& name, int count,
                                           const std::string& text) {
            serverRows.emplace_back(address, name, count, text);
        };
        LobbyHooks.raiseEvent = [this](InterfaceEvent event) { events.push_back(static_cast<int>(event)); };
        TNetworkOptions options;
        options.bindAddress = "127.0.0.1";
        options.port = 0;
        options.broadcastAddress = "127.0.0.1";
        networkStart(TConfig(dir.path() + "/Vrax.cfg"), std::make_unique<TUdpNetwork>(options));
    }

    void TearDown() override
    {
        Network.reset();
        LobbyHooks = TLobbyHooks{};
        LaunchHooks = TLaunchHooks{};
        ConsoleLineHook = nullptr;
        GameMessageHandler = nullptr;
        InterfaceReady = false;
    }

    // A few frames, leaving loopback time to deliver.
    void frames(int count = 3)
    {
        for (int i = 0; i < count; ++i) {
            networkFrame();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::string log() const { return readFile("Logs/log.txt"); }
    bool logged(const std::string& text) const { return log().find(text) != std::string::npos; }
};

}  // namespace testing_support
