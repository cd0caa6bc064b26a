// Missiles by the game clock: their speed whatever the frame length, the
// lead on a walking target, a miss when the target is far from the aim
// point on arrival, and missiles whose shooter or target left the game.
#include "game/FBallistic.h"

#include "../support/GameSupport.h"
#include "game/FUnit.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct Range {
    GameTest t;
    TUnit* shooter = nullptr;
    TUnit* target = nullptr;

    // A shooter and a standing target `distance` world units east of it.
    explicit Range(std::int64_t distance)
    {
        TUnitAttributes bow = soldierType("Bowman");
        bow.type = UnitKind::Ranged;
        bow.damage = 10;
        const int bowman = addType(bow);
        const int soldier = addType(soldierType());
        shooter = &t.unitAt(bowman, 100, 100);
        target = &t.unitAt(soldier, 130, 100, 2);
        t.frames(1);
        target->position[0] = shooter->position[0] + distance * WorldScale;
        target->position[1] = shooter->position[1];
    }
    TProjectile& launch() { return LaunchProjectile(t.game, *shooter, *target, RangedHit); }
};

TEST(Missiles, FlyOneAndAHalfUnitsAMillisecondWhateverTheFrames)
{
    for (int frame : {10, 35}) {
        Range r(150);
        TProjectile& arrow = r.launch();
        EXPECT_EQ(arrow.velocityX, 15000);  // 1.5 world units a millisecond
        EXPECT_EQ(arrow.duration, 1000000);
        EXPECT_EQ(arrow.aim[0], r.target->position[0]);  // a standing target is aimed at
        EXPECT_EQ(arrow.start[2], 300000);
        int elapsed = 0;
        while (!r.t.game.projectiles.empty() && elapsed < 1000) {
            EXPECT_EQ(r.target->hp, 100);
            r.t.frames(1, frame);
            elapsed += frame;
        }
        // Lands on the first frame at or after 100 ms of flight.
        EXPECT_EQ(elapsed, frame == 10 ? 100 : 105);
        EXPECT_LE(r.target->hp, 91);
        EXPECT_GE(r.target->hp, 90);
    }
}

TEST(Missiles, LeadAWalkingTargetAndMissOneThatWentOffTheAimPoint)
{
    Range r(300);
    r.target->idle = false;
    r.target->facingTarget = 15708;  // walking north
    TProjectile& led = r.launch();
    EXPECT_EQ(led.aim[0], r.target->position[0]);
    EXPECT_GT(led.aim[1], r.target->position[1]);
    EXPECT_NEAR(static_cast<double>(led.aim[1] - r.target->position[1]), 10 * 0.02 * 24495, 1.0);
    r.t.game.projectiles.clear();

    r.target->idle = true;
    r.launch();
    r.t.frames(10);
    r.target->position[1] += 101 * WorldScale;  // 101 units off the aim point when the arrow lands
    r.t.frames(30);
    EXPECT_TRUE(r.t.game.projectiles.empty());
    EXPECT_EQ(r.target->hp, 100);
}

TEST(Missiles, AreDroppedWhenTheirShooterOrTargetLeavesTheGame)
{
    {
        Range r(300);
        r.launch();
        const std::int32_t targetNumber = r.target->unitNumber;
        RemoveUnit(r.t.game, *r.shooter);
        r.t.frames(1);
        EXPECT_TRUE(r.t.game.projectiles.empty());
        EXPECT_EQ(FindUnitById(r.t.game, targetNumber)->hp, 100);
    }
    {
        Range r(300);
        r.launch();
        TUnit* shooter = r.shooter;
        RemoveUnit(r.t.game, *r.target);
        r.t.frames(30);
        EXPECT_TRUE(r.t.game.projectiles.empty());
        EXPECT_EQ(shooter->hp, 100);
    }
}

}  // namespace
