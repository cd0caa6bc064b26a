// FLuaLists: the game's script functions that read or use one entry of a
// unit's lists by position: its ability slots, its definition's build list
// and upgrade list (positions from 0), and its live effects (GetEffectIcon
// counts from 1). They cast, train, place and research for the local
// player's own units through the player's requests. An invalid index gives
// -1 (AbilityCast, SetBuilding, GetEffectID: no value); a position outside
// its list is an error of the call.
#pragma once

struct lua_State;

namespace GameScript {

int GetAbilityName(lua_State* L);
int GetAbilityIcon(lua_State* L);
int GetAbilityToolTip(lua_State* L);
int GetAbilityCost(lua_State* L);
int GetAbilityShortcut(lua_State* L);
int GetIsAbilityAvailable(lua_State* L);
int GetCooldownRemainingTime(lua_State* L);
int AbilityCast(lua_State* L);
int GetBuildingName(lua_State* L);
int GetBuildingIcon(lua_State* L);
int GetBuildingToolTip(lua_State* L);
int GetBuildingRes1Cost(lua_State* L);
int GetBuildingRes2Cost(lua_State* L);
int SetBuilding(lua_State* L);
int GetUpgradeName(lua_State* L);
int GetUpgradeIcon(lua_State* L);
int GetUpgradeToolTip(lua_State* L);
int IsUpgradeAvailable(lua_State* L);
int LaunchUpgrade(lua_State* L);
int GetEffectIcon(lua_State* L);
int GetEffectID(lua_State* L);

}  // namespace GameScript
