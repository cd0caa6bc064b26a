// FLuaQueues: the game's script functions about a building's two lists:
// its build queue (the units it trains, with the first one's progress) and
// its training list (the workers inside it). Positions count from 1. An
// invalid index gives no value, a unit that is not a building -1, and a
// position outside its list is an error of the call.
#pragma once

struct lua_State;

namespace GameScript {

int IsBuildingQueueEmpty(lua_State* L);
int GetBuildingQueueLength(lua_State* L);
int GetTrainingListLength(lua_State* L);
int GetProgressionPercent(lua_State* L);
int GetUnitInQueueIcon(lua_State* L);
int GetUnitInTrainingListIcon(lua_State* L);
int DeleteFromBuildingQueue(lua_State* L);
int DeleteFromTrainingList(lua_State* L);

}  // namespace GameScript
