#include "game/FEffects.h"

#include "game/FGame.h"
#include "game/FUnit.h"
#include "game/FUnitLoad.h"
#include "game/FWarning.h"

#include <algorithm>
#include <string>

namespace {

// Refusals are for the player who cast; other machines' copies stay quiet.
void warnOwner(TGame& game, const TUnit& unit, const std::string& text)
{
    if (unit.owner == game.localPlayer)
        ShowWarning(game, text);
}

bool changesStats(const TEffectValues& v)
{
    return v.size != 0 || v.hp != 0 || v.attack != 0 || v.defense != 0 || v.speed != 0;
}

void addValues(TGame& game, TUnit& unit, const TEffectValues& values, int times)
{
    if (times == 0 || !changesStats(values))
        return;
    AddEffectValues(unit, values, times);
    StatsChanged(game, unit);
}

bool validTarget(const TUnit& caster, const TUnit& target, const TAbility& ability)
{
    switch (ability.target) {
    case AbilityTarget::Enemy:
        return target.owner != caster.owner;
    case AbilityTarget::Friendly:
        return target.owner == caster.owner;
    default:
        return &target == &caster;
    }
}

bool alreadyAffected(const TUnit& target, const TAbility& ability)
{
    return std::any_of(target.effects.begin(), target.effects.end(), [&](const TEffectRecord& r) {
        return !r.propagated && r.ability && r.ability->id == ability.id;
    });
}

// How many periods a record of the ability holds over its whole duration.
std::int32_t periodsHeld(const TAbility& ability)
{
    return ability.tick > 0 && ability.duration > 0 ? ability.duration / ability.tick : 0;
}

}  // namespace

bool CanCast(TGame& game, const TUnit& caster, const TUnit& target, const TAbility& ability)
{
    if (!caster.alive || !target.alive || !target.outside)
        return false;
    if (!validTarget(caster, target, ability)) {
        warnOwner(game, caster, "Invalid target.");
        return false;
    }
    const std::int64_t distance = CellDistanceSquared(caster.Cell(), target.Cell());
    const std::int64_t range = static_cast<std::int64_t>(ability.range) * ability.range;
    if (distance > range) {
        warnOwner(game, caster, "Out of range.");
        return false;
    }
    if (ability.cost > caster.mp) {
        warnOwner(game, caster, "Not enough mana.");
        return false;
    }
    if (alreadyAffected(target, ability)) {
        warnOwner(game, caster, "Target already affected by this spell.");
        return false;
    }
    return true;
}

bool CastAbility(TGame& game, TUnit& caster, TUnit& target, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= caster.spells.size())
        return false;
    TSpellSlot& slot = caster.spells[static_cast<std::size_t>(index)];
    if (!slot.ability)
        return false;
    const TAbility& ability = *slot.ability;
    if (!CanCast(game, caster, target, ability) || slot.cooldownLeft != 0)
        return false;
    SetMp(game, caster, caster.mp - ability.cost);
    slot.cooldownLeft = ability.cooldown;
    ApplyAbility(game, caster, target, ability, true, false);
    return true;
}

void ApplyAbility(TGame& game, TUnit& caster, TUnit& target, const TAbility& ability, bool instant, bool propagated)
{
    if (!target.alive)
        return;
    // The instant damage also comes with each periodic application on an area.
    if (ability.instantEffect.damage != 0)
        TakeDamage(game, target, ability.instantEffect.damage);
    if (target.alive)
        addValues(game, target, instant ? ability.instantEffect : ability.periodicEffect, 1);
    if (ability.areaEffect && !propagated)
        AreaApply(game, caster, ability, true);
    if (target.alive && (ability.duration > 0 || ability.duration == -1)) {
        TEffectRecord record;
        record.remaining = ability.duration;
        record.startTick = game.tick;
        record.propagated = propagated;
        record.count = propagated ? 1 : (ability.tick <= 0 ? -1 : 0);
        record.addedInstant = instant;
        record.ability = &ability;
        target.effects.push_back(record);
    }
    game.RaiseEvent(InterfaceEvent::UnitChanged);
}

void AreaApply(TGame& game, TUnit& caster, const TAbility& ability, bool instant)
{
    if (!caster.alive)
        return;
    const std::int64_t range = static_cast<std::int64_t>(ability.range) * ability.range;
    const bool friendly = ability.areaEffectTarget == AbilityTarget::Friendly;
    // Units made or removed on the way are not visited: walk by index.
    for (std::size_t i = 0; i < game.units.size(); ++i) {
        TUnit& unit = *game.units[i];
        if (&unit == &caster || !unit.alive || !unit.outside)
            continue;
        if (friendly ? unit.owner != caster.owner : unit.owner == caster.owner)
            continue;
        if (CellDistanceSquared(caster.Cell(), unit.Cell()) >= range)
            continue;
        ApplyAbility(game, caster, unit, ability, instant, true);
    }
}

void PeriodicApply(TGame& game, TUnit& unit, TEffectRecord& record)
{
    const TAbility& ability = *record.ability;
    record.count += 1;
    if (ability.areaEffect)
        AreaApply(game, unit, ability, false);
    if (ability.periodicEffect.damage != 0) {
        TakeDamage(game, unit, ability.periodicEffect.damage);
        // Death took the record with the others, undone by nobody.
        if (!unit.alive)
            return;
    }
    addValues(game, unit, ability.periodicEffect, 1);
    record.startTick = game.tick;
}

void RemoveEffect(TGame& game, TUnit& unit, const TEffectRecord& record)
{
    const TAbility& ability = *record.ability;
    if (record.propagated) {
        // Exactly what that one application added.
        addValues(game, unit, record.addedInstant ? ability.instantEffect : ability.periodicEffect, -1);
        return;
    }
    addValues(game, unit, ability.instantEffect, -1);
    if (ability.tick > 0)
        addValues(game, unit, ability.periodicEffect, -std::max(0, record.count));
}

void CastInnateSpells(TGame& game, TUnit& unit)
{
    if (!unit.unitType)
        return;
    const std::vector<TUnitSpell>& spells = unit.unitType->spells;
    for (std::size_t i = 0; i < spells.size() && i < unit.spells.size(); ++i)
        if (spells[i].innate)
            CastAbility(game, unit, unit, static_cast<int>(i));
}

void EffectStep(TGame& game, TUnit& unit)
{
    for (std::size_t i = 0; i < unit.effects.size(); ++i) {
        TEffectRecord& record = unit.effects[i];
        if (!record.ability)
            continue;
        if (record.remaining > 0)
            record.remaining -= 1;
        // An ability without a period has no periodic applications.
        if (!record.propagated && record.ability->tick > 0 && game.tick - record.startTick >= record.ability->tick) {
            PeriodicApply(game, unit, record);
            if (!unit.alive)
                return;
        }
    }
}

void CooldownAndExpiryStep(TGame& game, TUnit& unit)
{
    for (TSpellSlot& spell : unit.spells)
        if (spell.cooldownLeft > 0)
            spell.cooldownLeft -= 1;
    for (std::size_t i = unit.effects.size(); i-- > 0;) {
        // A death clears the records without undoing them: nothing is left to take back.
        if (!unit.alive || unit.hp <= 0 || i >= unit.effects.size())
            return;
        TEffectRecord& record = unit.effects[i];
        if (!record.ability) {
            unit.effects.erase(unit.effects.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        const TAbility& ability = *record.ability;
        if (record.propagated) {
            RemoveEffect(game, unit, record);
        } else if (record.remaining == 0 && ability.duration != -1) {
            // The last period, when the record ends before it had them all.
            if (ability.tick > 0 && record.count < periodsHeld(ability)) {
                PeriodicApply(game, unit, record);
                if (!unit.alive)
                    return;
            }
            RemoveEffect(game, unit, unit.effects[i]);
            game.RaiseEvent(InterfaceEvent::UnitChanged);
        } else if (record.remaining != 0) {
            continue;
        }
        unit.effects.erase(unit.effects.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

bool HasResearched(const TGame& game, std::int32_t player, const TUpgrade& upgrade)
{
    if (player < 1 || player > MaxPlayers)
        return false;
    const std::vector<const TUpgrade*>& done = game.researchedUpgrades[static_cast<std::size_t>(player - 1)];
    return std::find(done.begin(), done.end(), &upgrade) != done.end();
}

bool ApplyUpgrade(TGame& game, std::int32_t player, const TUpgrade& upgrade)
{
    if (player < 1 || player > MaxPlayers || HasResearched(game, player, upgrade))
        return false;
    game.researchedUpgrades[static_cast<std::size_t>(player - 1)].push_back(&upgrade);
    for (const std::unique_ptr<TUnit>& unit : game.units)
        if (unit->alive && unit->owner == player && unit->unitType->id == upgrade.targetsId)
            addValues(game, *unit, upgrade.effects, 1);
    game.RaiseEvent(InterfaceEvent::UnitChanged);
    return true;
}

bool ResearchUpgrade(TGame& game, std::int32_t player, const TUpgrade& upgrade)
{
    if (player < 1 || player > MaxPlayers || HasResearched(game, player, upgrade))
        return false;
    TGamePlayer& purse = game.player(player);
    const bool local = player == game.localPlayer;
    if (upgrade.res1Cost > purse.gold) {
        if (local) {
            game.AdvisorSound(SoundKind::Gold);
            ShowWarning(game, "Not enough Gold.");
        }
        return false;
    }
    if (upgrade.res2Cost > purse.wood) {
        if (local) {
            game.AdvisorSound(SoundKind::Wood);
            ShowWarning(game, "Not enough Wood.");
        }
        return false;
    }
    purse.gold -= upgrade.res1Cost;
    purse.wood -= upgrade.res2Cost;
    return ApplyUpgrade(game, player, upgrade);
}
