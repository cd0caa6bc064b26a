// A game played through the game screen alone, as a person plays it (see
// PlayedGame.h): the host launches alone on a map whose start is where the
// camera looks, with the shipped rules made quick (constructions in a
// second, training in a few). The workers are selected with a rectangle and
// kept as control group 1; each raises a building from the command card, one
// picked from the group's portraits; the Barracks trains two Spearmen, one is
// cancelled from the queue; the Forge refuses an upgrade it cannot pay
// (the warning comes and goes) and researches one it can, which the
// Spearman's damage shows; the Chapel trains the Warden, whose Stone Skin
// cast on the Chapel shows on the Chapel's panel.
#include "../support/PlayedGame.h"

#include <regex>

using namespace testing_support;

namespace {

const char* const Launched = "Loading Interface/Game/Interface.xml";

// Sets `field` of the item named `name` in a data file's text.
std::string withField(std::string text, const std::string& name, const std::string& field, const std::string& value)
{
    const std::size_t item = text.find("<name>" + name + "</name>");
    const std::size_t at = text.find("<" + field + ">", item);
    const std::size_t end = text.find("</" + field + ">", at);
    if (item == std::string::npos || at == std::string::npos || end == std::string::npos) {
        ADD_FAILURE() << "no " << field << " for " << name;
        return text;
    }
    const std::size_t from = at + field.size() + 2;
    return text.replace(from, end - from, value);
}

std::vector<std::pair<std::string, std::string>> quickGame()
{
    std::string units = readFile(std::string(VRAX_BINARY_DIR) + "/game/Data/units.xml");
    units = std::regex_replace(units, std::regex("<buildingtime>\\d+</buildingtime>"), "<buildingtime>200</buildingtime>");
    // Long enough that the second stays queued while the first trains, even
    // when a busy machine draws few frames (the game takes one tick a frame).
    units = withField(units, "Spearman", "buildingtime", "2400");
    units = withField(units, "Warden", "res2cost", "0");
    units = withField(units, "Warden", "buildingtime", "300");
    std::string upgrades = readFile(std::string(VRAX_BINARY_DIR) + "/game/Data/upgrades.xml");
    upgrades = withField(upgrades, "Tempered Spears", "res2cost", "0");  // Banded Mail still wants wood
    return {{"Vrax.cfg", "[Player info]\r\nNickname=Aldric\r\n"},
            {"Maps/Welcome.vrax", "0 240 240\n"},
            {"Data/units.xml", units},
            {"Data/units2.xml", units},
            {"Data/upgrades.xml", upgrades}};
}

class GameInterface : public PlayedGame {
protected:
    Picture shot;

    void SetUp() override
    {
        startGame(quickGame());
        if (HasFatalFailure())
            return;
        layOut("Interface/Menu/Interface.xml");
        clickMenuButton(*this, "WelcomeScreen", "HostButton");
        clickMenuButton(*this, "HostScreen", "CreateButton");
        clickMenuButton(*this, "LobbyScreen", "LaunchButton");
        ASSERT_TRUE(waitForLog(Launched, 20)) << log();
        ASSERT_TRUE(waitForLog("Interface Loaded", 10, Launched)) << log();
        // The same screen here, to aim at its widgets; its panels stay as we show them.
        layOut("Interface/Game/Interface.xml");
        runString("GameFunctions = false");
        shot = screenshot();
    }
    // Where a widget of the game screen is on the window, shown with its frames.
    TRect where(const std::string& name)
    {
        runString("local n = '" + name + "' while n ~= '' do SetVisible(n, true) n = GetParent(n) end");
        walk();
        return onWindow(name, shot);
    }
    void press(const std::string& name)
    {
        const TRect r = where(name);
        clickAt(r.x + r.w / 2, r.y + r.h / 2);
    }
    // A point of the field, as parts of the window's width and height.
    void clickField(double x, double y) { clickAt(static_cast<int>(x * shot.width), static_cast<int>(y * shot.height)); }
    void drag(double x0, double y0, double x1, double y1)
    {
        moveTo(static_cast<int>(x0 * shot.width), static_cast<int>(y0 * shot.height));
        xdotool("mousedown --window " + window + " 1");
        moveTo(static_cast<int>((x0 + x1) / 2 * shot.width), static_cast<int>((y0 + y1) / 2 * shot.height));
        moveTo(static_cast<int>(x1 * shot.width), static_cast<int>(y1 * shot.height));
        // The pick of the whole rectangle needs a drawn frame, and frames are slow under Xvfb.
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        xdotool("mouseup --window " + window + " 1");
    }
    // Does `act` and waits for the unit panel to turn to `what` ("Serf, 3 selected").
    template <class Act>
    bool panelAfter(Act act, const std::string& what, double seconds = 5)
    {
        const int before = count("Unit panel: " + what);
        act();
        return waitForCount("Unit panel: " + what, before + 1, seconds);
    }
    // Selects the one unit named `name` among those in a rectangle of the field.
    bool pickFrom(const std::string& name, double x0, double y0, double x1, double y1)
    {
        const int alone = count("Unit panel: " + name + ", 1 selected");
        drag(x0, y0, x1, y1);
        if (waitForCount("Unit panel: " + name + ", 1 selected", alone + 1, 2))
            return true;
        for (int slot = 1; slot <= 18; ++slot) {
            press("GroupSlot" + std::to_string(slot));
            if (waitForCount("Unit panel: " + name + ", 1 selected", alone + 1, 1))
                return true;
            drag(x0, y0, x1, y1);
        }
        return false;
    }
    // A screenshot with the pointer resting on the top strip, off every crop.
    Picture look()
    {
        moveTo(shot.width * 3 / 10, 20);
        return screenshot();
    }
    // A line of statistics: its label, value and bonus.
    Picture rowOf(const std::string& label)
    {
        const TRect r = where(label);
        return crop(shot, r.x - 2, r.y - 2, 250 * shot.width / 1600, r.h + 4);
    }
    Picture cropOf(const std::string& name, int grow = 2)
    {
        const TRect r = where(name);
        return crop(shot, r.x - grow, r.y - grow, r.w + 2 * grow, r.h + 2 * grow);
    }
};

}  // namespace

TEST_F(GameInterface, BuildTrainCancelResearchAndCastThroughTheScreenAlone)
{
    // The three workers, kept as group 1.
    drag(0.2, 0.25, 0.8, 0.72);
    ASSERT_TRUE(waitForLog("Unit panel: Serf, 3 selected", 5, Launched)) << log();
    key("ctrl+1");
    // Each worker raises one building: the first selected the Barracks, the
    // second (picked from the portraits) the Forge, the third the Chapel.
    press("CommandButton2");
    clickField(0.5, 0.2);
    ASSERT_TRUE(panelAfter([&] { press("GroupSlot2"); }, "Serf, 1 selected")) << log();
    press("CommandButton4");
    clickField(0.2, 0.3);
    ASSERT_TRUE(panelAfter([&] { key("1"); }, "Serf, 3 selected")) << log();
    ASSERT_TRUE(panelAfter([&] { press("GroupSlot3"); }, "Serf, 1 selected")) << log();
    press("CommandButton5");
    clickField(0.8, 0.3);
    // They walk there and build. The Barracks, picked while it rises, says when it is done.
    ASSERT_TRUE(waitForLog("Units: 6", 30, Launched)) << log();
    ASSERT_TRUE(panelAfter([&] { clickField(0.5, 0.2); }, "Barracks")) << log();
    ASSERT_TRUE(waitForLog("Unit panel: Barracks, 1 selected", 40, Launched)) << log();

    // The Barracks trains two Spearmen; the second is cancelled from the queue.
    press("CommandButton1");
    press("CommandButton1");
    shot = look();
    expectLooksLike(cropOf("QueueSlot2"), "QueuedSpearman.png");
    runString("SetText('WorkText', 'Training 00%   (click to cancel)')");
    EXPECT_GT(lightPixels(shot, where("WorkText")), 20) << "no training line";
    press("QueueSlot2");
    shot = look();
    EXPECT_GT(meanDifference(halve(cropOf("QueueSlot2")), readPng(std::string(VRAX_SOURCE_DIR) + "/tests/gl/reference/QueuedSpearman.png")), 12)
        << "the cancelled entry still shows";
    ASSERT_TRUE(waitForLog("Units: 7", 40, Launched)) << log();
    // One came out and nothing waits behind him: the Barracks shows no training.
    shot = look();
    EXPECT_LT(lightPixels(shot, where("WorkText")), 5) << "the cancelled Spearman is still queued";

    // The Forge cannot pay for Banded Mail (wood): the warning comes and goes.
    ASSERT_TRUE(panelAfter([&] { clickField(0.2, 0.3); }, "Forge, 1 selected", 30)) << log();
    const int warned = count("Advice line: Not enough Wood.");
    key("m");
    ASSERT_TRUE(waitForCount("Advice line: Not enough Wood.", warned + 1, 5)) << log();
    shot = look();
    runString("SetText('WarningText', 'Not enough Wood.')");
    expectLooksLike(cropOf("WarningText", 4), "WarningNoWood.png");
    // It goes after two seconds of game time (slower here, at a few frames a second).
    ASSERT_TRUE(waitForLog("Advice line cleared", 40, "Advice line: Not enough Wood.")) << log();
    shot = look();
    EXPECT_LT(lightPixels(shot, where("WarningText")), 10) << "the warning stayed";
    // Tempered Spears it can: E, the card's own key for it.
    key("e");

    // The Spearman's damage shows the upgrade.
    ASSERT_TRUE(pickFrom("Spearman", 0.3, 0.05, 0.7, 0.45)) << log();
    shot = look();
    expectLooksLike(rowOf("DamageLabel"), "SpearmanDamage.png");

    // The Chapel trains the Warden, who casts Stone Skin on the Chapel.
    ASSERT_TRUE(panelAfter([&] { clickField(0.8, 0.3); }, "Chapel, 1 selected", 30)) << log();
    press("CommandButton2");
    ASSERT_TRUE(waitForLog("Units: 8", 40, Launched)) << log();
    ASSERT_TRUE(pickFrom("Warden", 0.6, 0.1, 0.98, 0.5)) << log();
    // His eight spells, Stone Skin sixth with its engine key.
    shot = look();
    expectLooksLike(cropOf("CommandButton6"), "WardenStoneSkin.png");
    press("CommandButton6");
    clickField(0.8, 0.3);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    ASSERT_TRUE(panelAfter([&] { clickField(0.8, 0.3); }, "Chapel, 1 selected")) << log();
    shot = look();
    expectLooksLike(cropOf("Effect1"), "StoneSkinEffect.png");
    expectLooksLike(rowOf("DefenseLabel"), "ChapelDefense.png");

    const std::string text = log();
    EXPECT_EQ(text.find(" Warning:", text.find(Launched)), std::string::npos) << text;
}
