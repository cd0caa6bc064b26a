// The block index answers the idle unit's search for an enemy exactly as a
// walk along the whole unit list does: the nearest within range, the earliest
// in the list of equals, never a friend, a corpse, a unit inside a building
// or a neutral one, wherever the units stand, off the grid included.
#include "../support/GameSupport.h"
#include "game/FNearby.h"

#include <gtest/gtest.h>

#include <random>

using namespace testing_support;

namespace {

TUnit* nearestByList(const TGame& game, const TUnit& unit, std::int64_t limit)
{
    TUnit* best = nullptr;
    for (const std::unique_ptr<TUnit>& other : game.units) {
        if (!other->alive || !other->outside || other->owner == unit.owner || other->owner == NeutralOwner)
            continue;
        const std::int64_t d = CellDistanceSquared(unit.Cell(), other->Cell());
        if (d < limit) {
            limit = d;
            best = other.get();
        }
    }
    return best;
}

}  // namespace

TEST(Nearby, FindsWhatTheWholeListWouldFind)
{
    GameTest t;
    const int soldier = addType(soldierType());
    std::mt19937 random(11);
    std::uniform_int_distribution<int> cell(-20, 500), owner(0, 9), coin(0, 9);
    for (int round = 0; round < 20; ++round) {
        InitGame(t.game, 1, true);
        // Crowded enough for ties: cells from a coarse lattice.
        for (int i = 0; i < 300; ++i) {
            TUnit& u = t.unitAt(soldier, 0, 0, owner(random));
            u.cellX = cell(random) / 8 * 8;
            u.cellY = cell(random) / 8 * 8;
            u.alive = coin(random) != 0;
            u.outside = coin(random) != 0;
        }
        t.game.nearby.Open(round + 1);
        for (const std::unique_ptr<TUnit>& unit : t.game.units)
            for (std::int32_t limit : {1600, 50, 0}) {
                const TUnit* expected = nearestByList(t.game, *unit, limit);
                ASSERT_EQ(t.game.nearby.NearestEnemy(t.game, *unit, limit), expected)
                    << "round " << round << ", unit " << unit->listIndex << ", limit " << limit;
            }
        // A death during the pass is seen at once.
        for (const std::unique_ptr<TUnit>& unit : t.game.units)
            unit->alive = false;
        EXPECT_EQ(t.game.nearby.NearestEnemy(t.game, *t.game.units.front(), 1600), nullptr);
        t.game.nearby.Close();
        EXPECT_EQ(t.game.nearby.NearestEnemy(t.game, *t.game.units.front(), 1600), nullptr);
    }
}
