// Reading scenario files for vrax-sim: every command in its long and short
// forms, and a file full of mistakes that reports each one by line and keeps
// the good lines.
#include "Scenario.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

Scenario read(const std::string& text)
{
    std::istringstream in(text);
    return ReadScenario(in);
}

}  // namespace

TEST(Scenario, ReadsEveryCommand)
{
    const Scenario s = read("# two bands\n"
                            "seed 7\n"
                            "player 2 host\n"
                            "map Maps/Welcome.vrax   # with its stones\n"
                            "\n"
                            "place 20 Spearman for 1 at 100 110 as spears\n"
                            "place \"Standing Stone\" for 2 at 0 479\n"
                            "order spears move 300 310\n"
                            "QUEUE all of 1 attack-move 1 2\n"
                            "order Raider of 2 attack spears\n"
                            "order spears follow all of 2\n"
                            "queue spears patrol 5 6\n"
                            "order spears stop\n"
                            "order spears hold\n"
                            "run 3000 until won\n"
                            "run 10\n"
                            "print\n"
                            "show Spearman of 1\n");
    ASSERT_TRUE(s.errors.empty()) << s.errors.front();
    ASSERT_EQ(s.steps.size(), 16u);
    EXPECT_EQ(s.steps[0].kind, StepKind::Seed);
    EXPECT_EQ(s.steps[0].number, 7);
    EXPECT_EQ(s.steps[0].line, 2);
    EXPECT_EQ(s.steps[1].kind, StepKind::Player);
    EXPECT_EQ(s.steps[1].number, 2);
    EXPECT_EQ(s.steps[2].text, "Maps/Welcome.vrax");

    const ScenarioStep& spears = s.steps[3];
    EXPECT_EQ(spears.kind, StepKind::Place);
    EXPECT_EQ(spears.number, 20);
    EXPECT_EQ(spears.text, "Spearman");
    EXPECT_EQ(spears.player, 1);
    EXPECT_EQ(spears.x, 100);
    EXPECT_EQ(spears.y, 110);
    EXPECT_EQ(spears.label, "spears");
    EXPECT_EQ(s.steps[4].number, 1);
    EXPECT_EQ(s.steps[4].text, "Standing Stone");
    EXPECT_EQ(TypeNameKey("standing-STONE"), TypeNameKey(s.steps[4].text));

    EXPECT_EQ(s.steps[5].kind, StepKind::Order);
    EXPECT_EQ(s.steps[5].who.label, "spears");
    EXPECT_EQ(s.steps[5].order, SimOrder::Move);
    EXPECT_EQ(s.steps[5].x, 300);
    EXPECT_EQ(s.steps[6].kind, StepKind::Queue);
    EXPECT_EQ(s.steps[6].order, SimOrder::AttackMove);
    EXPECT_TRUE(s.steps[6].who.typeName.empty());
    EXPECT_EQ(s.steps[6].who.player, 1);
    EXPECT_EQ(s.steps[7].who.typeName, "Raider");
    EXPECT_EQ(s.steps[7].who.player, 2);
    EXPECT_EQ(s.steps[7].order, SimOrder::Attack);
    EXPECT_EQ(s.steps[7].target.label, "spears");
    EXPECT_EQ(s.steps[8].order, SimOrder::Follow);
    EXPECT_EQ(s.steps[8].target.player, 2);
    EXPECT_EQ(s.steps[9].order, SimOrder::Patrol);
    EXPECT_EQ(s.steps[10].order, SimOrder::Stop);
    EXPECT_EQ(s.steps[11].order, SimOrder::Hold);
    EXPECT_TRUE(s.steps[12].untilWon);
    EXPECT_EQ(s.steps[12].number, 3000);
    EXPECT_FALSE(s.steps[13].untilWon);
    EXPECT_EQ(s.steps[14].kind, StepKind::Print);
    EXPECT_EQ(s.steps[15].kind, StepKind::Show);
    EXPECT_EQ(s.steps[15].who.typeName, "Spearman");
}

TEST(Scenario, ReportsEachBadLineAndKeepsTheRest)
{
    const Scenario s = read("seed seven\n"
                            "place 0 Spearman for 1 at 1 1\n"
                            "place Spearman for 9 at 1 1\n"
                            "place Spearman for 1 at 480 1\n"
                            "place Spearman for 1 at 1\n"
                            "place \"Standing Stone for 1 at 1 1\n"
                            "order all move 1 1\n"
                            "order all of 1 dance\n"
                            "run 10 until lost\n"
                            "run 10 20\n"
                            "player 1 client\n"
                            "fly away\n"
                            "run 5\n");
    ASSERT_EQ(s.steps.size(), 1u);
    EXPECT_EQ(s.steps[0].line, 13);
    const std::vector<std::string> expected = {
        "line 1: expected a seed as a whole number, found \"seven\"",
        "line 2: a count of 0 is not between 1 and 5000",
        "line 3: a player number 9 is not between 1 and 8",
        "line 4: a cell x 480 is not between 0 and 479",
        "line 5: expected a cell y at the end of the line",
        "line 6: a quoted name has no closing quote",
        "line 7: \"all\" needs a player: \"all of 1\"",
        "line 8: unknown order \"dance\" (move, attack-move, patrol, stop, hold, attack, follow, enter, leave)",
        "line 9: expected \"won\", found \"lost\"",
        "line 10: unexpected \"20\" at the end of the line",
        "line 11: vrax-sim plays the host: write \"player N host\"",
        "line 12: unknown command \"fly\" (seed, player, map, place, order, queue, run, print, show, build, train, "
        "cast, research, hurt, stats, state)",
    };
    EXPECT_EQ(s.errors, expected);

    const Scenario missing = ReadScenarioFile("no/such/scenario.sim");
    ASSERT_EQ(missing.errors.size(), 1u);
    EXPECT_EQ(missing.errors[0], "cannot open the scenario \"no/such/scenario.sim\"");
}
