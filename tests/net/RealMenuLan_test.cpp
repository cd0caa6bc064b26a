// Two people on a private LAN, each with a copy of the game in a network
// namespace, folder and X server of its own, using nothing but the shipped
// menu and game screen (see PlayedGame.h): they type their names, one hosts,
// the other finds the game in the list and joins it, they chat in the lobby,
// the host launches, they chat in the game and leave with Escape.
#include "../support/Lan.h"
#include "../support/PlayedGame.h"

using namespace testing_support;

namespace {

const char* const Launched = "Loading Interface/Game/Interface.xml";
const char* const FreshConfig = "[Player info]\r\nNickname=Player\r\n";

class RealMenuLan : public LaidOutInterface {
protected:
    Lan lan{2};
    PlayedCopy aldric, brenna;  // the host on 10.240.0.1, the joiner on 10.240.0.2

    void SetUp() override
    {
        if (!lan.ok())
            GTEST_SKIP() << "network namespaces need root";
        aldric.start(dir.path() + "/aldric", {{"Vrax.cfg", FreshConfig}}, lan.namespaceOf(0));
        ASSERT_FALSE(HasFatalFailure());
        brenna.start(dir.path() + "/brenna", {{"Vrax.cfg", FreshConfig}}, lan.namespaceOf(1));
        ASSERT_FALSE(HasFatalFailure());
        layOut("Interface/Menu/Interface.xml");
    }

    // Clicks into the field `name` (laid out as the copy shows it) and types
    // `text` over what it held.
    void typeInto(PlayedCopy& copy, const std::string& name, const std::string& text)
    {
        centreClick(copy, name, copy.screenshot());
        copy.rubOut(40);
        copy.type(text);
    }
    // Screenshots until `seen` holds for one, as a player looks until the
    // screen shows what they wait for; the last screenshot.
    template <typename Seen>
    static Picture lookUntil(PlayedCopy& copy, Seen seen, double seconds = 30)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        Picture shot = copy.screenshot();
        while (!seen(shot) && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            shot = copy.screenshot();
        }
        return shot;
    }
    static int textIn(const Picture& shot, const std::string& name) { return lightPixels(shot, onWindow(name, shot)); }
};

}  // namespace

TEST_F(RealMenuLan, TwoPlayersMeetInTheLobbyChatLaunchAndChatInTheGame)
{
    // 1. Each types a name.
    typeInto(aldric, "NickField", "Aldric");
    typeInto(brenna, "NickField", "Brenna");

    // 2. Aldric hosts: a name and a description for the game, then the lobby.
    clickMenuButton(aldric, "WelcomeScreen", "HostButton");
    runString("ShowScreen('HostScreen')");
    walk();
    typeInto(aldric, "ServerNameField", "Brave keep");
    aldric.key("Tab");
    aldric.type("Two of us");
    clickMenuButton(aldric, "HostScreen", "CreateButton");

    // 3. Brenna looks for games, refreshes, picks the one in the list and joins it.
    clickMenuButton(brenna, "WelcomeScreen", "FindButton");
    clickMenuButton(brenna, "FindScreen", "RefreshButton");
    runString("AddServerList4('10.240.0.1', 'Brave keep', 1, 'Two of us')");
    walk();
    Picture shot = lookUntil(brenna, [](const Picture& s) { return textIn(s, "ServerRow1Address") > 20; });
    const TRect row = onWindow("ServerRow1", shot);
    expectLooksLike(crop(shot, row.x, row.y, row.w, row.h), "LanServerRow.png");
    EXPECT_EQ(textIn(shot, "ServerListEmpty"), 0);

    // The first click picks the game and fills in its address; the second joins.
    centreClick(brenna, "ServerRow1", shot);
    runString("SelectedServer = 1 SetFieldText('AddressField', '10.240.0.1') ShowServers()");
    walk();
    shot = lookUntil(brenna, [](const Picture& s) { return textIn(s, "AddressFieldText") > 20; });
    EXPECT_GT(textIn(shot, "AddressFieldText"), 20);
    centreClick(brenna, "ServerRow1", shot);
    ASSERT_TRUE(aldric.waitForLog("Client added to cell 1", 20)) << aldric.log();

    // 4. Both lobbies list the two players.
    runString("IsHost = false EnterLobby('Brave keep') AddServerList5('Aldric', '10.240.0.1', 0, 5, 0) "
              "AddServerList5('Brenna', '10.240.0.2', 1, 2, 1)");
    walk();
    const auto twoPlayers = [](const Picture& s) {
        return textIn(s, "PlayerRow1Name") > 20 && textIn(s, "PlayerRow2Name") > 20;
    };
    for (PlayedCopy* copy : {&brenna, &aldric}) {
        copy->moveTo(5, 5);
        shot = lookUntil(*copy, twoPlayers);
        ASSERT_TRUE(twoPlayers(shot)) << copy->game;
        EXPECT_EQ(textIn(shot, "PlayerRow3Name"), 0);
        const TRect list = onWindow("PlayerList", shot), second = onWindow("PlayerRow2", shot);
        expectLooksLike(crop(shot, list.x, list.y, list.w, second.y + second.h - list.y), "LanLobbyPlayers.png");
    }

    // 5. Brenna says hello: the line comes back from the host to both consoles.
    typeInto(brenna, "ChatField", "hello Aldric");
    brenna.key("Return");
    const std::string hello = "Addline : 10.240.0.2 - Brenna says : hello Aldric";
    EXPECT_TRUE(brenna.waitForLog(hello, 20)) << brenna.log();
    EXPECT_TRUE(aldric.waitForLog(hello, 20)) << aldric.log();

    // 6. Aldric launches: the clocks are measured, then both switch to the game.
    clickMenuButton(aldric, "LobbyScreen", "LaunchButton");
    for (PlayedCopy* copy : {&aldric, &brenna}) {
        ASSERT_TRUE(copy->waitForLog(Launched, 60)) << copy->log();
        ASSERT_TRUE(copy->waitForLog("Interface Loaded", 30, Launched)) << copy->log();
    }
    // Each clock starts at the round trip the host measured to that machine (its own included).
    for (auto [copy, slot] : {std::pair{&aldric, 0}, std::pair{&brenna, 1}}) {
        const int median = pingMedianFromHostLog(aldric.log(), slot);
        EXPECT_GE(median, 0) << aldric.log();
        EXPECT_TRUE(copy->waitForLog("Game launched, clock set to " + std::to_string(median) + " ms", 1))
            << "median " << median << "\n" << copy->log() << "\n" << aldric.log();
    }

    // 7. Aldric speaks in the game; Brenna reads it in her game console.
    layOut("Interface/Game/Interface.xml");
    aldric.key("Return");  // Enter gives the chat field the keyboard
    aldric.type("for the keep");
    aldric.key("Return");
    const std::string cheer = "Addline : 10.240.0.1 - Aldric says : for the keep";
    EXPECT_TRUE(brenna.waitForLog(cheer, 20, Launched)) << brenna.log();
    EXPECT_TRUE(aldric.waitForLog("Addline : 127.0.0.1 - Aldric says : for the keep", 20, Launched)) << aldric.log();
    runString("SetText('PlayerName', 'Brenna') AddLine('10.240.0.1 - Aldric says : for the keep')");
    walk();
    brenna.moveTo(5, 500);
    shot = lookUntil(brenna, [](const Picture& s) { return textIn(s, "ConsoleLine2") > 100; });
    EXPECT_GT(textIn(shot, "ConsoleLine2"), 100);
    EXPECT_EQ(textIn(shot, "ConsoleLine3"), 0);
    const TRect banner = onWindow("PlayerName", shot);
    expectLooksLike(crop(shot, banner.x - 2, banner.y - 2, banner.w + 4, banner.h + 4), "LanGameBanner.png");

    // 8. Both leave with Escape; the host hears Brenna go.
    brenna.key("Escape");
    EXPECT_EQ(brenna.vrax->waitExit(20), 0) << brenna.output();
    EXPECT_TRUE(aldric.waitForLog("Brenna (10.240.0.2) has left the game")) << aldric.log();
    aldric.key("Escape");
    EXPECT_EQ(aldric.vrax->waitExit(20), 0) << aldric.output();
    for (PlayedCopy* copy : {&aldric, &brenna})
        EXPECT_EQ(copy->log().find("Warning"), std::string::npos) << copy->log();
}
