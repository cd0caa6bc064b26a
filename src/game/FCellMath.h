// FCellMath: map cells and the squared cell distance that every range test
// of the rules uses (orders, path finding, abilities, auto-attack).
#pragma once

#include <cstdint>

struct TCell {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(TCell, TCell) = default;
};

// Cells per side of the occupancy grid; a cell is 16 world units.
constexpr int GridCells = 480;

// d², refusing |d| >= 46341 (whose square leaves int32): then "Integer Overflow ! "
// and d go to the log at Debug and the answer is 1.
std::int32_t SquareInt(std::int32_t d);

// dx² + dy² with SquareInt on each axis; 64-bit because two refused-size
// squares no longer fit one int32.
std::int64_t CellDistanceSquared(TCell a, TCell b);

// CellDistanceSquared without the log line; `refused` is set when an axis was
// refused. For loops that would otherwise log the same refusal thousands of times.
std::int64_t CellDistanceSquaredQuiet(TCell a, TCell b, bool& refused);
