// vrax-sim's scenarios played to the end: a battle on data written here with
// its exact outcome, the same through the built program, and every example
// shipped in content/Scenarios on the shipped data, held to what its
// comment promises.
#include "../support/TestSupport.h"
#include "Scenario.h"
#include "ScenarioRun.h"
#include "game/FUnitLoad.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

using namespace testing_support;

namespace {

std::string unitXml(const std::string& name, const std::string& type, int hp, int damage, int defense, int size,
                    bool building)
{
    return "<unit><id>" + std::to_string(hp) + "</id><name>" + name + "</name><type>" + type + "</type>" +
           "<hp>" + std::to_string(hp) + "</hp><damage>" + std::to_string(damage) + "</damage>" +
           "<defense>" + std::to_string(defense) + "</defense><size>" + std::to_string(size) + "</size>" +
           "<speed>" + (building ? "0" : "6") + "</speed><atk_speed>1500</atk_speed><atk_range>1</atk_range>" +
           "<hpregen>0</hpregen><aggressivity>aggressive</aggressivity>" +
           "<isbuilding>" + (building ? "true" : "false") + "</isbuilding></unit>\n";
}

// A game folder holding two soldier types and a wall, nothing to draw.
void writeSmallData()
{
    std::filesystem::create_directories("Data");
    writeFile("Data/abilities.xml", "<abilities/>\n");
    writeFile("Data/upgrades.xml", "<upgrades/>\n");
    writeFile("Data/units.xml", "<units>\n" + unitXml("Footman", "Infrantry", 300, 12, 2, 4, false) +
                                    unitXml("Brute", "Infrantry", 420, 18, 0, 4, false) +
                                    unitXml("Wall Tower", "Building", 900, 0, 4, 8, true) + "</units>\n");
}

struct Played {
    int status = -1;
    std::string out;  // without the timing lines
    std::string err;
    std::string timing;
};

std::string withoutTiming(const std::string& text, std::string* timing = nullptr)
{
    std::istringstream in(text);
    std::string line, kept;
    while (std::getline(in, line)) {
        if (line.rfind("timing: ", 0) == 0) {
            if (timing)
                *timing = line;
            continue;
        }
        kept += line + "\n";
    }
    return kept;
}

Played play(const std::string& text)
{
    std::istringstream in(text);
    std::ostringstream out, err;
    Played p;
    p.status = PlayScenario(ReadScenario(in), out, err);
    p.out = withoutTiming(out.str(), &p.timing);
    p.err = err.str();
    return p;
}

const char* const Skirmish = "seed 3\n"
                             "place 6 Footman for 1 at 100 100 as foot\n"
                             "place 4 Brute for 2 at 140 100 as brutes\n"
                             "place \"Wall Tower\" for 1 at 100 130\n"
                             "order foot move 118 100\n"
                             "order brutes move 122 100\n"
                             "run 20000 until won\n";

}  // namespace

TEST(Scenarios, ASkirmishEndsTheSameWayEveryTime)
{
    ScratchDir dir;
    writeSmallData();
    const Played first = play(Skirmish);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    // Every player earns 0.01 gold a tick and a wood for each unit that died
    // before the last tick: the last Brute's pays at the next.
    EXPECT_EQ(first.out, "tick 5462\n"
                         "player 1: 4 units, 1506 hp; gold 2554, wood 6\n"
                         "  Footman x3: 300 160 146\n"
                         "  Wall Tower x1: 900\n"
                         "player 2: 0 units; gold 2554, wood 6\n");
    EXPECT_TRUE(std::regex_match(first.timing, std::regex(R"(timing: 5462 ticks in [0-9.]+ s \([0-9.]+ s of CPU\), [0-9]+ ticks/s)")))
        << first.timing;
    EXPECT_EQ(play(Skirmish).out, first.out);

    // The same armies without "until won" and with a look in the middle; all
    // seven dead have paid their wood, whoever killed them and when.
    const Played longer = play(std::string(Skirmish) + "order foot move 100 100\nrun 600\nshow foot\n");
    EXPECT_EQ(longer.out, "tick 6062, line 10: show\n"
                          "  Footman 0 at 94 104, 146 hp: idle, standing\n"
                          "  Footman 1 at 95 99, 160 hp: idle, standing\n"
                          "  Footman 3 at 100 102, 300 hp: idle, standing\n"
                          "tick 6062\n"
                          "player 1: 4 units, 1506 hp; gold 2560, wood 7\n"
                          "  Footman x3: 300 160 146\n"
                          "  Wall Tower x1: 900\n"
                          "player 2: 0 units; gold 2560, wood 7\n");
}

TEST(Scenarios, MistakesAreListedAndNothingIsPlayed)
{
    ScratchDir dir;
    writeSmallData();
    const Played p = play("place 3 Knight for 1 at 10 10\n"
                          "place 3 Footman for 1 at 1 1 as corner\n"
                          "order archers move 5 5\n"
                          "order Footman of 1 attack Brute of 2\n"
                          "run ten\n"
                          "map Maps/Nowhere.vrax\n"
                          "player 2 host\n");
    EXPECT_EQ(p.status, 2);
    EXPECT_EQ(p.out, "");
    EXPECT_EQ(p.err, "line 5: expected a number of ticks as a whole number, found \"ten\"\n"
                     "line 1: no unit type is named \"Knight\" in Data/units.xml\n"
                     "line 2: the block of 3 Footman around 1 1 does not fit on the map\n"
                     "line 3: no band is named \"archers\" before this line\n"
                     "line 6: no map file \"Maps/Nowhere.vrax\" in the game folder\n"
                     "line 7: \"player\" must come before the map, units, orders and runs\n");

    // An order to nobody is noted and the scenario goes on.
    const Played empty = play("place Footman for 1 at 50 50\norder Brute of 2 move 5 5\nrun 1\n");
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.err, "line 2: no unit left to take the order; skipped\n");
}

TEST(Scenarios, TheProgramPlaysFromItsGameFolder)
{
    ScratchDir dir;
    writeSmallData();
    writeFile("skirmish.sim", Skirmish);
    writeFile("bad.sim", "fly away\n");
    const std::string sim = std::string(VRAX_BINARY_DIR) + "/tools/sim/vrax-sim";
    std::filesystem::create_directory("elsewhere");
    const std::string out = capture("cd elsewhere && " + sim + " --game .. ../skirmish.sim 2>&1");
    EXPECT_EQ(withoutTiming(out), play(Skirmish).out);
    EXPECT_EQ(run(sim + " --game . bad.sim 2>err.txt"), 2);
    EXPECT_EQ(readFile("err.txt"), "line 1: unknown command \"fly\" (seed, player, map, place, order, queue, run, "
                                   "print, show, build, train, cast, research, hurt, stats, state)\n");
    EXPECT_EQ(run(sim + " 2>/dev/null"), 2);
}

// The shipped examples on the shipped data: what each comment promises.
TEST(Scenarios, ShippedExamplesDoWhatTheySay)
{
    ScratchDir dir;
    const std::filesystem::path content = std::filesystem::path(VRAX_SOURCE_DIR) / "content";
    std::filesystem::create_directory_symlink(content / "Data", "Data");
    std::filesystem::create_directory_symlink(content / "Maps", "Maps");
    auto playFile = [&](const char* name) {
        std::ostringstream out, err;
        const int status = PlayScenario(ReadScenarioFile((content / "Scenarios" / name).string()), out, err);
        EXPECT_EQ(status, 0) << name << ": " << err.str();
        return withoutTiming(out.str());
    };

    const std::string armies = playFile("TwoArmies.sim");
    EXPECT_TRUE(std::regex_search(armies, std::regex("player 1: [1-9][0-9]* units")) !=
                std::regex_search(armies, std::regex("player 2: [1-9][0-9]* units")))
        << "one side is left standing:\n" << armies;
    EXPECT_EQ(playFile("TwoArmies.sim"), armies);
    // The outcome its comment gives; a change to units.xml that tips it means a new comment.
    EXPECT_TRUE(std::regex_search(armies, std::regex("^tick 11196\n(.*\n)*player 2: 5 units, .*\n"
                                                     "  Raider x5: 400 400 400 19\\d 19\\d\n")))
        << armies;

    const std::string worker = playFile("WorkerAroundBuilding.sim");
    EXPECT_NE(worker.find("tick 300, line 14: show\n  Serf 1 at 189 210, 220 hp: move to 230 200, walking"),
              std::string::npos) << worker;
    EXPECT_NE(worker.find("Serf 1 at 230 200, 220 hp: idle, standing"), std::string::npos) << worker;

    const std::string column = playFile("Formation.sim");
    const std::regex member(R"(Spearman \d+ at (\d+) (\d+), 420 hp: idle, standing)");
    int members = 0;
    for (auto m = std::sregex_iterator(column.begin(), column.end(), member); m != std::sregex_iterator(); ++m) {
        ++members;
        EXPECT_LE(std::abs(std::stoi((*m)[1]) - 400), 15) << m->str();
        EXPECT_LE(std::abs(std::stoi((*m)[2]) - 400), 15) << m->str();
    }
    EXPECT_EQ(members, 12) << column;

    const std::string patrol = playFile("Patrol.sim");
    const std::regex leg(R"(Bowman 0 at (\d+) 300, 280 hp: patrol to (100|140) 300, walking)");
    int legs = 0;
    for (auto m = std::sregex_iterator(patrol.begin(), patrol.end(), leg); m != std::sregex_iterator(); ++m) {
        ++legs;
        EXPECT_GE(std::stoi((*m)[1]), 100);
        EXPECT_LE(std::stoi((*m)[1]), 140);
    }
    EXPECT_EQ(legs, 4) << patrol;
}
