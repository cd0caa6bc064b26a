// The receive queue and dispatch: the due rule, stamp order, reading every
// waiting datagram, and datagrams that are too short or name slots that do
// not exist.
#include "../support/NetTestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(DueTest, StampPlusThreeTicksAndStampZeroAfter30Ms)
{
    EXPECT_FALSE(isDue(0, 0));
    EXPECT_FALSE(isDue(0, 29));
    EXPECT_TRUE(isDue(0, 30));
    EXPECT_FALSE(isDue(15, 39));  // tick 1 + 3 = tick 4
    EXPECT_TRUE(isDue(15, 40));
    EXPECT_TRUE(isDue(1019, 1040));
    EXPECT_FALSE(isDue(1020, 1049));
    EXPECT_TRUE(isDue(std::numeric_limits<std::int64_t>::min(), -1));
    EXPECT_FALSE(isDue(std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::max()));
}

namespace {

std::vector<std::uint8_t> unitState(std::int64_t stamp, std::int32_t index)
{
    TUnitState m = message<TUnitState>(KindUnitState, stamp);
    m.unitIndex = index;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&m);
    return {bytes, bytes + sizeof m};
}

}  // namespace

class ReceiveQueue : public NetMachine {
protected:
    std::vector<std::pair<std::int64_t, std::int32_t>> handled;  // stamp, unit index

    void SetUp() override
    {
        NetMachine::SetUp();
        ServerAddress = "127.0.0.2";  // a joiner: the host's messages come from there
        GameMessageHandler = [this](const TPacket& p) {
            TUnitState m;
            std::memcpy(&m, p.data.data(), sizeof m);
            handled.emplace_back(p.stamp, m.unitIndex);
        };
    }
    void push(std::int64_t stamp, std::int32_t index)
    {
        const auto d = unitState(stamp, index);
        ASSERT_TRUE(enqueueDatagram(d.data(), d.size(), "127.0.0.2"));
    }
    void dispatchAll()
    {
        while (dispatchStep()) {
        }
    }
};

TEST_F(ReceiveQueue, EarliestStampFirstEqualStampsInArrivalOrderAndAFutureStampHoldsBackLaterOnes)
{
    FrameClock.totalTime = 1000;
    push(500, 1);
    push(100, 2);
    push(5000, 3);
    push(300, 4);
    push(100, 5);
    push(6000, 6);
    dispatchAll();
    ASSERT_EQ(handled.size(), 4u);
    EXPECT_EQ(handled[0], std::make_pair(std::int64_t{100}, 2));
    EXPECT_EQ(handled[1], std::make_pair(std::int64_t{100}, 5));
    EXPECT_EQ(handled[2], std::make_pair(std::int64_t{300}, 4));
    EXPECT_EQ(handled[3], std::make_pair(std::int64_t{500}, 1));
    EXPECT_EQ(receiveQueueCount(), 2u);

    push(900, 7);  // earlier than the held one: due at once
    FrameClock.totalTime = 5029;
    dispatchAll();
    EXPECT_EQ(handled.back(), std::make_pair(std::int64_t{900}, 7));
    EXPECT_EQ(receiveQueueCount(), 2u);
    FrameClock.totalTime = 5030;
    dispatchAll();
    EXPECT_EQ(handled.back(), std::make_pair(std::int64_t{5000}, 3));
    EXPECT_EQ(receiveQueueCount(), 1u) << "6000 still waits";
}

TEST_F(ReceiveQueue, ManyEqualStampsKeepTheirArrivalOrder)
{
    for (int i = 0; i < 100; ++i)
        push(0, i);
    dispatchAll();
    ASSERT_EQ(handled.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(handled[static_cast<std::size_t>(i)].second, i);
}

TEST_F(ReceiveQueue, StampZeroWaitsUntilTheClockPasses30Ms)
{
    FrameClock.totalTime = 0;
    push(0, 1);
    FrameClock.totalTime = 29;
    EXPECT_FALSE(dispatchStep());
    FrameClock.totalTime = 30;
    EXPECT_TRUE(dispatchStep());
    EXPECT_EQ(handled.size(), 1u);
}

TEST_F(ReceiveQueue, OneFrameReadsEveryWaitingDatagram)
{
    Peer peer("127.0.0.2");
    for (int i = 0; i < 40; ++i) {
        const auto d = unitState(100 + i, i);
        peer.sendBytes(d.data(), d.size());
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    networkFrame();
    EXPECT_EQ(handled.size(), 40u);
    EXPECT_EQ(handled.back().second, 39);
}

TEST_F(ReceiveQueue, AFullQueueDropsWithItsLogLine)
{
    FrameClock.totalTime = 0;  // nothing is due: everything stays queued
    for (std::size_t i = 0; i < ReceiveQueueCapacity; ++i)
        push(static_cast<std::int64_t>(i), 0);
    const auto d = unitState(1, 1);
    EXPECT_FALSE(enqueueDatagram(d.data(), d.size(), "127.0.0.2"));
    EXPECT_TRUE(logged("Addline : Erreur d'entassage de packet !"));
    EXPECT_EQ(receiveQueueCount(), ReceiveQueueCapacity);
}

TEST_F(ReceiveQueue, EmptyShortAndUnknownDatagramsChangeNothing)
{
    const std::uint8_t bytes[40] = {14};  // kind 14 is not used
    EXPECT_FALSE(enqueueDatagram(bytes, 0, "127.0.0.2"));
    EXPECT_FALSE(enqueueDatagram(bytes, 11, "127.0.0.2"));
    EXPECT_TRUE(logged("Dropped a datagram of 11 bytes from 127.0.0.2: shorter than the packet header"));
    EXPECT_TRUE(enqueueDatagram(bytes, sizeof bytes, "127.0.0.2"));
    EXPECT_TRUE(dispatchStep());
    EXPECT_EQ(receiveQueueCount(), 0u);
    EXPECT_TRUE(handled.empty());
}

// Every kind cut one byte short, and cut to its bare header, is logged and
// dropped before any handler reads it: nothing in the lobby changes.
TEST_F(ReceiveQueue, TruncatedDatagramsOfEveryKindAreDropped)
{
    CreateServerFromMenu("Keep", "2v2");
    const std::vector<std::int32_t> kinds = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 17, 18, 19, 20, 22, 23, 24, 30, 100};
    for (std::int32_t kind : kinds) {
        std::vector<std::uint8_t> d(messageSize(kind), 0x41);
        std::memcpy(d.data(), &kind, 4);
        std::memset(d.data() + 4, 0, 8);
        for (std::size_t length : {d.size() - 1, std::size_t{12}}) {
            ASSERT_TRUE(enqueueDatagram(d.data(), length, "127.0.0.2"));
            ASSERT_TRUE(dispatchStep());
            EXPECT_TRUE(logged(std::string("Dropped ") + messageName(kind) + " from 127.0.0.2: " +
                               std::to_string(length) + " bytes, " + std::to_string(d.size()) + " expected"))
                << messageName(kind) << " " << length;
        }
    }
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(Clients.count, 1);
    EXPECT_EQ(OwnPlayerId, 0);
    EXPECT_EQ(OwnAddress, "127.0.0.1");
    EXPECT_EQ(lobbyList()->count, 1);
    EXPECT_FALSE(gameStartRequested);
    EXPECT_EQ(FrameClock.totalTime, 1000);
}

TEST_F(ReceiveQueue, SlotsAndPlayersOutOfRangeAreDropped)
{
    for (std::int32_t slot : {-1, 8, 1 << 30}) {
        auto number = message<TPlayerNumber>(KindPlayerNumber);
        number.value = slot;
        auto info = message<TPlayerInfo>(KindPlayerInfo);
        info.slot = slot;
        ASSERT_TRUE(enqueueDatagram(reinterpret_cast<const std::uint8_t*>(&number), sizeof number, "127.0.0.2"));
        ASSERT_TRUE(enqueueDatagram(reinterpret_cast<const std::uint8_t*>(&info), sizeof info, "127.0.0.2"));
        while (dispatchStep()) {
        }
        EXPECT_TRUE(logged("Dropped PlayerNumber from 127.0.0.2: slot " + std::to_string(slot) + " out of range"));
        EXPECT_TRUE(logged("Dropped PlayerInfo from 127.0.0.2: slot " + std::to_string(slot) + " out of range"));
    }
    for (std::int32_t owner : {0, 9}) {
        auto build = message<TBuildRequest>(KindBuildRequest);
        build.owner = owner;
        ASSERT_TRUE(enqueueDatagram(reinterpret_cast<const std::uint8_t*>(&build), sizeof build, "127.0.0.2"));
        while (dispatchStep()) {
        }
    }
    EXPECT_TRUE(logged("Dropped BuildRequest from 127.0.0.2: player 0 out of range"));
    EXPECT_TRUE(logged("Dropped BuildRequest from 127.0.0.2: player 9 out of range"));
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(OwnPlayerId, 0);
    EXPECT_EQ(lobbyList()->count, 1);
}
