// The game screen reached as a person reaches it: the real menu hosts a
// game alone (Host a game, Open the lobby, Launch), the clocks synchronise,
// the game interface replaces the menu, and a chat line typed into the game's
// chat field comes back from the host into the console (see PlayedGame.h).
#include "../support/PlayedGame.h"

using namespace testing_support;

namespace {

const char* const Launched = "Loading Interface/Game/Interface.xml";

class Game : public PlayedGame {
protected:
    void SetUp() override
    {
        startGame({{"Vrax.cfg", "[Player info]\r\nNickname=Aldric\r\n"}});
        if (HasFatalFailure())
            return;
        layOut("Interface/Menu/Interface.xml");
    }
    void clickOn(const std::string& screen, const std::string& name) { clickMenuButton(*this, screen, name); }
};

}  // namespace

TEST_F(Game, TheHostLaunchesAloneAndAChatLineReachesTheGameConsole)
{
    clickOn("WelcomeScreen", "HostButton");
    clickOn("HostScreen", "CreateButton");
    clickOn("LobbyScreen", "LaunchButton");
    ASSERT_TRUE(waitForLog(Launched, 20)) << log();
    ASSERT_TRUE(waitForLog("Interface Loaded", 10, Launched)) << log();
    EXPECT_TRUE(waitForLog("Debug: Game scripts loaded", 1, Launched)) << log();
    {
        // The menu's track gave way to the game's as the game started.
        const std::string text = log();
        const std::size_t menuMusic = text.find("Playing music `Sounds/stream/MenuTheme.mp3`");
        const std::size_t gameMusic = text.find("Playing music `Sounds/stream/GameTheme.ogg`");
        EXPECT_LT(menuMusic, gameMusic) << text;
        EXPECT_LT(gameMusic, text.find(Launched)) << text;
    }

    // Enter gives the chat field the keyboard.
    xdotool("key --delay 60 --window " + window + " Return h e l l p BackSpace o space t h e r e Return");
    ASSERT_TRUE(waitForLog("Addline : 127.0.0.1 - Aldric says : hello there", 10, Launched)) << log();
    moveTo(5, 500);
    const Picture shot = screenshot();

    // The same screen here, with the same lines.
    layOut("Interface/Game/Interface.xml");
    runString("SetText('PlayerName', 'Aldric') AddLine('127.0.0.1 - Aldric says : hello there')");
    walk();
    const TRect line = onWindow("ConsoleLine2", shot);
    ASSERT_GT(line.w, 100);
    EXPECT_GT(lightPixels(shot, line), 150);
    expectLooksLike(crop(shot, line.x - 2, line.y - 2, line.w + 4, line.h + 4), "GameChatLine.png");
    const TRect banner = onWindow("PlayerName", shot);
    expectLooksLike(crop(shot, banner.x - 2, banner.y - 2, banner.w + 200, banner.h + 4), "GameBanner.png");
    // Enter emptied the field (the caret may blink at its left end).
    const TRect field = onWindow("ChatField", shot);
    EXPECT_EQ(lightPixels(shot, {field.x + 30, field.y + 4, field.w - 40, field.h - 8}), 0);
    // The field is not black: the ground stands in for the scene.
    const TRect ground = onWindow("TopBar", shot);
    EXPECT_GT(meanBrightness(crop(shot, shot.width / 4, ground.y + ground.h + 40, shot.width / 2, shot.height / 3)), 30);

    // Ctrl+S silences the voices, and again brings them back.
    xdotool("key --delay 60 --window " + window + " ctrl+s");
    EXPECT_TRUE(waitForLog("Debug: Effects volume 0", 5, Launched)) << log();
    xdotool("key --delay 60 --window " + window + " ctrl+s");
    EXPECT_TRUE(waitForLog("Debug: Effects volume 100", 5, Launched)) << log();

    run(env + "xdotool key --window " + window + " Escape");
    EXPECT_EQ(vrax->waitExit(10), 0) << output();
    const std::string text = log();
    EXPECT_EQ(text.find("Warning"), std::string::npos) << text;
    EXPECT_EQ(text.find("does not exist", text.find(Launched)), std::string::npos) << text;
}
