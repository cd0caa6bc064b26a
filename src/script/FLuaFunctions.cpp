#include "script/FLuaFunctions.h"

#include "assets/FTextures.h"
#include "interface/FCursor.h"
#include "interface/FLayout.h"
#include "interface/FText.h"
#include "interface/FXMLLoader.h"
#include "net/FServer.h"
#include "platform/KeyState.h"
#include "script/FLua.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <lua.hpp>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <iterator>
#include <limits>
#include <memory>
#include <string>

TSystemHooks SystemHooks;

namespace {

// A string argument as Lua converts it (numbers become their text); empty
// for nil and for values that have no text.
std::string stringArgument(lua_State* L, int index)
{
    std::size_t length = 0;
    const char* text = lua_tolstring(L, index, &length);
    return text ? std::string(text, length) : std::string();
}

// Lua numbers may be anything a script computes: NaN counts as 0 and
// out-of-range values stop at the ends of int32.
std::int32_t clampToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    const double low = std::numeric_limits<std::int32_t>::min(), high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

// int (trunc): toward zero. nil, tables and texts that are not numbers give 0.
std::int32_t truncatedArgument(lua_State* L, int index)
{
    return clampToInt32(std::trunc(lua_tonumber(L, index)));
}

// int (round): to the nearest integer, ties to even.
std::int32_t roundedArgument(lua_State* L, int index)
{
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(lua_tonumber(L, index));
    std::fesetround(mode);
    return clampToInt32(rounded);
}

void pushString(lua_State* L, const std::string& text)
{
    lua_pushlstring(L, text.data(), text.size());
}

// The element a name stands for (font strings, then textures, then frames),
// null when there is none; the lookup logs the miss.
Component* componentNamed(lua_State* L, int index)
{
    const ComponentRef ref = findComponent(stringArgument(L, index));
    return ref.index < 0 ? nullptr : componentAt(ref.kind, ref.index);
}

TextureType* textureNamed(lua_State* L, int index)
{
    const int found = findTexture(stringArgument(L, index));
    return found < 0 ? nullptr : textures[static_cast<std::size_t>(found)].get();
}

FontStringType* fontStringNamed(lua_State* L, int index)
{
    const int found = findFontString(stringArgument(L, index));
    return found < 0 ? nullptr : fontStrings[static_cast<std::size_t>(found)].get();
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

int Quit(lua_State*)
{
    if (SystemHooks.quit)
        SystemHooks.quit();
    return 0;
}

int GetElapsed(lua_State* L)
{
    lua_pushnumber(L, FrameClock.elapsed);
    return 1;
}

int Time(lua_State* L)
{
    lua_pushnumber(L, static_cast<double>(FrameClock.totalTime));
    return 1;
}

int GetFPS(lua_State* L)
{
    lua_pushnumber(L, FrameClock.fps);
    return 1;
}

int IsWinKeyDown(lua_State* L)
{
    lua_pushboolean(L, platform::isKeyDown(roundedArgument(L, 1)));
    return 1;
}

int GetControlState(lua_State* L)
{
    lua_pushboolean(L, platform::isKeyDown(platform::vk::Control));
    return 1;
}

int GetClipBoard(lua_State* L)
{
    pushString(L, SystemHooks.clipboardText ? SystemHooks.clipboardText() : std::string());
    return 1;
}

// Scripts speak in modes: 1 move, 4 attack, 5 patrol, 6 repair or build.
// Any other mode only cancels what was waiting for a click.
int SetMode(lua_State* L)
{
    const std::int32_t mode = roundedArgument(L, 1);
    Mouse.pendingCommand.reset();
    setCursorState(CursorPointer, false, false, false, false);
    std::uint8_t command = 0;
    switch (mode) {
    case 1: command = 1; break;
    case 4: command = 6; break;
    case 5: command = 4; break;
    case 6: command = 7; break;
    default: return 0;
    }
    Mouse.pendingCommand = std::make_unique<TPendingCommand>();
    Mouse.pendingCommand->kind = command;
    Mouse.pendingCommand->targetIndex = -1;
    setCursorState(CursorTargeting, false, false, false, false);
    return 0;
}

int GetX(lua_State* L)
{
    const Component* c = componentNamed(L, 1);
    lua_pushnumber(L, c ? c->offsetX : 0);
    return 1;
}

int GetY(lua_State* L)
{
    const Component* c = componentNamed(L, 1);
    lua_pushnumber(L, c ? c->offsetY : 0);
    return 1;
}

int SetX(lua_State* L)
{
    if (Component* c = componentNamed(L, 1))
        c->offsetX = truncatedArgument(L, 2);
    return 0;
}

int SetY(lua_State* L)
{
    if (Component* c = componentNamed(L, 1))
        c->offsetY = truncatedArgument(L, 2);
    return 0;
}

int GetWidth(lua_State* L)
{
    const Component* c = componentNamed(L, 1);
    lua_pushnumber(L, c ? effectiveWidthOf(*c) : 0);
    return 1;
}

int GetHeight(lua_State* L)
{
    const Component* c = componentNamed(L, 1);
    lua_pushnumber(L, c ? effectiveHeightOf(*c) : 0);
    return 1;
}

int SetWidth(lua_State* L)
{
    if (Component* c = componentNamed(L, 1))
        c->width = truncatedArgument(L, 2);
    return 0;
}

int SetHeight(lua_State* L)
{
    if (Component* c = componentNamed(L, 1))
        c->height = truncatedArgument(L, 2);
    return 0;
}

int SetSize(lua_State* L)
{
    if (Component* c = componentNamed(L, 1)) {
        c->width = truncatedArgument(L, 2);
        c->height = truncatedArgument(L, 3);
    }
    return 0;
}

// Components above 255 or below 0 mean nothing to the drawing: they are held to the range.
int SetColor(lua_State* L)
{
    if (Component* c = componentNamed(L, 1)) {
        c->red = std::clamp(roundedArgument(L, 2), 0, 255);
        c->green = std::clamp(roundedArgument(L, 3), 0, 255);
        c->blue = std::clamp(roundedArgument(L, 4), 0, 255);
    }
    return 0;
}

int SetVisible(lua_State* L)
{
    if (Component* c = componentNamed(L, 1))
        c->hidden = !lua_toboolean(L, 2);
    return 0;
}

int IsVisible(lua_State* L)
{
    const Component* c = componentNamed(L, 1);
    lua_pushboolean(L, c && !c->hidden);
    return 1;
}

int GetParent(lua_State* L)
{
    const Component* c = componentNamed(L, 1);
    std::string parent;
    if (c && c->parent >= 0 && static_cast<std::size_t>(c->parent) < frames.size())
        parent = frames[static_cast<std::size_t>(c->parent)]->name;
    pushString(L, parent);
    return 1;
}

int GetPath(lua_State* L)
{
    const TextureType* t = textureNamed(L, 1);
    pushString(L, t ? t->path : std::string());
    return 1;
}

int SetPath(lua_State* L)
{
    if (TextureType* t = textureNamed(L, 1)) {
        t->path = stringArgument(L, 2);
        t->textureId = static_cast<std::int32_t>(LoadTexture(t->path));
    }
    return 0;
}

int GetText(lua_State* L)
{
    const FontStringType* s = fontStringNamed(L, 1);
    pushString(L, s ? s->text : std::string());
    return 1;
}

// Measured at once, so a script that centres a text by its width sees the new one.
int SetText(lua_State* L)
{
    if (FontStringType* s = fontStringNamed(L, 1)) {
        s->text = stringArgument(L, 2);
        const TTextExtent extent = textExtent(s->fontIndex, s->text);
        s->width = extent.width;
        s->height = extent.height;
    }
    return 0;
}

int GetFont(lua_State* L)
{
    const FontStringType* s = fontStringNamed(L, 1);
    lua_pushnumber(L, s ? s->fontIndex : 0);
    return 1;
}

int GetStringWidth(lua_State* L)
{
    lua_pushnumber(L, textExtent(truncatedArgument(L, 2), stringArgument(L, 1)).width);
    return 1;
}

int GetStringHeight(lua_State* L)
{
    lua_pushnumber(L, textExtent(truncatedArgument(L, 2), stringArgument(L, 1)).height);
    return 1;
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

// The console line and the lobby reach the scripts through these, only while
// an interface is loaded; they run in whatever state is current then.
void installEngineCallbacks()
{
    ConsoleLineHook = [](const std::string& text) {
        if (InterfaceReady)
            callFunction("AddLine", {text});
    };
    LobbyHooks.listBoxClear = [](const std::string& list) {
        if (InterfaceReady)
            callFunction("ListBoxClear", {list});
    };
    LobbyHooks.addServerList5 = [](const std::string& nick, const std::string& address, int race, int colour,
                                   int team) {
        if (InterfaceReady)
            callFunction("AddServerList5", {nick, address, double(race), double(colour), double(team)});
    };
    LobbyHooks.addServerList4 = [](const std::string& address, const std::string& name, int count,
                                   const std::string& text) {
        if (InterfaceReady)
            callFunction("AddServerList4", {address, name, double(count), text});
    };
    LobbyHooks.raiseEvent = [](InterfaceEvent event) {
        if (InterfaceReady)
            broadcastEvent(event);
    };
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
    {"IsWinKeyDown", guarded<IsWinKeyDown>},
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
    {"GetElapsed", guarded<GetElapsed>},
    {"GetFPS", guarded<GetFPS>},
    {"GetParent", guarded<GetParent>},
    {"GetClipBoard", guarded<GetClipBoard>},
    {"GetControlState", guarded<GetControlState>},
    {"SetMode", guarded<SetMode>},
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
    {"SetX", guarded<SetX>},
    {"SetY", guarded<SetY>},
    {"GetX", guarded<GetX>},
    {"GetY", guarded<GetY>},
    {"GetStringWidth", guarded<GetStringWidth>},
    {"GetStringHeight", guarded<GetStringHeight>},
    {"GetFont", guarded<GetFont>},
    {"SetSize", guarded<SetSize>},
    {"SetText", guarded<SetText>},
    {"SetColor", guarded<SetColor>},
    {"GetText", guarded<GetText>},
    {"GetPath", guarded<GetPath>},
    {"SetPath", guarded<SetPath>},
    {"GetWidth", guarded<GetWidth>},
    {"SetWidth", guarded<SetWidth>},
    {"GetHeight", guarded<GetHeight>},
    {"SetHeight", guarded<SetHeight>},
    {"SetVisible", guarded<SetVisible>},
    {"IsVisible", guarded<IsVisible>},
    {"Quit", guarded<Quit>},
    {"Time", guarded<Time>},
};

}  // namespace

void registerScriptFunctions()
{
    installEngineCallbacks();
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
