// The occupancy grid at its edges, and map files: start positions per slot,
// placed units with numbers of their own, comments and broken lines.
#include "world/Fmap.h"

#include "../support/GameSupport.h"
#include "world/FLoadMap.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

int occupied(const Tmap& map)
{
    int n = 0;
    for (int x = 0; x < MapCells; ++x)
        for (int y = 0; y < MapCells; ++y)
            n += map.at(x, y).occupancy;
    return n;
}

TEST(OccupancyGrid, FootprintsAtTheEdgeMarkWhatLiesOnTheGridAndLogTheRest)
{
    GameTest t;
    TUnitAttributes post = soldierType("Post");
    post.size = 3;
    post.isBuilding = true;
    TUnit& corner = CreateUnit(t.game, typeAt(addType(post)), 0, 0, 1, 7);
    EXPECT_EQ(occupied(t.game.map), 4);
    for (int x = 0; x <= 1; ++x)
        for (int y = 0; y <= 1; ++y)
            EXPECT_EQ(t.game.map.at(x, y).occupant, &corner);
    int offGrid = 0;
    for (const std::string& line : readLines("Logs/log.txt"))
        offGrid += line.find("is going outside the map ! (") != std::string::npos;
    EXPECT_EQ(offGrid, 5);
    EXPECT_TRUE(t.logHas("is going outside the map ! (-1 / -1)"));

    // The placement test refuses what leaves the grid; the inside test only looks at the low corner.
    EXPECT_FALSE(IsFootprintFree(t.game.map, 3, 0, 5));
    EXPECT_TRUE(IsFootprintFree(t.game.map, 3, 1, 5));
    EXPECT_TRUE(IsFootprintFree(t.game.map, 4, 478, 10));
    EXPECT_FALSE(IsFootprintFree(t.game.map, 4, 479, 10));
    EXPECT_TRUE(IsFootprintInside(4, 479, 479));
    EXPECT_FALSE(IsFootprintInside(4, 1, 10));
    EXPECT_TRUE(IsFootprintFree(t.game.map, 0, 479, 0));
    EXPECT_FALSE(IsFootprintFree(t.game.map, 0, 480, 0));
}

TEST(OccupancyGrid, OverlappingFootprintsCountEachOtherAndReleaseOnlyTheirOwn)
{
    GameTest t;
    TUnitAttributes tower = soldierType("Tower");
    tower.isBuilding = true;
    const int type = addType(tower);
    TUnit& a = CreateUnit(t.game, typeAt(type), 10 * 16, 10 * 16, 1, 1);
    for (int x = 8; x <= 11; ++x)
        for (int y = 8; y <= 11; ++y)
            EXPECT_EQ(t.game.map.at(x, y).occupancy, 1) << x << "," << y;
    EXPECT_EQ(occupied(t.game.map), 16);
    EXPECT_FALSE(IsFootprintFree(t.game.map, 4, 13, 13));
    EXPECT_TRUE(IsFootprintFree(t.game.map, 4, 14, 14));

    TUnit& b = CreateUnit(t.game, typeAt(type), 11 * 16, 11 * 16, 1, 2);
    EXPECT_EQ(t.game.map.at(10, 10).occupancy, 2);
    EXPECT_EQ(t.game.map.at(10, 10).occupant, &b);
    UnmarkFootprint(t.game.map, b);
    EXPECT_EQ(t.game.map.at(10, 10).occupancy, 1);
    EXPECT_EQ(t.game.map.at(10, 10).occupant, nullptr);
    EXPECT_EQ(t.game.map.at(8, 8).occupant, &a);
}

class MapFile : public ::testing::Test {
protected:
    GameTest t;
    RecordingLink link;
    int worker = 0, drudge = 0, stone = 0;
    void SetUp() override
    {
        // Indices 0..19 as the roster has them: 1 the host's worker, 10 the joiner's, 12 a stone.
        for (int i = 0; i < 20; ++i) {
            TUnitAttributes type = soldierType("Type" + std::to_string(i));
            type.size = 2;
            if (i == 12) {
                type.isBuilding = true;
                type.size = 8;
            }
            addType(type);
        }
        worker = 1;
        drudge = 10;
        stone = 12;
        t.game.link = &link;
    }
};

TEST_F(MapFile, StartPositionsPlacedUnitsCommentsAndBrokenLines)
{
    writeFile("Maps/Test.vrax",
              "# a comment\n"
              "0 120 120 host\n"
              "3 20 30\n"
              "\n"
              "   # an indented comment\n"
              "12 20 30 a stone\n"
              "12 100 100\n"
              "not a record\n"
              "5 6\n"
              "40 10 10\n"
              "12 900 900\n"
              "7 -4 2\n");
    ASSERT_TRUE(LoadMapFile(t.game, "Maps/Test.vrax"));
    ASSERT_EQ(t.game.startPositions.size(), 2u);
    EXPECT_EQ(t.game.startPositions[1], (TCell{20, 30}));

    ASSERT_EQ(t.game.units.size(), 2u);
    const TUnit& first = *t.game.units[0];
    EXPECT_EQ(first.unitType, &typeAt(stone));
    EXPECT_EQ(first.position[0], (20 * 16 + 8) * 10000);
    EXPECT_EQ(first.cellY, 30);
    EXPECT_EQ(first.teamColor[0], 5451);
    EXPECT_EQ(first.teamColor[1], 2706);
    EXPECT_EQ(first.teamColor[2], 745);
    // Numbers below -1 that no host id reaches, the same on every machine; nobody owns the stones.
    EXPECT_EQ(first.unitNumber, -2);
    EXPECT_EQ(t.game.units[1]->unitNumber, -3);
    EXPECT_EQ(first.owner, NeutralOwner);
    EXPECT_EQ(t.game.localPlayerRecord().unitCount, 0);

    EXPECT_FALSE(t.logHas("comment"));
    EXPECT_TRUE(t.logHas("Map line 8 skipped: not a record"));
    EXPECT_TRUE(t.logHas("Map line 9 skipped: 5 6"));
    EXPECT_TRUE(t.logHas("Map line 10: no unit type 40"));
    EXPECT_TRUE(t.logHas("Map line 11: cell off the map"));
    EXPECT_TRUE(t.logHas("Map line 12 skipped"));

    // The host asks for its three workers around start position 0, 300 world units apart.
    ASSERT_EQ(link.requests.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(link.requests[static_cast<std::size_t>(k)].typeIndex, worker);
        EXPECT_EQ(link.requests[static_cast<std::size_t>(k)].x, 1920 - 300 + 300 * k);
        EXPECT_EQ(link.requests[static_cast<std::size_t>(k)].y, 1920);
        EXPECT_EQ(link.requests[static_cast<std::size_t>(k)].owner, 1);
        EXPECT_EQ(link.requests[static_cast<std::size_t>(k)].builderId, -1);
    }
}

TEST_F(MapFile, EveryJoinerStartsAtItsOwnSlotWrappingRoundTheList)
{
    writeFile("Maps/Three.vrax", "0 100 100\n1 200 200\n2 300 300\n");
    const std::vector<TCell> positions{{100, 100}, {200, 200}, {300, 300}};
    EXPECT_EQ(StartPosition(positions, 0), (TCell{100, 100}));
    EXPECT_EQ(StartPosition(positions, 2), (TCell{300, 300}));
    EXPECT_EQ(StartPosition(positions, 3), (TCell{100, 100}));
    EXPECT_EQ(StartPosition({}, 5), (TCell{240, 240}));

    // The second joiner (slot 2, player 3) on a client: its own position and the joiners' worker.
    InitGame(t.game, 3, false);
    ASSERT_TRUE(LoadMapFile(t.game, "Maps/Three.vrax"));
    ASSERT_EQ(link.requests.size(), 3u);
    EXPECT_EQ(link.requests[1].x, 300 * 16);
    EXPECT_EQ(link.requests[1].y, 300 * 16);
    EXPECT_EQ(link.requests[1].typeIndex, drudge);
    EXPECT_EQ(link.requests[1].owner, 3);
}

TEST_F(MapFile, PlayingAloneTheStartingUnitsAreMadeAtOnceWithHostIds)
{
    t.game.link = nullptr;
    writeFile("Maps/Alone.vrax", "12 20 20\n0 60 60\n1 200 200\n");
    ASSERT_TRUE(LoadMapFile(t.game, "Maps/Alone.vrax"));
    ASSERT_EQ(t.game.units.size(), 4u);
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(t.game.units[i]->unitNumber, static_cast<int>(i) - 1);
        EXPECT_EQ(t.game.units[i]->owner, 1);
        EXPECT_EQ(t.game.units[i]->listIndex, static_cast<int>(i));
    }
    EXPECT_EQ(t.game.localPlayerRecord().unitCount, 3);
    EXPECT_EQ(FindUnitById(t.game, 0), t.game.units[1].get());
    EXPECT_EQ(FindUnitById(t.game, -2), t.game.units[0].get());
}

// Found by fuzzing map files into one game again and again: the block search
// kept the last match's units and read them, freed, at the same tick of the next.
TEST_F(MapFile, TheNextMatchOnTheSameGameSeesNoneOfTheLastMatchsUnits)
{
    UnitTypes[static_cast<std::size_t>(worker)].aggressivity = Aggressivity::Aggressive;
    t.game.link = nullptr;
    writeFile("Maps/Duel.vrax", "0 100 100\n");
    ASSERT_TRUE(LoadMapFile(t.game, "Maps/Duel.vrax"));
    t.unitAt(worker, 104, 100, 2);
    t.frames(1);
    ASSERT_EQ(t.game.units[0]->currentOrder.kind, OrderKind::Attack);

    InitGame(t.game, 1, true);
    ASSERT_TRUE(LoadMapFile(t.game, "Maps/Duel.vrax"));
    t.frames(1);
    ASSERT_EQ(t.game.units.size(), 3u);
    for (const std::unique_ptr<TUnit>& unit : t.game.units)
        EXPECT_EQ(unit->currentOrder.kind, OrderKind::Idle);
}

TEST_F(MapFile, AMissingMapIsLoggedAndTheGameGoesOnEmpty)
{
    EXPECT_FALSE(LoadMapFile(t.game, "Maps/None.vrax"));
    EXPECT_TRUE(t.logHas("Cannot read the map Maps/None.vrax"));
    EXPECT_TRUE(t.game.units.empty());
}

}  // namespace
