#include "script/FLuaFunctions.h"

#include "net/FServer.h"
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

// The menu's network functions: each hands its arguments to the lobby's own
// operation and pushes what it returns.
int luaSendChatMessage(lua_State* L)
{
    SendChatMessage(stringArgument(L, 1));
    return 0;
}

int luaSetServer(lua_State* L)
{
    SetServer(stringArgument(L, 1));
    return 0;
}

int luaSetNick(lua_State* L)
{
    SetNick(stringArgument(L, 1));
    return 0;
}

int luaRefresh(lua_State*)
{
    Refresh();
    return 0;
}

int luaRefreshPlayerList(lua_State*)
{
    RefreshPlayerList();
    return 0;
}

int luaConnectFromMenu(lua_State* L)
{
    ConnectFromMenu(stringArgument(L, 1), stringArgument(L, 2));
    return 0;
}

int luaDisconnectFromMenu(lua_State*)
{
    DisconnectFromMenu();
    return 0;
}

int luaCreateServerFromMenu(lua_State* L)
{
    CreateServerFromMenu(stringArgument(L, 1), stringArgument(L, 2));
    return 0;
}

int luaUndoCreateServerFromMenu(lua_State*)
{
    UndoCreateServerFromMenu();
    return 0;
}

int luaMaxWaitingTime(lua_State* L)
{
    lua_pushnumber(L, MaxWaitingTime());
    return 1;
}

int luaSetNickFromMenu(lua_State* L)
{
    SetNickFromMenu(stringArgument(L, 1));
    return 0;
}

int luagetNickFromMenu(lua_State* L)
{
    const std::string nick = getNickFromMenu();
    lua_pushlstring(L, nick.data(), nick.size());
    return 1;
}

int luagetServerNameFromMenu(lua_State* L)
{
    const std::string name = getServerNameFromMenu();
    lua_pushlstring(L, name.data(), name.size());
    return 1;
}

int luaBroadCastLaunchGame_(lua_State*)
{
    BroadCastLaunchGame_();
    return 0;
}

int luaSynchroniseClients(lua_State* L)
{
    lua_pushnumber(L, SynchroniseClients());
    return 1;
}

// The lobby reaches the menu scripts through these; they run in whatever
// state is current when the lobby calls.
void installLobbyCallbacks()
{
    LobbyHooks.listBoxClear = [](const std::string& list) { callFunction("ListBoxClear", {list}); };
    LobbyHooks.addServerList5 = [](const std::string& nick, const std::string& address, int race, int colour,
                                   int team) {
        callFunction("AddServerList5", {nick, address, double(race), double(colour), double(team)});
    };
    LobbyHooks.addServerList4 = [](const std::string& address, const std::string& name, int count,
                                   const std::string& text) {
        callFunction("AddServerList4", {address, name, double(count), text});
    };
    LobbyHooks.raiseEvent = [](int code) { broadcastEvent(code); };
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
    {"SendChatMessage", guarded<luaSendChatMessage>},
    {"SetServer", guarded<luaSetServer>},
    {"SetNick", guarded<luaSetNick>},
    {"Refresh", guarded<luaRefresh>},
    {"RefreshPlayerList", guarded<luaRefreshPlayerList>},
    {"ConnectFromMenu", guarded<luaConnectFromMenu>},
    {"DisconnectFromMenu", guarded<luaDisconnectFromMenu>},
    {"CreateServerFromMenu", guarded<luaCreateServerFromMenu>},
    {"UndoCreateServerFromMenu", guarded<luaUndoCreateServerFromMenu>},
    {"MaxWaitingTime", guarded<luaMaxWaitingTime>},
    {"SetNickFromMenu", guarded<luaSetNickFromMenu>},
    {"getNickFromMenu", guarded<luagetNickFromMenu>},
    {"getServerNameFromMenu", guarded<luagetServerNameFromMenu>},
    {"BroadCastLaunchGame_", guarded<luaBroadCastLaunchGame_>},
    {"SynchroniseClients", guarded<luaSynchroniseClients>},
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
    installLobbyCallbacks();
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
