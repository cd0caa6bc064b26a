// The economy, magic and missile examples shipped in content/Scenarios,
// played on the shipped data and held to what their comments promise; and
// the scenario steps that drive them, on data written here.
#include "../support/TestSupport.h"
#include "Scenario.h"
#include "ScenarioRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

using namespace testing_support;

namespace {

std::string withoutTiming(const std::string& text)
{
    std::istringstream in(text);
    std::string line, kept;
    while (std::getline(in, line))
        if (line.rfind("timing: ", 0) != 0)
            kept += line + "\n";
    return kept;
}

class ShippedScenario : public ::testing::Test {
protected:
    ScratchDir dir;
    const std::filesystem::path content = std::filesystem::path(VRAX_SOURCE_DIR) / "content";

    void SetUp() override
    {
        std::filesystem::create_directory_symlink(content / "Data", "Data");
        std::filesystem::create_directory_symlink(content / "Maps", "Maps");
    }
    std::string play(const char* name)
    {
        std::ostringstream out, err;
        const int status = PlayScenario(ReadScenarioFile((content / "Scenarios" / name).string()), out, err);
        EXPECT_EQ(status, 0) << name << ": " << err.str();
        EXPECT_EQ(err.str(), "") << name;
        return withoutTiming(out.str());
    }
    static bool has(const std::string& text, const std::string& pattern)
    {
        return std::regex_search(text, std::regex(pattern));
    }
};

TEST_F(ShippedScenario, AWorkerBuildsABarracksThatTrainsTwoSpearmenAndThreeWorkersMineGold)
{
    const std::string built = play("BuildAndTrain.sim");
    EXPECT_TRUE(has(built, "Barracks 1: 1200/1200 hp")) << built;
    EXPECT_TRUE(has(built, "player 1: gold 2154, wood 0")) << built;
    EXPECT_TRUE(has(built, "Serf x1: 220\n  Spearman x2: 420 420\n  Barracks x1: 1200\n")) << built;
    EXPECT_TRUE(has(built, "\nplayer 1: 4 units, 2260 hp; gold 2154, wood 0\n")) << "the summary's purse: " << built;
    EXPECT_EQ(play("BuildAndTrain.sim"), built);

    const std::string mined = play("MineGold.sim");
    EXPECT_TRUE(has(mined, "Mine Shaft 0: 1000/1000 hp.*; 3 inside")) << mined;
    // 20 s: 20 gold by itself and about 18 s of three miners at 3 a second.
    std::smatch gold;
    ASSERT_TRUE(std::regex_search(mined, gold, std::regex("player 1: gold (\\d+)"))) << mined;
    EXPECT_GE(std::stoi(gold[1]), 2500 + 20 + 3 * 3 * 17);
    EXPECT_LE(std::stoi(gold[1]), 2500 + 20 + 3 * 3 * 20);
    EXPECT_TRUE(has(mined, "\nplayer 1: 5 units, 1880 hp; gold " + gold[1].str() + ", wood 0\n")) << mined;
}

TEST_F(ShippedScenario, BattleCryWearsOffAndTheAuraHealsTheSoldiersAroundTheHero)
{
    const std::string cry = play("BattleCry.sim");
    EXPECT_TRUE(has(cry, "tick 0, line 13: stats\n  Warden 0: 700/700 hp, 150 mp, damage 24, defense 4, speed 7; "
                         "Healing Aura -1\n")) << cry;
    EXPECT_TRUE(has(cry, "line 15: stats\n  Warden 0: 700/700 hp, 90 mp, damage 28, defense 4, speed 8; "
                         "Healing Aura -1, Battle Cry 1000\n")) << cry;
    EXPECT_TRUE(has(cry, "tick 1100, line 21: stats\n  Warden 0: .* damage 24, defense 4, speed 7; Healing Aura -1\n"))
        << cry;
    // Five periods of 3 and eleven seconds of regeneration for the near ones; regeneration alone for the far one.
    EXPECT_TRUE(has(cry, "tick 1100, line 22: stats\n  Spearman 1: 346/420 hp.*\n  Spearman 2: 346/420 hp")) << cry;
    EXPECT_TRUE(has(cry, "tick 1100, line 23: stats\n  Spearman 3: 331/420 hp")) << cry;
}

TEST_F(ShippedScenario, BowmenShootLeadingArrowsAndAnUpgradeReachesUnitsTrainedLater)
{
    const std::string arrows = play("Archers.sim");
    EXPECT_TRUE(has(arrows, "tick 250, state\n(.*\n)*  missiles in flight: [1-9]")) << arrows;
    EXPECT_TRUE(has(arrows, "player 1: [1-9]\\d* units?, .*\n  Bowman x")) << arrows;
    // Wood comes from the dead, to every player.
    EXPECT_TRUE(has(arrows, "player 2: 0 units; gold 25\\d\\d, wood [1-9]\\d*\n")) << arrows;
    EXPECT_EQ(play("Archers.sim"), arrows);

    const std::string upgraded = play("Upgrade.sim");
    EXPECT_TRUE(has(upgraded, "research Tempered Spears for player 1: refused\n  warning: Not enough Wood.\n"))
        << upgraded;
    EXPECT_TRUE(has(upgraded, "research Tempered Spears for player 1: done\n")) << upgraded;
    EXPECT_TRUE(has(upgraded, "Spearman 2: 420/420 hp, 0 mp, damage 15.*\n  Spearman 5: 420/420 hp, 0 mp, damage 15"))
        << upgraded;
    EXPECT_TRUE(has(upgraded, "player 1: gold 2251, wood 0\n")) << upgraded;
    EXPECT_TRUE(has(upgraded, "\nplayer 1: 4 units, 2940 hp; gold 2251, wood 0\n")) << upgraded;
}

TEST(ScenarioSteps, MistakesInTheEconomyStepsAreListed)
{
    ScratchDir dir;
    std::filesystem::create_directories("Data");
    writeFile("Data/abilities.xml", "<abilities/>\n");
    writeFile("Data/upgrades.xml", "<upgrades/>\n");
    writeFile("Data/units.xml", "<units><unit><id>1</id><name>Peon</name><type>Infrantry</type></unit></units>\n");
    std::istringstream in("place Peon for 1 at 10 10 as p\n"
                          "build Castle for 1 at 20 20 by p\n"
                          "train 7 Peon at p\n"
                          "research Swords for 1\n"
                          "cast nobody 1\n"
                          "train Peon at p\n");
    std::ostringstream out, err;
    EXPECT_EQ(PlayScenario(ReadScenario(in), out, err), 2);
    EXPECT_EQ(err.str(), "line 3: a count of 7 is not between 1 and 6 (a queue holds six)\n"
                         "line 2: no unit type is named \"Castle\" in Data/units.xml\n"
                         "line 4: no upgrade is named \"Swords\" in Data/upgrades.xml\n"
                         "line 5: no band is named \"nobody\" before this line\n");
}

}  // namespace
