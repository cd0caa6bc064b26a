// The network layer on an endpoint of the test's own instead of a socket, as
// a tool or a headless test plays it: a host takes a joiner, relays chat to
// its console through the console hook, and says goodbye at the end.
#include "net/FNetwork.h"
#include "net/FReceive.h"
#include "net/FServer.h"
#include "shell/FConfig.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace testing_support;

namespace {

using Datagram = std::pair<std::string, std::vector<std::uint8_t>>;  // the other end's address, the bytes

struct Wire {
    std::vector<Datagram> sent;     // "broadcast" for broadcasts
    std::deque<Datagram> arriving;  // what receive hands out, oldest first
    bool closed = false;
};

// What this machine sends itself comes straight back, as loopback would.
class RecordedEndpoint : public TNetwork {
public:
    explicit RecordedEndpoint(std::shared_ptr<Wire> wire) : wire_(std::move(wire)) {}

    long receive(std::uint8_t* buffer, std::string& senderAddress) override
    {
        if (wire_->arriving.empty())
            return -1;
        Datagram d = std::move(wire_->arriving.front());
        wire_->arriving.pop_front();
        senderAddress = d.first;
        std::memcpy(buffer, d.second.data(), d.second.size());
        return static_cast<long>(d.second.size());
    }
    void sendTo(const std::string& address, const void* data, std::size_t length) override
    {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        wire_->sent.emplace_back(address, std::vector<std::uint8_t>(bytes, bytes + length));
        if (address == LocalAddress)
            wire_->arriving.emplace_back(LocalAddress, wire_->sent.back().second);
    }
    void broadcast(const void* data, std::size_t length) override { sendTo("broadcast", data, length); }
    void close() override { wire_->closed = true; }
    bool open() const override { return !wire_->closed; }
    std::uint16_t port() const override { return NetPort; }

private:
    std::shared_ptr<Wire> wire_;
};

std::int32_t kindOf(const std::vector<std::uint8_t>& bytes)
{
    std::int32_t kind = 0;
    std::memcpy(&kind, bytes.data(), sizeof kind);
    return kind;
}

}  // namespace

TEST(HeadlessNetwork, AHostTakesAJoinerAndRelaysChatWithoutASocket)
{
    ScratchDir dir;
    startLog();
    writeFile("Vrax.cfg", "[Player info]\r\nNickname=Aldric\r\n");
    FrameClock = TFrameClock{};
    FrameClock.totalTime = 1000;
    std::vector<std::string> console;
    ConsoleLineHook = [&](const std::string& text) { console.push_back(text); };
    auto wire = std::make_shared<Wire>();
    networkStart(TConfig(dir.path() + "/Vrax.cfg"), std::make_unique<RecordedEndpoint>(wire));
    CreateServerFromMenu("Keep", "");

    TJoinRequest join{};
    join.header = TPacketHeader{KindJoinRequest, 0};
    writeShortString(join.nick, "Brenna");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&join);
    wire->arriving.emplace_back("10.0.0.2", std::vector<std::uint8_t>(bytes, bytes + sizeof join));
    for (int i = 0; i < 4; ++i)
        networkFrame();
    ASSERT_EQ(Clients.count, 2);
    EXPECT_EQ(Clients.at(1)->player.nick, "Brenna");
    std::vector<std::int32_t> toJoiner;
    for (const Datagram& d : wire->sent)
        if (d.first == "10.0.0.2")
            toJoiner.push_back(kindOf(d.second));
    EXPECT_EQ(toJoiner, (std::vector<std::int32_t>{KindPlayerNumber, KindPlayerInfo, KindPlayerInfo, KindYourAddress}));

    SendChatMessage("for the keep");
    for (int i = 0; i < 4; ++i)
        networkFrame();
    EXPECT_EQ(console, (std::vector<std::string>{"127.0.0.1 - Aldric says : for the keep"}));
    EXPECT_EQ(kindOf(wire->sent.back().second), KindChatLine);

    networkStop();
    EXPECT_TRUE(wire->closed);
    EXPECT_EQ(Network, nullptr);
    ConsoleLineHook = nullptr;
}
