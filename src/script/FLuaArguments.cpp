#include "script/FLuaArguments.h"

#include "game/FGame.h"

#include <lua.hpp>

#include <cfenv>
#include <cmath>
#include <limits>

double roundHalfEven(double value)
{
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return rounded;
}

std::int32_t intArgument(lua_State* L, int index)
{
    const double value = roundHalfEven(lua_tonumber(L, index));
    // NaN fails both comparisons.
    if (!(value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max()))
        throw ScriptError("argument " + std::to_string(index) + " is not a 32-bit integer");
    return static_cast<std::int32_t>(value);
}

TGame* scriptGame()
{
    return CurrentGame;
}

TUnit* unitArgument(lua_State* L, int index)
{
    const std::int32_t unit = intArgument(L, index);
    TGame* game = scriptGame();
    if (!game || unit < 0 || static_cast<std::size_t>(unit) >= game->units.size())
        return nullptr;
    return game->units[static_cast<std::size_t>(unit)].get();
}

bool commandable(const TGame& game, const TUnit& unit)
{
    return unit.owner == game.localPlayer && unit.alive;
}

std::size_t positionArgument(lua_State* L, int index, std::size_t size, int first, const char* list)
{
    const std::int64_t position = static_cast<std::int64_t>(intArgument(L, index)) - first;
    if (position < 0 || static_cast<std::size_t>(position) >= size)
        throw ScriptError("position " + std::to_string(position + first) + " is outside the " +
                          std::to_string(size) + " " + list);
    return static_cast<std::size_t>(position);
}

void pushText(lua_State* L, const std::string& text)
{
    lua_pushlstring(L, text.data(), text.size());
}
