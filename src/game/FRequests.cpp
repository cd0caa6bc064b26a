#include "game/FRequests.h"

#include "game/FEffects.h"
#include "game/FGame.h"
#include "game/FOrders.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "game/FWarning.h"

#include <algorithm>

namespace {

// The Defend key's slot and the Defend ability's place in the table.
constexpr std::size_t DefendSlot = 6;
constexpr std::size_t DefendAbility = 6;

// Requests settle here on the host and in a game without a network.
bool settledHere(const TGame& game)
{
    return game.hosting || !game.link;
}

}  // namespace

void OrderUnit(TGame& game, TUnit& unit, const Torder& order, bool queued)
{
    if (!settledHere(game)) {
        game.link->SendOrder(unit.unitNumber, order, queued);
        return;
    }
    if (queued)
        QueueOrder(game, unit, order);
    else
        GiveOrder(game, unit, order);
}

bool RequestCast(TGame& game, TUnit& caster, TUnit& target, int slot)
{
    if (slot < 0 || static_cast<std::size_t>(slot) >= caster.spells.size())
        return false;
    const TSpellSlot& spell = caster.spells[static_cast<std::size_t>(slot)];
    if (!spell.ability || spell.cooldownLeft != 0)
        return false;
    if (settledHere(game))
        return CastAbility(game, caster, target, slot);
    if (!CanCast(game, caster, target, *spell.ability))
        return false;
    game.link->SendCast(caster.unitNumber, target.unitNumber, slot);
    return true;
}

void ToggleDefend(TGame& game, TUnit& unit)
{
    if (unit.spells.size() <= DefendSlot || !unit.alive)
        return;
    const TAbility* defend = Abilities.size() > DefendAbility ? &Abilities[DefendAbility] : nullptr;
    auto record = std::find_if(unit.effects.begin(), unit.effects.end(), [&](const TEffectRecord& r) {
        return defend && r.ability == defend;
    });
    if (record == unit.effects.end()) {
        CastAbility(game, unit, unit, static_cast<int>(DefendSlot));
        return;
    }
    RemoveEffect(game, unit, *record);
    unit.effects.erase(record);
    game.RaiseEvent(InterfaceEvent::UnitChanged);
}

void RequestDefend(TGame& game, TUnit& unit)
{
    if (unit.spells.size() <= DefendSlot)
        return;
    if (settledHere(game))
        ToggleDefend(game, unit);
    else
        game.link->SendDefend(unit.unitNumber);
}

bool RequestResearch(TGame& game, const TUpgrade& upgrade)
{
    if (settledHere(game)) {
        // The host's own research is told to the others as a joiner's is.
        const bool done = ResearchUpgrade(game, game.localPlayer, upgrade);
        if (done && game.link)
            game.link->SendResearch(game.localPlayer, upgrade);
        return done;
    }
    if (HasResearched(game, game.localPlayer, upgrade))
        return false;
    const TGamePlayer& purse = game.localPlayerRecord();
    if (upgrade.res1Cost > purse.gold) {
        game.AdvisorSound(SoundKind::Gold);
        ShowWarning(game, "Not enough Gold.");
        return false;
    }
    if (upgrade.res2Cost > purse.wood) {
        game.AdvisorSound(SoundKind::Wood);
        ShowWarning(game, "Not enough Wood.");
        return false;
    }
    game.link->SendResearch(game.localPlayer, upgrade);
    return true;
}

void RequestDamage(TGame& game, TUnit& unit, double amount)
{
    if (unit.owner != game.localPlayer || !unit.alive)
        return;
    if (settledHere(game))
        TakeDamage(game, unit, amount);
    else
        game.link->SendDamageRequest(unit.unitNumber, amount);
}
