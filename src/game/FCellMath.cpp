#include "game/FCellMath.h"

#include "shell/FLogs.h"

#include <string>

namespace {

bool tooLarge(std::int64_t d) { return d >= 46341 || d <= -46341; }

// Differences are taken in 64 bits first: cells from a message can be anything.
std::int64_t squareRefusingLarge(std::int64_t d)
{
    if (tooLarge(d)) {
        log("Integer Overflow ! " + std::to_string(d), LogDebug);
        return 1;
    }
    return d * d;
}

std::int64_t squareQuiet(std::int64_t d, bool& refused)
{
    if (tooLarge(d)) {
        refused = true;
        return 1;
    }
    return d * d;
}

}  // namespace

std::int32_t SquareInt(std::int32_t d)
{
    return static_cast<std::int32_t>(squareRefusingLarge(d));
}

std::int64_t CellDistanceSquared(TCell a, TCell b)
{
    return squareRefusingLarge(static_cast<std::int64_t>(b.x) - a.x) +
           squareRefusingLarge(static_cast<std::int64_t>(b.y) - a.y);
}

std::int64_t CellDistanceSquaredQuiet(TCell a, TCell b, bool& refused)
{
    return squareQuiet(static_cast<std::int64_t>(b.x) - a.x, refused) +
           squareQuiet(static_cast<std::int64_t>(b.y) - a.y, refused);
}
