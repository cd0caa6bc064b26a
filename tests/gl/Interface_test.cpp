// The menu interface in the real game, in a real window under a private X
// server: it loads from the game folder, its scripts run, and typed keys
// reach the frames that listen to the keyboard.
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace testing_support;

namespace {

// Waits up to five seconds for `text` to appear in the game's log.
std::string waitForLog(const std::string& game, const std::string& text)
{
    std::string log;
    for (int i = 0; i < 100; ++i) {
        log = readFile(game + "/Logs/log.txt");
        if (log.find(text) != std::string::npos)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return log;
}

}  // namespace

TEST(Interface, TheMenuLoadsWithItsTemplatesFontsAndScripts)
{
    ScratchDir dir;
    Xvfb x;
    ASSERT_TRUE(x.ok());
    const std::string game = dir.path() + "/game";
    GameProcess vrax(game, x.display());
    const std::string env = "DISPLAY=" + x.display() + " ";
    const std::string window = findGameWindow(x.display());
    ASSERT_FALSE(window.empty()) << readFile(game + "/stdout.txt");

    const std::string log = waitForLog(game, "Interface Loaded");
    for (const char* line : {"Debug: Loading Interface/Menu/Interface.xml\r\n", "Debug: Loading Interface\\Menu\\Menu.lua\r\n",
                             "Debug: Menu scripts loaded\r\n", "Debug: Loading Interface\\Menu\\Templates.xml\r\n",
                             "Debug: Menu background ready\r\n", "Debug: Main panel ready with MainPanel\r\n",
                             "Debug: Interface Loaded\r\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    // The menu as shipped names only elements, fonts and files that exist.
    EXPECT_EQ(log.find("Warning"), std::string::npos) << log;
    EXPECT_EQ(log.find("does not exist"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    ASSERT_TRUE(vrax.running()) << readFile(game + "/stdout.txt");

    run(env + "xdotool windowfocus --sync " + window + " key --window " + window + " Escape");
    EXPECT_EQ(vrax.waitExit(10), 0) << readFile(game + "/stdout.txt");
}

TEST(Interface, ATypedKeyReachesKeyboardFramesAsKeyDownThenCharacter)
{
    ScratchDir dir;
    Xvfb x;
    ASSERT_TRUE(x.ok());
    const std::string game = dir.path() + "/game";
    GameProcess vrax(game, x.display(),
                     {{"Interface/Menu/Interface.xml",
                       "<Ui><Frame name=\"Keys\" EnableKeyboard=\"true\">"
                       "<OnKeyDown>Log(self .. ' ' .. arg1)</OnKeyDown></Frame>"
                       "<Frame name=\"Deaf\"><OnKeyDown>Log('never')</OnKeyDown></Frame></Ui>"}});
    const std::string env = "DISPLAY=" + x.display() + " ";
    const std::string window = findGameWindow(x.display());
    ASSERT_FALSE(window.empty()) << readFile(game + "/stdout.txt");
    waitForLog(game, "Interface Loaded");

    run(env + "xdotool windowfocus --sync " + window + " key --window " + window + " a BackSpace");
    std::string log = waitForLog(game, "Keys 8\r\n");
    const std::size_t down = log.find("Debug: Keys -65\r\n");
    const std::size_t press = log.find("Debug: Keys 97\r\n");
    const std::size_t back = log.find("Debug: Keys -8\r\n");
    ASSERT_NE(down, std::string::npos) << log;
    ASSERT_NE(press, std::string::npos) << log;
    ASSERT_NE(back, std::string::npos) << log;
    EXPECT_LT(down, press);
    EXPECT_LT(press, back);
    EXPECT_NE(log.find("Debug: Keys 8\r\n"), std::string::npos) << log;

    // Escape too is heard by the interface before the game quits.
    run(env + "xdotool key --window " + window + " Escape");
    EXPECT_EQ(vrax.waitExit(10), 0) << readFile(game + "/stdout.txt");
    log = readFile(game + "/Logs/log.txt");
    EXPECT_NE(log.find("Debug: Keys -27\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("never"), std::string::npos);
}

TEST(Interface, AGermanKeyboardsOwnKeysGoDownWithTheCodesWindowsGivesThem)
{
    ScratchDir dir;
    Xvfb x;
    ASSERT_TRUE(x.ok());
    const std::string game = dir.path() + "/game";
    GameProcess vrax(game, x.display(),
                     {{"Interface/Menu/Interface.xml",
                       "<Ui><Frame name=\"Keys\" EnableKeyboard=\"true\">"
                       "<OnKeyDown>if arg1 &lt; 0 then Log('down ' .. -arg1 .. ' ' .. tostring(IsWinKeyDown(-arg1))) "
                       "else Log('typed ' .. arg1) end</OnKeyDown></Frame></Ui>"}});
    const std::string env = "DISPLAY=" + x.display() + " ";
    const std::string window = findGameWindow(x.display());
    ASSERT_FALSE(window.empty()) << readFile(game + "/stdout.txt");
    waitForLog(game, "Interface Loaded");

    // While the game is connected the server keeps the keymap it is given.
    ASSERT_EQ(run(env + "setxkbmap de"), 0);
    // By X key code: u-umlaut, o-umlaut, a-umlaut, sharp s, +, #, the ISO key, F13.
    run(env + "xdotool windowfocus --sync " + window + " key --window " + window + " 34 47 48 20 35 51 94 191");
    const std::string log = waitForLog(game, "down 124 ");
    for (int code : {0xBA, 0xC0, 0xDE, 0xDB, 0xBB, 0xBF, 0xE2, 0x7C})
        EXPECT_NE(log.find("Debug: down " + std::to_string(code) + " true\r\n"), std::string::npos) << code << "\n"
                                                                                                   << log;
    // The letter is still typed as well, after its key went down.
    const std::size_t down = log.find("Debug: down 186 true");
    const std::size_t typed = log.find("Debug: typed 252\r\n");
    ASSERT_NE(typed, std::string::npos) << log;
    EXPECT_LT(down, typed);

    run(env + "xdotool key --window " + window + " Escape");
    EXPECT_EQ(vrax.waitExit(10), 0) << readFile(game + "/stdout.txt");
}
