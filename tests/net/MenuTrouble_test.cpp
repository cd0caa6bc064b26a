// What goes wrong on a first evening with the game, met as a person meets it
// through the shipped menu (see PlayedGame.h) on a private LAN: a join to an
// address where nobody answers, a player whose machine stops answering while
// the host launches, a host who leaves the lobby by another button, and a
// second copy of the game on a machine whose port is taken.
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

TEST_F(MenuTrouble, NoAnswerSilentPlayerAndAHostWhoLeavesByFind)
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
    runString("ShowScreen('FindScreen')");
    walk();
    EXPECT_GT(textIn(brenna.screenshot(), "FindHeading"), 20);

    // Brenna joins for real, then her machine goes silent (killed, no Leave):
    // the launch gives up after 15 s and Launch can be pressed again.
    join(brenna, "10.240.0.1");
    ASSERT_TRUE(aldric.waitForLog("Client added to cell 1", 20)) << aldric.log();
    brenna.vrax.reset();
    clickMenuButton(aldric, "LobbyScreen", "LaunchButton");
    EXPECT_TRUE(aldric.waitForLog("Told the player: The clocks could not be synchronised in 15 seconds", 30))
        << aldric.log();
    runString("IsHost = true EnterLobby('Player') SetVisible('LaunchButton', true)");
    walk();
    EXPECT_GT(textIn(aldric.screenshot(), "LaunchButtonText"), 20);
    EXPECT_EQ(aldric.count("Game launched"), 0);

    // Find, pressed in the lobby, closes the server: nobody finds it any more.
    clickMenuButton(aldric, "LobbyScreen", "FindButton");
    EXPECT_TRUE(aldric.waitForLog("Server destroyed")) << aldric.log();
    startBrenna();
    ASSERT_FALSE(HasFatalFailure());
    const int answers = aldric.count(ServerInfoToBrenna);
    clickMenuButton(brenna, "WelcomeScreen", "FindButton");
    ASSERT_TRUE(brenna.waitForLog("Broadcasted by menu")) << brenna.log();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_EQ(aldric.count(ServerInfoToBrenna), answers) << aldric.log();
    runString("ShowScreen('FindScreen') ListBoxClear('ServerList')");
    walk();
    EXPECT_EQ(textIn(brenna.screenshot(), "ServerRow1Address"), 0);
}

TEST_F(MenuTrouble, ASecondCopyOnATakenPortSaysWhyAndHostRefuses)
{
    // Cedric's copy runs on Aldric's machine, where Aldric's copy holds port 240.
    PlayedCopy cedric;
    cedric.start(dir.path() + "/cedric", {{"Vrax.cfg", FreshConfig}}, lan.namespaceOf(0));
    ASSERT_FALSE(HasFatalFailure());
    const std::string said = "Told the player: LAN play is unavailable: UDP port 240 is already in use";
    EXPECT_TRUE(cedric.waitForLog(said)) << cedric.log();
    EXPECT_NE(cedric.log().find("Error #3 :  Can't bind socket"), std::string::npos);

    clickMenuButton(cedric, "WelcomeScreen", "HostButton");
    EXPECT_TRUE(cedric.waitForCount(said, 2)) << cedric.log();
    runString("ShowScreen('HostScreen')");
    walk();
    EXPECT_EQ(textIn(cedric.screenshot(), "CreateButtonText"), 0);
}
