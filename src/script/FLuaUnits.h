// FLuaUnits: the game's script functions that read one value of a unit,
// named by its index in the unit list: its definition's race, name, icon,
// base damage and defence, its hit points, mana and statistics, cell and
// screen place, order and aggressivity as the interface shows them, what
// kind of unit it is and how many effects, abilities, buildings and
// upgrades it offers. An invalid index gives -1 (GetName: an empty text).
#pragma once

struct lua_State;
struct TEffectRecord;

namespace GameScript {

int GetUnitRace(lua_State* L);
int GetName(lua_State* L);
int GetUnitIcon(lua_State* L);
int GetHP(lua_State* L);
int GetMaxHP(lua_State* L);
int GetMP(lua_State* L);
int GetMaxMP(lua_State* L);
int GetBaseDamage(lua_State* L);
int GetBaseDefense(lua_State* L);
int GetDamage(lua_State* L);
int GetDefense(lua_State* L);
int GetPosX(lua_State* L);
int GetPosY(lua_State* L);
int GetInterfacePosX(lua_State* L);
int GetInterfacePosY(lua_State* L);
int GetOrder(lua_State* L);
int GetAggressivity(lua_State* L);
int IsBuilding(lua_State* L);
int IsRepairer(lua_State* L);
int IsInConstruction(lua_State* L);
int GetBuildingPercent(lua_State* L);
int GetEffectsCount(lua_State* L);
int GetAbilityCount(lua_State* L);
int GetBuildingsCount(lua_State* L);
int GetUpgradesCount(lua_State* L);

// Whether the effect record still acts on its unit (expired records wait
// in the list for the expiry step).
bool LiveEffect(const TEffectRecord& record);

}  // namespace GameScript
