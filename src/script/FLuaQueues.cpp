#include "script/FLuaQueues.h"

#include "game/FGame.h"
#include "game/FRequests.h"
#include "game/FUnitLoad.h"
#include "script/FLuaArguments.h"

#include <lua.hpp>

#include <algorithm>

namespace GameScript {

namespace {

// Runs `body` on the building argument 1 names. An invalid index gives no
// value and a unit that is not a building -1, before any other argument is read.
template <typename Body>
int onBuilding(lua_State* L, Body body)
{
    TUnit* unit = unitArgument(L, 1);
    if (!unit)
        return 0;
    if (!unit->IsBuilding()) {
        lua_pushnumber(L, -1);
        return 1;
    }
    return body(*unit);
}

std::string iconOf(const TUnitAttributes* type)
{
    return type ? type->icon : std::string();
}

}  // namespace

int IsBuildingQueueEmpty(lua_State* L)
{
    return onBuilding(L, [L](TUnit& building) {
        lua_pushboolean(L, building.buildQueue.empty());
        return 1;
    });
}

int GetBuildingQueueLength(lua_State* L)
{
    return onBuilding(L, [L](TUnit& building) {
        lua_pushnumber(L, static_cast<double>(building.buildQueue.size()));
        return 1;
    });
}

int GetTrainingListLength(lua_State* L)
{
    return onBuilding(L, [L](TUnit& building) {
        lua_pushnumber(L, static_cast<double>(building.occupants.size()));
        return 1;
    });
}

int GetProgressionPercent(lua_State* L)
{
    return onBuilding(L, [L](TUnit& building) {
        lua_pushnumber(L, std::clamp(building.trainProgress / 100.0, 0.0, 1.0));
        return 1;
    });
}

int GetUnitInQueueIcon(lua_State* L)
{
    return onBuilding(L, [L](TUnit& building) {
        const std::size_t k = positionArgument(L, 2, building.buildQueue.size(), 1, "entries of the build queue");
        pushText(L, iconOf(building.buildQueue[k]));
        return 1;
    });
}

int GetUnitInTrainingListIcon(lua_State* L)
{
    return onBuilding(L, [L](TUnit& building) {
        const std::size_t k = positionArgument(L, 2, building.occupants.size(), 1, "units of the training list");
        pushText(L, iconOf(building.occupants[k]->unitType));
        return 1;
    });
}

// The queue lives on the owner's machine until a trainee is ready, so the
// owner changes it here; another player's queue is not the player's to change.
int DeleteFromBuildingQueue(lua_State* L)
{
    return onBuilding(L, [L](TUnit& building) {
        const std::size_t k = positionArgument(L, 2, building.buildQueue.size(), 1, "entries of the build queue");
        TGame& game = *scriptGame();
        if (building.owner != game.localPlayer)
            return 0;
        building.buildQueue.erase(building.buildQueue.begin() + static_cast<std::ptrdiff_t>(k));
        if (k == 0) {
            // The next trainee starts afresh, as after a spawn.
            building.trainProgress = 0;
            building.spawnRetryTick = 0;
            building.spawnWarned = false;
        }
        game.RaiseEvent(InterfaceEvent::BuildingQueueChanged);
        return 0;
    });
}

int DeleteFromTrainingList(lua_State* L)
{
    return onBuilding(L, [L](TUnit& building) {
        const std::size_t k = positionArgument(L, 2, building.occupants.size(), 1, "units of the training list");
        TGame& game = *scriptGame();
        TUnit& occupant = *building.occupants[k];
        if (!commandable(game, occupant))
            return 0;
        OrderUnit(game, occupant, Torder::OnUnit(OrderKind::Leave, &building), false);
        game.RaiseEvent(InterfaceEvent::TrainingListChanged);
        return 0;
    });
}

}  // namespace GameScript
