// The host's reports and their application elsewhere: what the host sends
// and when, and two machines in one process playing the same battle, with
// and without lost datagrams, ending with the same unit lists.
#include "game/FReports.h"

#include "../support/GameSupport.h"
#include "game/FEffects.h"
#include "game/FOrders.h"
#include "game/FRequests.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace testing_support;

namespace {

TEST(HostReports, EachUnitByItsOwnIndexWalksStopsSwingsAndHitPointsAtMostEvery100Ms)
{
    GameTest t;
    RecordingLink link;
    t.game.link = &link;
    const int soldier = addType(soldierType());
    // Three units made in one pass, as the starting workers are.
    TUnit& a = t.unitAt(soldier, 10, 10);
    TUnit& b = t.unitAt(soldier, 20, 10);
    TUnit& c = t.unitAt(soldier, 30, 10, 2);
    t.frames(1);
    link.updates.clear();

    GiveOrder(t.game, b, Torder::ToCell(OrderKind::MoveTo, 20, 40));
    t.frames(1);
    std::vector<TUnitUpdate> walks = link.ofKind(UpdateMask::Walk);
    ASSERT_EQ(walks.size(), 1u);
    EXPECT_EQ(walks[0].index, 1);
    EXPECT_EQ(walks[0].unitNumber, b.unitNumber);
    EXPECT_EQ(walks[0].goalX, 20);
    EXPECT_EQ(walks[0].goalY, 40);
    t.frames(30);  // 300 ms: ten periodic positions, walkers only
    const std::vector<TUnitUpdate> positions = link.ofKind(UpdateMask::Walking);
    EXPECT_EQ(positions.size(), 10u);
    for (const TUnitUpdate& u : positions)
        EXPECT_EQ(u.index, 1);
    t.frames(250);
    std::vector<TUnitUpdate> stops = link.ofKind(UpdateMask::Stop);
    std::erase_if(stops, [](const TUnitUpdate& u) { return u.index != 1; });
    ASSERT_FALSE(stops.empty());
    EXPECT_EQ(stops[0].cellY, 40);

    // Hit points: gathered, at most one report per unit every 100 ms; a death at once.
    link.updates.clear();
    TakeDamage(t.game, c, 10);
    TakeDamage(t.game, c, 10);
    TakeDamage(t.game, a, 10);
    t.frames(3);
    std::vector<TUnitUpdate> hp = link.ofKind(UpdateMask::Hp);
    ASSERT_EQ(hp.size(), 2u);
    EXPECT_EQ(hp[0].index, 0);
    EXPECT_EQ(hp[1].index, 2);
    EXPECT_EQ(hp[1].hp, 80);
    TakeDamage(t.game, c, 10);
    t.frames(3);
    EXPECT_EQ(link.ofKind(UpdateMask::Hp).size(), 2u);
    t.frames(10);
    hp = link.ofKind(UpdateMask::Hp);
    ASSERT_EQ(hp.size(), 3u);
    EXPECT_EQ(hp[2].hp, 70);
    TakeDamage(t.game, c, 100);
    hp = link.ofKind(UpdateMask::Hp);
    ASSERT_EQ(hp.size(), 4u);
    EXPECT_EQ(hp[3].hp, DeathHp);

    // The swing of an attack goes at once; the corpse's removal names its index.
    link.updates.clear();
    GiveOrder(t.game, a, Torder::OnUnit(OrderKind::Attack, &b));
    t.frames(400);
    const std::vector<TUnitUpdate> swings = link.ofKind(UpdateMask::AttackSwing);
    ASSERT_FALSE(swings.empty());
    EXPECT_EQ(swings[0].index, 0);
    const std::vector<TUnitUpdate> removed = link.ofKind(UpdateMask::Removed);
    ASSERT_GE(removed.size(), 1u);
    EXPECT_EQ(removed[0].index, 2);
    EXPECT_EQ(removed[0].unitNumber, 2);
    // Told again by number alone with each round of the refresh, for a machine that lost it.
    for (std::size_t i = 1; i < removed.size(); ++i) {
        EXPECT_EQ(removed[i].index, -1);
        EXPECT_EQ(removed[i].unitNumber, 2);
    }
}

// Two machines in one process: updates from the host reach the client at
// once, except those the network loses.
class PairLink : public TGameLink {
public:
    TGame* host = nullptr;
    TGame* client = nullptr;
    std::mt19937 random{11};
    int lossPercent = 0;
    int lost = 0;

    void SendUnitUpdate(const TUnitUpdate& update) override
    {
        if (static_cast<int>(random() % 100) < lossPercent) {
            ++lost;
            return;
        }
        ApplyUnitUpdate(*client, update);
    }
    void RequestUnit(const TUnitRequest& request) override { HostCreateUnit(*host, request); }
    void SendUnitCreated(const TUnitCreated& created) override
    {
        ApplyUnitCreated(*host, created);
        ApplyUnitCreated(*client, created);
    }
    void SendOrder(std::int32_t unitNumber, const Torder& order, bool queued) override
    {
        if (TUnit* unit = FindUnitById(*host, unitNumber))
            queued ? QueueOrder(*host, *unit, order) : GiveOrder(*host, *unit, order);
    }
    void SendCast(std::int32_t caster, std::int32_t target, int slot) override
    {
        TUnit* c = FindUnitById(*host, caster);
        TUnit* t = FindUnitById(*host, target);
        if (c && t)
            CastAbility(*host, *c, *t, slot);
    }
    void SendDefend(std::int32_t unit) override
    {
        if (TUnit* u = FindUnitById(*host, unit))
            ToggleDefend(*host, *u);
    }
    void SendResearch(std::int32_t player, const TUpgrade& upgrade) override
    {
        ResearchUpgrade(*host, player, upgrade);
    }
    void SendDamageRequest(std::int32_t unit, double amount) override
    {
        if (TUnit* u = FindUnitById(*host, unit))
            TakeDamage(*host, *u, amount);
    }
};

class TwoMachines : public ::testing::TestWithParam<int> {
protected:
    GameTest h{1, true};
    TGame client;
    PairLink link;
    std::int64_t clock = 0;

    void SetUp() override
    {
        InitGame(client, 2, false);
        link.host = &h.game;
        link.client = &client;
        link.lossPercent = GetParam();
        h.game.link = &link;
        client.link = &link;
        h.game.random.seed(5);
    }
    void frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            clock += 10;
            BroadcastUnitStates(h.game, clock);
            UpdateGame(h.game, clock, 10);
            UpdateGame(client, clock, 10);
        }
    }
    void expectSameLists()
    {
        ASSERT_EQ(client.units.size(), h.game.units.size());
        for (std::size_t i = 0; i < h.game.units.size(); ++i) {
            const TUnit& a = *h.game.units[i];
            const TUnit& b = *client.units[i];
            EXPECT_EQ(a.unitNumber, b.unitNumber) << i;
            EXPECT_EQ(a.alive, b.alive) << i;
            if (a.alive) {
                EXPECT_EQ(std::lround(a.hp), std::lround(b.hp)) << i;
                EXPECT_EQ(a.Cell(), b.Cell()) << i;
                EXPECT_EQ(a.idle, b.idle) << i;
            }
        }
    }
};

TEST_P(TwoMachines, ABattleEndsTheSameOnTheHostAndOnAClient)
{
    TUnitAttributes fighter = soldierType("Fighter");
    fighter.aggressivity = Aggressivity::Aggressive;
    const int type = addType(fighter);
    for (int k = 0; k < 4; ++k) {
        RequestUnit(h.game, TUnitRequest{type, 100 * 16, (90 + 6 * k) * 16, 1, -1});
        RequestUnit(h.game, TUnitRequest{type, 125 * 16, (92 + 6 * k) * 16, 2, -1});
    }
    ASSERT_EQ(client.units.size(), 8u);
    EXPECT_EQ(client.player(2).unitCount, 4);
    EXPECT_EQ(client.units[5]->listIndex, 5);

    // Fight until one side is gone, then give corpses and the network time to settle.
    for (int second = 0; second < 60; ++second) {
        frames(100);
        int sides = 0;
        for (int owner : {1, 2})
            sides += h.game.player(owner).unitCount > 0;
        if (sides < 2)
            break;
    }
    EXPECT_LT(std::min(h.game.player(1).unitCount, h.game.player(2).unitCount), 1);
    frames(600);
    EXPECT_LT(h.game.units.size(), 8u);
    expectSameLists();
    EXPECT_EQ(client.player(1).unitCount, h.game.player(1).unitCount);
    EXPECT_EQ(client.player(2).unitCount, h.game.player(2).unitCount);
    if (GetParam() > 0) {
        EXPECT_GT(link.lost, 0);
    }
}

// What a joiner's player asks for happens on the host, which alone settles
// it; a request about another player's unit never leaves the joiner.
TEST_P(TwoMachines, AJoinersCastResearchAndDamageTakeEffectOnTheHost)
{
    TAbility cry;
    cry.name = "Cry";
    cry.target = AbilityTarget::NoUnit;
    cry.cost = 20;
    cry.duration = 500;
    cry.instantEffect.damage = 0;
    cry.instantEffect.attack = 5;
    Abilities.push_back(cry);
    TUnitAttributes caster = soldierType("Caster");
    caster.mp = 200;
    caster.spells.push_back(TUnitSpell{false, &Abilities.back()});
    const int type = addType(caster);
    TUpgrade sharp;
    sharp.name = "Sharp";
    sharp.res1Cost = 100;
    sharp.targetsId = typeAt(type).id;
    sharp.effects.attack = 2;
    Upgrades.push_back(sharp);

    RequestUnit(client, TUnitRequest{type, 100 * 16, 100 * 16, 2, -1});
    RequestUnit(h.game, TUnitRequest{type, 110 * 16, 100 * 16, 1, -1});
    ASSERT_EQ(client.units.size(), 2u);
    TUnit& mine = *client.units[0];
    TUnit& theirs = *client.units[1];
    TUnit& mineOnHost = *h.game.units[0];
    const std::int32_t damage = mineOnHost.damage;

    EXPECT_TRUE(RequestCast(client, mine, mine, 0));
    EXPECT_EQ(mineOnHost.mp, 80);
    ASSERT_EQ(mineOnHost.effects.size(), 1u);
    EXPECT_EQ(mineOnHost.damage, damage + 5);

    EXPECT_TRUE(RequestResearch(client, Upgrades.back()));
    EXPECT_TRUE(HasResearched(h.game, 2, Upgrades.back()));
    EXPECT_EQ(h.game.player(2).gold, 2400);
    EXPECT_EQ(mineOnHost.damage, damage + 7);

    RequestDamage(client, mine, 30);
    RequestDamage(client, theirs, 30);
    EXPECT_EQ(mineOnHost.hp, 70);
    EXPECT_EQ(h.game.units[1]->hp, 100);

    // Fewer than seven spell slots: the Defend key does nothing.
    RequestDefend(client, mine);
    EXPECT_EQ(mineOnHost.effects.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Loss, TwoMachines, ::testing::Values(0, 20));

TEST(ClientUpdates, UnknownUnitsAreLoggedAndAnIndexOutOfStepStillFindsItsUnit)
{
    GameTest t(2, false);
    const int soldier = addType(soldierType());
    TUnit& a = CreateUnit(t.game, typeAt(soldier), 160, 160, 1, 40);
    TUnit& b = CreateUnit(t.game, typeAt(soldier), 320, 160, 1, 41);
    TUnitUpdate u;
    u.index = 0;  // the host's index after a removal this machine has not seen yet
    u.unitNumber = 41;
    u.mask = UpdateMask::SetHp;
    u.hp = 55;
    ApplyUnitUpdate(t.game, u);
    EXPECT_EQ(b.hp, 55);
    EXPECT_EQ(a.hp, 100);

    u.index = 9;
    u.unitNumber = 99;
    ApplyUnitUpdate(t.game, u);
    EXPECT_TRUE(t.logHas("Error, trying to use unitid 9 not found"));

    // A death told by the host; then the removal.
    u.index = 1;
    u.unitNumber = 41;
    u.mask = UpdateMask::Hp;
    u.hp = DeathHp;
    ApplyUnitUpdate(t.game, u);
    EXPECT_FALSE(b.alive);
    EXPECT_EQ(t.game.player(1).unitCount, 1);
    u.mask = UpdateMask::Removed;
    ApplyUnitUpdate(t.game, u);
    ASSERT_EQ(t.game.units.size(), 1u);
    EXPECT_EQ(t.game.units[0].get(), &a);
}

}  // namespace
