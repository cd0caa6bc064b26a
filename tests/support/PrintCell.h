// How GoogleTest shows a map cell in a failed expectation.
#pragma once

#include "game/FCellMath.h"

#include <ostream>

inline void PrintTo(const TCell& cell, std::ostream* os)
{
    *os << "(" << cell.x << ", " << cell.y << ")";
}
