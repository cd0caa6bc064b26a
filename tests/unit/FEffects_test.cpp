// Abilities, effects and upgrades on small data: each refusal of a cast,
// heals clamped, periods that add up and are taken back at expiry, area
// effects that last a tick on others and take back exactly what they added,
// innate auras, effects on a unit that dies, and upgrades per player, paid
// for and carried by units made later.
#include "game/FEffects.h"

#include "../support/GameSupport.h"
#include "game/FUnit.h"
#include "game/FWarning.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const TAbility& addAbility(TAbility ability)
{
    ability.id = static_cast<std::int32_t>(Abilities.size()) + 1;
    Abilities.push_back(ability);
    return Abilities.back();
}

TAbility ability(std::uint8_t target, int range, int cost)
{
    TAbility a;
    a.name = "Spell";
    a.target = target;
    a.range = range;
    a.cost = cost;
    return a;
}

// A caster type with the given spells (innate where asked).
int casterType(std::initializer_list<std::pair<const TAbility*, bool>> spells)
{
    TUnitAttributes t = soldierType("Caster");
    t.mp = 200;  // starts with half
    for (auto [spell, innate] : spells)
        t.spells.push_back(TUnitSpell{innate, spell});
    return addType(t);
}

TEST(Casting, EachRefusalHasItsTextAndCostsNothing)
{
    GameTest t;
    TAbility bolt = ability(AbilityTarget::Enemy, 10, 30);
    bolt.instantEffect.damage = 30;
    bolt.cooldown = 50;
    const TAbility& enemySpell = addAbility(bolt);
    TAbility heal = ability(AbilityTarget::Friendly, 10, 10);
    heal.instantEffect.damage = -50;
    const TAbility& friendSpell = addAbility(heal);
    TAbility cry = ability(AbilityTarget::NoUnit, 0, 200);
    const TAbility& selfSpell = addAbility(cry);
    const int caster = casterType({{&enemySpell, false}, {&friendSpell, false}, {&selfSpell, false}});
    const int soldier = addType(soldierType());

    TUnit& me = t.unitAt(caster, 100, 100);
    TUnit& friendUnit = t.unitAt(soldier, 105, 100);
    TUnit& foe = t.unitAt(soldier, 108, 100, 2);
    TUnit& farFoe = t.unitAt(soldier, 130, 100, 2);
    const auto refused = [&](TUnit& target, int index, const char* text) {
        ClearWarning(t.game);
        const double mp = me.mp;
        EXPECT_FALSE(CastAbility(t.game, me, target, index)) << text;
        EXPECT_EQ(t.game.warning.text, text);
        EXPECT_EQ(me.mp, mp);
    };
    refused(friendUnit, 0, "Invalid target.");
    refused(foe, 1, "Invalid target.");
    refused(foe, 2, "Invalid target.");
    refused(farFoe, 0, "Out of range.");
    refused(me, 2, "Not enough mana.");

    // A cast: mana, cooldown, damage.
    EXPECT_TRUE(CastAbility(t.game, me, foe, 0));
    EXPECT_EQ(me.mp, 70);
    EXPECT_EQ(foe.hp, 70);
    EXPECT_EQ(me.spells[0].cooldownLeft, 50);
    // Cooling down: refused without a word.
    ClearWarning(t.game);
    EXPECT_FALSE(CastAbility(t.game, me, foe, 0));
    EXPECT_EQ(t.game.warning.text, "");
    t.frames(50);
    EXPECT_EQ(me.spells[0].cooldownLeft, 0);

    // A heal of 50 is clamped to the maximum.
    friendUnit.hp = 80;
    EXPECT_TRUE(CastAbility(t.game, me, friendUnit, 1));
    EXPECT_EQ(friendUnit.hp, 100);

    // The dead cast nothing and are cast upon by nobody.
    TakeDamage(t.game, foe, 1000);
    ClearWarning(t.game);
    EXPECT_FALSE(CastAbility(t.game, me, foe, 0));
    EXPECT_EQ(t.game.warning.text, "");
}

TEST(Effects, PeriodsAddUpAndExpiryTakesBackWhatWasAdded)
{
    GameTest t;
    TAbility frost = ability(AbilityTarget::Enemy, 10, 0);
    frost.periodicEffect.speed = -1;
    frost.tick = 100;
    frost.duration = 500;
    const TAbility& slow = addAbility(frost);
    TAbility cry = ability(AbilityTarget::NoUnit, 0, 0);
    cry.instantEffect.attack = 4;
    cry.instantEffect.speed = 1;
    cry.duration = 1000;
    const TAbility& battleCry = addAbility(cry);
    const int caster = casterType({{&slow, false}, {&battleCry, false}});
    const int soldier = addType(soldierType());
    TUnit& me = t.unitAt(caster, 100, 100);
    TUnit& foe = t.unitAt(soldier, 105, 100, 2);
    t.frames(1);

    ASSERT_TRUE(CastAbility(t.game, me, foe, 0));
    ClearWarning(t.game);
    EXPECT_FALSE(CastAbility(t.game, me, foe, 0));
    EXPECT_EQ(t.game.warning.text, "Target already affected by this spell.");
    for (int period = 1; period <= 4; ++period) {
        t.frames(100);
        EXPECT_EQ(foe.speed, 10 - period);
    }
    t.frames(99);
    EXPECT_EQ(foe.speed, 6);
    t.frames(1);  // the fifth period and the expiry in one tick
    EXPECT_EQ(foe.speed, 10);
    EXPECT_TRUE(foe.effects.empty());

    // Without a period: the instant values for the duration.
    ASSERT_TRUE(CastAbility(t.game, me, me, 1));
    EXPECT_EQ(me.damage, 14);
    EXPECT_EQ(me.speed, 11);
    t.frames(999);
    EXPECT_EQ(me.damage, 14);
    t.frames(1);
    EXPECT_EQ(me.damage, 10);
    EXPECT_EQ(me.speed, 10);
}

TEST(Effects, AreasLastATickOnOthersAndAuraHealsTheSoldiersAround)
{
    GameTest t;
    // A friendly area of +3 defense: the allies around get it until the next tick.
    TAbility ward = ability(AbilityTarget::NoUnit, 8, 0);
    ward.areaEffect = true;
    ward.areaEffectTarget = AbilityTarget::Friendly;
    ward.instantEffect.defense = 3;
    ward.duration = 300;
    const TAbility& wardSpell = addAbility(ward);
    TAbility aura = ability(AbilityTarget::NoUnit, 10, 0);
    aura.areaEffect = true;
    aura.areaEffectTarget = AbilityTarget::Friendly;
    aura.instantEffect.damage = -3;
    aura.periodicEffect.damage = -3;
    aura.tick = 200;
    aura.duration = -1;
    const TAbility& auraSpell = addAbility(aura);
    TAbility venom = ability(AbilityTarget::Enemy, 10, 0);
    venom.periodicEffect.damage = 6;
    venom.periodicEffect.defense = -1;
    venom.tick = 100;
    venom.duration = 800;
    const TAbility& venomSpell = addAbility(venom);
    const int caster = casterType({{&wardSpell, false}, {&venomSpell, false}});
    const int hero = casterType({{&auraSpell, true}});
    const int soldier = addType(soldierType());

    TUnit& me = t.unitAt(caster, 100, 100);
    TUnit& near = t.unitAt(soldier, 105, 100);
    TUnit& far = t.unitAt(soldier, 108, 100);  // 8 cells: not strictly inside
    TUnit& foe = t.unitAt(soldier, 104, 104, 2);
    ASSERT_TRUE(CastAbility(t.game, me, me, 0));
    EXPECT_EQ(me.defense, 3);
    EXPECT_EQ(near.defense, 3);
    EXPECT_EQ(far.defense, 0);
    EXPECT_EQ(foe.defense, 0);
    t.frames(1);
    EXPECT_EQ(near.defense, 0);  // exactly what was added is taken back
    EXPECT_TRUE(near.effects.empty());
    EXPECT_EQ(me.defense, 3);
    t.frames(300);
    EXPECT_EQ(me.defense, 0);

    // Venom: 6 a second for 8 seconds, and a defense loss taken back at the end.
    ASSERT_TRUE(CastAbility(t.game, me, foe, 1));
    t.frames(800);
    EXPECT_EQ(foe.hp, 100 - 8 * 6);
    EXPECT_EQ(foe.defense, 0);

    // The hero's innate aura: at creation and every two seconds, 3 to each soldier around, 3 to itself.
    near.hp = 50;
    far.hp = 50;
    TUnit& warden = t.unitAt(hero, 110, 100);
    warden.hp = 60;
    EXPECT_EQ(near.hp, 53);
    EXPECT_EQ(far.hp, 53);
    ASSERT_EQ(warden.effects.size(), 1u);
    EXPECT_EQ(warden.effects[0].remaining, -1);
    t.frames(200);
    EXPECT_EQ(near.hp, 56);
    EXPECT_EQ(warden.hp, 63);
    t.frames(200);
    EXPECT_EQ(far.hp, 59);
    EXPECT_EQ(foe.hp, 52);  // not an ally
}

TEST(Effects, AnEnemyInnateIsRefusedAndADyingUnitsRecordsAreNeitherUndoneTwiceNorLeft)
{
    GameTest t;
    TAbility curse = ability(AbilityTarget::Enemy, 10, 0);
    curse.instantEffect.attack = 5;
    curse.duration = 100;
    const TAbility& cursed = addAbility(curse);
    const int odd = casterType({{&cursed, true}});
    TUnit& unit = t.unitAt(odd, 100, 100);
    EXPECT_EQ(t.game.warning.text, "Invalid target.");
    EXPECT_TRUE(unit.effects.empty());
    EXPECT_EQ(unit.damage, 10);

    // A poison whose last period kills in the very tick it expires.
    TAbility poison = ability(AbilityTarget::Enemy, 10, 0);
    poison.periodicEffect.damage = 20;
    poison.periodicEffect.attack = -1;
    poison.tick = 100;
    poison.duration = 300;
    const TAbility& poisonSpell = addAbility(poison);
    TAbility shield = ability(AbilityTarget::Friendly, 10, 0);
    shield.instantEffect.defense = 2;
    shield.duration = 300;
    const TAbility& shieldSpell = addAbility(shield);
    const int caster = casterType({{&poisonSpell, false}, {&shieldSpell, false}});
    const int soldier = addType(soldierType());
    TUnit& me = t.unitAt(caster, 120, 100);
    TUnit& friendOfVictim = t.unitAt(caster, 124, 104, 2);
    TUnit& victim = t.unitAt(soldier, 124, 100, 2);
    t.frames(1);
    victim.hp = 60;
    ASSERT_TRUE(CastAbility(t.game, me, victim, 0));
    ASSERT_TRUE(CastAbility(t.game, friendOfVictim, victim, 1));
    t.frames(299);
    EXPECT_EQ(victim.hp, 20);
    EXPECT_EQ(victim.damage, 8);
    t.frames(1);
    EXPECT_FALSE(victim.alive);
    EXPECT_TRUE(victim.effects.empty());
    // Death keeps the statistics as they were: nothing was taken back, once or twice.
    EXPECT_EQ(victim.damage, 8);
    EXPECT_EQ(victim.defense, 2);
    t.frames(400);  // the corpse goes; nothing points at it
    EXPECT_EQ(t.game.units.size(), 3u);
}

TEST(Upgrades, PaidOncePerPlayerAndCarriedByUnitsMadeLater)
{
    GameTest t;
    TUnitAttributes spear = soldierType("Spearman");
    spear.id = 2;
    const int spearman = addType(spear);
    TUpgrade sharp;
    sharp.name = "Tempered Spears";
    sharp.id = 1;
    sharp.targetsId = 2;
    sharp.res1Cost = 150;
    sharp.res2Cost = 2;
    sharp.effects.attack = 2;
    Upgrades.push_back(sharp);
    const TUpgrade& upgrade = Upgrades.back();

    TUnit& mine = t.unitAt(spearman, 100, 100);
    TUnit& theirs = t.unitAt(spearman, 200, 100, 2);
    TGamePlayer& me = t.game.localPlayerRecord();
    me.gold = 100;
    EXPECT_FALSE(ResearchUpgrade(t.game, 1, upgrade));
    EXPECT_EQ(t.game.warning.text, "Not enough Gold.");
    me.gold = 1000;
    EXPECT_FALSE(ResearchUpgrade(t.game, 1, upgrade));
    EXPECT_EQ(t.game.warning.text, "Not enough Wood.");
    EXPECT_EQ(me.gold, 1000);
    me.wood = 5;
    EXPECT_TRUE(ResearchUpgrade(t.game, 1, upgrade));
    EXPECT_EQ(me.gold, 850);
    EXPECT_EQ(me.wood, 3);
    EXPECT_EQ(mine.damage, 12);
    EXPECT_EQ(theirs.damage, 10);  // another player's research

    // Once only: neither applied nor paid again.
    EXPECT_FALSE(ResearchUpgrade(t.game, 1, upgrade));
    EXPECT_FALSE(ApplyUpgrade(t.game, 1, upgrade));
    EXPECT_EQ(mine.damage, 12);
    EXPECT_EQ(me.gold, 850);

    // A unit made later carries it; the other player's does not.
    TUnitRequest request;
    request.typeIndex = spearman;
    request.x = 150 * 16;
    request.y = 150 * 16;
    request.owner = 1;
    RequestUnit(t.game, request);
    EXPECT_EQ(t.game.units.back()->damage, 12);
    request.owner = 2;
    request.x = 170 * 16;
    RequestUnit(t.game, request);
    EXPECT_EQ(t.game.units.back()->damage, 10);
    // The host applies a joiner's research to that player's units.
    EXPECT_TRUE(ApplyUpgrade(t.game, 2, upgrade));
    EXPECT_EQ(theirs.damage, 12);
    EXPECT_EQ(t.game.units.back()->damage, 12);
}

}  // namespace
