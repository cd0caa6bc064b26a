// The shipped menu, used as a person uses it: the real game in a window of
// a private X server, the pointer moved and keys typed with xdotool, and
// what the player would see read back from F12 screenshots. Widgets are
// found by name: the test lays the same menu out itself, headless, and
// aims at the centre of each frame's rectangle.
//
// Small crops of the screenshots are compared with references in
// tests/gl/reference/ within a tolerance. VRAX_UPDATE_REFERENCES=1 writes
// them anew (look at them before committing).
#include "interface/FFonts.h"
#include "interface/FFrameWalk.h"
#include "interface/FXMLLoader.h"
#include "assets/FTextures.h"
#include "platform/Window.h"
#include "script/FLua.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"
#include "shell/FView.h"

#include "../support/Pictures.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

using namespace testing_support;

namespace {

struct TRect {
    int x = 0, y = 0, w = 0, h = 0;
};

class Menu : public ::testing::Test {
protected:
    ScratchDir dir;
    Xvfb x;
    std::string game;
    std::string env;
    std::string window;
    std::unique_ptr<GameProcess> vrax;
    int shots = 0;

    void SetUp() override
    {
        ASSERT_TRUE(x.ok());
        game = dir.path() + "/game";
        env = "DISPLAY=" + x.display() + " ";
        vrax = std::make_unique<GameProcess>(game, x.display());
        window = capture(env + "timeout 20 xdotool search --sync --name '^Vrax$' | head -n1");
        if (!window.empty())
            window.pop_back();
        ASSERT_FALSE(window.empty()) << readFile(game + "/stdout.txt");
        ASSERT_TRUE(waitForLog("Interface Loaded"));
        layOutTheMenu();
    }
    void TearDown() override
    {
        unloadInterface();
        initFonts();
        releaseRenderingContext();
        platform::destroyWindow();
    }

    // The same menu from the same files, laid out here with the engine's own
    // layout (two passes, so references to later frames settle).
    void layOutTheMenu()
    {
        namespace fs = std::filesystem;
        for (const char* folder : {"Interface", "Fonts", "Textures"})
            fs::copy(std::string(VRAX_BINARY_DIR) + "/game/" + folder, folder, fs::copy_options::recursive);
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        ASSERT_TRUE(platform::createWindow("Layout", 64, 64));
        ASSERT_TRUE(createRenderingContext());
        startLog();
        InitTextures();
        initFonts();
        loadInterface("Interface/Menu/Interface.xml");
        walk();
    }
    static void walk()
    {
        walkFrame(0, TFramePainter());
        walkFrame(0, TFramePainter());
    }
    // Where an element is on the window, from its place on the design area.
    TRect onWindow(const std::string& name, const Picture& shot)
    {
        const ComponentRef ref = findComponent(name);
        const Component* c = componentAt(ref.kind, ref.index);
        EXPECT_TRUE(c) << name;
        if (!c)
            return {};
        const int w = c->kind() == KindFrame ? c->effectiveWidth : c->width;
        const int h = c->kind() == KindFrame ? c->effectiveHeight : c->height;
        const int x0 = c->x * shot.width / 1600, y0 = c->y * shot.height / 1200;
        return {x0, y0, (c->x + w) * shot.width / 1600 - x0, (c->y + h) * shot.height / 1200 - y0};
    }

    bool waitForLog(const std::string& text, double seconds = 10)
    {
        for (int i = 0; i < seconds * 20; ++i) {
            if (readFile(game + "/Logs/log.txt").find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    void xdotool(const std::string& arguments)
    {
        run(env + "xdotool " + arguments);
        // Let a few frames pass, so the interface has seen what happened.
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    void moveTo(int wx, int wy) { xdotool("mousemove --window " + window + " " + std::to_string(wx) + " " + std::to_string(wy)); }
    void clickAt(int wx, int wy)
    {
        moveTo(wx, wy);
        xdotool("mousedown --window " + window + " 1");
        xdotool("mouseup --window " + window + " 1");
    }
    void centreClick(const std::string& name, const Picture& shot)
    {
        const TRect r = onWindow(name, shot);
        clickAt(r.x + r.w / 2, r.y + r.h / 2);
    }
    // Presses F12 and reads the picture it writes.
    Picture screenshot()
    {
        namespace fs = std::filesystem;
        const std::size_t before = shots++;
        run(env + "xdotool key --window " + window + " F12");
        for (int i = 0; i < 200; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (!fs::exists(game + "/Screenshots"))
                continue;
            std::vector<fs::path> files;
            for (const fs::directory_entry& e : fs::directory_iterator(game + "/Screenshots"))
                if (e.path().extension() == ".png")
                    files.push_back(e.path());
            if (files.size() <= before)
                continue;
            std::sort(files.begin(), files.end());
            Picture p = readPng(files.back().string());
            if (!p.rgba.empty())
                return p;
        }
        ADD_FAILURE() << "no screenshot";
        return Picture();
    }
    // A crop compared with its reference, halved.
    void expectLooksLike(const Picture& crop, const std::string& reference, double tolerance = 8)
    {
        const Picture small = halve(crop);
        const std::string path = std::string(VRAX_SOURCE_DIR) + "/tests/gl/reference/" + reference;
        if (std::getenv("VRAX_UPDATE_REFERENCES")) {
            ASSERT_TRUE(writePicture(path, small));
            return;
        }
        const Picture expected = readPng(path);
        ASSERT_FALSE(expected.rgba.empty()) << "missing reference " << path;
        EXPECT_LT(meanDifference(small, expected), tolerance) << reference;
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
    auto light = [&](int x0, int x1) {
        int count = 0;
        for (int y = text.y; y < text.y + text.h; ++y)
            for (int x = x0; x < x1; ++x)
                count += shot.at(x, y)[0] > 170 && shot.at(x, y)[1] > 160;
        return count;
    };
    EXPECT_GT(light(text.x, text.x + text.w), 20);
    EXPECT_EQ(light(text.x + text.w + 8, text.x + text.w + 60), 0);
    // The caret blinks just right of the text: the reference stops short of it.
    expectLooksLike(crop(shot, text.x - 2, text.y - 2, text.w, text.h + 4), "NickZora.png", 12);
}

TEST_F(Menu, QuitEndsTheGame)
{
    const Picture shot = screenshot();
    centreClick("QuitButton", shot);
    EXPECT_EQ(vrax->waitExit(10), 0) << readFile(game + "/stdout.txt");
    const std::string log = readFile(game + "/Logs/log.txt");
    EXPECT_NE(log.find("Debug: Clicked QuitButton"), std::string::npos);
    EXPECT_EQ(log.find("Warning"), std::string::npos) << log;
}
