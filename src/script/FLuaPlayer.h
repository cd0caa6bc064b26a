// FLuaPlayer: the game's script functions about the local player and the
// selection: purse, unit counter, warning, selected, visible and hovered
// units, and the commands the selection takes (Hold, StopUnit) or a unit
// takes (Wound). Registered by FLuaFunctions; in the menu each answers as
// for an invalid index.
#pragma once

struct lua_State;

namespace GameScript {

int GetPlayerID(lua_State* L);
int GetRes1(lua_State* L);
int GetRes2(lua_State* L);
int GetPopCount(lua_State* L);
int GetWarningText(lua_State* L);
int GetNbUnitSelect(lua_State* L);
int GetUnitSelectedID(lua_State* L);
int GetNbUnitVisible(lua_State* L);
int GetUnitVisibleID(lua_State* L);
int GetMouseHoverUnit(lua_State* L);
int ValidUnit(lua_State* L);
int ChangeSelectedUnit(lua_State* L);
int Hold(lua_State* L);
int StopUnit(lua_State* L);
int Wound(lua_State* L);

}  // namespace GameScript
