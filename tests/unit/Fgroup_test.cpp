// Groups as the player uses them: who gets into the selection and in what
// order, where a group order sends each member (on the host and from a
// client), and control groups that lose their dead.
#include "../support/GameSupport.h"
#include "game/Fgroup.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

struct SentOrder {
    std::int32_t unitNumber;
    Torder order;
    bool queued;
};

// A client's way to the host, which only writes down what it is handed.
class OrderRecorder : public TGameLink {
public:
    std::vector<SentOrder> sent;
    void SendUnitUpdate(const TUnitUpdate&) override {}
    void RequestUnit(const TUnitRequest&) override {}
    void SendUnitCreated(const TUnitCreated&) override {}
    void SendOrder(std::int32_t unitNumber, const Torder& order, bool queued) override
    {
        sent.push_back(SentOrder{unitNumber, order, queued});
    }
    void SendCast(std::int32_t, std::int32_t, int) override {}
    void SendDefend(std::int32_t) override {}
    void SendResearch(std::int32_t, const TUpgrade&) override {}
    void SendDamageRequest(std::int32_t, double) override {}
};

TCell goalOf(const TUnit& unit)
{
    return TCell{unit.currentOrder.goalX, unit.currentOrder.goalY};
}

class Groups : public ::testing::Test {
protected:
    GameTest t;
    int soldier = addType(soldierType("Soldier"));
    int hero = addType([] {
        TUnitAttributes h = soldierType("Hero");
        h.type = UnitKind::Hero;
        h.size = 6;
        return h;
    }());
    int events = 0, listens = 0;

    void SetUp() override
    {
        t.game.hooks.raiseEvent = [this](InterfaceEvent event, int) { events += event == InterfaceEvent::UnitChanged; };
        t.game.hooks.unitSound = [this](const TUnit&, SoundKind kind) { listens += kind == SoundKind::Listen; };
    }

    // Four soldiers round cell (100, 100), selected.
    std::vector<TUnit*> squareOfFour()
    {
        std::vector<TUnit*> units;
        for (TCell c : {TCell{98, 98}, TCell{102, 98}, TCell{98, 102}, TCell{102, 102}}) {
            units.push_back(&t.unitAt(soldier, c.x, c.y));
            AddToGroup(t.game, t.game.selection, *units.back());
        }
        t.frames(1);  // new units settle on the grid
        return units;
    }
};

}  // namespace

TEST_F(Groups, SelectionTakesEighteenLiveUnitsOnceEachHeroesFirst)
{
    std::vector<TUnit*> soldiers;
    for (int i = 0; i < 19; ++i)
        soldiers.push_back(&t.unitAt(soldier, 10 + 5 * i, 10));
    for (TUnit* unit : soldiers)
        AddToGroup(t.game, t.game.selection, *unit);
    AddToGroup(t.game, t.game.selection, *soldiers[0]);
    TUnitGroup& selection = t.game.selection;
    ASSERT_EQ(selection.members.size(), 18u);
    EXPECT_FALSE(soldiers[18]->selected);
    EXPECT_TRUE(soldiers[17]->selected);
    EXPECT_EQ(listens, 18);
    EXPECT_EQ(events, 18);
    EXPECT_EQ(selection.spacing, 5);  // a soldier's size 4, plus one

    TUnit& leader = t.unitAt(hero, 200, 200);
    AddToGroup(t.game, selection, leader);
    EXPECT_FALSE(leader.selected) << "a full selection refuses even a hero";
    RemoveFromGroup(t.game, selection, *soldiers[5]);
    EXPECT_FALSE(soldiers[5]->selected);
    AddToGroup(t.game, selection, leader);
    ASSERT_EQ(selection.members.size(), 18u);
    EXPECT_EQ(FirstMember(selection), &leader);
    EXPECT_EQ(selection.members[1], soldiers[0]) << "the others keep their order behind the hero";
    EXPECT_EQ(selection.spacing, 7);
    RemoveFromGroup(t.game, selection, leader);
    EXPECT_EQ(selection.spacing, 5);

    TUnit& fallen = t.unitAt(soldier, 300, 300);
    Die(t.game, fallen);
    RemoveFromGroup(t.game, selection, *soldiers[0]);
    AddToGroup(t.game, selection, fallen);
    EXPECT_EQ(selection.members.size(), 16u) << "the dead cannot be selected";

    ClearGroup(t.game, selection);
    EXPECT_TRUE(selection.members.empty());
    EXPECT_EQ(selection.spacing, 4);
    EXPECT_EQ(FirstMember(selection), nullptr);
    EXPECT_TRUE(std::none_of(soldiers.begin(), soldiers.end(), [](TUnit* u) { return u->selected; }));
    EXPECT_EQ(GroupCentre(selection), (TCell{0, 0}));
}

TEST_F(Groups, FourUnitsFormASquareTurnedToTheMove)
{
    const std::vector<TUnit*> four = squareOfFour();
    EXPECT_EQ(GroupCentre(t.game.selection), (TCell{100, 100}));

    // East: two rows of two, five cells apart, the first row furthest on.
    GiveGroupOrder(t.game, t.game.selection, Torder::ToCell(OrderKind::MoveTo, 140, 100));
    for (TUnit* unit : four)
        EXPECT_EQ(unit->currentOrder.kind, OrderKind::MoveTo);
    EXPECT_EQ(goalOf(*four[0]), (TCell{147, 95}));
    EXPECT_EQ(goalOf(*four[1]), (TCell{147, 100}));
    EXPECT_EQ(goalOf(*four[2]), (TCell{142, 95}));
    EXPECT_EQ(goalOf(*four[3]), (TCell{142, 100}));

    // North-west the same square turns with the march.
    GiveGroupOrder(t.game, t.game.selection, Torder::ToCell(OrderKind::Patrol, 60, 60));
    std::vector<TCell> goals;
    for (TUnit* unit : four)
        goals.push_back(goalOf(*unit));
    for (std::size_t i = 0; i < goals.size(); ++i)
        for (std::size_t j = i + 1; j < goals.size(); ++j)
            EXPECT_NE(goals[i], goals[j]);
    EXPECT_EQ(four[0]->currentOrder.kind, OrderKind::Patrol);

    // Ctrl held: the curve; a corner of the map: every slot still on it.
    bool asked = false;
    t.game.hooks.formationKeyHeld = [&] { return asked = true; };
    GiveGroupOrder(t.game, t.game.selection, Torder::ToCell(OrderKind::MoveTo, 479, 479));
    EXPECT_TRUE(asked);
    for (TUnit* unit : four) {
        EXPECT_TRUE(t.game.map.OnGrid(unit->currentOrder.goalX, unit->currentOrder.goalY));
        EXPECT_EQ(unit->currentOrder.kind, OrderKind::MoveTo);
    }

    // One unit goes exactly where it is sent; unit orders take no formation.
    TUnitGroup one;
    AddToGroup(t.game, one, *four[0]);
    GiveGroupOrder(t.game, one, Torder::ToCell(OrderKind::MoveTo, 33, 44));
    EXPECT_EQ(goalOf(*four[0]), (TCell{33, 44}));
    GiveGroupOrder(t.game, t.game.selection, Torder::OnUnit(OrderKind::Follow, four[3]));
    EXPECT_EQ(four[1]->currentOrder.target, four[3]);
}

TEST_F(Groups, QueuedOrdersWaitBehindBusyMembersAndClientsAskTheHost)
{
    const std::vector<TUnit*> four = squareOfFour();
    GiveOrder(t.game, *four[0], Torder::ToCell(OrderKind::MoveTo, 200, 100));
    QueueGroupOrder(t.game, t.game.selection, Torder::ToCell(OrderKind::MoveTo, 50, 50));
    EXPECT_EQ(goalOf(*four[0]), (TCell{200, 100})) << "busy: the order waits";
    ASSERT_EQ(four[0]->orders.size(), 1u);
    EXPECT_EQ(four[0]->orders.front().goalX, 50);
    EXPECT_EQ(goalOf(*four[1]), (TCell{50, 50})) << "idle: no formation, the cell itself";

    GiveOrder(t.game, *four[3], Torder::Idle());
    OrderRecorder host;
    t.game.hosting = false;
    t.game.link = &host;
    GiveGroupOrder(t.game, t.game.selection, Torder::ToCell(OrderKind::MoveTo, 140, 100));
    QueueGroupOrder(t.game, t.game.selection, Torder::ToCell(OrderKind::Patrol, 10, 10));
    t.game.link = nullptr;
    ASSERT_EQ(host.sent.size(), 8u);
    EXPECT_EQ(host.sent[0].unitNumber, four[0]->unitNumber);
    EXPECT_EQ(host.sent[0].order.goalX, 147);
    EXPECT_EQ(host.sent[0].order.goalY, 95);
    EXPECT_FALSE(host.sent[0].queued);
    EXPECT_TRUE(host.sent[4].queued) << "member 0 is walking";
    EXPECT_FALSE(host.sent[7].queued) << "member 3 stands idle";
    EXPECT_EQ(host.sent[7].order.kind, OrderKind::Patrol);
    EXPECT_EQ(goalOf(*four[2]), (TCell{50, 50})) << "a client's order changes nothing until the host answers";
}

TEST_F(Groups, ControlGroupsLoseTheDeadAndComeBackAsTheSelection)
{
    const std::vector<TUnit*> four = squareOfFour();
    StoreControlGroup(t.game, 1);
    StoreControlGroup(t.game, 10);  // no such key: nothing happens
    RemoveFromGroup(t.game, t.game.selection, *four[3]);
    AppendToControlGroup(t.game, 2);
    EXPECT_EQ(t.game.controlGroups[1].size(), 4u);
    EXPECT_EQ(t.game.controlGroups[2].size(), 3u);

    TakeDamage(t.game, *four[1], 1000);
    EXPECT_FALSE(four[1]->alive);
    EXPECT_EQ(t.game.selection.members.size(), 2u);
    EXPECT_EQ(t.game.controlGroups[1], (std::vector<TUnit*>{four[0], four[2], four[3]}));
    EXPECT_EQ(t.game.controlGroups[2], (std::vector<TUnit*>{four[0], four[2]}));

    ClearGroup(t.game, t.game.selection);
    RecallControlGroup(t.game, 1);
    EXPECT_EQ(t.game.selection.members, (std::vector<TUnit*>{four[0], four[2], four[3]}));
    EXPECT_TRUE(four[3]->selected);
    RecallControlGroup(t.game, 5);  // empty: the selection stays
    EXPECT_EQ(t.game.selection.members.size(), 3u);

    std::vector<TUnit*> more;
    for (int i = 0; i < 20; ++i)
        more.push_back(&t.unitAt(soldier, 300 + 5 * i, 300));
    ClearGroup(t.game, t.game.selection);
    for (TUnit* unit : more)
        AddToGroup(t.game, t.game.selection, *unit);
    AppendToControlGroup(t.game, 1);
    EXPECT_EQ(t.game.controlGroups[1].size(), static_cast<std::size_t>(ControlGroupCapacity));
}
