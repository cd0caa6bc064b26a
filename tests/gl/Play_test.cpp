// A game played as a person plays it, on the real game under Xvfb (see
// PlayedGame.h): the host launches alone, a press on the minimap brings the
// camera to its workers, a rectangle selects them, right clicks walk them in
// formation and Shift queues a second point, a control group comes back by
// its digit, a double click takes the same type nearby, a right click on a
// stranger's stone attacks it, B places a Keep that the first selected
// worker raises, the arrows push the camera against its limits, and Escape
// quits. Where the units are is read from the debug log's selection lines.
#include "../support/PlayedGame.h"
#include "interaction/FCamera.h"
#include "shell/FOpenGL.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <regex>

using namespace testing_support;

namespace {

const char* const Launched = "Loading Interface/Game/Interface.xml";

// The host's start and a neutral stone of ours in view of it.
const char* const TestMap = "0 120 120 host\n1 360 360\n19 120 140 stone\n";

struct SeenUnit {
    int number = 0;
    std::string name;
    int cellX = 0, cellY = 0;
    double hp = 0;
};

class Play : public PlayedGame {
protected:
    TCamera view;  // the copy's camera, followed here
    int width = 0, height = 0;

    void SetUp() override
    {
        startGame({{"Vrax.cfg", "[Player info]\r\nNickname=Aldric\r\n"}, {"Maps/Welcome.vrax", TestMap}});
        if (HasFatalFailure())
            return;
        layOut("Interface/Menu/Interface.xml");
        ResetCamera(view);
    }

    // The window pixel (y from the top) of a world point, seen by the copy's camera.
    std::pair<int, int> onScreen(double x, double y, double z = 30)
    {
        SurfaceWidth = width;
        SurfaceHeight = height;
        setGameCamera(view);
        GLdouble mv[16], pr[16], wx, wy, wz;
        GLint vp[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, mv);
        glGetDoublev(GL_PROJECTION_MATRIX, pr);
        glGetIntegerv(GL_VIEWPORT, vp);
        gluProject(x, y, z, mv, pr, vp, &wx, &wy, &wz);
        return {static_cast<int>(std::lround(wx)), static_cast<int>(std::lround(vp[3] - wy))};
    }
    std::pair<int, int> onScreen(const SeenUnit& u, double z = 30) { return onScreen(u.cellX * 16 + 8, u.cellY * 16 + 8, z); }

    // The window pixel of a design-area point.
    std::pair<int, int> fromDesign(double x, double y) const
    {
        return {static_cast<int>(std::lround(x * width / 1600)), static_cast<int>(std::lround(y * height / 1200))};
    }
    // The window point where the minimap shows the world point (x, y).
    std::pair<int, int> onMinimap(double x, double y) const
    {
        return fromDesign(MinimapLeft + MinimapSide * x / MinimapWorld,
                          MinimapTop + MinimapSide - MinimapSide * y / MinimapWorld);
    }
    // Presses on the minimap at the world point `from` and lets go at `to`;
    // the test's own camera follows to `to`.
    void sweepMinimap(std::pair<double, double> from, std::pair<double, double> to)
    {
        const auto [ax, ay] = onMinimap(from.first, from.second);
        const auto [bx, by] = onMinimap(to.first, to.second);
        moveTo(ax, ay);
        xdotool("mousedown --window " + window + " 1");
        moveTo((ax + bx) / 2, (ay + by) / 2);
        moveTo(bx, by);
        // The camera follows while the button is held; a slow frame may show it late.
        Picture held = screenshot();
        for (int tries = 0; tries < 20 && !outlineAt(held, to.first, to.second); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            held = screenshot();
        }
        xdotool("mouseup --window " + window + " 1");
        CentreOnMinimap(view, std::lround(bx * 1600.0 / width), std::lround(by * 1200.0 / height));
        expectOutlineAt(held, to.first, to.second);
    }

    std::vector<SeenUnit> lastSelection() const
    {
        const std::string text = log();
        const std::size_t at = text.rfind("Debug: Selection:");
        std::vector<SeenUnit> out;
        if (at == std::string::npos)
            return out;
        const std::string line = text.substr(at, text.find('\n', at) - at);
        static const std::regex unit(R"(#(-?\d+) ([A-Za-z ]+) \((\d+), (\d+)\) (-?\d+)/)");
        for (std::sregex_iterator m(line.begin(), line.end(), unit), end; m != end; ++m)
            out.push_back({std::stoi((*m)[1]), (*m)[2], std::stoi((*m)[3]), std::stoi((*m)[4]), std::stod((*m)[5])});
        return out;
    }
    // Waits for the next selection line after doing `act`, and reads it.
    template <class Act>
    std::vector<SeenUnit> selectionAfter(Act act, bool mustSelect = true)
    {
        const int before = count("Debug: Selection:");
        act();
        const bool selected = waitForCount("Debug: Selection:", before + 1, mustSelect ? 5 : 1);
        EXPECT_TRUE(selected || !mustSelect) << log();
        return selected ? lastSelection() : std::vector<SeenUnit>();
    }
    // A click on the unit drawn about (x, y); a few pixels round it are tried
    // in turn, since the log gives cells and a click must meet the model.
    std::vector<SeenUnit> clickOnUnit(int x, int y)
    {
        for (const auto& [dx, dy] : {std::pair{0, 0}, {0, -6}, {0, 6}, {-5, -3}, {5, -3}, {0, -12}, {-8, 0}, {8, 0}}) {
            const int before = count("Debug: Selection:");
            clickAt(x + dx, y + dy);
            if (count("Debug: Selection:") > before)
                return lastSelection();
        }
        ADD_FAILURE() << "no unit about " << x << ", " << y;
        return {};
    }
    void dragFrom(int x0, int y0, int x1, int y1)
    {
        moveTo(x0, y0);
        xdotool("mousedown --window " + window + " 1");
        moveTo((x0 + x1) / 2, (y0 + y1) / 2);
        moveTo(x1, y1);
        xdotool("mouseup --window " + window + " 1");
    }
    // A rectangle round the world point (x, y), `reach` world units each way.
    std::vector<SeenUnit> selectAround(double x, double y, double reach, bool mustSelect = true)
    {
        const auto [lx, ty] = onScreen(x - reach, y + reach, 40);
        const auto [rx, by] = onScreen(x + reach, y - reach, 0);
        // Within the screen: a cursor left at its edge would scroll the camera away.
        const auto inX = [&](int v) { return std::clamp(v, 20, width - 20); };
        const auto inY = [&](int v) { return std::clamp(v, 20, height - 20); };
        return selectionAfter(
            [&, lx = lx, ty = ty, rx = rx, by = by] {
                dragFrom(inX(lx), inY(ty), inX(rx), inY(by));
                moveTo(width / 2, height / 2);
            },
            mustSelect);
    }
    // Rectangles round the world point until the three workers stand within
    // `cells` of cell (cx, cy) (a loaded machine draws, and so walks, slowly).
    std::vector<SeenUnit> threeArrivedAround(double x, double y, double reach, int cx, int cy, int cells)
    {
        std::vector<SeenUnit> seen;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(40);
        while (std::chrono::steady_clock::now() < end) {
            seen = selectAround(x, y, reach, false);
            if (seen.size() == 3 && std::all_of(seen.begin(), seen.end(), [&](const SeenUnit& u) { return near(u, cx, cy, cells); }))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        // What the screen showed, for VRAX_KEEP_SCREENSHOTS.
        if (seen.size() != 3)
            screenshot();
        return seen;
    }
    void rightClickAt(int x, int y, bool shift = false)
    {
        if (shift)
            xdotool("keydown --window " + window + " shift");
        moveTo(x, y);
        xdotool("mousedown --window " + window + " 3");
        xdotool("mouseup --window " + window + " 3");
        if (shift)
            xdotool("keyup --window " + window + " shift");
    }
    static bool near(const SeenUnit& u, int cx, int cy, int cells)
    {
        return std::abs(u.cellX - cx) <= cells && std::abs(u.cellY - cy) <= cells;
    }
    // The white outline's box on the minimap, in window pixels.
    TRect outline(const Picture& shot) const
    {
        const auto [x0, y0] = fromDesign(MinimapLeft - 4, MinimapTop - 4);
        const auto [x1, y1] = fromDesign(MinimapLeft + MinimapSide + 4, MinimapTop + MinimapSide + 4);
        int minX = x1, minY = y1, maxX = x0, maxY = y0;
        for (int y = y0; y < y1 && y < shot.height; ++y)
            for (int x = x0; x < x1 && x < shot.width; ++x) {
                const std::uint8_t* p = shot.at(x, y);
                if (p[0] < 235 || p[1] < 235 || p[2] < 235)
                    continue;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        return {minX, minY, maxX - minX, maxY - minY};
    }
    // Where the outline must lie for a camera looking at (x, y).
    TRect expectedOutline(double x, double y) const
    {
        const auto [x0, y0] = fromDesign(MinimapLeft + MinimapSide * (x - 1200) / MinimapWorld,
                                         MinimapTop + MinimapSide - MinimapSide * (y + 1200) / MinimapWorld);
        const auto [x1, y1] = fromDesign(MinimapLeft + MinimapSide * (x + 1200) / MinimapWorld,
                                         MinimapTop + MinimapSide - MinimapSide * (y - 600) / MinimapWorld);
        return {x0, y0, x1 - x0, y1 - y0};
    }
    bool outlineAt(const Picture& shot, double x, double y) const
    {
        const TRect seen = outline(shot), expected = expectedOutline(x, y);
        return std::abs(seen.x - expected.x) <= 3 && std::abs(seen.y - expected.y) <= 3 &&
               std::abs(seen.x + seen.w - expected.x - expected.w) <= 3 &&
               std::abs(seen.y + seen.h - expected.y - expected.h) <= 3;
    }
    void expectOutlineAt(const Picture& shot, double x, double y)
    {
        const TRect seen = outline(shot), expected = expectedOutline(x, y);
        EXPECT_NEAR(seen.x, expected.x, 3);
        EXPECT_NEAR(seen.y, expected.y, 3);
        EXPECT_NEAR(seen.x + seen.w, expected.x + expected.w, 3);
        EXPECT_NEAR(seen.y + seen.h, expected.y + expected.h, 3);
    }
    void holdKeys(const std::string& keys, int ms)
    {
        xdotool("keydown --window " + window + " " + keys);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        xdotool("keyup --window " + window + " " + keys);
    }
};

}  // namespace

TEST_F(Play, TheWorkersAreSelectedOrderedGroupedAndBuildAndTheCameraKeepsItsLimits)
{
    clickMenuButton(*this, "WelcomeScreen", "HostButton");
    clickMenuButton(*this, "HostScreen", "CreateButton");
    clickMenuButton(*this, "LobbyScreen", "LaunchButton");
    ASSERT_TRUE(waitForLog(Launched, 20)) << log();
    ASSERT_TRUE(waitForLog("Interface Loaded", 10, Launched)) << log();
    {
        const Picture first = screenshot();
        width = first.width;
        height = first.height;
        // The camera starts over the middle of the map.
        expectOutlineAt(first, 3840, 3840);
    }

    // A sweep over the minimap brings the camera to the workers, and starts no rectangle.
    sweepMinimap({3840, 3840}, {1920, 2000});
    EXPECT_EQ(count("Debug: Selection:"), 0);
    // A rectangle over the three takes them.
    const auto [lx, ly] = onScreen(1620, 1920);
    const auto [rx, ry] = onScreen(2220, 1920);
    const std::vector<SeenUnit> three =
        selectionAfter([&, lx = lx, ly = ly, rx = rx, ry = ry] { dragFrom(lx - 50, ly - 70, rx + 50, ry + 40); });
    ASSERT_EQ(three.size(), 3u) << log();
    for (const SeenUnit& u : three) {
        EXPECT_EQ(u.name, "Serf");
        EXPECT_EQ(u.cellY, 120);
    }
    {
        moveTo(rx + 200, ry + 100);
        const Picture shot = screenshot();
        const auto [fx, fy] = onScreen(1920, 1920, 0);
        expectLooksLike(crop(shot, fx - 50, fy - 40, 100, 70), "PlaySelectedWorker.png", 12);
        const auto [gx, gy] = onScreen(2600, 2300, 0);
        expectLooksLike(crop(shot, gx - 60, gy - 30, 120, 60), "PlayGround.png");
    }

    // A right click on the ground: they walk there and stand in formation round it.
    const auto [px, py] = onScreen(1600, 2080, 0);
    rightClickAt(px, py);
    ASSERT_TRUE(waitForLog("Debug: Order 1 to cell (", 5, Launched)) << log();
    {
        const std::vector<SeenUnit> there = threeArrivedAround(1600, 2080, 200, 100, 130, 8);
        ASSERT_EQ(there.size(), 3u) << log();
        for (const SeenUnit& u : there)
            EXPECT_TRUE(near(u, 100, 130, 8)) << u.cellX << ", " << u.cellY;
        EXPECT_FALSE(there[0].cellX == there[1].cellX && there[0].cellY == there[1].cellY);
        EXPECT_FALSE(there[1].cellX == there[2].cellX && there[1].cellY == there[2].cellY);
    }

    // A point, and with Shift a second one after it.
    {
        const auto [ax, ay] = onScreen(1600, 1840, 0);
        const auto [bx, by] = onScreen(2300, 1840, 0);
        rightClickAt(ax, ay);
        rightClickAt(bx, by, true);
        EXPECT_TRUE(waitForLog(", queued", 5, Launched)) << log();
        const std::vector<SeenUnit> there = threeArrivedAround(2300, 1840, 320, 143, 115, 14);
        ASSERT_EQ(there.size(), 3u) << log();
        for (const SeenUnit& u : there)
            EXPECT_TRUE(near(u, 143, 115, 14)) << u.cellX << ", " << u.cellY;
    }

    // Ctrl+1 keeps them; Shift-clicking one lets it go; 1 brings the three back.
    key("ctrl+1");
    const std::vector<SeenUnit> group = lastSelection();
    {
        const auto [ux, uy] = onScreen(group[1]);
        xdotool("keydown --window " + window + " shift");
        const std::vector<SeenUnit> two = clickOnUnit(ux, uy);
        xdotool("keyup --window " + window + " shift");
        EXPECT_EQ(two.size(), 2u) << log();
        const std::vector<SeenUnit> back = selectionAfter([&] { key("1"); });
        EXPECT_EQ(back.size(), 3u) << log();
    }

    // A right click on a stranger's stone: they attack it. S stops them.
    {
        const auto [sx, sy] = onScreen(1928, 2248, 40);
        rightClickAt(sx, sy);
        EXPECT_TRUE(waitForLog("Debug: Order 6 on Standing Stone #", 5, Launched)) << log();
        std::this_thread::sleep_for(std::chrono::seconds(2));
        // With the chat open S is a letter of the line, not the stop.
        key("Return");
        type("so");
        key("Return");
        EXPECT_TRUE(waitForLog(" says : so", 10, Launched)) << log();
        EXPECT_EQ(count("Debug: Order 0 to cell (0, 0)"), 0) << log();
        key("s");
        EXPECT_TRUE(waitForLog("Debug: Order 0 to cell (0, 0) for 3 units", 5, Launched)) << log();
    }

    // A click takes one worker; a double click on it all three, the clicked one first.
    const std::vector<SeenUnit> now = selectAround(2100, 2000, 500);
    ASSERT_EQ(now.size(), 3u) << log();
    const auto [ox, oy] = onScreen(now[2]);
    const std::vector<SeenUnit> one = clickOnUnit(ox, oy);
    ASSERT_EQ(one.size(), 1u) << log();
    const std::vector<SeenUnit> same = selectionAfter(
        [&] { xdotool("click --repeat 2 --delay 80 --window " + window + " 1"); });
    ASSERT_EQ(same.size(), 3u) << log();
    EXPECT_EQ(same[0].number, one[0].number);

    // B shows the grid where the Keep would stand; a click places it, and the first worker raises it.
    key("b");
    const auto [kx, ky] = onScreen(2368, 2368, 0);
    moveTo(kx, ky);
    {
        const Picture shot = screenshot();
        expectLooksLike(crop(shot, kx - 80, ky - 50, 160, 100), "PlayPlacementGrid.png", 12);
    }
    const std::string placed = "Debug: Placing Keep at (2376, 2376), raised by #" + std::to_string(same[0].number);
    clickAt(kx, ky);
    ASSERT_TRUE(waitForLog(placed, 5, Launched)) << log();
    const auto keep = [&] {
        const std::vector<SeenUnit> seen = clickOnUnit(kx, ky - 10);
        EXPECT_EQ(seen.size(), 1u) << log();
        return seen.empty() ? SeenUnit() : seen[0];
    };
    const SeenUnit before = keep();
    EXPECT_EQ(before.name, "Keep");
    // The worker walks over, then the walls rise: the hit points grow.
    SeenUnit after = before;
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(40);
         after.hp <= before.hp && std::chrono::steady_clock::now() < end;)
        after = keep();
    EXPECT_GT(after.hp, before.hp) << log();
    EXPECT_NE(log().find("% built"), std::string::npos);

    // However long the arrows are held, the camera stops at its limits.
    holdKeys("Left Down", 2000);
    expectOutlineAt(screenshot(), CameraMinX, CameraMinY);
    holdKeys("Right Up", 4500);
    expectOutlineAt(screenshot(), CameraMaxX, CameraMaxY);

    run(env + "xdotool key --window " + window + " Escape");
    EXPECT_EQ(vrax->waitExit(10), 0) << output();
    const std::string text = log();
    EXPECT_EQ(text.find("Warning"), std::string::npos) << text;
}
