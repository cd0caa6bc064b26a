// The economy on small types: training queues and what they cost, the
// warning line's life, construction and repair, income, workers in a mine,
// wood from the dead, and where trainees appear (or wait for room).
#include "game/FProduction.h"

#include "../support/GameSupport.h"
#include "../support/PrintCell.h"
#include "game/FOrders.h"
#include "game/FUnit.h"
#include "game/FWarning.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace testing_support;

namespace {

TUnitAttributes buildingType(const std::string& name, int size = 8)
{
    TUnitAttributes t = soldierType(name);
    t.type = UnitKind::Other;
    t.isBuilding = true;
    t.size = size;
    t.speed = 0;
    t.damage = 0;
    t.hp = 500;
    t.buildingTime = 100;
    return t;
}

TUnitAttributes workerType()
{
    TUnitAttributes t = soldierType("Worker");
    t.training = 0.03;  // 3 gold a second inside a mine
    t.buildingTime = 500;
    t.res1Cost = 100;
    t.res2Cost = 1;
    return t;
}

void finish(TUnit& building)
{
    building.underConstruction = false;
    building.buildProgress = 1.0;
    building.hp = building.maxHp;
}

int countOf(const TGame& game, const TUnitAttributes& type)
{
    int n = 0;
    for (const auto& unit : game.units)
        n += unit->alive && unit->unitType == &type ? 1 : 0;
    return n;
}

TEST(Training, QueueOfSixPaidByTheHostWithProgressThatWaitsForGold)
{
    GameTest t;
    const int hall = addType(buildingType("Hall"));
    const int worker = addType(workerType());
    const TUnitAttributes& trainee = typeAt(worker);
    TUnit& building = t.unitAt(hall, 100, 100);
    TGamePlayer& me = t.game.localPlayerRecord();

    // Refusals: gold first, then wood; nothing is queued or paid.
    me.gold = 99;
    me.wood = 5;
    EXPECT_FALSE(QueueTraining(t.game, building, trainee));
    EXPECT_EQ(t.game.warning.text, "Not enough Gold.");
    me.gold = 1000;
    me.wood = 0;
    EXPECT_FALSE(QueueTraining(t.game, building, trainee));
    EXPECT_EQ(t.game.warning.text, "Not enough Wood.");
    me.wood = 5;
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(QueueTraining(t.game, building, trainee));
    EXPECT_FALSE(QueueTraining(t.game, building, trainee));
    EXPECT_EQ(t.game.warning.text, "Building queue is full.");
    EXPECT_EQ(building.buildQueue.size(), 6u);
    EXPECT_EQ(me.gold, 1000);

    // An unfinished building trains nothing.
    t.frames(50);
    EXPECT_EQ(building.trainProgress, 0);
    finish(building);

    // 500 ticks of progress, with a pause while the purse is short.
    t.frames(200);
    EXPECT_NEAR(building.trainProgress, 40, 1e-6);
    me.gold = 50;
    t.frames(100);
    EXPECT_NEAR(building.trainProgress, 40, 1e-6);
    me.gold = 1000;
    t.frames(299);
    EXPECT_EQ(countOf(t.game, trainee), 0);
    t.frames(1);
    EXPECT_EQ(countOf(t.game, trainee), 1);
    EXPECT_EQ(building.buildQueue.size(), 5u);
    EXPECT_EQ(building.trainProgress, 0);
    EXPECT_NEAR(me.gold, 1000 - 100 + 3.0, 1e-6);  // 300 ticks of income since the gold came back
    EXPECT_NEAR(me.wood, 4, 1e-9);

    // The trainee stands beside the building, on the first free cell of the first ring.
    const TUnit& made = *t.game.units.back();
    EXPECT_EQ(made.Cell(), (TCell{95, 93}));
    EXPECT_EQ(made.owner, 1);

    // A type that takes no time comes out on the next tick.
    TUnitAttributes instant = workerType();
    instant.name = "Instant";
    instant.buildingTime = 0;
    const int quick = addType(instant);
    building.buildQueue.clear();
    building.trainProgress = 0;
    ASSERT_TRUE(QueueTraining(t.game, building, typeAt(quick)));
    t.frames(1);
    EXPECT_EQ(countOf(t.game, typeAt(quick)), 1);
}

TEST(Warnings, LastTwoSecondsAndANewerOneStartsTheTimeAgain)
{
    GameTest t;
    int changes = 0;
    t.game.hooks.raiseEvent = [&](InterfaceEvent event, int) {
        changes += event == InterfaceEvent::WarningChanged ? 1 : 0;
    };
    t.frames(1000);
    ShowWarning(t.game, "Not enough Gold.");
    EXPECT_EQ(t.game.warning.expiry, 1200);
    t.frames(199);
    EXPECT_EQ(t.game.warning.text, "Not enough Gold.");
    t.frames(1);
    EXPECT_EQ(t.game.warning.text, "");
    EXPECT_EQ(changes, 2);

    t.frames(800);  // tick 2000
    ShowWarning(t.game, "Not enough Gold.");
    t.frames(100);
    ShowWarning(t.game, "Building queue is full.");
    EXPECT_EQ(t.game.warning.expiry, 2300);
    t.frames(199);
    EXPECT_EQ(t.game.warning.text, "Building queue is full.");
    t.frames(1);
    EXPECT_EQ(t.game.warning.text, "");
}

TEST(Construction, AWorkerRaisesWhatItPlacedAndRepairsOneStepAtATime)
{
    GameTest t;
    const int hall = addType(buildingType("Hall"));
    TUnitAttributes w = workerType();
    w.res1Cost = 0;
    w.res2Cost = 0;
    const int worker = addType(w);
    TUnit& builder = t.unitAt(worker, 100, 100);
    t.frames(1);

    // The host pays, places and sets the builder to work.
    TUnitRequest request;
    request.typeIndex = hall;
    request.x = 115 * 16;
    request.y = 100 * 16;
    request.owner = 1;
    request.builderId = builder.unitNumber;
    UnitTypes[static_cast<std::size_t>(hall)].res1Cost = 300;
    const double purse = t.game.localPlayerRecord().gold;
    RequestUnit(t.game, request);
    TUnit& building = *t.game.units.back();
    ASSERT_TRUE(building.IsBuilding());
    EXPECT_EQ(t.game.localPlayerRecord().gold, purse - 300);
    EXPECT_TRUE(building.underConstruction);
    EXPECT_EQ(builder.currentOrder.kind, OrderKind::Construct);

    // Too poor: the host refuses the next one.
    t.game.localPlayerRecord().gold = 10;
    request.x = 140 * 16;
    EXPECT_FALSE(HostCreateUnit(t.game, request));
    EXPECT_EQ(t.game.warning.text, "Not enough resources.");

    t.frames(400);
    EXPECT_FALSE(building.underConstruction);
    EXPECT_EQ(building.hp, 500);
    EXPECT_EQ(building.buildProgress, 1.0);
    EXPECT_EQ(builder.currentOrder.kind, OrderKind::Idle);

    // Repair: one step of hit points, then the order ends.
    building.hp = 200;
    GiveOrder(t.game, builder, Torder::OnUnit(OrderKind::Construct, &building));
    t.frames(3);
    EXPECT_EQ(building.hp, 205);
    EXPECT_EQ(builder.currentOrder.kind, OrderKind::Idle);
}

TEST(Income, GoldRisesByItselfMinesHoldSixAndTheDeadPayWood)
{
    GameTest t;
    TUnitAttributes mineType = buildingType("Mine", 12);
    mineType.training = -1.0;
    const int mine = addType(mineType);
    const int worker = addType(workerType());
    const int soldier = addType(soldierType());
    t.unitAt(soldier, 400, 400, 2);  // player 2 is in the game too
    t.frames(100);
    EXPECT_NEAR(t.game.player(1).gold, 2501, 1e-6);  // 0.01 a tick with no workers at all
    EXPECT_NEAR(t.game.player(2).gold, 2501, 1e-6);
    EXPECT_EQ(t.game.player(3).gold, 2500);  // not in the game

    TUnit& shaft = t.unitAt(mine, 100, 100);
    finish(shaft);
    std::vector<TUnit*> workers;
    for (int i = 0; i < 7; ++i)
        workers.push_back(&t.unitAt(worker, 80 + 5 * i, 80));
    AddToGroup(t.game, t.game.selection, *workers[0]);
    for (TUnit* w : workers)
        GiveOrder(t.game, *w, Torder::OnUnit(OrderKind::Enter, &shaft));
    t.frames(500);
    ASSERT_EQ(shaft.occupants.size(), 6u);
    // The first six to arrive are inside; the seventh is refused, silently.
    std::vector<TUnit*> inside = shaft.occupants;
    TUnit* refused = nullptr;
    for (TUnit* w : workers)
        if (w->outside)
            refused = w;
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->currentOrder.kind, OrderKind::Idle);
    EXPECT_EQ(t.game.warning.text, "");
    EXPECT_EQ(workers[0]->selected, workers[0]->outside);  // who goes in leaves the selection
    EXPECT_EQ(t.game.selection.members.size(), workers[0]->outside ? 1u : 0u);
    // Nobody inside counts on the grid.
    for (const TUnit* w : inside)
        EXPECT_FALSE(w->marked);

    const double before = t.game.player(1).gold;
    t.frames(100);
    EXPECT_NEAR(t.game.player(1).gold - before, 6 * 0.03 * 100 + 1, 1e-6);
    EXPECT_TRUE(t.logHas("Updated !"));

    // Leaving puts the worker on a free cell beside the mine, standing and counted.
    GiveOrder(t.game, *inside[0], Torder::OnUnit(OrderKind::Leave, &shaft));
    t.frames(2);
    EXPECT_TRUE(inside[0]->outside);
    EXPECT_TRUE(inside[0]->marked);
    EXPECT_EQ(shaft.occupants.size(), 5u);
    EXPECT_GE(std::max(std::abs(inside[0]->cellX - 100), std::abs(inside[0]->cellY - 100)), 9);
    // Any other order takes an occupant out first.
    GiveOrder(t.game, *inside[1], Torder::ToCell(OrderKind::MoveTo, 60, 60));
    t.frames(1);
    EXPECT_TRUE(inside[1]->outside);
    EXPECT_EQ(shaft.occupants.size(), 4u);

    // Each death pays one wood to every player in the game, once.
    TakeDamage(t.game, *refused, 1000);
    TakeDamage(t.game, *inside[5], 1000);  // inside: its corpse earns nothing more either
    const double gold = t.game.player(1).gold;
    t.frames(10);
    EXPECT_EQ(t.game.player(1).wood, 2);
    EXPECT_EQ(t.game.player(2).wood, 2);
    EXPECT_NEAR(t.game.player(1).gold - gold, 3 * 0.03 * 10 + 0.1, 1e-6);

    // A mine that falls lets its workers out.
    TakeDamage(t.game, shaft, 10000);
    for (int i = 2; i < 5; ++i)
        EXPECT_TRUE(inside[static_cast<std::size_t>(i)]->outside);
    EXPECT_TRUE(shaft.occupants.empty());
}

TEST(SpawnCells, RingsInOrderAndATraineeWithNoRoomWaitsASecondAndWarnsOnce)
{
    GameTest t;
    Tmap& map = t.game.map;
    // A unit of size 1 beside a building of size 8 on (100, 100): first ring 5 cells out.
    EXPECT_EQ(*FindSpawnCell(map, 8, 1, TCell{100, 100}), (TCell{95, 95}));
    for (int x = 95; x <= 105; ++x)
        map.at(x, 95).occupancy = 1;
    EXPECT_EQ(*FindSpawnCell(map, 8, 1, TCell{100, 100}), (TCell{105, 96}));
    // At the map's edge the rings go on where the map does.
    EXPECT_EQ(*FindSpawnCell(map, 8, 4, TCell{4, 4}), (TCell{11, 2}));

    // A full map: the search ends, and the trainee waits first in the queue.
    const int hall = addType(buildingType("Hall"));
    TUnitAttributes w = workerType();
    w.buildingTime = 0;
    const int worker = addType(w);
    TUnit& building = t.unitAt(hall, 240, 240);
    finish(building);
    for (int x = 0; x < MapCells; ++x)
        for (int y = 0; y < MapCells; ++y)
            map.at(x, y).occupancy += 1;
    EXPECT_FALSE(FindSpawnCell(map, 8, 4, TCell{240, 240}).has_value());

    t.game.localPlayerRecord().wood = 10;
    ASSERT_TRUE(QueueTraining(t.game, building, typeAt(worker)));
    t.frames(1);
    const std::int32_t failed = t.game.tick;
    EXPECT_EQ(t.game.warning.text, "No room to place the unit.");
    EXPECT_EQ(building.buildQueue.size(), 1u);
    EXPECT_EQ(building.trainProgress, 100);
    ClearWarning(t.game);
    t.frames(50);
    EXPECT_EQ(t.game.warning.text, "");  // told once

    for (int x = 0; x < MapCells; ++x)
        for (int y = 0; y < MapCells; ++y)
            map.at(x, y).occupancy -= 1;
    while (t.game.tick < failed + SpawnRetryTicks - 1)
        t.frames(1);
    EXPECT_EQ(countOf(t.game, typeAt(worker)), 0);
    t.frames(1);
    EXPECT_EQ(countOf(t.game, typeAt(worker)), 1);
    EXPECT_TRUE(building.buildQueue.empty());
}

}  // namespace
