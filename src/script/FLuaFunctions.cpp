#include "script/FLuaFunctions.h"

#include "script/FLua.h"
#include "shell/FLogs.h"

#include <lua.hpp>

#include <exception>
#include <iterator>
#include <string>

namespace {

// A string argument as Lua converts it (numbers become their text); empty
// for nil and for values that have no text.
std::string stringArgument(lua_State* L, int index)
{
    std::size_t length = 0;
    const char* text = lua_tolstring(L, index, &length);
    return text ? std::string(text, length) : std::string();
}

int Log(lua_State* L)
{
    log(stringArgument(L, 1), LogDebug);
    return 0;
}

int include(lua_State* L)
{
    runFile(stringArgument(L, 1));
    return 0;
}

int RunScript(lua_State* L)
{
    const std::string text = stringArgument(L, 1);
    if (luaL_loadbuffer(L, text.data(), text.size(), "line") != 0 || lua_pcall(L, 0, 0, 0) != 0) {
        const char* message = lua_tostring(L, -1);
        log(message ? message : "(error object is not a string)", LogDebug);
        lua_pop(L, 1);
    }
    return 0;
}

// Engine errors (a log line at level Error, a missing font) end the script
// call that caused them as a Lua error. Lua unwinds with longjmp, so nothing
// with a destructor may be alive here when it is raised.
template <lua_CFunction Body>
int guarded(lua_State* L)
{
    try {
        return Body(L);
    } catch (const std::exception& error) {
        lua_pushstring(L, error.what());
    }
    return lua_error(L);
}

struct ScriptFunction {
    const char* name;
    lua_CFunction function;  // null: not built yet, not registered
};

// Every function scripts may call, in registration order.
const ScriptFunction ScriptFunctions[] = {
    {"IsWinKeyDown", nullptr},
    {"RunScript", guarded<RunScript>},
    {"Log", guarded<Log>},
    {"include", guarded<include>},
    {"SendChatMessage", nullptr},
    {"SetServer", nullptr},
    {"SetNick", nullptr},
    {"Refresh", nullptr},
    {"RefreshPlayerList", nullptr},
    {"ConnectFromMenu", nullptr},
    {"DisconnectFromMenu", nullptr},
    {"CreateServerFromMenu", nullptr},
    {"UndoCreateServerFromMenu", nullptr},
    {"MaxWaitingTime", nullptr},
    {"SetNickFromMenu", nullptr},
    {"getNickFromMenu", nullptr},
    {"getServerNameFromMenu", nullptr},
    {"BroadCastLaunchGame_", nullptr},
    {"SynchroniseClients", nullptr},
    {"GetElapsed", nullptr},
    {"GetFPS", nullptr},
    {"GetParent", nullptr},
    {"GetClipBoard", nullptr},
    {"GetControlState", nullptr},
    {"SetMode", nullptr},
    {"GetUnitRace", nullptr},
    {"GetRes1", nullptr},
    {"GetRes2", nullptr},
    {"GetPopCount", nullptr},
    {"Hold", nullptr},
    {"Wound", nullptr},
    {"StopUnit", nullptr},
    {"GetHP", nullptr},
    {"GetMP", nullptr},
    {"GetMaxHP", nullptr},
    {"GetMaxMP", nullptr},
    {"GetName", nullptr},
    {"GetPosX", nullptr},
    {"GetPosY", nullptr},
    {"GetInterfacePosX", nullptr},
    {"GetInterfacePosY", nullptr},
    {"GetNbUnitSelect", nullptr},
    {"GetUnitSelectedID", nullptr},
    {"GetNbUnitVisible", nullptr},
    {"GetUnitVisibleID", nullptr},
    {"GetPlayerID", nullptr},
    {"GetDefense", nullptr},
    {"GetDamage", nullptr},
    {"GetBaseDefense", nullptr},
    {"GetBaseDamage", nullptr},
    {"GetOrder", nullptr},
    {"GetAggressivity", nullptr},
    {"GetEffectsCount", nullptr},
    {"GetUnitIcon", nullptr},
    {"GetEffectID", nullptr},
    {"GetAbilityCount", nullptr},
    {"GetBuildingsCount", nullptr},
    {"LaunchUpgrade", nullptr},
    {"IsUpgradeAvailable", nullptr},
    {"GetUpgradesCount", nullptr},
    {"GetUpgradeName", nullptr},
    {"GetUpgradeToolTip", nullptr},
    {"GetUpgradeIcon", nullptr},
    {"GetAbilityShortcut", nullptr},
    {"GetAbilityToolTip", nullptr},
    {"GetAbilityCost", nullptr},
    {"GetCooldownRemainingTime", nullptr},
    {"GetIsAbilityAvailable", nullptr},
    {"GetBuildingToolTip", nullptr},
    {"GetBuildingRes1Cost", nullptr},
    {"GetBuildingRes2Cost", nullptr},
    {"GetAbilityName", nullptr},
    {"GetBuildingName", nullptr},
    {"GetEffectIcon", nullptr},
    {"GetAbilityIcon", nullptr},
    {"GetBuildingIcon", nullptr},
    {"SetBuilding", nullptr},
    {"AbilityCast", nullptr},
    {"IsRepairer", nullptr},
    {"ChangeSelectedUnit", nullptr},
    {"IsBuilding", nullptr},
    {"IsBuildingQueueEmpty", nullptr},
    {"GetBuildingQueueLength", nullptr},
    {"GetProgressionPercent", nullptr},
    {"GetBuildingPercent", nullptr},
    {"DeleteFromBuildingQueue", nullptr},
    {"DeleteFromTrainingList", nullptr},
    {"GetTrainingListLength", nullptr},
    {"GetUnitInQueueIcon", nullptr},
    {"GetUnitInTrainingListIcon", nullptr},
    {"IsInConstruction", nullptr},
    {"ValidUnit", nullptr},
    {"GetWarningText", nullptr},
    {"GetMouseHoverUnit", nullptr},
    {"SetX", nullptr},
    {"SetY", nullptr},
    {"GetX", nullptr},
    {"GetY", nullptr},
    {"GetStringWidth", nullptr},
    {"GetStringHeight", nullptr},
    {"GetFont", nullptr},
    {"SetSize", nullptr},
    {"SetText", nullptr},
    {"SetColor", nullptr},
    {"GetText", nullptr},
    {"GetPath", nullptr},
    {"SetPath", nullptr},
    {"GetWidth", nullptr},
    {"SetWidth", nullptr},
    {"GetHeight", nullptr},
    {"SetHeight", nullptr},
    {"SetVisible", nullptr},
    {"IsVisible", nullptr},
    {"Quit", nullptr},
    {"Time", nullptr},
};

}  // namespace

void registerScriptFunctions()
{
    for (const ScriptFunction& entry : ScriptFunctions)
        if (entry.function)
            registerFunction(entry.function, entry.name);
}

int scriptFunctionCount()
{
    return static_cast<int>(std::size(ScriptFunctions));
}

const char* scriptFunctionName(int index)
{
    return index >= 0 && index < scriptFunctionCount() ? ScriptFunctions[index].name : "";
}
