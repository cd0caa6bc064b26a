// FEffects: abilities, their effects and upgrades. A cast costs mana and
// starts a cooldown; the ability's instant values change the target at once,
// and an effect record stays on it for the ability's duration, adding the
// periodic values every `tick` ticks and taking back exactly what was added
// when it expires. Area abilities reach the units around the caster for one
// tick at a time. Upgrades add their values for good to one player's units
// of one type, including those made later. The player's commands and the
// scripts cast and research; the frame loop's tick runs the two steps below.
#pragma once

#include <cstdint>

class TGame;
class TUnit;
struct TAbility;
struct TUpgrade;
struct TEffectRecord;

// Whether `caster` may cast `ability` on `target` now; a refusal is shown to
// the caster's player ("Invalid target.", "Out of range.", "Not enough
// mana.", "Target already affected by this spell."). The dead cast nothing
// and are cast upon by nobody.
bool CanCast(TGame& game, const TUnit& caster, const TUnit& target, const TAbility& ability);
// Casts the caster's spell number `index` on the target: checked, refused
// silently while cooling down, then paid in mana and applied.
bool CastAbility(TGame& game, TUnit& caster, TUnit& target, int index);
// One application of the ability's instant (or periodic) values on the
// target, its instant damage, the area around the caster for a primary
// application, and an effect record when the ability lasts.
void ApplyAbility(TGame& game, TUnit& caster, TUnit& target, const TAbility& ability, bool instant, bool propagated);
// Applies the ability to every live unit outside buildings within its range
// of the caster (strictly), friends or foes as the ability says.
void AreaApply(TGame& game, TUnit& caster, const TAbility& ability, bool instant);
// One period of a lasting effect on the unit.
void PeriodicApply(TGame& game, TUnit& unit, TEffectRecord& record);
// Takes back what the record added to the unit's statistics (never damage).
void RemoveEffect(TGame& game, TUnit& unit, const TEffectRecord& record);
// Casts every innate spell of a new unit on itself.
void CastInnateSpells(TGame& game, TUnit& unit);

// Each tick for every live unit: lasting effects count down and apply their periods.
void EffectStep(TGame& game, TUnit& unit);
// Each tick for every unit: cooldowns count down, area records go, expired
// effects apply their last period and are taken back.
void CooldownAndExpiryStep(TGame& game, TUnit& unit);

// Adds the upgrade's values to the player's units of its type, once per
// player for good; later units get them when created. False when the player
// has it already.
bool ApplyUpgrade(TGame& game, std::int32_t player, const TUpgrade& upgrade);
// Research by the player: refused with "Not enough Gold." or "Not enough
// Wood." when the purse is short, else paid and applied.
bool ResearchUpgrade(TGame& game, std::int32_t player, const TUpgrade& upgrade);
// Whether the player has researched the upgrade.
bool HasResearched(const TGame& game, std::int32_t player, const TUpgrade& upgrade);
