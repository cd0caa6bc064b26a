// FNearby: which units stand near a cell, for the automatic attack of idle
// units. Each player's units are sorted into small squares of the map, and
// a question walks the squares ring by ring outwards from the asker, only
// for players that have units nearby at all, and stops once no farther
// square can hold anyone nearer. The index is built at most once a tick, and only when some
// unit asks.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TUnit;

class TNearby {
public:
    static constexpr int SquareCells = 8;

    // Forgets the index (a unit came or went); the next question rebuilds it.
    void Invalidate() { builtTick_ = -1; }
    // The nearest live unit outside buildings, of another player and not
    // neutral, whose squared cell distance to `unit` is below `radius2`; the
    // first in list order on a tie.
    TUnit* NearestEnemy(const std::vector<std::unique_ptr<TUnit>>& units, std::int32_t tick, const TUnit& unit,
                        std::int64_t radius2);

private:
    void build(const std::vector<std::unique_ptr<TUnit>>& units, std::int32_t tick);

    std::int32_t builtTick_ = -1;
    // Per player, then square: the units of slot s are entries_[start_[s] ..
    // start_[s] + count_[s]), in list order. Only the slots used last time
    // are cleared.
    std::vector<int> start_, count_, touched_;
    std::vector<TUnit*> entries_;
    std::array<int, 8> counts_{};                // units indexed per player
    std::vector<int> coarse_;                    // per player, units per 40-cell square
};
