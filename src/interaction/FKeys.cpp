#include "interaction/FKeys.h"

#include "game/FGame.h"
#include "game/FProduction.h"
#include "game/FRequests.h"
#include "game/FUnitLoad.h"
#include "game/FWarning.h"
#include "interaction/FCommands.h"
#include "interface/FCursor.h"
#include "platform/KeyState.h"

#include <cctype>

namespace {

void controlGroupKey(TGame& game, TMouse& mouse, int g, bool shift, bool ctrl)
{
    const bool own = CommandedLeader(game) != nullptr;
    if (ctrl) {
        if (game.selection.members.empty())
            ShowWarning(game, "No unit selected.");
        else if (own)
            StoreControlGroup(game, g);
    } else if (shift) {
        if (own)
            AppendToControlGroup(game, g);
    } else if (!game.controlGroups[static_cast<std::size_t>(g)].empty()) {
        ClearPendingCommand(game, mouse);
        RecallControlGroup(game, g);
    }
}

// A command that waits for a click; the same spell's key again puts it away.
void aimAbility(TGame& game, TMouse& mouse, int slot)
{
    if (mouse.pendingCommand && mouse.pendingCommand->kind == CommandKind::Ability &&
        mouse.pendingCommand->abilityIndex == slot)
        ClearPendingCommand(game, mouse);
    else
        SetPendingCommand(game, mouse, CommandKind::Ability, slot);
}

// The first spell of the unit whose shortcut is the key: a spell on oneself
// is cast at once, any other waits for its target. False when none has it.
bool abilityShortcut(TGame& game, TMouse& mouse, TUnit& leader, int key)
{
    for (std::size_t slot = 0; slot < leader.spells.size(); ++slot) {
        const TAbility* ability = leader.spells[slot].ability;
        if (!ability || !std::isalpha(static_cast<unsigned char>(ability->shortcut)) ||
            std::toupper(static_cast<unsigned char>(ability->shortcut)) != key)
            continue;
        if (ability->target == AbilityTarget::NoUnit)
            RequestCast(game, leader, leader, static_cast<int>(slot));
        else
            aimAbility(game, mouse, static_cast<int>(slot));
        return true;
    }
    return false;
}

// B: a building trains the first thing on its list; a worker starts placing
// the first building it knows, when the purse holds its gold.
void buildKey(TGame& game, TMouse& mouse, TUnit& leader)
{
    const std::vector<const TUnitAttributes*>& list = leader.unitType->buildings;
    if (list.empty() || !list.front())
        return;
    if (leader.IsBuilding())
        QueueTraining(game, leader, *list.front());
    else if (BeginPlacement(game, *list.front()))
        SetPendingCommand(game, mouse, CommandKind::Build, -1, list.front());
}

// The letters that command a unit which is not a building; false for any other key.
bool troopKey(TGame& game, TMouse& mouse, int key)
{
    switch (key) {
    case 'A': SetPendingCommand(game, mouse, CommandKind::Attack); return true;
    case 'V': SetPendingCommand(game, mouse, CommandKind::Move); return true;
    case 'P': SetPendingCommand(game, mouse, CommandKind::Patrol); return true;
    case 'S': OrderSelection(game, Torder::Idle(), false); return true;
    case 'T': OrderSelection(game, Torder::ToCell(OrderKind::HoldPosition, 0, 0), false); return true;
    default: return false;
    }
}

}  // namespace

void GameKeyDown(TGame& game, TMouse& mouse, int key, bool shift, bool ctrl)
{
    if (key >= '0' && key <= '9') {
        controlGroupKey(game, mouse, key - '0', shift, ctrl);
        return;
    }
    // Only the player's own units take its commands.
    TUnit* leader = CommandedLeader(game);
    if (!leader || !leader->unitType)
        return;
    if (!leader->IsBuilding() && troopKey(game, mouse, key))
        return;
    switch (key) {
    case 'R':
        if (leader->unitType->repairer)
            SetPendingCommand(game, mouse, CommandKind::Build);
        return;
    case 'D':
        RequestDefend(game, *leader);
        return;
    case 'B':
        buildKey(game, mouse, *leader);
        return;
    case platform::vk::Delete:
        RequestDamage(game, *leader, leader->hp + 1);
        return;
    default:
        abilityShortcut(game, mouse, *leader, key);
    }
}
