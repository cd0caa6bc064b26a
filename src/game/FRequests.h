// FRequests: what this machine's player asks of the game. The host's
// simulation is the only truth, so on the host (or in a game alone) a request
// is settled at once, and on any other machine it goes to the host through
// the link and takes effect when the host reports it. Checks that explain a
// refusal to the player (mana, range, purse) run here first, so the warning
// shows on the screen of the player who asked; the host checks again
// without a word. The keyboard, the mouse commands and the scripts all come
// through here.
#pragma once

#include <cstdint>

class TGame;
class TUnit;
struct Torder;
struct TUpgrade;

// One unit's order: replacing what it does, or after it when `queued`.
void OrderUnit(TGame& game, TUnit& unit, const Torder& order, bool queued);
// The caster's spell in `slot` on the target. False when refused here.
bool RequestCast(TGame& game, TUnit& caster, TUnit& target, int slot);
// The Defend key: ends the unit's Defend effect when it has one, else the
// unit casts its seventh spell on itself. Units with fewer than seven spell
// slots ignore it.
void RequestDefend(TGame& game, TUnit& unit);
// The local player researches the upgrade. False when refused here (already
// known, or the purse is short: "Not enough Gold.", "Not enough Wood.").
bool RequestResearch(TGame& game, const TUpgrade& upgrade);
// The player hurts one of its own units (the Delete key, the scripts); other
// players' units are left alone.
void RequestDamage(TGame& game, TUnit& unit, double amount);

// The host's side of the Defend key, for its own player and for requests.
void ToggleDefend(TGame& game, TUnit& unit);
