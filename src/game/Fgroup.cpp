#include "game/Fgroup.h"

#include "game/FGame.h"
#include "game/FUnitLoad.h"

#include <algorithm>

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
    std::stable_sort(group.members.begin(), group.members.end(),
                     [](const TUnit* a, const TUnit* b) { return a->unitType->type < b->unitType->type; });
}
