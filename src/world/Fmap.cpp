#include "world/Fmap.h"

#include "game/FUnit.h"
#include "game/FUnitLoad.h"
#include "shell/FLogs.h"

#include <string>

Tmap::Tmap() : tiles_(static_cast<std::size_t>(MapCells) * MapCells) {}

void InitMapGrid(Tmap& map)
{
    map = Tmap();
}

bool IsFootprintInside(int size, int x, int y)
{
    const int h = size / 2;
    return x - h >= 0 && x - h < MapCells && y - h >= 0 && y - h < MapCells;
}

bool IsFootprintFree(const Tmap& map, int size, int x, int y)
{
    if (size <= 0)
        return IsFootprintInside(size, x, y);
    const int h = size / 2;
    for (int cx = x - h; cx < x - h + size; ++cx)
        for (int cy = y - h; cy < y - h + size; ++cy)
            if (!map.IsFree(cx, cy))
                return false;
    return true;
}

void MarkFootprint(Tmap& map, TUnit& unit, int delta)
{
    const int size = unit.Size();
    if (size <= 0)
        return;
    const int h = size / 2;
    for (int cx = unit.cellX - h; cx < unit.cellX - h + size; ++cx)
        for (int cy = unit.cellY - h; cy < unit.cellY - h + size; ++cy) {
            if (!map.OnGrid(cx, cy)) {
                log(std::to_string(unit.unitNumber) + " " + (unit.unitType ? unit.unitType->name : std::string()) +
                        " is going outside the map ! (" + std::to_string(cx) + " / " + std::to_string(cy) + ")",
                    LogDebug);
                continue;
            }
            TMapTile& tile = map.at(cx, cy);
            tile.occupancy += delta;
            tile.occupant = delta < 0 ? nullptr : &unit;
        }
}

void UnmarkFootprint(Tmap& map, TUnit& unit)
{
    MarkFootprint(map, unit, -1);
}
