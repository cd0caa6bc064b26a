// The endpoint and the wire: message sizes, the bytes a sender puts on the
// wire, and what a failed socket does.
#include "../support/NetTestSupport.h"
#include "net/FTransmit.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(NetworkLayouts, EveryKindHasItsCatalogueSize)
{
    const std::vector<std::pair<int, std::size_t>> catalogue = {
        {1, 784},  {2, 20},   {3, 280},  {4, 784},  {5, 268},  {6, 36},   {7, 36},   {8, 16},
        {9, 20},   {10, 12},  {11, 528}, {12, 30},  {13, 268}, {16, 12},  {17, 16},  {18, 30},
        {19, 20},  {20, 20},  {21, 12},  {22, 541}, {23, 541}, {24, 541}, {26, 20},  {30, 28},
        {100, 187}};
    for (const auto& [kind, size] : catalogue)
        EXPECT_EQ(messageSize(kind), size) << messageName(kind);
    for (int kind : {0, 14, 15, 25, 29, 31, 99, 101, -1})
        EXPECT_EQ(messageSize(kind), 0u) << kind;
}

TEST(NetworkLayouts, ShortStringsAreCutAt255AndZeroFilled)
{
    TShortString s;
    std::memset(&s, 0xAB, sizeof s);
    writeShortString(s, std::string(300, 'x'));
    EXPECT_EQ(s.length, 255);
    EXPECT_EQ(readShortString(s), std::string(255, 'x'));
    writeShortString(s, "\xe9t\xe9");  // 8-bit text passes untouched
    EXPECT_EQ(readShortString(s), "\xe9t\xe9");
    EXPECT_EQ(s.text[3], 0);
}

using NetworkWire = NetMachine;

TEST_F(NetworkWire, PlayerInfoBytesSitAtTheirOffsets)
{
    Peer peer("127.0.0.2");
    const auto info = makePlayerInfo(KindPlayerInfo, 3, 2, 1, 3, "Brenna", 1, "10.0.0.7");
    sendDatagram("127.0.0.2", &info, sizeof info);
    const auto got = peer.receiveAll();
    ASSERT_EQ(got.size(), 1u);
    const std::vector<std::uint8_t>& d = got[0];
    ASSERT_EQ(d.size(), 541u);
    EXPECT_EQ(d[0], 22);   // Kind, little-endian
    EXPECT_EQ(d[4], 0);    // Stamp 0
    EXPECT_EQ(d[12], 3);   // slot
    EXPECT_EQ(d[16], 2);   // colour
    EXPECT_EQ(d[20], 1);   // race
    EXPECT_EQ(d[24], 3);   // team
    EXPECT_EQ(d[28], 6);   // nick length
    EXPECT_EQ(std::string(d.begin() + 29, d.begin() + 35), "Brenna");
    EXPECT_EQ(d[284], 1);  // local flag
    EXPECT_EQ(d[285], 8);  // address length
    EXPECT_EQ(std::string(d.begin() + 286, d.begin() + 294), "10.0.0.7");
    EXPECT_TRUE(logged("541 bytes sent to 127.0.0.2"));
}

TEST_F(NetworkWire, UnitStateCarriesTheClockPlus30AndGoesToSlotsFromOne)
{
    Peer peer("127.0.0.2");
    join("127.0.0.2", "Brenna", 1, 0, 2);
    peer.receiveAll();
    FrameClock.totalTime = 0x123456789;
    TUnitState state{};
    state.unitIndex = 4;
    state.updateMask = 8;
    state.hitPoints = 12.5;
    sendUnitState(state);
    const auto got = peer.receiveKind<TUnitState>(KindUnitState);
    ASSERT_EQ(got.size(), 1u);
    const std::int64_t stamp = got[0].header.Stamp;  // packed: copied before comparing
    EXPECT_EQ(stamp, 0x123456789 + 30);
    EXPECT_EQ(got[0].unitIndex, 4);
    EXPECT_EQ(got[0].updateMask, 8);
    const double hitPoints = got[0].hitPoints;
    EXPECT_EQ(hitPoints, 12.5);
}

TEST_F(NetworkWire, AFailedSocketLogsOneErrorPerSendAndChangesNothingElse)
{
    TNetworkOptions options;
    options.bindAddress = "not an address";
    Network = std::make_unique<TUdpNetwork>(options);
    EXPECT_TRUE(logged("Addline : Error #3 :  Can't bind socket"));
    EXPECT_TRUE(logged("Addline : 1 errors while trying to connect"));
    const std::size_t before = log().size();
    sendPing("127.0.0.2", 5);
    Refresh();
    const std::string after = log().substr(before);
    EXPECT_NE(after.find("Addline : Error #5 :  Can't send to 127.0.0.2\r\n"), std::string::npos) << after;
    EXPECT_NE(after.find("Sending broadcast...\r\n"), std::string::npos) << after;
    EXPECT_NE(after.find("Error #5 :  Can't send to 255.255.255.255\r\n"), std::string::npos) << after;
    EXPECT_EQ(Clients.count, 1);
}

TEST_F(NetworkWire, ABusyPortLogsTheReasonAndTheCapabilityFix)
{
    TNetworkOptions options;
    options.bindAddress = "127.0.0.1";
    options.port = Network->port();  // already bound by this machine
    TUdpNetwork second(options);
    EXPECT_FALSE(logged("Error #2"));
    EXPECT_TRUE(logged("Error #3 :  Can't bind socket"));
    EXPECT_TRUE(logged("failed: Address already in use"));
    EXPECT_TRUE(logged("setcap cap_net_bind_service=+ep "));
}

TEST_F(NetworkWire, StopSendsLeaveToTheServerAndCloses)
{
    Peer server("127.0.0.2");
    ServerAddress = "127.0.0.2";
    OwnAddress = "127.0.0.9";
    networkStop();
    const auto got = server.receiveKind<TLeave>(KindLeave);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(readShortString(got[0].address), "127.0.0.9");
    EXPECT_EQ(Network, nullptr);
    EXPECT_TRUE(logged("Addline : Connection closed"));
}

namespace {

template <typename T>
T as(const std::vector<std::uint8_t>& datagram)
{
    T m{};
    std::memcpy(&m, datagram.data(), std::min(sizeof m, datagram.size()));
    return m;
}

}  // namespace

TEST_F(NetworkWire, GameSendersStampAndAddressAsTheProtocolSays)
{
    Peer brenna("127.0.0.2");
    Peer cyra("127.0.0.3");
    join("127.0.0.2", "Brenna", 1, 0, 2);
    join("127.0.0.3", "Cyra", 1, 0, 2);
    Clients.at(1)->player.gold = 120;
    Clients.at(2)->player.wood = 7.5;
    brenna.receiveAll();
    cyra.receiveAll();
    FrameClock.totalTime = 4321;

    ServerAddress = "127.0.0.2";  // as on a joiner: requests go to the server only
    sendBuildRequest(160, 320, 3, 3, -1);
    TUnitOrder order{};
    order.unitId = 9;
    order.order = 1;
    order.queue = 1;
    sendUnitOrder(order);
    const auto requests = brenna.receiveAll();
    ASSERT_EQ(requests.size(), 2u);
    const auto build = as<TBuildRequest>(requests[0]);
    const auto sent = as<TUnitOrder>(requests[1]);
    EXPECT_EQ(requests[0].size(), 36u);
    EXPECT_EQ(requests[1].size(), 30u);
    EXPECT_EQ(build.header.Kind, KindBuildRequest);
    EXPECT_EQ(std::int64_t{build.header.Stamp}, 4321);
    EXPECT_EQ(build.owner, 3);
    EXPECT_EQ(build.builderId, -1);
    EXPECT_EQ(sent.header.Kind, KindUnitOrder);
    EXPECT_EQ(std::int64_t{sent.header.Stamp}, 4321);
    EXPECT_EQ(sent.queue, 1);
    EXPECT_TRUE(cyra.receiveAll().empty());
    EXPECT_TRUE(logged("Addline : Sending data"));

    // The host's news reaches every joined slot; resources carry each slot's own.
    sendUnitCreated(5, 160, 320, 3, 2, -1);
    sendResources();
    const auto forBrenna = brenna.receiveAll();
    const auto forCyra = cyra.receiveAll();
    ASSERT_EQ(forBrenna.size(), 2u);
    ASSERT_EQ(forCyra.size(), 2u);
    EXPECT_EQ(as<TUnitCreatedMessage>(forCyra[0]).unitId, 5);
    EXPECT_EQ(double{as<TResources>(forBrenna[1]).gold}, 120.0);
    EXPECT_EQ(double{as<TResources>(forCyra[1]).wood}, 7.5);
}
