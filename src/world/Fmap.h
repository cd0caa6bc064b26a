// Fmap: the occupancy grid. 480 x 480 cells of 16 world units cover the
// 7680 x 7680 map; every unit and building counts itself on the cells under
// its square footprint, and placement, path finding and walking read the
// counts. The grid is indexed by cell x first, then cell y.
#pragma once

#include "game/FCellMath.h"

#include <cstdint>
#include <vector>

class TUnit;

constexpr int MapCells = 480;   // cells on each axis
constexpr int CellSize = 16;    // world units per cell


struct TMapTile {
    std::int32_t occupancy = 0;   // footprints covering the cell; free at 0
    TUnit* occupant = nullptr;    // the unit that last marked it; cleared on release
};

class Tmap {
public:
    Tmap();

    bool OnGrid(int x, int y) const { return x >= 0 && x < MapCells && y >= 0 && y < MapCells; }
    // The cell (x, y), which must be on the grid.
    TMapTile& at(int x, int y) { return tiles_[static_cast<std::size_t>(x) * MapCells + static_cast<std::size_t>(y)]; }
    const TMapTile& at(int x, int y) const
    {
        return tiles_[static_cast<std::size_t>(x) * MapCells + static_cast<std::size_t>(y)];
    }
    // Free: on the grid and covered by no footprint.
    bool IsFree(int x, int y) const { return OnGrid(x, y) && at(x, y).occupancy == 0; }

private:
    std::vector<TMapTile> tiles_;
};

// Every cell back to its initial, free state.
void InitMapGrid(Tmap& map);

// The footprint of size s on cell (x, y) covers x - s/2 .. x - s/2 + s - 1 on
// each axis. Inside: its low corner lies on the grid (the far one is not tested).
bool IsFootprintInside(int size, int x, int y);
// Every cell of the footprint on the grid and free; size 0 answers IsFootprintInside.
bool IsFootprintFree(const Tmap& map, int size, int x, int y);
// Adds delta to every cell of the unit's footprint on its own cell (-1 also
// clears the occupant, else the unit becomes it). Cells off the grid are
// logged and skipped; a unit of size 0 or less marks nothing.
void MarkFootprint(Tmap& map, TUnit& unit, int delta = 1);
void UnmarkFootprint(Tmap& map, TUnit& unit);
