#include "game/Fgroup.h"

#include "game/FFormation.h"
#include "game/FGame.h"
#include "game/FRequests.h"
#include "game/FUnitLoad.h"

#include <algorithm>

namespace {

void sortByKind(TUnitGroup& group)
{
    std::stable_sort(group.members.begin(), group.members.end(),
                     [](const TUnit* a, const TUnit* b) { return a->unitType->type < b->unitType->type; });
}

bool isCellOrder(std::uint8_t kind)
{
    return kind == OrderKind::MoveTo || kind == OrderKind::AttackMove || kind == OrderKind::Patrol;
}

std::vector<TUnit*>* controlGroup(TGame& game, int g)
{
    if (g < 0 || g >= ControlGroupCount)
        return nullptr;
    return &game.controlGroups[static_cast<std::size_t>(g)];
}

}  // namespace

void AddToGroup(TGame& game, TUnitGroup& group, TUnit& unit)
{
    if (!unit.alive || group.members.size() >= static_cast<std::size_t>(SelectionLimit) ||
        std::find(group.members.begin(), group.members.end(), &unit) != group.members.end())
        return;
    game.UnitSound(unit, SoundKind::Listen);
    unit.selected = true;
    group.members.push_back(&unit);
    group.spacing = std::max(group.spacing, unit.Size() + 1);
    game.RaiseEvent(InterfaceEvent::UnitChanged);
    sortByKind(group);
}

void RemoveFromGroup(TGame& game, TUnitGroup& group, TUnit& unit)
{
    const auto it = std::find(group.members.begin(), group.members.end(), &unit);
    if (it == group.members.end())
        return;
    unit.selected = false;
    group.members.erase(it);
    group.spacing = 0;
    for (const TUnit* member : group.members)
        group.spacing = std::max(group.spacing, member->Size() + 1);
    game.RaiseEvent(InterfaceEvent::UnitChanged);
    sortByKind(group);
}

void ClearGroup(TGame& game, TUnitGroup& group)
{
    for (TUnit* member : group.members)
        member->selected = false;
    group.members.clear();
    group.spacing = 4;
    game.RaiseEvent(InterfaceEvent::UnitChanged);
}

TUnit* FirstMember(const TUnitGroup& group)
{
    return group.members.empty() ? nullptr : group.members.front();
}

TCell GroupCentre(const TUnitGroup& group)
{
    if (group.members.empty())
        return TCell{0, 0};
    std::int64_t x = 0, y = 0;
    for (const TUnit* member : group.members) {
        x += member->cellX;
        y += member->cellY;
    }
    const auto n = static_cast<std::int64_t>(group.members.size());
    return TCell{static_cast<std::int32_t>(x / n), static_cast<std::int32_t>(y / n)};
}

void GiveGroupOrder(TGame& game, const TUnitGroup& group, const Torder& order)
{
    const int n = static_cast<int>(group.members.size());
    const TCell centre = GroupCentre(group);
    const TCell base{order.goalX, order.goalY};
    const bool formation = isCellOrder(order.kind);
    const bool curve = formation && game.hooks.formationKeyHeld && game.hooks.formationKeyHeld();
    for (int i = 0; i < n; ++i) {
        Torder own = order;
        if (formation) {
            // Slots of a group near the edge would fall off the map, where no
            // path leads; the edge cell is the nearest place to stand.
            const TCell slot = FormationSlot(i, n, group.spacing, centre, base, curve);
            own.goalX = std::clamp(slot.x, 0, MapCells - 1);
            own.goalY = std::clamp(slot.y, 0, MapCells - 1);
        }
        OrderUnit(game, *group.members[static_cast<std::size_t>(i)], own, false);
    }
}

void QueueGroupOrder(TGame& game, const TUnitGroup& group, const Torder& order)
{
    for (TUnit* member : group.members)
        OrderUnit(game, *member, order, member->currentOrder.kind != OrderKind::Idle);
}

void StoreControlGroup(TGame& game, int g)
{
    if (std::vector<TUnit*>* list = controlGroup(game, g))
        *list = game.selection.members;
}

void AppendToControlGroup(TGame& game, int g)
{
    std::vector<TUnit*>* list = controlGroup(game, g);
    if (!list)
        return;
    for (TUnit* unit : game.selection.members)
        if (list->size() < static_cast<std::size_t>(ControlGroupCapacity) &&
            std::find(list->begin(), list->end(), unit) == list->end())
            list->push_back(unit);
}

void RecallControlGroup(TGame& game, int g)
{
    const std::vector<TUnit*>* list = controlGroup(game, g);
    if (!list || list->empty())
        return;
    for (TUnit* member : game.selection.members)
        member->selected = false;
    game.selection.members.clear();
    game.selection.spacing = 4;
    for (TUnit* unit : *list) {
        unit->selected = true;
        game.selection.members.push_back(unit);
        game.selection.spacing = std::max(game.selection.spacing, unit->Size() + 1);
    }
    game.RaiseEvent(InterfaceEvent::UnitChanged);
}
