// FCommands: the player's orders from the mouse. A right click orders the
// selection by what lies under the cursor; a command chosen by key or
// button (move, patrol, attack, repair, a building to place, a spell) waits
// for a left click with the targeting cursor. Every order leaves through
// the selection's group orders or the player's requests (FRequests), so a
// joiner's orders reach the host. Headless: the mouse record says what is
// under the cursor.
#pragma once

#include <cstdint>

class TGame;
class TUnit;
struct TMouse;
struct Torder;
struct TUnitAttributes;

// TPendingCommand::kind.
namespace CommandKind {
constexpr std::uint8_t Move = 1;
constexpr std::uint8_t Patrol = 4;
constexpr std::uint8_t Attack = 6;
constexpr std::uint8_t Build = 7;  // repair when no building is chosen
constexpr std::uint8_t Ability = 8;
}  // namespace CommandKind

// The command waiting for a left click (any earlier one dropped); the
// cursor takes the targeting shape. The game learns which unit would carry
// it out (the commanded leader unless named), so that its death drops it.
void SetPendingCommand(TGame& game, TMouse& mouse, std::uint8_t kind, std::int32_t abilitySlot = -1,
                       const TUnitAttributes* building = nullptr, TUnit* actor = nullptr);
// No command waits any more; the cursor is the pointer again.
void ClearPendingCommand(TGame& game, TMouse& mouse);

// The first selected unit when it is a live unit of the local player (the
// only selection that takes this player's commands), else nullptr.
TUnit* CommandedLeader(TGame& game);
// The unit whose footprint covers the grid cell under the ground point.
TUnit* UnitOnGroundPoint(TGame& game, const TMouse& mouse);
// The whole selection takes the order, replacing what it does or queued.
void OrderSelection(TGame& game, const Torder& order, bool queued);

// Right button down: attack, repair, enter, follow or move by what is under
// the cursor; a waiting command is dropped instead.
void RightButtonDown(TGame& game, TMouse& mouse, bool shift);
// Left button down while a command waits: the command is carried out on the
// unit or the ground under the cursor, then no command waits.
void CommandClick(TGame& game, TMouse& mouse, bool shift);
