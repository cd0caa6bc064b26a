// The shipped menu, used as a person uses it (see PlayedGame.h): buttons
// found by name light up, sink and act; typed text lands where the layout
// puts it; Quit ends the game.
#include "../support/PlayedGame.h"

using namespace testing_support;

namespace {

class Menu : public PlayedGame {
protected:
    void SetUp() override
    {
        startGame();
        if (HasFatalFailure())
            return;
        layOut("Interface/Menu/Interface.xml");
    }
    // The left part of a button: the pointer, drawn at its top-left corner, stays out of it.
    static Picture leftOf(const Picture& shot, const TRect& r)
    {
        return crop(shot, r.x, r.y, r.w * 2 / 3, r.h);
    }
};

}  // namespace

TEST_F(Menu, AButtonLightsUpUnderThePointerAndSinksWhilePressed)
{
    Picture shot = screenshot();
    const TRect host = onWindow("HostButton", shot);
    const Picture normal = leftOf(shot, host);
    expectLooksLike(normal, "HostButton.png");

    moveTo(host.x + host.w * 5 / 6, host.y + host.h / 2);
    shot = screenshot();
    const Picture hover = leftOf(shot, host);
    EXPECT_GT(meanBrightness(hover), meanBrightness(normal) + 4);
    expectLooksLike(hover, "HostButtonHover.png");

    xdotool("mousedown --window " + window + " 1");
    shot = screenshot();
    expectLooksLike(leftOf(shot, host), "HostButtonPushed.png");
    xdotool("mouseup --window " + window + " 1");
    ASSERT_TRUE(waitForLog("Debug: Clicked HostButton"));

    // The click's effect: the host screen with its fields, where the layout puts them.
    runString("ShowScreen('HostScreen')");
    walk();
    moveTo(5, 5);
    shot = screenshot();
    const TRect heading = onWindow("HostHeading", shot);
    expectLooksLike(crop(shot, heading.x, heading.y, heading.w, heading.h), "HostHeading.png");
    const TRect field = onWindow("ServerInfoField", shot);
    expectLooksLike(crop(shot, field.x, field.y, field.w, field.h), "EmptyField.png");
}

TEST_F(Menu, ATypedNicknameAppearsWhereTheLayoutPutsItsText)
{
    Picture shot = screenshot();
    centreClick("NickField", shot);
    std::string keys;
    for (int i = 0; i < 30; ++i)  // the field starts with the configured name
        keys += " BackSpace";
    xdotool("key --delay 60 --window " + window + keys + " Z o r r BackSpace a");
    moveTo(5, 5);
    shot = screenshot();

    runString("SetText('NickFieldText', 'Zora')");
    walk();
    const TRect text = onWindow("NickFieldText", shot);
    ASSERT_GT(text.w, 10);
    // The letters are light on the dark field, inside their rectangle and
    // nowhere to its right but for the caret.
    EXPECT_GT(lightPixels(shot, text), 20);
    EXPECT_EQ(lightPixels(shot, {text.x + text.w + 8, text.y, 52, text.h}), 0);
    // The caret blinks just right of the text: the reference stops short of it.
    expectLooksLike(crop(shot, text.x - 2, text.y - 2, text.w, text.h + 4), "NickZora.png", 12);
}

TEST_F(Menu, QuitEndsTheGame)
{
    const Picture shot = screenshot();
    centreClick("QuitButton", shot);
    EXPECT_EQ(vrax->waitExit(10), 0) << output();
    const std::string log = readFile(game + "/Logs/log.txt");
    EXPECT_NE(log.find("Debug: Clicked QuitButton"), std::string::npos);
    EXPECT_EQ(log.find("Warning"), std::string::npos) << log;
}

// A player picks a bigger window on the Options screen and saves: the file
// keeps it, the window takes it at once, and the next start opens at that size.
TEST_F(Menu, OptionsStoreTheWindowSizeForTheNextStart)
{
    clickMenuButton(*this, "WelcomeScreen", "OptionsButton");
    clickMenuButton(*this, "OptionsScreen", "SizeMoreButton");
    clickMenuButton(*this, "OptionsScreen", "EffectsLessButton");
    clickMenuButton(*this, "OptionsScreen", "SaveOptionsButton");
    ASSERT_TRUE(waitForLog("Told the player: Options saved to Vrax.cfg.")) << log();
    const std::string config = readFile(game + "/Vrax.cfg");
    for (const char* line : {"Window.Width=1280\r\n", "Window.Height=960\r\n", "Fullscreen=0\r\n",
                             "Effects volume=90\r\n", "Music volume=80\r\n", "Resolution.Width=1024\r\n"})
        EXPECT_NE(config.find(line), std::string::npos) << line << " in " << config;
    EXPECT_FALSE(std::filesystem::exists(game + "/Vrax.cfg.new"));
    EXPECT_EQ(screenshot().width, 1280);

    key("Escape");
    ASSERT_EQ(vrax->waitExit(10), 0);
    start(game);
    ASSERT_FALSE(HasFatalFailure());
    const Picture shot = screenshot();
    EXPECT_EQ(shot.width, 1280);
    EXPECT_EQ(shot.height, 960);
}
