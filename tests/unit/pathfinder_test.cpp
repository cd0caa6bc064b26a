#include "game/pathfinder.h"

#include "../support/PrintCell.h"
#include "../support/TestSupport.h"
#include "shell/FLogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

using namespace testing_support;

namespace {

// Occupancy counts of a grid, as the map keeps them: a cell is free at 0.
class CountGrid : public TOccupancy {
public:
    explicit CountGrid(int width = GridCells, int height = GridCells)
        : width_(width), height_(height), counts_(static_cast<std::size_t>(width) * height, 0)
    {
    }
    bool cellFree(int x, int y) const override { return counts_[static_cast<std::size_t>(x) * height_ + y] == 0; }
    void set(int x, int y, int count) { counts_[static_cast<std::size_t>(x) * height_ + y] = count; }
    void fill(int x0, int y0, int x1, int y1, int count)
    {
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                set(x, y, count);
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<int> counts_;
};

std::vector<TCell> cells(TMyQueue queue)
{
    std::vector<TCell> out;
    while (auto cell = queue.pop())
        out.push_back(*cell);
    return out;
}

std::vector<TCell> plan(Tastar& finder, const CountGrid& grid, int size, TCell start, TCell goal, std::int64_t accept)
{
    return cells(finder.PlanPath(grid, size, start, goal, accept));
}

using Cells = std::vector<TCell>;

}  // namespace

TEST(PathFinder, ReturnsOnlyTheTurningPointsAndStopsWithinRange)
{
    CountGrid grid;
    Tastar finder;
    EXPECT_EQ(plan(finder, grid, 1, {10, 10}, {60, 10}, 0), (Cells{{60, 10}})) << "a straight walk is one waypoint";
    EXPECT_EQ(plan(finder, grid, 1, {10, 10}, {12, 10}, 4), Cells{}) << "already within range";
    EXPECT_EQ(plan(finder, grid, 1, {10, 10}, {12, 10}, 3), (Cells{{11, 10}})) << "first cell within range";

    // An L-shaped corridor: east along y = 10, then north along x = 30.
    grid.fill(0, 0, 479, 479, 1);
    grid.fill(10, 10, 30, 10, 0);
    grid.fill(30, 10, 30, 30, 0);
    EXPECT_EQ(plan(finder, grid, 1, {10, 10}, {30, 30}, 0), (Cells{{30, 10}, {30, 30}}));
    EXPECT_EQ(plan(finder, grid, 1, {30, 30}, {10, 10}, 0), (Cells{{30, 10}, {10, 10}})) << "and back";
}

TEST(PathFinder, UnreachableGoalLeadsToTheNearestCellFoundFirst)
{
    CountGrid grid;
    Tastar finder;
    // The goal's eight neighbours are taken; of the four free cells two steps
    // from it, the one on the side of the approach is found first.
    grid.fill(49, 49, 51, 51, 1);
    grid.set(50, 50, 0);
    const Cells path = plan(finder, grid, 1, {30, 50}, {50, 50}, 0);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), (TCell{48, 50}));
    EXPECT_EQ(plan(finder, grid, 1, {80, 50}, {50, 50}, 0).back(), (TCell{52, 50}));

    // Shut in: no step brings the walker nearer, so no path at all.
    grid.fill(99, 99, 101, 101, 1);
    grid.set(100, 100, 0);
    EXPECT_EQ(plan(finder, grid, 1, {100, 100}, {300, 300}, 0), Cells{});
}

TEST(PathFinder, WalledInGoalEndsTheSearchEarlyAtTheNearestCell)
{
    CountGrid grid;
    Tastar finder;
    // A ring two cells thick around a free pocket: the goal in the pocket
    // has room but no way in, as a target deep in a crowd.
    grid.fill(195, 195, 205, 205, 1);
    grid.fill(197, 197, 203, 203, 0);
    const Cells path = plan(finder, grid, 1, {100, 200}, {200, 200}, 0);
    EXPECT_TRUE(finder.lastSearch().unreachable);
    EXPECT_LE(finder.lastSearch().expanded, 2 * Tastar::ReachCheckAfter) << "no flood of the whole map";
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), (TCell{194, 200})) << "still as near as it can get";

    // A size-4 walker needs five free cells across: a pocket of four has no room.
    grid.fill(300, 300, 310, 310, 1);
    grid.fill(304, 304, 307, 307, 0);
    EXPECT_EQ(plan(finder, grid, 4, {200, 100}, {305, 305}, 2).back(), (TCell{305, 297})) << "its edge one short of the ring";
    EXPECT_TRUE(finder.lastSearch().unreachable);

    // A long detour that truly leads there is searched to its end: a wall
    // across the map with its only gap at the far end.
    grid.fill(240, 0, 240, 470, 1);
    EXPECT_EQ(plan(finder, grid, 1, {200, 100}, {280, 100}, 0).back(), (TCell{280, 100}));
    EXPECT_GT(finder.lastSearch().expanded, Tastar::ReachCheckAfter);
    EXPECT_FALSE(finder.lastSearch().unreachable);
}

TEST(PathFinder, FootprintNeedsTheStripAheadOfItsLeadingEdge)
{
    CountGrid grid;
    Tenv env{GridCells, GridCells, 4, &grid};
    // Size 4 (half 2) at (10, 10) stepping east tests x = 13 for y = 8..12.
    for (int y = 8; y <= 12; ++y) {
        grid.set(13, y, 1);
        EXPECT_FALSE(CanStep(env, {10, 10}, {11, 10})) << y;
        grid.set(13, y, 0);
    }
    grid.set(13, 13, 1);
    grid.set(13, 7, 1);
    EXPECT_TRUE(CanStep(env, {10, 10}, {11, 10})) << "outside the strip";
    EXPECT_FALSE(CanStep(env, {10, 10}, {11, 11})) << "a diagonal step also needs the corner";
    EXPECT_TRUE(CanStep(env, {10, 10}, {10, 11}));
    grid.fill(13, 7, 13, 13, 0);

    // The map's edge: the probe must stay on the grid, and a footprint
    // already over the edge may step back onto the map but not along it.
    EXPECT_TRUE(CanStep(env, {3, 100}, {2, 100}));
    EXPECT_FALSE(CanStep(env, {2, 100}, {1, 100}));
    EXPECT_FALSE(CanStep(env, {1, 100}, {1, 101}));
    EXPECT_TRUE(CanStep(env, {1, 100}, {2, 100}));

    // A negative size from a bad definition is a one-cell walker, not a ghost.
    env.size = -5;
    grid.set(11, 10, 1);
    EXPECT_FALSE(CanStep(env, {10, 10}, {11, 10}));
    EXPECT_TRUE(CanStep(env, {10, 10}, {10, 11}));
    grid.set(11, 10, 0);
    env.size = 4;

    // A wall at x = 100 with a gap: five cells let a size-4 walker through, four do not.
    Tastar finder;
    grid.fill(100, 0, 100, 479, 1);
    grid.fill(100, 200, 100, 204, 0);
    EXPECT_EQ(plan(finder, grid, 4, {90, 202}, {110, 202}, 0).back(), (TCell{110, 202}));
    EXPECT_EQ(plan(finder, grid, 1, {90, 202}, {110, 202}, 0).back(), (TCell{110, 202}));
    grid.set(100, 204, 1);
    const Cells blocked = plan(finder, grid, 4, {90, 202}, {110, 202}, 0);
    ASSERT_FALSE(blocked.empty());
    EXPECT_LT(blocked.back().x, 100) << "stays on its own side";
    EXPECT_EQ(plan(finder, grid, 3, {90, 202}, {110, 202}, 0).back(), (TCell{110, 202})) << "size 3 needs only three";
}

TEST(PathFinder, SearchesForgetEachOtherAlsoWhenTheStampsStartAgain)
{
    CountGrid grid(64, 64);
    grid.fill(20, 0, 20, 50, 1);
    grid.fill(40, 13, 40, 63, 1);
    Tastar fresh(64, 64);
    const Cells there = plan(fresh, grid, 1, {5, 5}, {60, 60}, 0);
    Tastar fresh2(64, 64);
    const Cells back = plan(fresh2, grid, 1, {60, 60}, {5, 5}, 0);
    ASSERT_FALSE(there.empty());
    ASSERT_EQ(there.back(), (TCell{60, 60}));

    Tastar reused(64, 64);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plan(reused, grid, 1, {5, 5}, {60, 60}, 0), there);
        EXPECT_EQ(plan(reused, grid, 1, {60, 60}, {5, 5}, 0), back);
    }

    reused.setOpenStamp(Tastar::StampLimit - 3);
    EXPECT_EQ(plan(reused, grid, 1, {5, 5}, {60, 60}, 0), there);
    EXPECT_EQ(reused.openStamp(), Tastar::StampLimit - 1);
    EXPECT_EQ(plan(reused, grid, 1, {60, 60}, {5, 5}, 0), back);
    EXPECT_EQ(reused.openStamp(), 1) << "every stamp reset";
    EXPECT_EQ(plan(reused, grid, 1, {5, 5}, {60, 60}, 0), there);
    EXPECT_EQ(reused.openStamp(), 3);
}

TEST(PathFinder, FullOpenSetRefusesNodesAndTheSearchStillEnds)
{
    // An 8 x 8 grid keeps at most eight open nodes; a goal off the grid makes
    // the search flood it.
    CountGrid grid(8, 8);
    Tastar finder(8, 8);
    const Cells path = plan(finder, grid, 1, {0, 0}, {100, 100}, 0);
    EXPECT_GT(finder.lastSearch().refused, 0);
    EXPECT_LT(finder.lastSearch().expanded, 64) << "refused nodes are never expanded";
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), (TCell{7, 7}));
}

TEST(PathFinder, CellsFromAnywhereAreHarmless)
{
    ScratchDir dir;
    startLog();
    CountGrid grid;
    Tastar finder;
    EXPECT_EQ(plan(finder, grid, 1, {-1, 5}, {10, 10}, 0), Cells{});
    EXPECT_EQ(plan(finder, grid, 1, {480, 5}, {10, 10}, 0), Cells{});
    // A far goal still draws the walker towards it, to the grid's corner.
    EXPECT_EQ(plan(finder, grid, 1, {470, 470}, {INT_MAX, INT_MAX}, 0).back(), (TCell{479, 479}));
    EXPECT_EQ(plan(finder, grid, 1, {10, 470}, {INT_MIN, 470}, 0).back(), (TCell{0, 470}));
    // One line per refused axis of the start, not one per cell searched.
    const std::vector<std::string> lines = readLines("Logs/log.txt");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find("Debug: Integer Overflow ! ") != std::string::npos; }),
              3);
}

TEST(CellMath, SquaresRefuseWhatLeavesInt32)
{
    ScratchDir dir;
    startLog();
    EXPECT_EQ(SquareInt(46340), 2147395600);
    EXPECT_EQ(SquareInt(-46340), 2147395600);
    EXPECT_EQ(SquareInt(46341), 1);
    EXPECT_EQ(SquareInt(INT_MIN), 1);
    EXPECT_EQ(CellDistanceSquared({0, 0}, {3, -4}), 25);
    EXPECT_EQ(CellDistanceSquared({-46340, 0}, {0, 46340}), 2LL * 2147395600);
    EXPECT_EQ(CellDistanceSquared({INT_MIN, 0}, {INT_MAX, 2}), 5);
    const std::vector<std::string> lines = readLines("Logs/log.txt");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[1].find("Debug: Integer Overflow ! 46341\r"), std::string::npos);
    EXPECT_NE(lines[2].find("Debug: Integer Overflow ! -2147483648\r"), std::string::npos);
    EXPECT_NE(lines[3].find("Debug: Integer Overflow ! 4294967295\r"), std::string::npos);
}

TEST(WaypointQueue, FirstInFirstOutWithinItsCapacity)
{
    TMyQueue queue(20);
    EXPECT_EQ(queue.pop(), std::nullopt);
    EXPECT_EQ(queue.peek(), nullptr);
    // Wrap the ring around several times while it grows.
    int next = 0;
    int expected = 0;
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 3 + round * 3 && queue.count() < queue.capacity(); ++i, ++next)
            ASSERT_TRUE(queue.push({next, -next}));
        for (int i = 0; i < 5 && !queue.empty(); ++i, ++expected) {
            ASSERT_EQ(queue.peek()->x, expected);
            EXPECT_EQ(queue.pop(), (TCell{expected, -expected}));
        }
    }
    for (; queue.count() < 20; ++next)
        queue.push({next, -next});
    EXPECT_FALSE(queue.push({999, 999})) << "full";
    for (; auto cell = queue.pop(); ++expected)
        EXPECT_EQ(*cell, (TCell{expected, -expected}));
    EXPECT_EQ(expected, next);
}
