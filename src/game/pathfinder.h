// pathfinder: Tastar, the A* search that plans every walk on the host. It
// reads the occupancy grid through TOccupancy, moves a square footprint by
// its leading edge, stops within the order's range of the goal (or at the
// reachable cell nearest to it) and returns only the turning points. One
// Tastar lives for the game; searches reuse its nodes through stamps. A goal
// the walker cannot reach (a target deep in a crowd, walled in by soldiers)
// is seen for what it is once a search runs long, instead of flooding the map.
#pragma once

#include "game/FCellMath.h"
#include "game/myQueue.h"
#include "game/pqueue.h"

#include <cstdint>
#include <vector>

// The occupancy grid as the path finder reads it, in place: the map grid
// answers from its own cells, with no copy per search.
class TOccupancy {
public:
    virtual ~TOccupancy() = default;
    // Whether no footprint covers cell (x, y). Asked only for cells on the grid.
    virtual bool cellFree(int x, int y) const = 0;
};

// One per cell, made once. Kept small: a search touches thousands at random.
struct TPathNode {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int32_t f = 0;
    std::int32_t g = 0;
    std::int32_t h = 0;
    TPathNode* parent = nullptr;
};

// What one search walks on: the grid's size in cells, the walker's footprint
// side in cells and the occupancy it must keep clear of.
struct Tenv {
    int width = GridCells;
    int height = GridCells;
    int size = 1;
    const TOccupancy* occupancy = nullptr;
};

// Whether the footprint can move from `from` to the neighbouring cell `to`:
// the cells just ahead of its leading edge (and the corner, diagonally) are
// free and on the grid. The walker's own footprint is not consulted.
bool CanStep(const Tenv& env, TCell from, TCell to);

// What the last search did, for callers and benchmarks that want to know.
struct TSearchStats {
    int expanded = 0;  // nodes taken from the open set
    int refused = 0;   // open nodes the full heap would not take
    bool unreachable = false;  // ended early: no cell within range can be reached
};

class Tastar {
public:
    static constexpr std::int32_t StampLimit = 2'147'483'644;
    static constexpr int PathCapacity = 5000;
    // Expansions without a nearer cell after which a search asks whether its
    // goal can be reached at all, and the cells that question may look at
    // before it says maybe.
    static constexpr int ReachCheckAfter = 2048;
    static constexpr int ReachCheckCells = 4096;

    // Nodes for every cell of a width x height grid (at most 32767 a side),
    // made once; the open set holds at most width x height / 8 nodes.
    Tastar(int width = GridCells, int height = GridCells);
    Tastar(const Tastar&) = delete;
    Tastar& operator=(const Tastar&) = delete;

    // The turning points of a walk of a footprint of side `size` from `start`
    // until a cell whose squared distance to `goal` is at most `accept`, the
    // cell nearest the start first and the last cell of the walk last. Empty
    // when the start is already within `accept` or no step leads nearer.
    TMyQueue PlanPath(const TOccupancy& occupancy, int size, TCell start, TCell goal, std::int64_t accept);

    const TSearchStats& lastSearch() const { return stats_; }
    std::int32_t openStamp() const { return openStamp_; }
    // Sets where the stamps stand, as after that many searches; tests use it
    // to reach the point where they start again.
    void setOpenStamp(std::int32_t open);

private:
    struct FSmaller {
        bool operator()(const TPathNode* a, const TPathNode* b) const { return a->f < b->f; }
    };

    void advanceStamps();
    const TPathNode& search(TCell start, TCell goal, std::int64_t accept);
    bool goalEnclosed(TCell start, TCell goal, std::int64_t accept);
    // Cells are stored in tiles of 8 x 8 so that a cell's neighbours, and the
    // region a search spreads over, share cache lines.
    std::size_t indexOf(int x, int y) const
    {
        return ((static_cast<std::size_t>(x >> 3) * tilesY_ + (y >> 3)) << 6) + ((x & 7) << 3) + (y & 7);
    }

    int width_;
    int height_;
    int tilesY_;
    std::vector<TPathNode> nodes_;
    std::vector<std::int32_t> stamps_;  // apart from the nodes: most cells looked at are only stamp-checked
    std::int32_t openStamp_ = 1;
    std::int32_t closedStamp_ = 2;
    TpQueue<TPathNode*, FSmaller> open_;
    Tenv env_;
    TSearchStats stats_;
    std::vector<TCell> turns_;  // turning points, last first, reused by every search
    std::vector<std::int32_t> seen_;  // the reach check's own stamps
    std::int32_t seenStamp_ = 0;
    std::vector<TCell> frontier_;
};
