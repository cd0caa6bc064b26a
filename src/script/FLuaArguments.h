// FLuaArguments: how the game's script functions read what a script passes
// and find what it addresses. Numbers are rounded to the nearest integer
// (halves to even) and must fit int32; a unit is named by its index in the
// unit list of this machine's game. Used by FLuaPlayer, FLuaUnits,
// FLuaQueues and FLuaLists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

struct lua_State;
class TGame;
class TUnit;

// A script call that cannot go on: a number beyond int32, a list position
// beyond its list. The registration's guard turns it into a Lua error,
// which the host logs; the game goes on.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// To the nearest integer, halves to even, whatever the rounding mode.
double roundHalfEven(double value);

// Argument `index` rounded; ScriptError when it is not a number that fits int32
// (nil and texts that are not numbers count as 0).
std::int32_t intArgument(lua_State* L, int index);

// This machine's game; null in the menu.
TGame* scriptGame();
// The unit argument `index` names, or null when there is no game or the
// index is outside the unit list.
TUnit* unitArgument(lua_State* L, int index);
// Whether the local player may command the unit: its own, and alive.
bool commandable(const TGame& game, const TUnit& unit);

// Argument `index` as a position in a list of `size` entries, counted from
// `first` (0 or 1); ScriptError naming the list when it is outside.
std::size_t positionArgument(lua_State* L, int index, std::size_t size, int first, const char* list);

void pushText(lua_State* L, const std::string& text);
