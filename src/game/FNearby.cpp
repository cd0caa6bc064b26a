#include "game/FNearby.h"

#include "game/FCellMath.h"
#include "game/FGame.h"

#include <algorithm>

namespace {

constexpr int BlockCells = 32;
constexpr int Blocks = (MapCells + BlockCells - 1) / BlockCells;
constexpr int BlocksPerOwner = Blocks * Blocks;

// Cells off the grid count in the edge blocks; clamping keeps every unit
// within reach of a search in the blocks the search reads.
int blockOf(std::int32_t cell)
{
    return std::clamp(cell, 0, MapCells - 1) / BlockCells;
}

int bucketOf(std::int32_t owner, std::int32_t x, std::int32_t y)
{
    return (owner - 1) * BlocksPerOwner + blockOf(y) * Blocks + blockOf(x);
}

bool isCandidate(const TUnit& unit)
{
    return unit.alive && unit.outside && unit.owner != NeutralOwner;
}

}  // namespace

void TNearby::Open(std::int32_t tick)
{
    open_ = true;
    tick_ = tick;
}

TNearby::Entry TNearby::entryOf(TUnit& unit)
{
    return Entry{&unit, unit.listIndex, unit.cellX, unit.cellY};
}

void TNearby::build(const TGame& game)
{
    builtTick_ = tick_;
    offsets_.assign(static_cast<std::size_t>(MaxPlayers * BlocksPerOwner + 1), 0);
    owned_.assign(static_cast<std::size_t>(MaxPlayers + 1), 0);
    strays_.clear();
    for (const std::unique_ptr<TUnit>& unit : game.units) {
        if (!isCandidate(*unit))
            continue;
        if (unit->owner < 1 || unit->owner > MaxPlayers) {
            strays_.push_back(entryOf(*unit));
        } else {
            ++offsets_[static_cast<std::size_t>(bucketOf(unit->owner, unit->cellX, unit->cellY)) + 1];
            ++owned_[static_cast<std::size_t>(unit->owner)];
        }
    }
    for (std::size_t i = 1; i < offsets_.size(); ++i)
        offsets_[i] += offsets_[i - 1];
    entries_.resize(static_cast<std::size_t>(offsets_.back()));
    std::vector<std::int32_t> next(offsets_.begin(), offsets_.end() - 1);
    for (const std::unique_ptr<TUnit>& unit : game.units)
        if (isCandidate(*unit) && unit->owner >= 1 && unit->owner <= MaxPlayers)
            entries_[static_cast<std::size_t>(next[static_cast<std::size_t>(
                bucketOf(unit->owner, unit->cellX, unit->cellY))]++)] = entryOf(*unit);
}

TUnit* TNearby::NearestEnemy(const TGame& game, const TUnit& unit, std::int32_t limit)
{
    if (!open_)
        return nullptr;
    if (builtTick_ != tick_)
        build(game);

    TUnit* best = nullptr;
    std::int64_t bestDistance = limit;
    std::int32_t bestIndex = 0;
    const TCell from = unit.Cell();
    auto consider = [&](const Entry& e) {
        const std::int64_t d = CellDistanceSquared(from, TCell{e.cellX, e.cellY});
        if (!(d < bestDistance || (best && d == bestDistance && e.listIndex < bestIndex)))
            return;
        // A unit may have died or gone into a building since the blocks were made.
        if (!e.unit->alive || !e.unit->outside || e.unit->owner == unit.owner)
            return;
        best = e.unit;
        bestDistance = d;
        bestIndex = e.listIndex;
    };

    // Every cell whose squared distance can be below the limit.
    if (limit != limit_) {
        limit_ = limit;
        reach_ = 0;
        while ((reach_ + 1) * (reach_ + 1) < limit)
            ++reach_;
    }
    const std::int32_t reach = reach_;
    const int x0 = blockOf(unit.cellX - reach), x1 = blockOf(unit.cellX + reach);
    const int y0 = blockOf(unit.cellY - reach), y1 = blockOf(unit.cellY + reach);
    for (std::int32_t owner = 1; owner <= MaxPlayers; ++owner) {
        if (owner == unit.owner || owned_[static_cast<std::size_t>(owner)] == 0)
            continue;
        const int base = (owner - 1) * BlocksPerOwner;
        for (int by = y0; by <= y1; ++by) {
            const auto first = static_cast<std::size_t>(offsets_[static_cast<std::size_t>(base + by * Blocks + x0)]);
            const auto last = static_cast<std::size_t>(offsets_[static_cast<std::size_t>(base + by * Blocks + x1 + 1)]);
            for (std::size_t i = first; i < last; ++i)
                consider(entries_[i]);
        }
    }
    for (const Entry& e : strays_)
        consider(e);
    return best;
}
