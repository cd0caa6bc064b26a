// The player's commands without a screen: what a right click orders by what
// lies under the cursor, the keys that aim a command and the left click that
// carries it out, building placement, repair by R and a click, the Defend
// key on a unit without the slot, control groups, and a joiner's commands,
// which all go to the host.
#include "../support/GameSupport.h"
#include "game/Fgroup.h"
#include "game/FProduction.h"
#include "interaction/FCommands.h"
#include "interaction/FKeys.h"
#include "interface/FCursor.h"
#include "platform/KeyState.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class Commands : public ::testing::Test {
protected:
    GameTest t;
    TMouse mouse;
    int worker = addType([] {
        TUnitAttributes w = soldierType("Worker");
        w.repairer = true;
        w.training = 3;
        return w;
    }());
    int soldier = addType(soldierType("Soldier"));
    int hall = addType(buildingType("Hall", 8));
    int mine = addType([] {
        TUnitAttributes m = buildingType("Mine", 8);
        m.training = -1;
        return m;
    }());

    Commands()
    {
        UnitTypes[static_cast<std::size_t>(worker)].buildings.push_back(&typeAt(hall));
        setCursorState(CursorPointer, false, false, false, false);
    }
    static TUnitAttributes buildingType(const std::string& name, int size)
    {
        TUnitAttributes b = soldierType(name);
        b.isBuilding = true;
        b.size = size;
        b.speed = 0;
        b.buildingTime = 100;
        b.res1Cost = 50;
        return b;
    }
    void select(std::initializer_list<TUnit*> units)
    {
        ClearGroup(t.game, t.game.selection);
        for (TUnit* u : units)
            AddToGroup(t.game, t.game.selection, *u);
    }
    // The cursor over the ground at cell (x, y), nothing picked.
    void overGround(int x, int y)
    {
        mouse.hitFlag = 0;
        mouse.groundX = x * 16 + 3;
        mouse.groundY = y * 16 + 3;
    }
    void overUnit(const TUnit& u)
    {
        overGround(u.cellX, u.cellY);
        mouse.hitFlag = 1;
        mouse.pickedUnits = {u.listIndex};
    }
    void key(int k, bool shift = false, bool ctrl = false) { GameKeyDown(t.game, mouse, k, shift, ctrl); }
    static TCell goal(const TUnit& u) { return TCell{u.currentOrder.goalX, u.currentOrder.goalY}; }
};

}  // namespace

TEST_F(Commands, ARightClickAttacksRepairsEntersFollowsOrMovesByWhatIsUnderTheCursor)
{
    TUnit& a = t.unitAt(worker, 100, 100);
    TUnit& b = t.unitAt(worker, 104, 100);
    TUnit& enemy = t.unitAt(soldier, 140, 100, 2);
    TUnit& home = t.unitAt(hall, 100, 140);
    TUnit& pit = t.unitAt(mine, 140, 140);
    t.frames(1);
    home.hp = home.maxHp;
    pit.hp = pit.maxHp;
    select({&a, &b});

    overUnit(enemy);
    RightButtonDown(t.game, mouse, false);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::Attack);
    EXPECT_EQ(b.currentOrder.target, &enemy);

    // Whole, the hall is followed; damaged, repaired. Found on its cell when the pick missed.
    overGround(home.cellX, home.cellY);
    RightButtonDown(t.game, mouse, false);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::Follow);
    EXPECT_EQ(a.currentOrder.target, &home);
    home.hp = 40;
    RightButtonDown(t.game, mouse, false);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::Construct);
    EXPECT_EQ(b.currentOrder.target, &home);

    overUnit(pit);
    RightButtonDown(t.game, mouse, false);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::Enter);

    // The first selected unit itself, or bare ground: a move, in formation, to the cell.
    overUnit(a);
    RightButtonDown(t.game, mouse, false);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::MoveTo);
    overGround(200, 200);
    RightButtonDown(t.game, mouse, false);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::MoveTo);
    EXPECT_NE(goal(a), goal(b));
    EXPECT_LE(std::abs(goal(a).x - 200) + std::abs(goal(b).x - 200), 12);
    EXPECT_TRUE(t.logHas("Debug: Order 1 to cell (200, 200) for 2 units"));
    // Shift puts the next point behind it.
    overGround(220, 200);
    RightButtonDown(t.game, mouse, true);
    ASSERT_EQ(a.orders.size(), 1u);
    EXPECT_EQ(a.orders.front().goalX, 220);

    // A waiting command is dropped instead of ordering.
    SetPendingCommand(t.game, mouse, CommandKind::Attack);
    EXPECT_EQ(cursorState(), CursorTargeting);
    overUnit(enemy);
    RightButtonDown(t.game, mouse, false);
    EXPECT_FALSE(mouse.pendingCommand);
    EXPECT_EQ(cursorState(), CursorPointer);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::MoveTo);

    // Someone else's unit, a building, a drag or negative ground: no order.
    for (TUnit* first : {&enemy, &home}) {
        select({first});
        overGround(60, 60);
        RightButtonDown(t.game, mouse, false);
        EXPECT_NE(goal(*first), (TCell{60, 60}));
    }
    select({&a});
    mouse.groundX = -20;
    RightButtonDown(t.game, mouse, false);
    mouse.dragging = 1;
    overGround(60, 60);
    RightButtonDown(t.game, mouse, false);
    EXPECT_NEAR(goal(a).x, 200, 8);
    EXPECT_NE(goal(a), (TCell{60, 60}));
}

TEST_F(Commands, KeysAimCommandsThatALeftClickCarriesOut)
{
    TUnit& a = t.unitAt(worker, 100, 100);
    TUnit& b = t.unitAt(worker, 104, 100);
    TUnit& enemy = t.unitAt(soldier, 140, 100, 2);
    TUnit& home = t.unitAt(hall, 100, 140);
    t.frames(1);
    home.hp = home.maxHp;
    select({&a, &b});

    // A and a click on a unit: attack. V and a click on the ground: move. P: patrol.
    key('A');
    ASSERT_TRUE(mouse.pendingCommand);
    EXPECT_EQ(cursorState(), CursorTargeting);
    overUnit(enemy);
    CommandClick(t.game, mouse, false);
    EXPECT_EQ(b.currentOrder.kind, OrderKind::Attack);
    EXPECT_FALSE(mouse.pendingCommand);
    EXPECT_EQ(cursorState(), CursorPointer);
    key('V');
    overGround(80, 60);
    CommandClick(t.game, mouse, false);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::MoveTo);
    key('P');
    overUnit(enemy);
    CommandClick(t.game, mouse, true);
    ASSERT_EQ(a.orders.size(), 1u);
    EXPECT_EQ(a.orders.front().kind, OrderKind::Patrol);
    key('S');
    EXPECT_EQ(a.currentOrder.kind, OrderKind::Idle);
    EXPECT_TRUE(a.orders.empty());
    key('T');
    EXPECT_EQ(b.currentOrder.kind, OrderKind::HoldPosition);

    // R and a click on the cell of the player's damaged building: the workers repair it.
    key('R');
    ASSERT_TRUE(mouse.pendingCommand);
    overGround(home.cellX + 1, home.cellY - 2);
    CommandClick(t.game, mouse, false);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::HoldPosition) << "a whole building needs no repair";
    home.hp = 30;
    key('R');
    overGround(home.cellX + 1, home.cellY - 2);
    CommandClick(t.game, mouse, false);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::Construct);
    EXPECT_EQ(b.currentOrder.target, &home);

    // B places the first building the worker knows, raised by the first selected unit.
    t.game.localPlayerRecord().gold = 20;
    key('B');
    EXPECT_FALSE(mouse.pendingCommand);
    EXPECT_EQ(t.game.warning.text, "Not enough Gold.");
    t.game.localPlayerRecord().gold = 500;
    key('B');
    ASSERT_TRUE(mouse.pendingCommand);
    overGround(home.cellX, home.cellY);
    CommandClick(t.game, mouse, false);
    EXPECT_TRUE(t.logHas("Debug: Can't Build there !"));
    EXPECT_FALSE(mouse.pendingCommand);
    const std::size_t count = t.game.units.size();
    key('B');
    overGround(200, 200);
    CommandClick(t.game, mouse, false);
    ASSERT_EQ(t.game.units.size(), count + 1);
    TUnit& raised = *t.game.units.back();
    EXPECT_EQ(raised.unitType, &typeAt(hall));
    EXPECT_EQ(raised.Cell(), (TCell{200, 200}));
    EXPECT_EQ(t.game.localPlayerRecord().gold, 450);
    EXPECT_EQ(a.currentOrder.kind, OrderKind::Construct);
    EXPECT_EQ(a.currentOrder.target, &raised);
    EXPECT_NE(b.currentOrder.target, &raised);

    // D on a unit without a seventh spell slot does nothing.
    key('D');
    EXPECT_TRUE(a.effects.empty());
    EXPECT_EQ(a.currentOrder.kind, OrderKind::Construct);

    // Another player's unit takes no commands; Delete ends one's own.
    select({&enemy});
    key('S');
    key(platform::vk::Delete);
    EXPECT_TRUE(enemy.alive);
    select({&b});
    key(platform::vk::Delete);
    EXPECT_FALSE(b.alive);
}

TEST_F(Commands, DigitsStoreExtendAndRecallControlGroups)
{
    TUnit& a = t.unitAt(worker, 100, 100);
    TUnit& b = t.unitAt(worker, 104, 100);
    TUnit& enemy = t.unitAt(soldier, 140, 100, 2);
    key('1', false, true);
    EXPECT_EQ(t.game.warning.text, "No unit selected.");
    select({&a});
    key('1', false, true);
    select({&b});
    key('1', true, false);
    select({&enemy});
    key('2', false, true);
    EXPECT_TRUE(t.game.controlGroups[2].empty()) << "another player's unit is not stored";
    SetPendingCommand(t.game, mouse, CommandKind::Move);
    key('3');
    EXPECT_EQ(t.game.selection.members, std::vector<TUnit*>{&enemy}) << "an empty group changes nothing";
    EXPECT_TRUE(mouse.pendingCommand);
    key('1');
    EXPECT_EQ(t.game.selection.members, (std::vector<TUnit*>{&a, &b}));
    EXPECT_TRUE(a.selected && b.selected && !enemy.selected);
    EXPECT_FALSE(mouse.pendingCommand);
}

TEST_F(Commands, AJoinersCommandsAllGoToTheHost)
{
    TAbility self;
    self.name = "Shout";
    self.shortcut = 'h';
    self.target = AbilityTarget::NoUnit;
    TAbility aimed;
    aimed.name = "Bolt";
    aimed.shortcut = 'K';
    aimed.target = AbilityTarget::Enemy;
    aimed.range = 50;
    TUnitAttributes casterType = soldierType("Caster");
    casterType.mp = 100;
    for (int s = 0; s < 7; ++s)
        casterType.spells.push_back(TUnitSpell{false, s == 0 ? &aimed : &self});
    const int caster = addType(casterType);
    TUnit& c = t.unitAt(caster, 100, 100);
    TUnit& w = t.unitAt(worker, 104, 100);
    TUnit& enemy = t.unitAt(soldier, 110, 100, 2);
    t.frames(1);
    RecordingLink host;
    t.game.hosting = false;
    t.game.link = &host;

    select({&c, &w});
    overGround(150, 150);
    RightButtonDown(t.game, mouse, false);
    EXPECT_EQ(host.orders.size(), 2u);
    EXPECT_EQ(c.currentOrder.kind, OrderKind::Idle) << "nothing moves until the host answers";
    key('D');
    EXPECT_EQ(host.defends, std::vector<std::int32_t>{c.unitNumber});
    key('H');
    key('K');
    ASSERT_TRUE(mouse.pendingCommand);
    key('K');
    EXPECT_FALSE(mouse.pendingCommand) << "the same key again puts the spell away";
    key('K');
    overUnit(enemy);
    CommandClick(t.game, mouse, false);
    EXPECT_EQ(host.casts, (std::vector<std::int32_t>{c.unitNumber, c.unitNumber}));
    key(platform::vk::Delete);
    EXPECT_EQ(host.damaged, std::vector<std::int32_t>{c.unitNumber});

    select({&w});
    t.game.localPlayerRecord().gold = 500;
    key('B');
    overGround(200, 200);
    CommandClick(t.game, mouse, false);
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(host.requests[0].builderId, w.unitNumber);
    EXPECT_EQ(host.requests[0].x, 200 / 4 * 64 + 8);
    t.game.link = nullptr;
}
