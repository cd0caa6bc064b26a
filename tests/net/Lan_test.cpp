// Three copies of the game on a private LAN, each in its own network
// namespace, folder and X server, driven through a test menu whose keys call
// the lobby's script functions: host, find, join, chat, synchronise, launch,
// and one player quitting the game.
#include "../support/Lan.h"
#include "../support/PlayedGame.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const char* const LanScript = R"(-- Test driver: each key is one step a player takes in the lobby.
Servers = {}
Rows = 0
function ListBoxClear(list) Rows = 0 end
function AddServerList5(nick, address, race, colour, team)
  Rows = Rows + 1
  Log("Lobby row " .. Rows .. ": " .. nick .. " at " .. address .. " colour " .. colour .. " team " .. team)
end
function AddServerList4(address, name, count, text)
  Servers[1] = address
  Log("Server found: " .. name .. " at " .. address .. " with " .. count .. " players, " .. text)
end
function AddLine(text) Log("Console shows: " .. text) end
function LanKey(key)
  if key == string.byte("h") then CreateServerFromMenu("LAN keep", "three players") Log("Hosting")
  elseif key == string.byte("r") then Refresh()
  elseif key == string.byte("j") then ConnectFromMenu(Servers[1], getNickFromMenu())
  elseif key == string.byte("c") then SendChatMessage("hello from " .. getNickFromMenu())
  elseif key == string.byte("s") then Log("Synchronise: " .. SynchroniseClients() .. " waiting " .. MaxWaitingTime())
  elseif key == string.byte("l") then BroadCastLaunchGame_()
  end
end
)";

const char* const LanInterface = R"(<Ui>
  <Include lua="Interface\Menu\Lan.lua"/>
  <Frame name="LanDriver" EnableKeyboard="true">
    <OnKeyDown>LanKey(arg1)</OnKeyDown>
  </Frame>
</Ui>
)";

// The files that make a copy a machine of this LAN: its player's name and the test driver.
std::vector<std::pair<std::string, std::string>> machineFiles(const std::string& nick)
{
    return {{"Vrax.cfg", "[Player info]\r\nNickname=" + nick + "\r\n"},
            {"Interface/Menu/Interface.xml", LanInterface},
            {"Interface/Menu/Lan.lua", LanScript},
            {"Interface/Game/Interface.xml", LanInterface}};
}

}  // namespace

TEST(Lan, ThreeMachinesMeetChatLaunchTogetherAndOneLeaves)
{
    Lan lan(3);
    if (!lan.ok())
        GTEST_SKIP() << "network namespaces need root";
    ScratchDir dir;
    PlayedCopy host, brenna, cyra;
    host.start(dir.path() + "/host", machineFiles("Aldric"), lan.namespaceOf(0));
    brenna.start(dir.path() + "/brenna", machineFiles("Brenna"), lan.namespaceOf(1));
    cyra.start(dir.path() + "/cyra", machineFiles("Cyra"), lan.namespaceOf(2));
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(host.log().find("Can't bind"), std::string::npos) << host.log();

    // The host opens its server; the others look for servers and join it.
    host.key("h");
    ASSERT_TRUE(host.waitForLog("Hosting")) << host.log();
    brenna.key("r");
    ASSERT_TRUE(brenna.waitForLog("Server found: LAN keep at 10.240.0.1 with 1 players, three players")) << brenna.log();
    brenna.key("j");
    ASSERT_TRUE(host.waitForLog("Client added to cell 1")) << host.log();
    cyra.key("r");
    ASSERT_TRUE(cyra.waitForLog("Server found: LAN keep at 10.240.0.1 with 2 players, three players")) << cyra.log();
    cyra.key("j");
    ASSERT_TRUE(host.waitForLog("Client added to cell 2")) << host.log();
    host.key("r");  // the host's own query comes back to it
    EXPECT_TRUE(host.waitForLog("Server found: LAN keep at 10.240.0.1 with 3 players, three players")) << host.log();

    // Every menu lists the three players.
    for (PlayedCopy* m : {&host, &brenna, &cyra})
        EXPECT_TRUE(m->waitForLog("Lobby row 3: Cyra at ")) << m->log();
    EXPECT_TRUE(brenna.waitForLog("Lobby row 1: Aldric at 10.240.0.1 colour 5 team 0")) << brenna.log();
    EXPECT_TRUE(brenna.waitForLog("Lobby row 3: Cyra at  colour 2 team 2")) << "announced without an address";
    EXPECT_TRUE(cyra.waitForLog("Lobby row 2: Brenna at 10.240.0.2 colour 2 team 1")) << cyra.log();
    EXPECT_TRUE(host.waitForLog("Lobby row 2: Brenna at 10.240.0.2 colour 2 team 1")) << host.log();

    // A chat line goes through the host to everyone.
    brenna.key("c");
    for (PlayedCopy* m : {&host, &brenna, &cyra})
        EXPECT_TRUE(m->waitForLog("Console shows: 10.240.0.2 - Brenna says : hello from Brenna")) << m->log();
    host.key("c");
    EXPECT_TRUE(host.waitForLog("Console shows: 127.0.0.1 - Aldric says : hello from Aldric")) << host.log();
    EXPECT_TRUE(cyra.waitForLog("Console shows: 10.240.0.1 - Aldric says : hello from Aldric")) << cyra.log();

    // The host pings everyone until every median is known, then launches.
    bool measured = false;
    for (int round = 0; round < 40 && !measured; ++round) {
        host.key("s");
        measured = host.waitForLog("Synchronise: 1 waiting 0", 0.2);
    }
    ASSERT_TRUE(measured) << host.log();
    host.key("l");
    for (PlayedCopy* m : {&host, &brenna, &cyra})
        EXPECT_TRUE(m->waitForLog("Game launched, clock set to ")) << m->log();
    const std::string hostLog = host.log();
    for (auto [machine, slot] : {std::pair{&brenna, 1}, std::pair{&cyra, 2}}) {
        const int median = pingMedianFromHostLog(hostLog, slot);
        EXPECT_TRUE(machine->waitForLog("Game launched, clock set to " + std::to_string(median) + " ms"))
            << "slot " << slot << " median " << median << "\n" << machine->log() << "\n" << hostLog;
    }

    // All three switch to the game and its interface; a second launch is refused there.
    for (PlayedCopy* m : {&host, &brenna, &cyra})
        EXPECT_TRUE(m->waitForLog("Loading Interface/Game/Interface.xml")) << m->log();
    host.key("l");
    for (PlayedCopy* m : {&host, &brenna, &cyra})
        EXPECT_TRUE(m->waitForLog("Dropped LaunchGame from ")) << m->log();

    // Brenna quits the running game; Cyra keeps the slot, and so the player, she started with.
    brenna.key("Escape");
    EXPECT_EQ(brenna.vrax->waitExit(10), 0) << brenna.output();
    EXPECT_TRUE(host.waitForLog("Brenna (10.240.0.2) has left the game")) << host.log();
    EXPECT_EQ(host.log().find("Client 2 moved to 1"), std::string::npos) << host.log();

    for (PlayedCopy* m : {&cyra, &host}) {
        m->key("Escape");
        EXPECT_EQ(m->vrax->waitExit(10), 0) << m->output();
    }
}
