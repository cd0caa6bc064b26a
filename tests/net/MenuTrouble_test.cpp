// What goes wrong on a first evening with the game, met as a person meets it
// through the shipped menu (see PlayedGame.h) on a private LAN: a join to an
// address where nobody answers, a player whose machine drops off while the
// host launches, a second copy of the game on a machine whose port is taken,
// and a host who leaves the lobby by another button. One scenario, so the
// copies start once, and the second copy plays while the launch waits.
#include "../support/Lan.h"
#include "../support/PlayedGame.h"

using namespace testing_support;

namespace {

const char* const FreshConfig = "[Player info]\r\nNickname=Player\r\n";
const char* const ServerInfoToBrenna = "528 bytes sent to 10.240.0.2";

class MenuTrouble : public LaidOutInterface {
protected:
    Lan lan{2};
    PlayedCopy aldric, brenna;  // 10.240.0.1 and 10.240.0.2

    void SetUp() override
    {
        if (!lan.ok())
            GTEST_SKIP() << "network namespaces need root";
        aldric.start(dir.path() + "/aldric", {{"Vrax.cfg", FreshConfig}}, lan.namespaceOf(0));
        ASSERT_FALSE(HasFatalFailure());
        layOut("Interface/Menu/Interface.xml");
    }
    void startBrenna()
    {
        brenna.start(dir.path() + "/brenna", {{"Vrax.cfg", FreshConfig}}, lan.namespaceOf(1));
    }
    void host(PlayedCopy& copy)
    {
        clickMenuButton(copy, "WelcomeScreen", "HostButton");
        clickMenuButton(copy, "HostScreen", "CreateButton");
    }
    // Types an address into the Find screen's field and presses Enter.
    void join(PlayedCopy& copy, const std::string& address)
    {
        runString("ShowScreen('FindScreen')");
        walk();
        centreClick(copy, "AddressField", copy.screenshot());
        copy.rubOut(20);
        copy.type(address);
        copy.key("Return");
    }
    static int textIn(const Picture& shot, const std::string& name) { return lightPixels(shot, onWindow(name, shot)); }
};

}  // namespace

TEST_F(MenuTrouble, NoAnswerASilentPlayerATakenPortAndAHostWhoLeavesByFind)
{
    startBrenna();
    ASSERT_FALSE(HasFatalFailure());

    host(aldric);
    clickMenuButton(brenna, "WelcomeScreen", "FindButton");
    EXPECT_TRUE(aldric.waitForLog(ServerInfoToBrenna)) << aldric.log();

    // A join where nobody answers gives up and goes back to the list of games.
    join(brenna, "10.240.0.9");
    EXPECT_TRUE(brenna.waitForLog("Told the player: Nobody answered at 10.240.0.9 within 5 seconds", 15))
        << brenna.log();

    // Brenna joins for real, then her machine drops off the network: the
    // launch gives up after 15 s and Launch can be pressed again.
    join(brenna, "10.240.0.1");
    ASSERT_TRUE(aldric.waitForLog("Client added to cell 1", 20)) << aldric.log();
    const std::string brennasLink = "ip -n " + lan.namespaceOf(1) + " link set eth0 ";
    ASSERT_EQ(run(brennasLink + "down"), 0);
    clickMenuButton(aldric, "LobbyScreen", "LaunchButton");

    // While Aldric waits: Cedric starts a second copy on Aldric's machine,
    // where Aldric's copy holds port 240. He is told why, and Host refuses.
    PlayedCopy cedric;
    cedric.start(dir.path() + "/cedric", {{"Vrax.cfg", FreshConfig}}, lan.namespaceOf(0));
    ASSERT_FALSE(HasFatalFailure());
    const std::string portTaken = "Told the player: LAN play is unavailable: UDP port 240 is already in use";
    EXPECT_TRUE(cedric.waitForLog(portTaken)) << cedric.log();
    EXPECT_NE(cedric.log().find("Error #3 :  Can't bind socket"), std::string::npos);
    clickMenuButton(cedric, "WelcomeScreen", "HostButton");
    EXPECT_TRUE(cedric.waitForCount(portTaken, 2)) << cedric.log();
    EXPECT_FALSE(cedric.waitForLog("Clicked CreateButton", 0.1));
    cedric.key("Escape");

    EXPECT_TRUE(aldric.waitForLog("Told the player: The clocks could not be synchronised in 15 seconds", 30))
        << aldric.log();
    runString("IsHost = true EnterLobby('Player') SetVisible('LaunchButton', true)");
    walk();
    EXPECT_GT(textIn(aldric.screenshot(), "LaunchButtonText"), 20);
    EXPECT_EQ(aldric.count("Game launched"), 0);
    ASSERT_EQ(run(brennasLink + "up && ip -n " + lan.namespaceOf(1) + " route replace default dev eth0"), 0);

    // Find, pressed in the lobby, closes the server: Brenna is told, and her
    // list no longer shows it.
    clickMenuButton(aldric, "LobbyScreen", "FindButton");
    EXPECT_TRUE(aldric.waitForLog("Server destroyed")) << aldric.log();
    EXPECT_TRUE(brenna.waitForLog("Told the player: The host has closed the game.")) << brenna.log();
    const int answers = aldric.count(ServerInfoToBrenna), queries = brenna.count("Broadcasted by menu");
    clickMenuButton(brenna, "FindScreen", "RefreshButton");
    ASSERT_TRUE(brenna.waitForCount("Broadcasted by menu", queries + 1)) << brenna.log();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_EQ(aldric.count(ServerInfoToBrenna), answers) << aldric.log();
    runString("ShowScreen('FindScreen') ListBoxClear('ServerList')");
    walk();
    EXPECT_EQ(textIn(brenna.screenshot(), "ServerRow1Address"), 0);
}
