// Units and orders on small types: the frame and the tick, melee numbers,
// reach and range, walking, patrol, automatic attack, death and what it
// takes with it, corpse decay and removal, ranged units shooting unseen.
#include "game/FUnit.h"

#include "../support/GameSupport.h"
#include "../support/MdxSamples.h"
#include "assets/FLoader.h"
#include "game/FOrders.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST(GameClock, AFrameRunsAtMostOneTickAndMovementFollowsTheFrameTime)
{
    GameTest t;
    const int soldier = addType(soldierType());
    TUnit& unit = t.unitAt(soldier, 10, 10);
    UpdateGame(t.game, 35, 35);
    EXPECT_EQ(t.game.tick, 1);
    UpdateGame(t.game, 70, 35);
    EXPECT_EQ(t.game.tick, 2);
    UpdateGame(t.game, 20, 10);  // totalTime div 10 equals GameTick: no tick
    EXPECT_EQ(t.game.tick, 2);

    // Speed 10 walks 0.2 world units a millisecond: 35 ms frames walk 7 units each, ticks or not.
    GiveOrder(t.game, unit, Torder::ToCell(OrderKind::MoveTo, 40, 10));
    UpdateGame(t.game, 80, 35);  // the order step plans the walk
    ASSERT_FALSE(unit.idle);
    ASSERT_EQ(t.game.tick, 3);
    const std::int64_t x0 = unit.position[0];
    UpdateGame(t.game, 30, 35);
    UpdateGame(t.game, 39, 35);
    EXPECT_EQ(unit.position[0] - x0, 2 * 7 * 10000);
    EXPECT_EQ(t.game.tick, 3);

    // The same frames give the same game on another machine.
    GameTest other;
    const int soldier2 = addType(soldierType());
    TUnit& twin = other.unitAt(soldier2, 10, 10);
    for (auto [clock, frame] : {std::pair{35, 35}, {70, 35}, {20, 10}})
        UpdateGame(other.game, clock, frame);
    GiveOrder(other.game, twin, Torder::ToCell(OrderKind::MoveTo, 40, 10));
    for (auto [clock, frame] : {std::pair{80, 35}, {30, 35}, {39, 35}})
        UpdateGame(other.game, clock, frame);
    EXPECT_EQ(twin.position[0], unit.position[0]);
    EXPECT_EQ(twin.position[1], unit.position[1]);
    EXPECT_EQ(twin.facing, unit.facing);
}

TEST(Melee, DefenseScalesDamageAndTheSpreadOfSmallDamageIsEmpty)
{
    GameTest t;
    TUnitAttributes weak = soldierType("Weak");
    weak.damage = 5;
    const int weakType = addType(weak);
    TUnitAttributes strong = soldierType("Strong");
    strong.damage = 20;
    const int strongType = addType(strong);
    const int soldier = addType(soldierType());

    TUnit& small = t.unitAt(weakType, 10, 10);
    TUnit& big = t.unitAt(strongType, 20, 10);
    TUnit& target = t.unitAt(soldier, 30, 10, 2);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(HitDamage(t.game, small, target), 5);  // from [5, 4]: the lower bound
        const int d = HitDamage(t.game, big, target);
        EXPECT_GE(d, 18);
        EXPECT_LE(d, 21);
    }
    target.defense = 10;
    EXPECT_EQ(HitDamage(t.game, big, target), 0);
    target.defense = 12;
    EXPECT_LT(HitDamage(t.game, big, target), 0);  // above 10 heals

    // A healing hit is clamped to the maximum.
    target.hp = 97;
    TakeDamage(t.game, target, HitDamage(t.game, big, target));
    EXPECT_EQ(target.hp, 100);
    target.defense = 0;
    TakeDamage(t.game, target, 30);
    EXPECT_EQ(target.hp, 70);

    // The advisor warns of an attack on the local player's units at most every 15 s.
    TUnitAttributes wall = soldierType("Wall");
    wall.hp = 100000;
    TUnit& mine = t.unitAt(addType(wall), 60, 60, 1);
    TUnit& raider = t.unitAt(soldier, 64, 60, 2);
    int alerts = 0;
    t.game.hooks.advisorSound = [&](SoundKind kind) { alerts += kind == SoundKind::Under; };
    t.frames(1);
    GiveOrder(t.game, raider, Torder::OnUnit(OrderKind::Attack, &mine));
    t.frames(2000);
    EXPECT_LT(mine.hp, 100000 - 150 * 9);
    EXPECT_EQ(alerts, 2);

    // Only the host settles hit points.
    t.game.hosting = false;
    TakeDamage(t.game, target, 30);
    EXPECT_EQ(target.hp, 70);
}

TEST(Orders, ReachRangeAndWhenAUnitWalks)
{
    GameTest t;
    const int soldier = addType(soldierType());
    TUnitAttributes archerType = soldierType("Archer");
    archerType.type = UnitKind::Ranged;
    archerType.atkRange = 12;
    const int archer = addType(archerType);

    TUnit& a = t.unitAt(soldier, 100, 100);
    TUnit& b = t.unitAt(soldier, 140, 100, 2);
    TUnit& r = t.unitAt(archer, 100, 140);
    t.frames(1);
    GiveOrder(t.game, a, Torder::OnUnit(OrderKind::Attack, &b));
    EXPECT_EQ(Reach(a, a.currentOrder), 6);  // ceil(2 x 1.4142 + 2 x 1.4142)
    EXPECT_EQ(OrderRange(a), 7);
    GiveOrder(t.game, r, Torder::OnUnit(OrderKind::Attack, &b));
    EXPECT_EQ(OrderRange(r), 18);
    GiveOrder(t.game, r, Torder::OnUnit(OrderKind::Follow, &b));
    EXPECT_EQ(OrderRange(r), 11);

    // The melee unit walks until the target is within 7 cells, then stands and fights.
    t.frames(300);
    EXPECT_TRUE(a.idle);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::Attack);
    EXPECT_LE(CellDistanceSquared(a.Cell(), b.Cell()), 49);
    EXPECT_LT(b.hp, 100);

    // A standing unit walks again only when the goal is more than two cells beyond range.
    GiveOrder(t.game, b, Torder::ToCell(OrderKind::MoveTo, b.cellX, b.cellY + 2));
    EXPECT_EQ(b.currentOrder.kind, OrderKind::MoveTo);
    t.frames(1);
    EXPECT_EQ(b.currentOrder.kind, OrderKind::Idle);  // within two cells: done without a step
    EXPECT_TRUE(b.idle);
}

TEST(Orders, PatrolWalksBackAndForthAndTheQueueHoldsTwenty)
{
    GameTest t;
    const int soldier = addType(soldierType());
    TUnit& unit = t.unitAt(soldier, 10, 10);
    t.frames(1);
    GiveOrder(t.game, unit, Torder::ToCell(OrderKind::Patrol, 30, 10));
    // Walks to 30, back to where it started, and out again, for as long as it is left alone.
    auto walkUntil = [&](int x) {
        for (int frame = 0; frame < 400 && unit.cellX != x; ++frame)
            t.frames(1);
        return unit.cellX;
    };
    for (int lap = 0; lap < 2; ++lap) {
        EXPECT_EQ(walkUntil(30), 30);
        EXPECT_EQ(walkUntil(10), 10);
        EXPECT_EQ(unit.cellY, 10);
        EXPECT_EQ(unit.currentOrder.kind, OrderKind::Patrol);
    }

    int moveSounds = 0;
    t.game.hooks.unitSound = [&](const TUnit&, SoundKind kind) { moveSounds += kind == SoundKind::Move; };
    GiveOrder(t.game, unit, Torder::ToCell(OrderKind::AttackMove, 50, 50));
    EXPECT_EQ(unit.currentOrder.kind, OrderKind::Patrol);  // dropped, silently
    Torder hold;
    hold.kind = OrderKind::HoldPosition;
    GiveOrder(t.game, unit, hold);
    for (int i = 0; i < 21; ++i)
        QueueOrder(t.game, unit, Torder::ToCell(OrderKind::MoveTo, 12, 12));
    EXPECT_EQ(unit.orders.size(), 20u);
    EXPECT_EQ(t.game.warning.text, "Can't memorize a new order.");
    EXPECT_EQ(moveSounds, 0);

    // A queued order on an idle unit starts at once.
    TUnit& other = t.unitAt(soldier, 50, 50);
    t.frames(1);
    QueueOrder(t.game, other, Torder::ToCell(OrderKind::MoveTo, 60, 50));
    EXPECT_EQ(other.currentOrder.kind, OrderKind::MoveTo);
}

TEST(Orders, AWalkGoesAroundABuildingByThePathFindersTurningPoints)
{
    GameTest t;
    TUnitAttributes hall = soldierType("Hall");
    hall.isBuilding = true;
    hall.size = 12;
    const int hallType = addType(hall);
    const int soldier = addType(soldierType());
    CreateUnit(t.game, typeAt(hallType), 50 * 16, 50 * 16, 1, 1);  // cells 44..55 on each axis
    TUnit& unit = t.unitAt(soldier, 38, 50);
    t.frames(1);
    GiveOrder(t.game, unit, Torder::ToCell(OrderKind::MoveTo, 62, 50));
    t.frames(1);
    EXPECT_GE(unit.path.size(), 2u);
    const auto overlaps = [&] {
        // The unit's footprint (cells x-2..x+1) against the hall's.
        return unit.cellX + 1 >= 44 && unit.cellX - 2 <= 55 && unit.cellY + 1 >= 44 && unit.cellY - 2 <= 55;
    };
    bool touched = false;
    for (int frame = 0; frame < 600 && !(unit.idle && unit.currentOrder.kind == OrderKind::Idle); ++frame) {
        t.frames(1);
        touched = touched || overlaps();
    }
    EXPECT_FALSE(touched);
    EXPECT_EQ(unit.Cell(), (TCell{62, 50}));
    EXPECT_TRUE(unit.marked);
    EXPECT_EQ(t.game.map.at(62, 50).occupant, &unit);
}

TEST(Orders, AggressiveIdleUnitsAttackTheNearestLiveEnemyWithinFortyCells)
{
    GameTest t;
    TUnitAttributes guard = soldierType("Guard");
    guard.aggressivity = Aggressivity::Aggressive;
    const int guardType = addType(guard);
    TUnitAttributes calm = soldierType("Calm");
    calm.aggressivity = Aggressivity::Defensive;
    const int calmType = addType(calm);
    const int soldier = addType(soldierType());

    TUnit& g = t.unitAt(guardType, 100, 100);
    TUnit& c = t.unitAt(calmType, 100, 110);
    t.unitAt(soldier, 104, 100);                      // a friend, nearest of all
    TUnit& corpse = t.unitAt(soldier, 105, 100, 2);   // an enemy about to die
    CreateUnit(t.game, typeAt(soldier), 106 * 16, 100 * 16, NeutralOwner, -2);  // a map stone
    TUnit& near = t.unitAt(soldier, 120, 100, 3);     // 20 cells
    t.unitAt(soldier, 100, 139, 2);                   // 39 cells but farther than `near`
    t.unitAt(soldier, 100, 60, 2);                    // 40 cells: out
    Die(t.game, corpse);
    t.frames(1);
    EXPECT_EQ(g.currentOrder.kind, OrderKind::Attack);
    EXPECT_EQ(CurrentTarget(g), &near);
    EXPECT_EQ(c.currentOrder.kind, OrderKind::Idle);

    // Clients leave the deciding to the host.
    GameTest client(2, false);
    const int clientGuard = addType(guard);
    const int clientSoldier = addType(soldierType());
    TUnit& cg = client.unitAt(clientGuard, 100, 100);
    client.unitAt(clientSoldier, 110, 100, 2);
    client.frames(3);
    EXPECT_EQ(cg.currentOrder.kind, OrderKind::Idle);
}

TEST(Death, TheDeadLeaveTheSelectionGroupsAndAimsOfTheirOwnAndTakeNothingMore)
{
    GameTest t;
    const int soldier = addType(soldierType());
    TUnit& victim = t.unitAt(soldier, 100, 100, 2);
    TUnit& caster = t.unitAt(soldier, 130, 100);
    TUnit& a = t.unitAt(soldier, 90, 100);
    TUnit& b = t.unitAt(soldier, 110, 100);
    t.game.localPlayer = 2;
    t.frames(1);
    victim.selected = true;
    t.game.selection.members = {&victim};
    t.game.controlGroups[3] = {&victim, &caster};
    t.game.controlGroups[7] = {&victim};
    int cancelled = 0, deaths = 0, counter = 0;
    t.game.hooks.aimCancelled = [&] { ++cancelled; };
    t.game.hooks.unitSound = [&](const TUnit& u, SoundKind k) { deaths += (&u == &victim && k == SoundKind::Death); };
    t.game.hooks.raiseEvent = [&](InterfaceEvent e, int) { counter += e == InterfaceEvent::UnitCountChanged; };
    t.game.aim = TPendingAim{&caster, 1};
    GiveOrder(t.game, a, Torder::OnUnit(OrderKind::Attack, &victim));
    QueueOrder(t.game, a, Torder::OnUnit(OrderKind::Follow, &victim));
    QueueOrder(t.game, a, Torder::ToCell(OrderKind::MoveTo, 80, 80));
    GiveOrder(t.game, b, Torder::OnUnit(OrderKind::Follow, &victim));
    const int before = t.game.player(2).unitCount;

    TakeDamage(t.game, victim, 500);
    EXPECT_FALSE(victim.alive);
    EXPECT_EQ(victim.hp, DeathHp);
    EXPECT_FALSE(victim.selected);
    EXPECT_TRUE(t.game.selection.members.empty());
    EXPECT_EQ(t.game.controlGroups[3], (std::vector<TUnit*>{&caster}));
    EXPECT_TRUE(t.game.controlGroups[7].empty());
    EXPECT_EQ(cancelled, 0);  // someone else's death leaves the aim alone
    EXPECT_EQ(t.game.aim.actor, &caster);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::MoveTo);  // past both orders on the dead
    EXPECT_EQ(b.currentOrder.kind, OrderKind::Idle);
    EXPECT_EQ(t.game.player(2).unitCount, before - 1);

    // A corpse takes no damage, no death, no orders.
    TakeDamage(t.game, victim, 500);
    Die(t.game, victim);
    GiveOrder(t.game, victim, Torder::ToCell(OrderKind::MoveTo, 10, 10));
    GiveOrder(t.game, b, Torder::OnUnit(OrderKind::Attack, &victim));
    EXPECT_EQ(victim.hp, DeathHp);
    EXPECT_EQ(victim.orders.size(), 0u);
    EXPECT_EQ(b.currentOrder.kind, OrderKind::Idle);
    EXPECT_EQ(t.game.player(2).unitCount, before - 1);
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(counter, 1);

    // The aim goes with the unit that would carry it out.
    TakeDamage(t.game, caster, 500);
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(t.game.aim.actor, nullptr);
}

TEST(Death, CorpsesDecayThirtyHitPointsASecondAndGoAtMinus110KeepingTheOthersInOrder)
{
    GameTest t;
    const int soldier = addType(soldierType());
    TUnitAttributes giantType = soldierType("Giant");
    giantType.hp = 5000;
    const int giant = addType(giantType);
    TUnit& first = t.unitAt(soldier, 10, 10);
    TUnit& small = t.unitAt(soldier, 20, 10, 2);
    TUnit& big = t.unitAt(giant, 30, 10, 2);
    TUnit& last = t.unitAt(soldier, 40, 10);
    GiveOrder(t.game, first, Torder::OnUnit(OrderKind::Attack, &small));
    QueueOrder(t.game, last, Torder::OnUnit(OrderKind::Attack, &small));
    t.frames(1);
    TakeDamage(t.game, small, 1000);
    TakeDamage(t.game, big, 100000);
    EXPECT_EQ(first.currentOrder.kind, OrderKind::Idle);

    t.frames(100);  // one second of 10 ms frames
    EXPECT_NEAR(small.hp, -40, 0.5);
    EXPECT_EQ(small.hp, big.hp);  // whatever the maximum
    t.frames(233);
    EXPECT_EQ(t.game.units.size(), 4u);
    t.frames(2);
    ASSERT_EQ(t.game.units.size(), 2u);
    EXPECT_EQ(t.game.units[0].get(), &first);
    EXPECT_EQ(t.game.units[1].get(), &last);
    EXPECT_EQ(last.listIndex, 1);
    EXPECT_EQ(UnitAt(t.game, 1), &last);
    EXPECT_TRUE(last.orders.empty());  // nothing left that names the removed
    EXPECT_EQ(UnitAt(t.game, 2), nullptr);
    EXPECT_TRUE(t.logHas("Error, trying to use unitid 2 not found"));
}

// Stand, Attack (500 ms) and Stand Ready, for a bowman whose shots wait on his attack animation.
MdxModel bowModel()
{
    MdxModel m;
    m.version = 800;
    m.name = "Bow";
    for (auto [name, start, end] : {std::tuple{"Stand", 0, 1000}, {"Attack", 2000, 2500}, {"Stand Ready", 3000, 4000},
                                   {"Walk", 5000, 6000}, {"Birth", 7000, 7100}}) {
        SequenceChunk s;
        s.name = name;
        s.intervalStart = start;
        s.intervalEnd = end;
        m.sequences.push_back(s);
    }
    return m;
}

TEST(RangedUnits, ShootEveryPeriodWhetherAnybodyDrawsThemOrNot)
{
    GameTest t;
    resetModelCache();
    writeModel("Models/Bow.mdx", bowModel());
    TUnitAttributes bow = soldierType("Bowman");
    bow.type = UnitKind::Ranged;
    bow.model = "Models/Bow.mdx";
    bow.atkRange = 12;
    bow.atkSpeed = 100;
    bow.damage = 5;
    const int bowman = addType(bow);
    TUnitAttributes dummy = soldierType("Dummy");
    dummy.hp = 1000;
    const int target = addType(dummy);
    TUnit& shooter = t.unitAt(bowman, 100, 100);
    TUnit& mark = t.unitAt(target, 110, 100, 2);
    t.frames(1);
    GiveOrder(t.game, shooter, Torder::OnUnit(OrderKind::Attack, &mark));
    t.frames(1000);  // ten seconds: ten swings, each shot once its swing has played through
    EXPECT_EQ(mark.hp, 1000 - 10 * 5);
    EXPECT_TRUE(t.game.projectiles.empty() || t.game.projectiles.size() == 1u);
    resetModelCache();
}

}  // namespace
