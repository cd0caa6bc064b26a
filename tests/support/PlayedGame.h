// A copy of the real game played as a person plays it: a window on a
// private X server, the pointer moved and keys pressed with xdotool, and
// what the player sees read back from F12 screenshots. Widgets are found by
// name: the test loads the same interface itself, headless, lays it out
// with the engine's own walk and aims at the rectangles it gets.
//
// Crops of the screenshots are compared with references in
// tests/gl/reference/ within a tolerance. VRAX_UPDATE_REFERENCES=1 writes
// them anew (look at them before committing); VRAX_KEEP_SCREENSHOTS=folder
// keeps every whole screenshot there, to look at the screen as it was.
//
// PlayedCopy is one copy and its X server; LaidOutInterface is the layout
// in this process; PlayedGame joins the two for tests of one copy, and a
// test of several copies keeps one PlayedCopy each.
#pragma once

#include "assets/FTextures.h"
#include "interface/FFonts.h"
#include "interface/FFrameWalk.h"
#include "interface/FXMLLoader.h"
#include "platform/Window.h"
#include "script/FLua.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"

#include "Pictures.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

namespace testing_support {

struct TRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// One copy of the game on a private X server, and what a player does to it.
class PlayedCopy {
public:
    Xvfb x;
    std::string game;  // its folder
    std::string env;
    std::string window;
    std::unique_ptr<GameProcess> vrax;
    int shots = 0;

    // Starts the game in `folder` with `files` written over it, inside the
    // network namespace `netns` when one is named, and waits for its menu.
    void start(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files = {},
               const std::string& netns = "")
    {
        ASSERT_TRUE(x.ok());
        game = folder;
        env = "DISPLAY=" + x.display() + " ";
        vrax = std::make_unique<GameProcess>(game, x.display(), files, netns);
        window = findGameWindow(x.display());
        ASSERT_FALSE(window.empty()) << output();
        ASSERT_TRUE(waitForLog("Interface Loaded", 30)) << log();
    }

    std::string log() const { return readFile(game + "/Logs/log.txt"); }
    std::string output() const { return readFile(game + "/stdout.txt"); }
    // Waits for `text` in the log after the first `after` (from the start when empty).
    bool waitForLog(const std::string& text, double seconds = 10, const std::string& after = "") const
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        do {
            const std::string now = log();
            const std::size_t from = after.empty() ? 0 : now.find(after);
            if (from != std::string::npos && now.find(text, from) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }
    // How often the log holds `text`.
    int count(const std::string& text) const
    {
        const std::string now = log();
        int n = 0;
        for (std::size_t at = now.find(text); at != std::string::npos; at = now.find(text, at + text.size()))
            ++n;
        return n;
    }
    // Waits until the log holds `text` at least `times` times.
    bool waitForCount(const std::string& text, int times, double seconds = 20) const
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (count(text) < times) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return true;
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
    // Presses the keys for `text` (letters, digits and blanks) one by one.
    void type(const std::string& text)
    {
        std::string keys;
        for (const char c : text) {
            if (std::isalnum(static_cast<unsigned char>(c)))
                keys += std::string(" ") + c;
            else if (c == ' ')
                keys += " space";
            else
                ADD_FAILURE() << "no key for '" << c << "'";
        }
        xdotool("key --delay 60 --window " + window + keys);
    }
    // Presses BackSpace `count` times.
    void rubOut(int count)
    {
        std::string keys;
        for (int i = 0; i < count; ++i)
            keys += " BackSpace";
        xdotool("key --delay 30 --window " + window + keys);
    }
    void key(const std::string& keys) { xdotool("key --window " + window + " " + keys); }
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
            if (p.rgba.empty())
                continue;
            if (const char* keep = std::getenv("VRAX_KEEP_SCREENSHOTS"))
                fs::copy_file(files.back(), fs::path(keep) / (fs::path(game).filename().string() + "-" + files.back().filename().string()),
                              fs::copy_options::overwrite_existing);
            return p;
        }
        ADD_FAILURE() << "no screenshot";
        return Picture();
    }
};

// The shipped interface laid out in this process, offscreen, to find where
// its widgets are on a copy's window.
class LaidOutInterface : public ::testing::Test {
protected:
    ScratchDir dir;
    bool laidOut = false;

    void TearDown() override
    {
        if (!laidOut)
            return;
        unloadInterface();
        initFonts();
        releaseRenderingContext();
        platform::destroyWindow();
    }

    // Loads the interface at `path` from the built game folder into this
    // process (offscreen) and lays it out.
    void layOut(const std::string& path)
    {
        namespace fs = std::filesystem;
        if (!laidOut) {
            for (const char* folder : {"Interface", "Fonts", "Textures"})
                fs::copy(std::string(VRAX_BINARY_DIR) + "/game/" + folder, folder, fs::copy_options::recursive);
            setenv("SDL_VIDEODRIVER", "offscreen", 1);
            ASSERT_TRUE(platform::createWindow("Layout", 64, 64));
            ASSERT_TRUE(createRenderingContext());
            startLog();
            InitTextures();
            initFonts();
            laidOut = true;
        }
        unloadInterface();
        loadInterface(path);
        walk();
    }
    // Two passes, so references to later elements settle.
    static void walk()
    {
        walkFrame(0, TFramePainter());
        walkFrame(0, TFramePainter());
    }
    // Where an element is on the window, from its place on the design area.
    static TRect onWindow(const std::string& name, const Picture& shot)
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
    static void centreClick(PlayedCopy& copy, const std::string& name, const Picture& shot)
    {
        const TRect r = onWindow(name, shot);
        copy.clickAt(r.x + r.w / 2, r.y + r.h / 2);
    }
    // Clicks the menu button `name`, which the local layout shows on `screen`
    // as the copy does, and waits for the copy to take the click.
    void clickMenuButton(PlayedCopy& copy, const std::string& screen, const std::string& name)
    {
        runString("ShowScreen('" + screen + "') SetVisible('" + name + "', true)");
        walk();
        const std::string clicked = "Debug: Clicked " + name;
        const int before = copy.count(clicked);
        centreClick(copy, name, copy.screenshot());
        EXPECT_TRUE(copy.waitForCount(clicked, before + 1)) << copy.log();
    }
    // A crop compared with its reference, halved.
    static void expectLooksLike(const Picture& crop, const std::string& reference, double tolerance = 8)
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
};

// One copy of the game played against the laid-out interface.
class PlayedGame : public LaidOutInterface, public PlayedCopy {
protected:
    void startGame(const std::vector<std::pair<std::string, std::string>>& files = {})
    {
        start(dir.path() + "/game", files);
    }
    void centreClick(const std::string& name, const Picture& shot) { LaidOutInterface::centreClick(*this, name, shot); }
};

// Pixels inside `r` light enough to be text on a dark panel.
inline int lightPixels(const Picture& shot, const TRect& r)
{
    int count = 0;
    for (int y = std::max(r.y, 0); y < std::min(r.y + r.h, shot.height); ++y)
        for (int x = std::max(r.x, 0); x < std::min(r.x + r.w, shot.width); ++x)
            count += shot.at(x, y)[0] > 170 && shot.at(x, y)[1] > 160;
    return count;
}

}  // namespace testing_support
