// The real game in a real window under a private X server, ended with the
// Escape key as a player would.
#include "../support/Pictures.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>

using namespace testing_support;

TEST(Startup, FirstStartLeavesLogAndConfigF12SavesAPictureEscapeQuits)
{
    ScratchDir dir;
    Xvfb x;
    ASSERT_TRUE(x.ok());
    const std::string game = dir.path() + "/game";
    GameProcess vrax(game, x.display());

    const std::string env = "DISPLAY=" + x.display() + " ";
    const std::string window = findGameWindow(x.display());
    ASSERT_FALSE(window.empty()) << readFile(game + "/stdout.txt");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let some frames run
    ASSERT_TRUE(vrax.running()) << readFile(game + "/stdout.txt");

    run(env + "xdotool windowfocus --sync " + window + " key --window " + window + " F12");
    // The log line comes once the picture is completely written.
    std::string shot;
    for (int i = 0; i < 100 && shot.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (readFile(game + "/Logs/log.txt").find("Screenshot saved to") != std::string::npos)
            shot = capture("ls " + game + "/Screenshots 2>/dev/null | grep '\\.png$' | head -n1");
    }
    ASSERT_FALSE(shot.empty()) << "F12 writes a screenshot";
    shot.pop_back();
    EXPECT_EQ(capture("identify -format '%w %h' " + game + "/Screenshots/" + shot), "1024 764");
    // Viewers must not show the console and panels faded: every pixel is opaque.
    const Picture picture = readPng(game + "/Screenshots/" + shot);
    ASSERT_FALSE(picture.rgba.empty());
    int seeThrough = 0;
    for (std::size_t i = 3; i < picture.rgba.size(); i += 4)
        seeThrough += picture.rgba[i] != 255;
    EXPECT_EQ(seeThrough, 0);

    run(env + "xdotool key --window " + window + " Escape");
    EXPECT_EQ(vrax.waitExit(10), 0) << readFile(game + "/stdout.txt");

    std::vector<std::string> log = readLines(game + "/Logs/log.txt");
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(std::regex_match(log[0], std::regex("\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d Initialisation\r"))) << log[0];

    std::string config = readFile(game + "/Vrax.cfg");
    for (const char* key : {"Resolution.Width=1024", "Resolution.Height=768", "Windowed=1", "Fullscreen=0"})
        EXPECT_NE(config.find(key), std::string::npos) << key;
    EXPECT_EQ(config.find("Player info"), std::string::npos);
    EXPECT_NE(readFile(game + "/Logs/log.txt").find("Screenshot saved to Screenshots/Vrax-"), std::string::npos);
}

// Started from a shell in another folder, the game finds no content there: it
// says so on stderr and on its window, naming the file, the folder and the
// way to start it, and never claims the interface loaded.
TEST(Startup, StartedFromAnotherFolderItNamesTheMissingFileAndTheWayToStart)
{
    ScratchDir dir;
    Xvfb x;
    ASSERT_TRUE(x.ok());
    const std::string game = dir.path() + "/game", elsewhere = dir.path() + "/elsewhere";
    std::filesystem::create_directories(elsewhere);
    GameProcess vrax(game, x.display(), {}, "", elsewhere);
    const std::string window = findGameWindow(x.display());
    ASSERT_FALSE(window.empty()) << readFile(elsewhere + "/stdout.txt");

    std::string log;
    for (int i = 0; i < 200 && log.find("Cannot find") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        log = readFile(elsewhere + "/Logs/log.txt");
    }
    EXPECT_NE(log.find("Error: File `Interface/Menu/Interface.xml` does not exist"), std::string::npos) << log;
    EXPECT_EQ(log.find("Interface Loaded"), std::string::npos) << log;
    const std::string said = readFile(elsewhere + "/stdout.txt");
    for (const std::string& part : {std::string("Interface/Menu/Interface.xml"), "in the folder " + elsewhere,
                                    "cd " + game + " && ./Vrax"})
        EXPECT_NE(said.find(part), std::string::npos) << part << " in " << said;

    // The window shows the message: light text on the black upper half.
    const std::string env = "DISPLAY=" + x.display() + " ";
    run(env + "xdotool key --window " + window + " F12");
    Picture shot;
    for (int i = 0; i < 100 && shot.rgba.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::string name = capture("ls " + elsewhere + "/Screenshots 2>/dev/null | grep '\\.png$' | head -n1");
        if (!name.empty())
            shot = readPng(elsewhere + "/Screenshots/" + name.substr(0, name.size() - 1));
    }
    ASSERT_FALSE(shot.rgba.empty()) << "F12 writes a screenshot";
    int light = 0;
    for (int y = 0; y < shot.height / 2; ++y)
        for (int x = 0; x < shot.width / 2; ++x)
            light += shot.at(x, y)[0] > 170;
    EXPECT_GT(light, 2000);

    run(env + "xdotool key --window " + window + " Escape");
    EXPECT_EQ(vrax.waitExit(10), 0);
}
