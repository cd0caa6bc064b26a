#include "game/FNearby.h"

#include "game/FGame.h"
#include "game/FUnit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int Squares = (MapCells + TNearby::SquareCells - 1) / TNearby::SquareCells;
constexpr std::size_t PerPlayer = static_cast<std::size_t>(Squares) * Squares;

std::size_t slot(int player, int x, int y)
{
    return static_cast<std::size_t>(player - 1) * PerPlayer + static_cast<std::size_t>(x * Squares + y);
}

constexpr int CoarseCells = 40;
constexpr int CoarseSquares = (MapCells + CoarseCells - 1) / CoarseCells;

std::size_t coarseSlot(int player, int x, int y)
{
    return static_cast<std::size_t>(player - 1) * CoarseSquares * CoarseSquares +
           static_cast<std::size_t>(x * CoarseSquares + y);
}

int coarseOf(int cell)
{
    return std::clamp(cell / CoarseCells, 0, CoarseSquares - 1);
}

int squareOf(int cell)
{
    return std::clamp(cell / TNearby::SquareCells, 0, Squares - 1);
}

}  // namespace

void TNearby::build(const std::vector<std::unique_ptr<TUnit>>& units, std::int32_t tick)
{
    start_.resize(PerPlayer * MaxPlayers);
    count_.resize(PerPlayer * MaxPlayers);
    for (const int s : touched_)
        count_[static_cast<std::size_t>(s)] = 0;
    touched_.clear();
    counts_.fill(0);
    coarse_.assign(static_cast<std::size_t>(MaxPlayers) * CoarseSquares * CoarseSquares, 0);
    const auto indexed = [](const TUnit& u) {
        return u.alive && u.outside && u.owner >= 1 && u.owner <= MaxPlayers && u.cellX >= 0 && u.cellY >= 0;
    };
    for (const std::unique_ptr<TUnit>& unit : units) {
        if (!indexed(*unit))
            continue;
        const std::size_t s = slot(unit->owner, squareOf(unit->cellX), squareOf(unit->cellY));
        if (count_[s]++ == 0)
            touched_.push_back(static_cast<int>(s));
        counts_[static_cast<std::size_t>(unit->owner - 1)] += 1;
        coarse_[coarseSlot(unit->owner, coarseOf(unit->cellX), coarseOf(unit->cellY))] += 1;
    }
    int next = 0;
    for (const int s : touched_) {
        start_[static_cast<std::size_t>(s)] = next;
        next += count_[static_cast<std::size_t>(s)];
        count_[static_cast<std::size_t>(s)] = 0;  // refilled below
    }
    entries_.resize(static_cast<std::size_t>(next));
    for (const std::unique_ptr<TUnit>& unit : units) {
        if (!indexed(*unit))
            continue;
        const std::size_t s = slot(unit->owner, squareOf(unit->cellX), squareOf(unit->cellY));
        entries_[static_cast<std::size_t>(start_[s] + count_[s]++)] = unit.get();
    }
    builtTick_ = tick;
}

TUnit* TNearby::NearestEnemy(const std::vector<std::unique_ptr<TUnit>>& units, std::int32_t tick, const TUnit& unit,
                             std::int64_t radius2)
{
    if (builtTick_ != tick)
        build(units, tick);
    TUnit* best = nullptr;
    std::int64_t bestDistance = radius2;
    const int sx = squareOf(unit.cellX), sy = squareOf(unit.cellY);
    const auto consider = [&](int player, int x, int y) {
        if (x < 0 || y < 0 || x >= Squares || y >= Squares)
            return;
        const std::size_t s = slot(player, x, y);
        for (int i = 0; i < count_[s]; ++i) {
            TUnit* other = entries_[static_cast<std::size_t>(start_[s] + i)];
            // Units that died earlier in this tick are still listed.
            if (!other->alive)
                continue;
            const std::int64_t d = CellDistanceSquared(unit.Cell(), other->Cell());
            if (d < bestDistance || (d == bestDistance && best && other->listIndex < best->listIndex)) {
                bestDistance = d;
                best = other;
            }
        }
    };
    // Who has anybody within reach at all: the 40-cell squares around the asker.
    const int reach = static_cast<int>(std::sqrt(static_cast<double>(radius2))) + 1;
    std::array<bool, MaxPlayers> near{};
    bool anyone = false;
    for (int player = 1; player <= MaxPlayers; ++player) {
        if (player == unit.owner || counts_[static_cast<std::size_t>(player - 1)] == 0)
            continue;
        for (int x = coarseOf(unit.cellX - reach); x <= coarseOf(unit.cellX + reach); ++x)
            for (int y = coarseOf(unit.cellY - reach); y <= coarseOf(unit.cellY + reach); ++y)
                if (coarse_[coarseSlot(player, x, y)] > 0)
                    near[static_cast<std::size_t>(player - 1)] = true;
        anyone = anyone || near[static_cast<std::size_t>(player - 1)];
    }
    if (!anyone)
        return nullptr;
    const int rings = reach / SquareCells + 2;
    for (int ring = 0; ring <= rings; ++ring) {
        // Every cell of ring r lies at least (r - 1) x SquareCells + 1 cells away on one axis.
        const std::int64_t nearest = ring <= 1 ? 0 : static_cast<std::int64_t>(ring - 1) * SquareCells + 1;
        if (nearest * nearest > bestDistance)
            break;
        for (int player = 1; player <= MaxPlayers; ++player) {
            if (!near[static_cast<std::size_t>(player - 1)])
                continue;
            if (ring == 0) {
                consider(player, sx, sy);
                continue;
            }
            for (int k = -ring; k <= ring; ++k) {
                consider(player, sx + k, sy - ring);
                consider(player, sx + k, sy + ring);
            }
            for (int k = -ring + 1; k <= ring - 1; ++k) {
                consider(player, sx - ring, sy + k);
                consider(player, sx + ring, sy + k);
            }
        }
    }
    return best;
}
