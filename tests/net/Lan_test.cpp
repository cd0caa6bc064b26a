// Three copies of the game on a private LAN, each in its own network
// namespace, folder and X server, driven through a test menu whose keys call
// the lobby's script functions: host, find, join, chat, synchronise, launch,
// and one player quitting the game.
#include "../support/Lan.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

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

// One copy of the game: its folder, X server, window and log.
class Machine {
public:
    Machine(const std::string& folder, const std::string& nick, const std::string& netns) : folder_(folder)
    {
        if (!x_.ok())
            return;
        env_ = "DISPLAY=" + x_.display() + " ";
        game_ = std::make_unique<GameProcess>(
            folder, x_.display(),
            std::vector<std::pair<std::string, std::string>>{
                {"Vrax.cfg", "[Player info]\r\nNickname=" + nick + "\r\n"},
                {"Interface/Menu/Interface.xml", LanInterface},
                {"Interface/Menu/Lan.lua", LanScript},
                {"Interface/Game/Interface.xml", LanInterface}},
            netns);
        window_ = capture(env_ + "timeout 20 xdotool search --sync --name '^Vrax$' | head -n1");
        if (!window_.empty())
            window_.pop_back();
    }

    bool ready() const { return !window_.empty(); }
    std::string log() const { return readFile(folder_ + "/Logs/log.txt"); }
    std::string output() const { return readFile(folder_ + "/stdout.txt"); }
    void key(const std::string& keys) { run(env_ + "xdotool key --window " + window_ + " " + keys); }
    bool running() { return game_ && game_->running(); }
    int waitExit(double seconds) { return game_ ? game_->waitExit(seconds) : -1; }

    // Waits until the log holds `text`.
    bool waitFor(const std::string& text, double seconds = 10) const
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            if (log().find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

private:
    std::string folder_;
    Xvfb x_;
    std::string env_;
    std::unique_ptr<GameProcess> game_;
    std::string window_;
};

}  // namespace

TEST(Lan, ThreeMachinesMeetChatLaunchTogetherAndOneLeaves)
{
    Lan lan(3);
    if (!lan.ok())
        GTEST_SKIP() << "network namespaces need root";
    ScratchDir dir;
    Machine host(dir.path() + "/host", "Aldric", lan.namespaceOf(0));
    Machine brenna(dir.path() + "/brenna", "Brenna", lan.namespaceOf(1));
    Machine cyra(dir.path() + "/cyra", "Cyra", lan.namespaceOf(2));
    for (Machine* m : {&host, &brenna, &cyra}) {
        ASSERT_TRUE(m->ready()) << m->output();
        ASSERT_TRUE(m->waitFor("Interface Loaded")) << m->log();
    }
    EXPECT_EQ(host.log().find("Can't bind"), std::string::npos) << host.log();

    // The host opens its server; the others look for servers and join it.
    host.key("h");
    ASSERT_TRUE(host.waitFor("Hosting")) << host.log();
    brenna.key("r");
    ASSERT_TRUE(brenna.waitFor("Server found: LAN keep at 10.240.0.1 with 1 players, three players")) << brenna.log();
    brenna.key("j");
    ASSERT_TRUE(host.waitFor("Client added to cell 1")) << host.log();
    cyra.key("r");
    ASSERT_TRUE(cyra.waitFor("Server found: LAN keep at 10.240.0.1 with 2 players, three players")) << cyra.log();
    cyra.key("j");
    ASSERT_TRUE(host.waitFor("Client added to cell 2")) << host.log();
    host.key("r");  // the host's own query comes back to it
    EXPECT_TRUE(host.waitFor("Server found: LAN keep at 10.240.0.1 with 3 players, three players")) << host.log();

    // Every menu lists the three players.
    for (Machine* m : {&host, &brenna, &cyra})
        EXPECT_TRUE(m->waitFor("Lobby row 3: Cyra at ")) << m->log();
    EXPECT_TRUE(brenna.waitFor("Lobby row 1: Aldric at 10.240.0.1 colour 5 team 0")) << brenna.log();
    EXPECT_TRUE(brenna.waitFor("Lobby row 3: Cyra at  colour 2 team 2")) << "announced without an address";
    EXPECT_TRUE(cyra.waitFor("Lobby row 2: Brenna at 10.240.0.2 colour 2 team 1")) << cyra.log();
    EXPECT_TRUE(host.waitFor("Lobby row 2: Brenna at 10.240.0.2 colour 2 team 1")) << host.log();

    // A chat line goes through the host to everyone.
    brenna.key("c");
    for (Machine* m : {&host, &brenna, &cyra})
        EXPECT_TRUE(m->waitFor("Console shows: 10.240.0.2 - Brenna says : hello from Brenna")) << m->log();
    host.key("c");
    EXPECT_TRUE(host.waitFor("Console shows: 127.0.0.1 - Aldric says : hello from Aldric")) << host.log();
    EXPECT_TRUE(cyra.waitFor("Console shows: 10.240.0.1 - Aldric says : hello from Aldric")) << cyra.log();

    // The host pings everyone until every median is known, then launches.
    bool measured = false;
    for (int round = 0; round < 40 && !measured; ++round) {
        host.key("s");
        measured = host.waitFor("Synchronise: 1 waiting 0", 0.2);
    }
    ASSERT_TRUE(measured) << host.log();
    host.key("l");
    for (Machine* m : {&host, &brenna, &cyra})
        EXPECT_TRUE(m->waitFor("Game launched, clock set to ")) << m->log();
    const std::string hostLog = host.log();
    for (auto [machine, slot] : {std::pair{&brenna, 1}, std::pair{&cyra, 2}}) {
        const int median = pingMedianFromHostLog(hostLog, slot);
        EXPECT_TRUE(machine->waitFor("Game launched, clock set to " + std::to_string(median) + " ms"))
            << "slot " << slot << " median " << median << "\n" << machine->log() << "\n" << hostLog;
    }

    // All three switch to the game and its interface; a second launch is refused there.
    for (Machine* m : {&host, &brenna, &cyra})
        EXPECT_TRUE(m->waitFor("Loading Interface/Game/Interface.xml")) << m->log();
    host.key("l");
    for (Machine* m : {&host, &brenna, &cyra})
        EXPECT_TRUE(m->waitFor("Dropped LaunchGame from ")) << m->log();

    // Brenna quits; Cyra moves down to her slot on the host.
    brenna.key("Escape");
    EXPECT_EQ(brenna.waitExit(10), 0) << brenna.output();
    EXPECT_TRUE(host.waitFor("Brenna (10.240.0.2) has left the game")) << host.log();
    EXPECT_TRUE(host.waitFor("Client 2 moved to 1")) << host.log();

    for (Machine* m : {&cyra, &host}) {
        m->key("Escape");
        EXPECT_EQ(m->waitExit(10), 0) << m->output();
    }
}
