#include "script/FLuaPlayer.h"

#include "game/FGame.h"
#include "game/FRequests.h"
#include "interface/FCursor.h"
#include "script/FLuaArguments.h"

#include <lua.hpp>

namespace GameScript {

namespace {

// The purse and counter of the local player; 0 in the menu.
int pushPlayerNumber(lua_State* L, double (*value)(TGame&))
{
    TGame* game = scriptGame();
    lua_pushnumber(L, game ? value(*game) : 0);
    return 1;
}

// Entry k of a list of unit indices, -1 when k is not below its length.
int pushListEntry(lua_State* L, const std::vector<int>& list)
{
    const std::int32_t k = intArgument(L, 1);
    lua_pushnumber(L, k >= 0 && static_cast<std::size_t>(k) < list.size() ? list[static_cast<std::size_t>(k)] : -1);
    return 1;
}

// Orders for the selection reach only the local player's own units that
// can walk: a selected enemy or a building is shown, never commanded.
int selectionOrder(lua_State* L, const Torder& order)
{
    TGame* game = scriptGame();
    if (!game || game->selection.members.empty()) {
        lua_pushnumber(L, -1);
        return 1;
    }
    TUnitGroup own;
    own.spacing = game->selection.spacing;
    for (TUnit* unit : game->selection.members)
        if (commandable(*game, *unit) && !unit->IsBuilding())
            own.members.push_back(unit);
    GiveGroupOrder(*game, own, order);
    return 0;
}

}  // namespace

int GetPlayerID(lua_State* L)
{
    return pushPlayerNumber(L, [](TGame& game) { return double(game.localPlayer); });
}

int GetRes1(lua_State* L)
{
    return pushPlayerNumber(L, [](TGame& game) { return roundHalfEven(game.localPlayerRecord().gold); });
}

int GetRes2(lua_State* L)
{
    return pushPlayerNumber(L, [](TGame& game) { return roundHalfEven(game.localPlayerRecord().wood); });
}

int GetPopCount(lua_State* L)
{
    return pushPlayerNumber(L, [](TGame& game) { return double(game.localPlayerRecord().unitCount); });
}

int GetWarningText(lua_State* L)
{
    const TGame* game = scriptGame();
    pushText(L, game ? game->warning.text : std::string());
    return 1;
}

int GetNbUnitSelect(lua_State* L)
{
    const TGame* game = scriptGame();
    lua_pushnumber(L, game ? static_cast<double>(game->selection.members.size()) : 0);
    return 1;
}

int GetUnitSelectedID(lua_State* L)
{
    std::vector<int> selected;
    if (const TGame* game = scriptGame())
        for (const TUnit* unit : game->selection.members)
            selected.push_back(unit->listIndex);
    return pushListEntry(L, selected);
}

int GetNbUnitVisible(lua_State* L)
{
    const TGame* game = scriptGame();
    lua_pushnumber(L, game ? static_cast<double>(game->visibleUnits.size()) : 0);
    return 1;
}

int GetUnitVisibleID(lua_State* L)
{
    const TGame* game = scriptGame();
    return pushListEntry(L, game ? game->visibleUnits : std::vector<int>());
}

int GetMouseHoverUnit(lua_State* L)
{
    if (scriptGame() && Mouse.hitFlag && !Mouse.pickedUnits.empty())
        lua_pushnumber(L, Mouse.pickedUnits.front());
    else
        lua_pushnil(L);
    return 1;
}

int ValidUnit(lua_State* L)
{
    const TUnit* unit = unitArgument(L, 1);
    lua_pushboolean(L, unit && unit->owner == scriptGame()->localPlayer);
    return 1;
}

int ChangeSelectedUnit(lua_State* L)
{
    TUnit* unit = unitArgument(L, 1);
    if (!unit) {
        lua_pushnumber(L, -1);
        return 1;
    }
    TGame& game = *scriptGame();
    ClearGroup(game, game.selection);
    AddToGroup(game, game.selection, *unit);
    return 0;
}

int Hold(lua_State* L)
{
    Torder hold;
    hold.kind = OrderKind::HoldPosition;
    return selectionOrder(L, hold);
}

int StopUnit(lua_State* L)
{
    return selectionOrder(L, Torder::Idle());
}

int Wound(lua_State* L)
{
    TUnit* unit = unitArgument(L, 1);
    const std::int32_t amount = intArgument(L, 2);
    if (!unit) {
        lua_pushnumber(L, -1);
        return 1;
    }
    // A wound heals nothing: a negative amount would let a script restore
    // its units' hit points in the middle of a battle.
    if (amount > 0)
        RequestDamage(*scriptGame(), *unit, amount);
    return 0;
}

}  // namespace GameScript
