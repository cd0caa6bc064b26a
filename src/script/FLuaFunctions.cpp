#include "script/FLuaFunctions.h"

#include "assets/FTextures.h"
#include "game/FGame.h"
#include "interface/FCursor.h"
#include "interface/FLayout.h"
#include "interface/FText.h"
#include "interface/FXMLLoader.h"
#include "net/FNetwork.h"
#include "net/FServer.h"
#include "platform/KeyState.h"
#include "script/FLua.h"
#include "script/FLuaArguments.h"
#include "script/FLuaLists.h"
#include "script/FLuaPlayer.h"
#include "script/FLuaQueues.h"
#include "script/FLuaUnits.h"
#include "shell/FConfig.h"
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
#include <strings.h>
#include <vector>

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
    // The aim a spell or a placement left is gone with its command: the
    // death of its unit must not cancel a later one.
    if (CurrentGame)
        CurrentGame->aim = TPendingAim{};
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

// The Options screen's values by name: WindowWidth, WindowHeight, Fullscreen
// (0 or 1), EffectsVolume, MusicVolume; 0 for any other name.
int GetOption(lua_State* L)
{
    const TOptions options = readOptions(TConfig());
    const std::string name = stringArgument(L, 1);
    const int value = name == "WindowWidth"     ? options.windowWidth
                      : name == "WindowHeight"  ? options.windowHeight
                      : name == "Fullscreen"    ? (options.fullscreen ? 1 : 0)
                      : name == "EffectsVolume" ? options.effectsVolume
                      : name == "MusicVolume"   ? options.musicVolume
                                                : 0;
    lua_pushnumber(L, value);
    return 1;
}

// SaveOptions(width, height, fullscreen, effects, music): stores them all at
// once and resizes the window where it can; true when the file was written.
int SaveOptions(lua_State* L)
{
    TOptions options;
    options.windowWidth = std::clamp(truncatedArgument(L, 1), 320, 7680);
    options.windowHeight = std::clamp(truncatedArgument(L, 2), 240, 4320);
    options.fullscreen = lua_toboolean(L, 3) != 0;
    options.effectsVolume = std::clamp(truncatedArgument(L, 4), 0, 100);
    options.musicVolume = std::clamp(truncatedArgument(L, 5), 0, 100);
    const bool written = TConfig().writeOptions(options);
    if (written && SystemHooks.applyOptions)
        SystemHooks.applyOptions(options);
    else
        log("The options could not be written to " + TConfig().path(), LogWarning);
    lua_pushboolean(L, written);
    return 1;
}

int luaGetNetworkProblem(lua_State* L)
{
    lua_pushstring(L, networkProblem().c_str());
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
// A script's own mistake (a position outside its list) names the function
// as the script called it, so the log line leads to the script.
template <lua_CFunction Body>
int guarded(lua_State* L)
{
    try {
        return Body(L);
    } catch (const ScriptError& error) {
        lua_Debug call;
        const char* name = lua_getstack(L, 0, &call) && lua_getinfo(L, "n", &call) ? call.name : nullptr;
        lua_pushfstring(L, "%s: %s", name ? name : "?", error.what());
    } catch (const std::exception& error) {
        lua_pushstring(L, error.what());
    }
    return lua_error(L);
}

// The themes of the game functions in the modders' reference, in its order.
enum class ScriptGroup { None, Player, Unit, Building, List };

struct ScriptGroupTitle {
    ScriptGroup group;
    const char* title;
};
const ScriptGroupTitle ScriptGroupTitles[] = {
    {ScriptGroup::Player, "The player and the selection"},
    {ScriptGroup::Unit, "One unit (an invalid unit gives -1)"},
    {ScriptGroup::Building,
     "A building's queue and the workers inside it (an invalid unit gives nil, a unit that is not a building -1)"},
    {ScriptGroup::List, "A unit's abilities, build list, upgrades and effects (an invalid unit gives -1)"},
};

struct ScriptFunction {
    const char* name;
    lua_CFunction function;  // null: not built yet, not registered
    // The modders' reference, for the game functions.
    ScriptGroup group = ScriptGroup::None;
    const char* arguments = "";
    const char* result = "";
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
    {"GetUnitRace", guarded<GameScript::GetUnitRace>, ScriptGroup::Unit, "unit",
     "race of its definition"},
    {"GetRes1", guarded<GameScript::GetRes1>, ScriptGroup::Player, "",
     "your gold, rounded"},
    {"GetRes2", guarded<GameScript::GetRes2>, ScriptGroup::Player, "",
     "your wood, rounded"},
    {"GetPopCount", guarded<GameScript::GetPopCount>, ScriptGroup::Player, "",
     "how many units you have"},
    {"Hold", guarded<GameScript::Hold>, ScriptGroup::Player, "",
     "your selected units (not buildings) hold their position; -1 when nothing is selected"},
    {"Wound", guarded<GameScript::Wound>, ScriptGroup::Player, "unit, amount",
     "your unit loses that many hit points (more than 0; the host settles it); -1 for an invalid unit"},
    {"StopUnit", guarded<GameScript::StopUnit>, ScriptGroup::Player, "",
     "your selected units (not buildings) stop; -1 when nothing is selected"},
    {"GetHP", guarded<GameScript::GetHP>, ScriptGroup::Unit, "unit",
     "hit points, rounded"},
    {"GetMP", guarded<GameScript::GetMP>, ScriptGroup::Unit, "unit",
     "mana, rounded"},
    {"GetMaxHP", guarded<GameScript::GetMaxHP>, ScriptGroup::Unit, "unit",
     "maximum hit points"},
    {"GetMaxMP", guarded<GameScript::GetMaxMP>, ScriptGroup::Unit, "unit",
     "maximum mana"},
    {"GetName", guarded<GameScript::GetName>, ScriptGroup::Unit, "unit",
     "name of its definition; empty for an invalid unit"},
    {"GetPosX", guarded<GameScript::GetPosX>, ScriptGroup::Unit, "unit",
     "map cell x (cells of 16 world units)"},
    {"GetPosY", guarded<GameScript::GetPosY>, ScriptGroup::Unit, "unit",
     "map cell y"},
    {"GetInterfacePosX", guarded<GameScript::GetInterfacePosX>, ScriptGroup::Unit, "unit",
     "x on the 1600 x 1200 design area of the point 200 units above it, when it was last drawn"},
    {"GetInterfacePosY", guarded<GameScript::GetInterfacePosY>, ScriptGroup::Unit, "unit",
     "y of the same point, downwards"},
    {"GetNbUnitSelect", guarded<GameScript::GetNbUnitSelect>, ScriptGroup::Player, "",
     "how many units are selected"},
    {"GetUnitSelectedID", guarded<GameScript::GetUnitSelectedID>, ScriptGroup::Player, "k",
     "the k-th selected unit (from 0); -1 beyond"},
    {"GetNbUnitVisible", guarded<GameScript::GetNbUnitVisible>, ScriptGroup::Player, "",
     "how many units the last frame drew"},
    {"GetUnitVisibleID", guarded<GameScript::GetUnitVisibleID>, ScriptGroup::Player, "k",
     "the k-th unit the last frame drew (from 0); -1 beyond"},
    {"GetPlayerID", guarded<GameScript::GetPlayerID>, ScriptGroup::Player, "",
     "your player number, 1 to 8"},
    {"GetDefense", guarded<GameScript::GetDefense>, ScriptGroup::Unit, "unit",
     "defence now, effects and upgrades included"},
    {"GetDamage", guarded<GameScript::GetDamage>, ScriptGroup::Unit, "unit",
     "damage now, effects and upgrades included"},
    {"GetBaseDefense", guarded<GameScript::GetBaseDefense>, ScriptGroup::Unit, "unit",
     "defence of its definition"},
    {"GetBaseDamage", guarded<GameScript::GetBaseDamage>, ScriptGroup::Unit, "unit",
     "damage of its definition"},
    {"GetOrder", guarded<GameScript::GetOrder>, ScriptGroup::Unit, "unit",
     "its order: 1 move or follow, 2 stop, 3 hold, 4 attack, 5 patrol, 6 repair or build, 7 cast, 0 any other"},
    {"GetAggressivity", guarded<GameScript::GetAggressivity>, ScriptGroup::Unit, "unit",
     "3 aggressive, 2 defensive, 1 neither"},
    {"GetEffectsCount", guarded<GameScript::GetEffectsCount>, ScriptGroup::Unit, "unit",
     "how many effects act on it"},
    {"GetUnitIcon", guarded<GameScript::GetUnitIcon>, ScriptGroup::Unit, "unit",
     "icon path of its definition"},
    {"GetEffectID", guarded<GameScript::GetEffectID>, ScriptGroup::List, "unit, k",
     "ability id of the k-th effect acting on it (from 0); -1 beyond; nil for an invalid unit"},
    {"GetAbilityCount", guarded<GameScript::GetAbilityCount>, ScriptGroup::Unit, "unit",
     "how many ability slots it has"},
    {"GetBuildingsCount", guarded<GameScript::GetBuildingsCount>, ScriptGroup::Unit, "unit",
     "how many entries it builds or trains"},
    {"LaunchUpgrade", guarded<GameScript::LaunchUpgrade>, ScriptGroup::List, "unit, k",
     "you research its k-th upgrade (gold and wood are checked)"},
    {"IsUpgradeAvailable", guarded<GameScript::IsUpgradeAvailable>, ScriptGroup::List, "unit, k",
     "true while its owner has not researched its k-th upgrade"},
    {"GetUpgradesCount", guarded<GameScript::GetUpgradesCount>, ScriptGroup::Unit, "unit",
     "how many upgrades it offers"},
    {"GetUpgradeName", guarded<GameScript::GetUpgradeName>, ScriptGroup::List, "unit, k",
     "name of its k-th upgrade"},
    {"GetUpgradeToolTip", guarded<GameScript::GetUpgradeToolTip>, ScriptGroup::List, "unit, k",
     "tooltip of its k-th upgrade"},
    {"GetUpgradeIcon", guarded<GameScript::GetUpgradeIcon>, ScriptGroup::List, "unit, k",
     "icon path of its k-th upgrade"},
    {"GetAbilityShortcut", guarded<GameScript::GetAbilityShortcut>, ScriptGroup::List, "unit, k",
     "shortcut of the ability in slot k, one character (empty when it has none)"},
    {"GetAbilityToolTip", guarded<GameScript::GetAbilityToolTip>, ScriptGroup::List, "unit, k",
     "tooltip of the ability in slot k"},
    {"GetAbilityCost", guarded<GameScript::GetAbilityCost>, ScriptGroup::List, "unit, k",
     "mana cost of the ability in slot k"},
    {"GetCooldownRemainingTime", guarded<GameScript::GetCooldownRemainingTime>, ScriptGroup::List, "unit, k",
     "whole seconds until slot k is ready, rounded up"},
    {"GetIsAbilityAvailable", guarded<GameScript::GetIsAbilityAvailable>, ScriptGroup::List, "unit, k",
     "true when slot k is not cooling down; false beyond the slots"},
    {"GetBuildingToolTip", guarded<GameScript::GetBuildingToolTip>, ScriptGroup::List, "unit, k",
     "tooltip of the k-th entry it builds or trains"},
    {"GetBuildingRes1Cost", guarded<GameScript::GetBuildingRes1Cost>, ScriptGroup::List, "unit, k",
     "gold cost of the k-th entry it builds or trains"},
    {"GetBuildingRes2Cost", guarded<GameScript::GetBuildingRes2Cost>, ScriptGroup::List, "unit, k",
     "wood cost of the k-th entry it builds or trains"},
    {"GetAbilityName", guarded<GameScript::GetAbilityName>, ScriptGroup::List, "unit, k",
     "name of the ability in slot k"},
    {"GetBuildingName", guarded<GameScript::GetBuildingName>, ScriptGroup::List, "unit, k",
     "name of the k-th entry it builds or trains"},
    {"GetEffectIcon", guarded<GameScript::GetEffectIcon>, ScriptGroup::List, "unit, k",
     "icon path of the k-th effect acting on it (from 1); -1 beyond"},
    {"GetAbilityIcon", guarded<GameScript::GetAbilityIcon>, ScriptGroup::List, "unit, k",
     "icon path of the ability in slot k"},
    {"GetBuildingIcon", guarded<GameScript::GetBuildingIcon>, ScriptGroup::List, "unit, k",
     "icon path of the k-th entry it builds or trains"},
    {"SetBuilding", guarded<GameScript::SetBuilding>, ScriptGroup::List, "unit, k",
     "your building queues its k-th entry; your worker starts placing it (the next click places it); "
     "nil for an invalid unit"},
    {"AbilityCast", guarded<GameScript::AbilityCast>, ScriptGroup::List, "unit, k",
     "your unit casts slot k: on itself at once, or the cursor waits for a target (asked again, put away); "
     "nil for an invalid unit"},
    {"IsRepairer", guarded<GameScript::IsRepairer>, ScriptGroup::Unit, "unit",
     "true when it can repair and is alive and outside"},
    {"ChangeSelectedUnit", guarded<GameScript::ChangeSelectedUnit>, ScriptGroup::Player, "unit",
     "the unit becomes the whole selection; -1 for an invalid unit"},
    {"IsBuilding", guarded<GameScript::IsBuilding>, ScriptGroup::Unit, "unit",
     "true for a building"},
    {"IsBuildingQueueEmpty", guarded<GameScript::IsBuildingQueueEmpty>, ScriptGroup::Building, "building",
     "true when nothing is queued"},
    {"GetBuildingQueueLength", guarded<GameScript::GetBuildingQueueLength>, ScriptGroup::Building, "building",
     "how many units are queued (at most 6)"},
    {"GetProgressionPercent", guarded<GameScript::GetProgressionPercent>, ScriptGroup::Building, "building",
     "progress of the first queued unit, 0 to 1"},
    {"GetBuildingPercent", guarded<GameScript::GetBuildingPercent>, ScriptGroup::Unit, "unit",
     "construction progress, 0 to 1"},
    {"DeleteFromBuildingQueue", guarded<GameScript::DeleteFromBuildingQueue>, ScriptGroup::Building, "building, k",
     "takes the k-th queued unit (from 1) out of your building's queue; taking the first restarts the progress"},
    {"DeleteFromTrainingList", guarded<GameScript::DeleteFromTrainingList>, ScriptGroup::Building, "building, k",
     "your k-th worker inside (from 1) comes out"},
    {"GetTrainingListLength", guarded<GameScript::GetTrainingListLength>, ScriptGroup::Building, "building",
     "how many workers are inside"},
    {"GetUnitInQueueIcon", guarded<GameScript::GetUnitInQueueIcon>, ScriptGroup::Building, "building, k",
     "icon path of the k-th queued unit (from 1)"},
    {"GetUnitInTrainingListIcon", guarded<GameScript::GetUnitInTrainingListIcon>, ScriptGroup::Building, "building, k",
     "icon path of the k-th worker inside (from 1)"},
    {"IsInConstruction", guarded<GameScript::IsInConstruction>, ScriptGroup::Unit, "unit",
     "true until it is finished"},
    {"ValidUnit", guarded<GameScript::ValidUnit>, ScriptGroup::Player, "unit",
     "true when the unit exists and is yours"},
    {"GetWarningText", guarded<GameScript::GetWarningText>, ScriptGroup::Player, "",
     "the warning line (empty when there is none)"},
    {"GetMouseHoverUnit", guarded<GameScript::GetMouseHoverUnit>, ScriptGroup::Player, "",
     "the unit under the cursor, or nil"},
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
    // Additions of our own, after the original registry.
    {"GetNetworkProblem", guarded<luaGetNetworkProblem>},
    {"GetOption", guarded<GetOption>},
    {"SaveOptions", guarded<SaveOptions>},
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

// Alphabetical within each theme, so that a modder finds a name at a glance
// and the functions of one list (GetAbility..., GetBuilding...) stand together.
std::string gameFunctionReference()
{
    std::string text;
    for (const ScriptGroupTitle& heading : ScriptGroupTitles) {
        std::vector<const ScriptFunction*> entries;
        for (const ScriptFunction& entry : ScriptFunctions)
            if (entry.group == heading.group)
                entries.push_back(&entry);
        std::sort(entries.begin(), entries.end(),
                  [](const ScriptFunction* a, const ScriptFunction* b) { return strcasecmp(a->name, b->name) < 0; });
        text += std::string(text.empty() ? "" : "\n") + "#### " + heading.title + "\n\n";
        text += "| call | gives or does |\n|---|---|\n";
        for (const ScriptFunction* entry : entries)
            text += std::string("| `") + entry->name + "(" + entry->arguments + ")` | " + entry->result + " |\n";
    }
    return text;
}
