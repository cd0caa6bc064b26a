// The lobby as the host and as a joiner: joining, leaving, server queries,
// chat, and the ping rounds that end in the launch. This process is one
// machine; Peer sockets play the others.
#include "../support/NetTestSupport.h"
#include "net/FTransmit.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TJoinRequest joinRequest(const std::string& nick)
{
    auto m = message<TJoinRequest>(KindJoinRequest);
    m.nick = shortString(nick);
    m.race = 1;
    m.one = 1;
    return m;
}

std::int32_t kindOf(const std::vector<std::uint8_t>& d)
{
    std::int32_t k = 0;
    std::memcpy(&k, d.data(), 4);
    return k;
}

template <typename T>
T as(const std::vector<std::uint8_t>& datagram)
{
    T m;
    std::memcpy(&m, datagram.data(), sizeof m);
    return m;
}

}  // namespace

using Lobby = NetMachine;

TEST_F(Lobby, StartPutsThisMachineInSlotZeroAsPlayerOne)
{
    ASSERT_EQ(Clients.count, 1);
    const TClient& me = *Clients.at(0);
    EXPECT_EQ(me.address, "127.0.0.1");
    EXPECT_EQ(me.player.nick, "Aldric");
    EXPECT_EQ(me.player.colour, 5);
    EXPECT_EQ(me.player.race, 0);
    EXPECT_EQ(me.pingMedian, -1);
    EXPECT_EQ(OwnPlayerId, 0);
    EXPECT_EQ(OwnPlayerNumber, 1);
    ASSERT_NE(lobbyList(), nullptr);
    EXPECT_EQ(lobbyList()->count, 1);
    EXPECT_EQ(lobbyList()->at(0)->local, 1);
    EXPECT_TRUE(logged("Addline : New client : ip = 127.0.0.1 nick = Aldric race = 0 team = 0 color = 5\r\n"));
    EXPECT_TRUE(logged("Addline : Client added to cell 0\r\n"));
    EXPECT_TRUE(logged("Addline : Public player list added1\r\n"));

    // Without a configuration file the nick says so.
    networkStart(TConfig(dir.path() + "/Missing.cfg"),
                 std::make_unique<TUdpNetwork>(TNetworkOptions{"127.0.0.1", 0, "127.0.0.1"}));
    EXPECT_TRUE(logged("Addline : Missing Vrax.cfg !!"));
    EXPECT_EQ(localPlayer().nick, "Erreur dans le fichier de config");
}

TEST_F(Lobby, FirstJoinerGetsSlotOneColourTwoAndTheWholeList)
{
    CreateServerFromMenu("Keep", "2v2");
    Peer brenna("127.0.0.2");
    brenna.send(joinRequest("Brenna"));
    frames();

    ASSERT_EQ(Clients.count, 2);
    const TClient& joined = *Clients.at(1);
    EXPECT_EQ(joined.address, "127.0.0.2");
    EXPECT_EQ(joined.player.nick, "Brenna");
    EXPECT_EQ(joined.player.colour, 2);
    EXPECT_EQ(joined.player.race, 1);
    EXPECT_EQ(joined.player.team, 1);
    EXPECT_EQ(joined.pingMedian, -1);
    EXPECT_TRUE(logged("Addline : Client added to cell 1"));
    EXPECT_TRUE(logged("Addline : Sending to player 1 infos about player 0"));

    const auto got = brenna.receiveAll();
    std::vector<std::int32_t> kinds;
    for (const auto& d : got)
        kinds.push_back(kindOf(d));
    EXPECT_EQ(kinds, (std::vector<std::int32_t>{KindPlayerNumber, KindPlayerInfo, KindPlayerInfo, KindYourAddress}));
    TPlayerNumber number;
    std::memcpy(&number, got[0].data(), sizeof number);
    EXPECT_EQ(number.value, 1);
    TPlayerInfo host, self;
    std::memcpy(&host, got[1].data(), sizeof host);
    std::memcpy(&self, got[2].data(), sizeof self);
    EXPECT_EQ(readShortString(host.nick), "Aldric");
    EXPECT_EQ(readShortString(host.address), "127.0.0.1");
    EXPECT_EQ(host.local, 0);
    EXPECT_EQ(self.slot, 1);
    EXPECT_EQ(self.local, 1);
    EXPECT_EQ(self.colour, 2);
    TYourAddress address;
    std::memcpy(&address, got[3].data(), sizeof address);
    EXPECT_EQ(readShortString(address.address), "127.0.0.2");

    // The host's own list shows both, after the PlayerListChanged it sent itself.
    ASSERT_EQ(playerRows.size(), 2u);
    EXPECT_EQ(playerRows[1], std::make_tuple(std::string("Brenna"), std::string("127.0.0.2"), 1, 2, 1));
    EXPECT_EQ(cleared.back(), "PlayerList");

    // Asking again keeps the slot: the joiner hears its number and the list once more.
    brenna.send(joinRequest("Brenna"));
    frames();
    EXPECT_EQ(Clients.count, 2);
    EXPECT_TRUE(logged("Addline : Brenna (127.0.0.2) is already in cell 1"));
    std::vector<std::int32_t> again;
    for (const auto& d : brenna.receiveAll())
        again.push_back(kindOf(d));
    EXPECT_EQ(again, kinds);

    // A second joiner is announced to the first.
    Peer cyra("127.0.0.3");
    cyra.send(joinRequest("Cyra"));
    frames();
    const auto announced = brenna.receiveAll();
    ASSERT_EQ(announced.size(), 2u);
    EXPECT_EQ(kindOf(announced[0]), KindPlayerListChanged);
    TPlayerInfo news;
    std::memcpy(&news, announced[1].data(), sizeof news);
    EXPECT_EQ(news.slot, 2);
    EXPECT_EQ(readShortString(news.nick), "Cyra");
    EXPECT_EQ(news.local, 0);
}

TEST_F(Lobby, ANinthMachineAndAJoinWhileRunningAreRefused)
{
    CreateServerFromMenu("Keep", "");
    for (int i = 2; i <= 8; ++i)
        join("127.0.0." + std::to_string(i), "P" + std::to_string(i), 1, 0, 2);
    ASSERT_EQ(Clients.count, 8);
    Peer late("127.0.0.9");
    late.send(joinRequest("Late"));
    frames();
    EXPECT_TRUE(logged("Addline : Array is full !"));
    EXPECT_EQ(Clients.count, 8);
    const auto got = late.receiveAll();
    ASSERT_EQ(got.size(), 1u) << "only YourAddress, no PlayerNumber";
    EXPECT_EQ(kindOf(got[0]), KindYourAddress);

    removeClient("127.0.0.8");
    BroadCastLaunchGame_();
    frames();
    FrameClock.totalTime = 1000;  // the launch restarted it at the unmeasured -1
    late.send(joinRequest("Late"));
    frames();
    EXPECT_TRUE(logged("A new client is trying to connect (127.0.0.9, Late) but server is running !"));
    EXPECT_EQ(Clients.count, 7);
}

namespace {

// What a joiner heard from the host: the slot number it was given and the
// list entries after it, in order (slot, nick, local flag).
struct Told {
    std::vector<std::int32_t> numbers;
    std::vector<std::tuple<int, std::string, int>> entries;
    int listChanged = 0;
};

Told heard(Peer& peer)
{
    Told told;
    for (const auto& d : peer.receiveAll()) {
        if (kindOf(d) == KindPlayerNumber) {
            told.numbers.push_back(as<TPlayerNumber>(d).value);
            told.entries.clear();  // as a joiner does: the whole list follows
        } else if (kindOf(d) == KindPlayerInfo) {
            const auto m = as<TPlayerInfo>(d);
            told.entries.emplace_back(m.slot, readShortString(m.nick), m.local);
        } else if (kindOf(d) == KindPlayerListChanged) {
            ++told.listChanged;
        }
    }
    return told;
}

using Entries = std::vector<std::tuple<int, std::string, int>>;

}  // namespace

// Four players; the second leaves. The later slots move down on the host,
// and every joiner, moved or not, hears its slot and the host's list again,
// so every machine lists the same three players in the same order.
TEST_F(Lobby, ALeaveMovesLaterSlotsDownAndEveryJoinerHearsItsSlotAndTheList)
{
    CreateServerFromMenu("Keep", "");
    Peer brenna("127.0.0.2");
    Peer cyra("127.0.0.3");
    Peer dunn("127.0.0.4");
    join("127.0.0.2", "Brenna", 1, 0, 2);
    join("127.0.0.3", "Cyra", 1, 0, 2);
    join("127.0.0.4", "Dunn", 1, 0, 2);
    frames();
    for (Peer* p : {&brenna, &cyra, &dunn})
        p->receiveAll();
    Clients.at(3)->pingMedian = 12;  // measured before the leave: it moves with Dunn

    auto leave = message<TLeave>(KindLeave);
    leave.address = shortString("127.0.0.1");  // the local machine is never removed
    brenna.send(leave);
    leave.address = shortString("127.0.0.3");  // nobody leaves for someone else
    brenna.send(leave);
    frames();
    EXPECT_EQ(Clients.count, 4);
    EXPECT_TRUE(logged("Refused Leave from 127.0.0.2: it names 127.0.0.1, not its sender"));
    EXPECT_TRUE(logged("Refused Leave from 127.0.0.2: it names 127.0.0.3, not its sender"));

    leave.address = shortString("127.0.0.2");
    brenna.send(leave);
    frames();
    ASSERT_EQ(Clients.count, 3);
    EXPECT_TRUE(logged("Addline : Brenna (127.0.0.2) has left the game\r\n"));
    EXPECT_TRUE(logged("Addline : Client 2 moved to 1\r\n"));
    EXPECT_TRUE(logged("Addline : Client 3 moved to 2\r\n"));
    EXPECT_EQ(Clients.at(1)->address, "127.0.0.3");
    EXPECT_EQ(Clients.at(2)->address, "127.0.0.4");
    EXPECT_EQ(Clients.at(3), nullptr);
    EXPECT_EQ(slotOfAddress("127.0.0.2"), -1);

    // The host's list follows its slots, and its menu shows the three.
    ASSERT_EQ(lobbyList()->count, 3);
    EXPECT_EQ(lobbyList()->at(1)->nick, "Cyra");
    EXPECT_EQ(lobbyList()->at(2)->address, "127.0.0.4");
    EXPECT_EQ(lobbyList()->at(3), nullptr);
    ASSERT_EQ(playerRows.size(), 3u);
    EXPECT_EQ(std::get<0>(playerRows[2]), "Dunn");
    EXPECT_EQ(describePlayers(), "1 Aldric, 2 Cyra, 3 Dunn");

    const Told toCyra = heard(cyra);
    const Told toDunn = heard(dunn);
    EXPECT_EQ(toCyra.numbers, std::vector<std::int32_t>{1});
    EXPECT_EQ(toDunn.numbers, std::vector<std::int32_t>{2});
    EXPECT_EQ(toCyra.entries, (Entries{{0, "Aldric", 0}, {1, "Cyra", 1}, {2, "Dunn", 0}}));
    EXPECT_EQ(toDunn.entries, (Entries{{0, "Aldric", 0}, {1, "Cyra", 0}, {2, "Dunn", 1}}));
    EXPECT_EQ(toCyra.listChanged, 1);
    EXPECT_TRUE(brenna.receiveAll().empty()) << "nothing more for the one who left";

    // The launch tells each joiner its slot and the list once more before the clock.
    BroadCastLaunchGame_();
    const auto atLaunch = dunn.receiveAll();
    ASSERT_EQ(atLaunch.size(), 5u);
    EXPECT_EQ(kindOf(atLaunch.front()), KindPlayerNumber);
    EXPECT_EQ(kindOf(atLaunch.back()), KindLaunchGame);
    EXPECT_EQ(as<TLaunchGame>(atLaunch.back()).value, 12);
    cyra.receiveAll();
    frames();
    FrameClock.totalTime = 1000;  // the launch restarted it at the unmeasured -1

    // Once launched every machine plays the number it started with: a leave
    // keeps the slot, and nothing more is sent to the machine that left.
    leave.address = shortString("127.0.0.3");
    cyra.send(leave);
    frames();
    EXPECT_TRUE(logged("Addline : Cyra (127.0.0.3) has left the game\r\n"));
    EXPECT_EQ(Clients.count, 3);
    EXPECT_EQ(Clients.at(2)->address, "127.0.0.4");
    EXPECT_EQ(slotOfAddress("127.0.0.3"), -1);
    EXPECT_EQ(slotOfAddress("127.0.0.4"), 2);
    EXPECT_EQ(lobbyList()->count, 3);
    sendUnitCreated(5, 160, 320, 3, 1, -1);
    sendResources();
    EXPECT_TRUE(cyra.receiveAll().empty());
    std::vector<std::int32_t> kinds;
    for (const auto& d : dunn.receiveAll())
        if (kindOf(d) != KindLaunchGame)  // its repeats, for a joiner that lost it
            kinds.push_back(kindOf(d));
    EXPECT_EQ(kinds, (std::vector<std::int32_t>{KindUnitCreated, KindResources})) << "numbers never move in the game";
}

// The joiner's side: the host's numbering after a leave replaces what it
// held, down to the entry of the one who left; its game keeps its number.
TEST_F(Lobby, AJoinerMovedDownTakesItsNewSlotAndTheHostsWholeList)
{
    Peer host("127.0.0.2");
    ConnectFromMenu("127.0.0.2", "Dunn");
    auto number = message<TPlayerNumber>(KindPlayerNumber);
    number.value = 3;
    host.send(number);
    host.send(makePlayerInfo(KindPlayerInfo, 0, 5, 0, 0, "Aldric", 0, "127.0.0.1"));
    host.send(makePlayerInfo(KindPlayerInfo, 1, 2, 1, 1, "Brenna", 0, "127.0.0.3"));
    host.send(makePlayerInfo(KindPlayerInfo, 2, 2, 1, 2, "Cyra", 0, "127.0.0.4"));
    host.send(makePlayerInfo(KindPlayerInfo, 3, 2, 1, 3, "Dunn", 1, "127.0.0.5"));
    frames();
    ASSERT_EQ(lobbyList()->count, 4);
    EXPECT_EQ(OwnPlayerNumber, 4);

    // Brenna left: the host renumbers.
    number.value = 2;
    host.send(number);
    host.send(makePlayerInfo(KindPlayerInfo, 0, 5, 0, 0, "Aldric", 0, "127.0.0.1"));
    host.send(makePlayerInfo(KindPlayerInfo, 1, 2, 1, 2, "Cyra", 0, "127.0.0.4"));
    host.send(makePlayerInfo(KindPlayerInfo, 2, 2, 1, 3, "Dunn", 1, "127.0.0.5"));
    host.send(message<TPlayerListChanged>(KindPlayerListChanged));
    frames();
    EXPECT_EQ(OwnPlayerId, 2);
    EXPECT_EQ(OwnPlayerNumber, 3);
    ASSERT_EQ(lobbyList()->count, 3);
    EXPECT_EQ(lobbyList()->at(3), nullptr);
    EXPECT_EQ(lobbyList()->at(2)->local, 1);
    EXPECT_EQ(lobbyList()->at(0)->address, "127.0.0.2");
    EXPECT_EQ(describePlayers(), "1 Aldric, 2 Cyra, 3 Dunn");
    ASSERT_EQ(playerRows.size(), 3u);
    EXPECT_EQ(std::get<0>(playerRows[1]), "Cyra");

    auto launch = message<TLaunchGame>(KindLaunchGame);
    launch.value = 40;
    host.send(launch);
    frames();
    EXPECT_TRUE(logged("Addline : Playing as player 3 of 1 Aldric, 2 Cyra, 3 Dunn"));

    inGame = true;
    FrameClock.totalTime = 5000;
    number.value = 1;
    host.send(number);
    frames();
    EXPECT_TRUE(logged("Dropped PlayerNumber from 127.0.0.2: the game is already running"));
    EXPECT_EQ(OwnPlayerNumber, 3);
    EXPECT_EQ(lobbyList()->count, 3);
}

// Whatever only the host sends is taken from the server address alone: a
// joiner or a stranger forging one is refused with a log line and no answer.
TEST_F(Lobby, TheHostsMessagesAreTakenFromTheServerAlone)
{
    Peer host("127.0.0.2");
    Peer stranger("127.0.0.3");
    ConnectFromMenu("127.0.0.2", "Cyra");
    host.receiveAll();
    auto number = message<TPlayerNumber>(KindPlayerNumber);
    number.value = 2;
    host.send(number);
    host.send(makePlayerInfo(KindPlayerInfo, 0, 5, 0, 0, "Aldric", 0, "127.0.0.1"));
    host.send(makePlayerInfo(KindPlayerInfo, 1, 2, 1, 1, "Brenna", 0, "127.0.0.3"));
    host.send(makePlayerInfo(KindPlayerInfo, 2, 2, 1, 2, "Cyra", 1, "127.0.0.4"));
    frames();
    ASSERT_EQ(OwnPlayerId, 2);
    ASSERT_EQ(lobbyList()->count, 3);
    std::vector<TPacket> gameMessages;
    GameMessageHandler = [&](const TPacket& p) { gameMessages.push_back(p); };

    number.value = 1;
    stranger.send(number);
    auto launch = message<TLaunchGame>(KindLaunchGame);
    launch.value = 7;
    stranger.send(launch);
    stranger.send(makePlayerInfo(KindPlayerInfo, 1, 6, 1, 1, "Usurper", 0, "127.0.0.3"));
    stranger.send(makePlayerInfo(KindPlayerInfoUpdate, 0, 6, 1, 1, "Usurper", 0, ""));
    auto you = message<TYourAddress>(KindYourAddress);
    you.address = shortString("10.0.0.9");
    stranger.send(you);
    stranger.send(message<TServerClosed>(KindServerClosed));
    stranger.send(message<TPing>(KindPing));
    auto line = message<TChatLine>(KindChatLine);
    line.text = shortString("forged");
    stranger.send(line);
    stranger.send(message<TUnitState>(KindUnitState));
    stranger.send(message<TUnitCreatedMessage>(KindUnitCreated));
    frames();

    for (const char* kind : {"PlayerNumber", "LaunchGame", "PlayerInfo", "PlayerInfoUpdate", "YourAddress",
                             "ServerClosed", "Ping", "ChatLine", "UnitState", "UnitCreated"})
        EXPECT_TRUE(logged(std::string("Refused ") + kind +
                           " from 127.0.0.3: only the host sends it (the server is 127.0.0.2)"))
            << kind;
    EXPECT_EQ(OwnPlayerId, 2);
    EXPECT_FALSE(gameStartRequested);
    EXPECT_EQ(FrameClock.totalTime, 1000);
    EXPECT_EQ(lobbyList()->at(1)->nick, "Brenna");
    EXPECT_EQ(lobbyList()->at(0)->nick, "Aldric");
    EXPECT_EQ(OwnAddress, "127.0.0.1");
    EXPECT_EQ(ServerAddress, "127.0.0.2");
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(logged("forged"));
    EXPECT_TRUE(gameMessages.empty());
    EXPECT_TRUE(stranger.receiveAll().empty()) << "refusals are never answered";
    EXPECT_TRUE(host.receiveAll().empty());

    // The same from the server is taken; any machine may answer a search.
    host.send(message<TPing>(KindPing));
    host.send(message<TUnitState>(KindUnitState));
    auto info = message<TServerInfo>(KindServerInfo);
    info.name = shortString("Other keep");
    stranger.send(info);
    frames();
    EXPECT_EQ(host.receiveKind<TPing>(KindPingReply).size(), 1u);
    EXPECT_EQ(gameMessages.size(), 1u);
    ASSERT_EQ(serverRows.size(), 1u);
    EXPECT_EQ(std::get<1>(serverRows[0]), "Other keep");

    // Back alone, this machine is its own server again: the old host is a stranger.
    DisconnectFromMenu();
    host.send(launch);
    frames();
    EXPECT_TRUE(logged("Refused LaunchGame from 127.0.0.2: only the host sends it (the server is 127.0.0.1)"));
    EXPECT_FALSE(gameStartRequested);
}

// On the host, a joiner may not play the host, nor change another's lobby entry.
TEST_F(Lobby, AHostRefusesAJoinerPlayingTheHost)
{
    CreateServerFromMenu("Keep", "");
    Peer brenna("127.0.0.2");
    Peer cyra("127.0.0.3");
    join("127.0.0.2", "Brenna", 1, 0, 2);
    join("127.0.0.3", "Cyra", 1, 0, 2);
    frames();
    brenna.receiveAll();
    cyra.receiveAll();

    auto number = message<TPlayerNumber>(KindPlayerNumber);
    number.value = 2;
    brenna.send(number);
    brenna.send(message<TLaunchGame>(KindLaunchGame));
    brenna.send(makePlayerInfo(KindPlayerInfoChange, 2, 6, 1, 2, "Usurper", 0, ""));
    brenna.send(makePlayerInfo(KindPlayerInfoChange, 1, 3, 1, 1, "Brenna the Bold", 0, ""));
    frames();
    EXPECT_TRUE(logged("Refused PlayerNumber from 127.0.0.2: only the host sends it (the server is 127.0.0.1)"));
    EXPECT_TRUE(logged("Refused LaunchGame from 127.0.0.2: only the host sends it (the server is 127.0.0.1)"));
    EXPECT_TRUE(logged("Refused PlayerInfoChange from 127.0.0.2: slot 2 is not the sender's"));
    EXPECT_EQ(OwnPlayerId, 0);
    EXPECT_FALSE(gameStartRequested);
    EXPECT_EQ(lobbyList()->at(2)->nick, "Cyra");
    // Its own entry it may change, and the others hear of it.
    EXPECT_EQ(lobbyList()->at(1)->nick, "Brenna the Bold");
    const auto update = cyra.receiveKind<TPlayerInfo>(KindPlayerInfoUpdate);
    ASSERT_EQ(update.size(), 1u);
    EXPECT_EQ(update[0].slot, 1);
    EXPECT_TRUE(brenna.receiveAll().empty());
}

TEST_F(Lobby, TheMedianIsTakenAtTheEleventhReplyAndEveryoneLaunches)
{
    CreateServerFromMenu("Keep", "");
    join("127.0.0.2", "Brenna", 1, 0, 2);
    Peer brenna("127.0.0.2");
    EXPECT_EQ(MaxWaitingTime(), 10);
    EXPECT_EQ(SynchroniseClients(), 3);

    const std::vector<int> trips = {40, 10, 30, 50, 20, 60, 45, 35, 25, 55};
    for (int rt : trips) {
        auto reply = message<TPing>(KindPingReply);
        reply.clock = FrameClock.totalTime - rt;
        brenna.send(reply);
        frames(1);
    }
    frames();
    EXPECT_TRUE(logged("Addline : Client 1 : Adding ping 40 to table in pos 1\r\n"));
    EXPECT_TRUE(logged("Addline : Client 1 : Adding ping 55 to table in pos 10\r\n"));
    EXPECT_EQ(Clients.at(1)->pingMedian, -1) << "ten replies are not enough";

    auto eleventh = message<TPing>(KindPingReply);
    eleventh.clock = FrameClock.totalTime - 999;
    brenna.send(eleventh);
    frames();
    EXPECT_EQ(Clients.at(1)->pingMedian, 35);
    // The eleventh reply sets the median and is then reported like every later one.
    const std::string text = log();
    const std::size_t median = text.find("Addline : Mediane des pings (utilis\xc3\xa9" "e pour la synchro) : 35\r\n");
    ASSERT_NE(median, std::string::npos);
    EXPECT_NE(text.find("Addline : Pinging client #1 : 999ms\r\n", median), std::string::npos) << text;
    EXPECT_EQ(Clients.at(1)->lastPing, 999);
    eleventh.clock = FrameClock.totalTime - 7;
    brenna.send(eleventh);
    frames();
    EXPECT_TRUE(logged("Addline : Pinging client #1 : 7ms\r\n"));
    EXPECT_EQ(Clients.at(1)->pingMedian, 35) << "never measured again";

    // The host measures itself through its own pings.
    int rounds = 1;
    while (SynchroniseClients() != 1 && rounds < 20) {
        frames(3);
        ++rounds;
    }
    // Eleven replies (the first from the early call above), then the call that sees the median.
    EXPECT_EQ(rounds, 11);
    EXPECT_EQ(Clients.at(0)->pingMedian, 0);
    EXPECT_EQ(MaxWaitingTime(), 0);
    EXPECT_EQ(brenna.receiveKind<TPing>(KindPing).size(), 1u + static_cast<std::size_t>(rounds));

    FrameClock.totalTime = 5000;
    BroadCastLaunchGame_();
    const auto launch = brenna.receiveKind<TLaunchGame>(KindLaunchGame);
    ASSERT_EQ(launch.size(), 1u);
    EXPECT_EQ(launch[0].value, 35);
    frames();
    EXPECT_TRUE(gameStartRequested);
    EXPECT_LT(FrameClock.totalTime, 1000) << "the host restarts its clock at its own median";
    EXPECT_TRUE(isRunning());

    // For a joiner that lost it, the launch is told again four times, half a
    // second apart, with the clock moved on by the time since.
    std::vector<std::int32_t> repeats;
    for (int ms = 100; ms <= 4000; ms += 100) {
        FrameClock.totalTime = ms;
        frames(1);
        for (const TLaunchGame& again : brenna.receiveKind<TLaunchGame>(KindLaunchGame))
            repeats.push_back(again.value);
    }
    EXPECT_EQ(repeats, (std::vector<std::int32_t>{535, 1035, 1535, 2035}));
}

TEST_F(Lobby, LaunchGameSetsTheClockOnceInTheMenu)
{
    Peer host("127.0.0.2");
    ServerAddress = "127.0.0.2";
    auto launch = message<TLaunchGame>(KindLaunchGame);
    launch.value = -1;  // never measured
    host.send(launch);
    frames(1);
    EXPECT_TRUE(gameStartRequested);
    EXPECT_LE(FrameClock.totalTime, 0);

    gameStartRequested = false;
    inGame = true;
    FrameClock.totalTime = 8000;
    launch.value = 40;
    host.send(launch);
    frames(1);
    EXPECT_FALSE(gameStartRequested);
    EXPECT_EQ(FrameClock.totalTime, 8000);
    EXPECT_TRUE(logged("Dropped LaunchGame from 127.0.0.2: the game is already running"));
}

TEST_F(Lobby, OnlyAHostThatIsNotRunningAnswersServerQueries)
{
    Peer seeker("127.0.0.2");
    seeker.send(message<TServerQuery>(KindServerQuery));
    frames();
    EXPECT_TRUE(seeker.receiveAll().empty()) << "not hosting";

    CreateServerFromMenu("Keep", "2v2");
    EXPECT_EQ(getServerNameFromMenu(), "Keep");
    seeker.send(message<TServerQuery>(KindServerQuery));
    frames();
    const auto info = seeker.receiveKind<TServerInfo>(KindServerInfo);
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(readShortString(info[0].name), "Keep");
    EXPECT_EQ(info[0].playerCount, 1);
    EXPECT_EQ(readShortString(info[0].text), "2v2");

    // The host's own broadcast reaches itself: its server is in its own list.
    Refresh();
    frames();
    EXPECT_TRUE(logged("Addline : Broadcasted by menu"));
    ASSERT_EQ(serverRows.size(), 1u);
    EXPECT_EQ(serverRows[0], std::make_tuple(std::string("127.0.0.1"), std::string("Keep"), 1, std::string("2v2")));

    BroadCastLaunchGame_();
    frames();
    seeker.receiveAll();
    seeker.send(message<TServerQuery>(KindServerQuery));
    frames();
    EXPECT_TRUE(seeker.receiveKind<TServerInfo>(KindServerInfo).empty()) << "running";
}

TEST_F(Lobby, ChatIsRelayedByTheHostAndShowsTheServerAddressForLocalSpeakers)
{
    CreateServerFromMenu("Keep", "");
    join("127.0.0.2", "Brenna", 1, 0, 2);
    Peer brenna("127.0.0.2");
    brenna.receiveAll();
    auto said = message<TChatSend>(KindChatSend);
    said.playerId = 1;
    said.nick = shortString("Brenna");
    said.text = shortString("ready?");
    brenna.send(said);
    frames();
    const auto relayed = brenna.receiveKind<TChatLine>(KindChatLine);
    ASSERT_EQ(relayed.size(), 1u);
    EXPECT_EQ(readShortString(relayed[0].address), "127.0.0.2");
    EXPECT_EQ(relayed[0].playerId, 1);
    EXPECT_TRUE(logged("Addline : 127.0.0.2 - Brenna says : ready?\r\n"));

    SendChatMessage("go");
    frames();
    EXPECT_TRUE(logged("Addline : 127.0.0.1 - Aldric says : go\r\n"));
    EXPECT_EQ(readShortString(brenna.receiveKind<TChatLine>(KindChatLine).at(0).address), "127.0.0.1");

    // On a joiner, the host's own lines name the host.
    ServerAddress = "127.0.0.2";
    auto line = message<TChatLine>(KindChatLine);
    line.address = shortString("127.0.0.1");
    line.nick = shortString("Brenna");
    line.text = shortString("hi");
    brenna.send(line);
    line.address = shortString("127.0.0.5");
    brenna.send(line);
    frames();
    EXPECT_TRUE(logged("Addline : 127.0.0.2 - Brenna says : hi\r\n"));
    EXPECT_TRUE(logged("Addline : 127.0.0.5 - Brenna says : hi\r\n"));
}

TEST_F(Lobby, AJoinerTakesTheHostsListAndGoesBackAloneWhenTheServerCloses)
{
    Peer host("127.0.0.2");
    ConnectFromMenu("127.0.0.2", "Cyra");
    EXPECT_NE(readFile("Vrax.cfg").find("Nickname=Cyra"), std::string::npos);
    EXPECT_EQ(lobbyList()->count, 0);
    const auto request = host.receiveKind<TJoinRequest>(KindJoinRequest);
    ASSERT_EQ(request.size(), 1u);
    EXPECT_EQ(readShortString(request[0].nick), "Cyra");
    EXPECT_EQ(request[0].race, 1);
    EXPECT_EQ(request[0].one, 1);

    auto number = message<TPlayerNumber>(KindPlayerNumber);
    number.value = 2;
    host.send(number);
    host.send(makePlayerInfo(KindPlayerInfo, 0, 5, 0, 0, "Aldric", 0, "127.0.0.1"));
    host.send(makePlayerInfo(KindPlayerInfo, 1, 2, 1, 1, "Brenna", 0, "127.0.0.3"));
    host.send(makePlayerInfo(KindPlayerInfo, 2, 2, 1, 2, "Cyra", 1, "127.0.0.4"));
    auto you = message<TYourAddress>(KindYourAddress);
    you.address = shortString("127.0.0.4");
    host.send(you);
    frames();
    EXPECT_EQ(OwnPlayerId, 2);
    EXPECT_EQ(OwnPlayerNumber, 3);
    EXPECT_EQ(OwnAddress, "127.0.0.4");
    ASSERT_EQ(lobbyList()->count, 3);
    EXPECT_EQ(lobbyList()->at(0)->address, "127.0.0.2") << "the host's own address as seen from here";
    EXPECT_EQ(lobbyList()->at(2)->local, 1);
    EXPECT_EQ(playerRows.size(), 3u);
    EXPECT_EQ(localPlayer().colour, 1) << "a joiner's entries do not touch its players";

    host.send(makePlayerInfo(KindPlayerInfoUpdate, 1, 3, 1, 1, "Brenna2", 0, ""));
    frames();
    EXPECT_EQ(lobbyList()->at(1)->nick, "Brenna2");
    EXPECT_EQ(lobbyList()->at(1)->address, "127.0.0.3");

    UndoCreateServerFromMenu();  // connected elsewhere: nothing
    EXPECT_FALSE(logged("Server destroyed"));

    host.send(message<TServerClosed>(KindServerClosed));
    frames();
    EXPECT_EQ(events, std::vector<int>{7});
    EXPECT_EQ(ServerAddress, "127.0.0.1");
    // Alone again: its list holds itself only, as player 1, ready to host.
    ASSERT_EQ(lobbyList()->count, 1);
    EXPECT_EQ(lobbyList()->at(0)->nick, "Cyra");
    EXPECT_EQ(lobbyList()->at(0)->local, 1);
    EXPECT_EQ(OwnPlayerId, 0);
    EXPECT_EQ(OwnPlayerNumber, 1);
    EXPECT_EQ(localPlayer().race, 0);
    EXPECT_EQ(localPlayer().colour, 5);
    host.receiveAll();
    DisconnectFromMenu();  // alone again: nothing to leave
    EXPECT_TRUE(host.receiveAll().empty());
}

TEST_F(Lobby, ClosingTheServerTellsAndDropsEveryJoiner)
{
    CreateServerFromMenu("Keep", "");
    Peer brenna("127.0.0.2");
    Peer cyra("127.0.0.3");
    join("127.0.0.2", "Brenna", 1, 0, 2);
    join("127.0.0.3", "Cyra", 1, 0, 2);
    brenna.receiveAll();
    cyra.receiveAll();
    UndoCreateServerFromMenu();
    EXPECT_EQ(brenna.receiveKind<TServerClosed>(KindServerClosed).size(), 1u);
    EXPECT_EQ(cyra.receiveKind<TServerClosed>(KindServerClosed).size(), 1u);
    EXPECT_EQ(Clients.count, 1);
    EXPECT_FALSE(isHosting());
    EXPECT_TRUE(logged("Addline : Server destroyed"));
}

TEST_F(Lobby, NickOperationsKeepTheConfigurationAndTheLocalEntry)
{
    SetNickFromMenu("Aldric the Bold");
    EXPECT_EQ(getNickFromMenu(), "Aldric the Bold");
    EXPECT_EQ(lobbyList()->at(0)->nick, "Aldric the Bold");
    EXPECT_EQ(lobbyList()->at(0)->colour, 5);
    EXPECT_NE(readFile("Vrax.cfg").find("Nickname=Aldric the Bold"), std::string::npos);
    EXPECT_EQ(getServerNameFromMenu(), "Vrax server");
    SetNick("Al");
    EXPECT_EQ(getNickFromMenu(), "Al");
    EXPECT_TRUE(logged("Addline : Nick set to Al"));

    Peer host("127.0.0.2");
    SetServer("127.0.0.2");
    const auto request = host.receiveKind<TJoinRequest>(KindJoinRequest);
    ASSERT_EQ(request.size(), 1u);
    EXPECT_EQ(readShortString(request[0].nick), "Unknown soldier");
    EXPECT_EQ(getNickFromMenu(), "Unknown soldier");
}
