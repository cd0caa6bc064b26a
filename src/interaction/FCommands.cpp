#include "interaction/FCommands.h"

#include "game/FGame.h"
#include "game/FReports.h"
#include "game/FRequests.h"
#include "game/FUnitLoad.h"
#include "interface/FCursor.h"
#include "shell/FLogs.h"

#include <string>

namespace {

TUnit* pickedUnit(TGame& game, const TMouse& mouse)
{
    if (!mouse.hitFlag || mouse.pickedUnits.empty())
        return nullptr;
    const std::int32_t index = mouse.pickedUnits.front();
    if (index < 0 || static_cast<std::size_t>(index) >= game.units.size())
        return nullptr;
    return game.units[static_cast<std::size_t>(index)].get();
}

std::string describe(const Torder& order, std::size_t units, bool queued)
{
    std::string text = "Order " + std::to_string(order.kind);
    if (order.target && order.target->unitType)
        text += " on " + order.target->unitType->name + " #" + std::to_string(order.target->unitNumber);
    else
        text += " to cell (" + std::to_string(order.goalX) + ", " + std::to_string(order.goalY) + ")";
    return text + " for " + std::to_string(units) + (units == 1 ? " unit" : " units") + (queued ? ", queued" : "");
}

void orderGroup(TGame& game, const TUnitGroup& group, const Torder& order, bool queued)
{
    if (group.members.empty())
        return;
    log(describe(order, group.members.size(), queued), LogDebug);
    if (queued)
        QueueGroupOrder(game, group, order);
    else
        GiveGroupOrder(game, group, order);
}

Torder toGroundCell(std::uint8_t kind, const TMouse& mouse)
{
    return Torder::ToCell(kind, mouse.groundX / CellSize, mouse.groundY / CellSize);
}

bool damagedOwnBuilding(const TGame& game, const TUnit& unit)
{
    return unit.alive && unit.owner == game.localPlayer && unit.IsBuilding() && unit.hp < unit.maxHp;
}

// The building waiting to be placed goes to the host, raised by the first
// selected unit, on the 64-unit square under the cursor.
void placeBuilding(TGame& game, const TMouse& mouse, const TUnitAttributes& building, const TUnit& builder)
{
    const std::int32_t sx = mouse.groundX / 64, sy = mouse.groundY / 64;
    if (mouse.groundX < 0 || mouse.groundY < 0 || !IsFootprintFree(game.map, building.size, sx * 4, sy * 4)) {
        log("Can't Build there !", LogDebug);
        return;
    }
    for (std::size_t i = 0; i < UnitTypes.size(); ++i) {
        if (&UnitTypes[i] != &building)
            continue;
        TUnitRequest request;
        request.typeIndex = static_cast<std::int32_t>(i);
        request.x = sx * 64 + 8;
        request.y = sy * 64 + 8;
        request.owner = game.localPlayer;
        request.builderId = builder.unitNumber;
        log("Placing " + building.name + " at (" + std::to_string(request.x) + ", " + std::to_string(request.y) +
                "), raised by #" + std::to_string(builder.unitNumber),
            LogDebug);
        RequestUnit(game, request);
        return;
    }
}

// R and a click: the selected workers repair the player's damaged building
// standing on the clicked cell (the pick pass rests while this waits).
void repairOnGround(TGame& game, const TMouse& mouse, bool queued)
{
    TUnit* target = UnitOnGroundPoint(game, mouse);
    if (!target || !damagedOwnBuilding(game, *target))
        return;
    TUnitGroup workers;
    for (TUnit* member : game.selection.members)
        if (member != target && member->unitType && member->unitType->repairer)
            workers.members.push_back(member);
    orderGroup(game, workers, Torder::OnUnit(OrderKind::Construct, target), queued);
}

void clickOnUnit(TGame& game, const TPendingCommand& command, TUnit& leader, TUnit& target, bool queued)
{
    switch (command.kind) {
    case CommandKind::Ability:
        RequestCast(game, leader, target, command.abilityIndex);
        break;
    case CommandKind::Move:
        orderGroup(game, game.selection, Torder::OnUnit(OrderKind::Follow, &target), queued);
        break;
    case CommandKind::Attack:
        if (&target != &leader)
            orderGroup(game, game.selection, Torder::OnUnit(OrderKind::Attack, &target), queued);
        break;
    default:
        break;
    }
}

}  // namespace

void SetPendingCommand(TGame& game, TMouse& mouse, std::uint8_t kind, std::int32_t abilitySlot,
                       const TUnitAttributes* building, TUnit* actor)
{
    game.aim = TPendingAim{actor ? actor : CommandedLeader(game), kind};
    mouse.pendingCommand = std::make_unique<TPendingCommand>();
    mouse.pendingCommand->kind = kind;
    mouse.pendingCommand->abilityIndex = abilitySlot;
    mouse.pendingCommand->building = building;
    setCursorState(CursorTargeting, false, false, false, false);
}

void ClearPendingCommand(TGame& game, TMouse& mouse)
{
    game.aim = TPendingAim{};
    mouse.pendingCommand.reset();
    setCursorState(CursorPointer, false, false, false, false);
}

TUnit* CommandedLeader(TGame& game)
{
    TUnit* leader = FirstMember(game.selection);
    if (!leader || !leader->alive || leader->owner != game.localPlayer)
        return nullptr;
    return leader;
}

TUnit* UnitOnGroundPoint(TGame& game, const TMouse& mouse)
{
    if (mouse.groundX < 0 || mouse.groundY < 0)
        return nullptr;
    const int x = mouse.groundX / CellSize, y = mouse.groundY / CellSize;
    if (!game.map.OnGrid(x, y) || game.map.at(x, y).occupancy == 0)
        return nullptr;
    return game.map.at(x, y).occupant;
}

void OrderSelection(TGame& game, const Torder& order, bool queued)
{
    orderGroup(game, game.selection, order, queued);
}

void RightButtonDown(TGame& game, TMouse& mouse, bool shift)
{
    TUnit* leader = CommandedLeader(game);
    if (mouse.dragging || !leader || leader->IsBuilding())
        return;
    if (mouse.pendingCommand) {
        ClearPendingCommand(game, mouse);
        return;
    }
    if (mouse.groundX < 0 || mouse.groundY < 0)
        return;
    TUnit* target = pickedUnit(game, mouse);
    if (!target)
        target = UnitOnGroundPoint(game, mouse);
    // A corpse is ground to walk to, not a unit to follow or strike.
    if (!target || target == leader || !target->alive) {
        OrderSelection(game, toGroundCell(OrderKind::MoveTo, mouse), shift);
        return;
    }
    const TUnitAttributes& type = *leader->unitType;
    std::uint8_t kind = OrderKind::Follow;
    if (target->owner != game.localPlayer)
        kind = OrderKind::Attack;
    else if (type.repairer && damagedOwnBuilding(game, *target))
        kind = OrderKind::Construct;
    else if (type.training > 0 && target->unitType && target->unitType->training == -1.0)
        kind = OrderKind::Enter;
    OrderSelection(game, Torder::OnUnit(kind, target), shift);
}

void CommandClick(TGame& game, TMouse& mouse, bool shift)
{
    if (!mouse.pendingCommand)
        return;
    const TPendingCommand command = *mouse.pendingCommand;
    ClearPendingCommand(game, mouse);
    TUnit* leader = CommandedLeader(game);
    if (!leader)
        return;
    if (command.kind == CommandKind::Build) {
        if (command.building)
            placeBuilding(game, mouse, *command.building, *leader);
        else
            repairOnGround(game, mouse, shift);
        return;
    }
    // A patrol turns at a point, and a unit told to move onto itself moves.
    TUnit* target = pickedUnit(game, mouse);
    if (target && command.kind != CommandKind::Patrol && !(command.kind == CommandKind::Move && target == leader)) {
        clickOnUnit(game, command, *leader, *target, shift);
        return;
    }
    if (command.kind == CommandKind::Move || command.kind == CommandKind::Patrol)
        OrderSelection(game, toGroundCell(command.kind, mouse), shift);
}
