#include "game/pathfinder.h"

#include "shell/FLogs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

// Off the grid counts as taken: a footprint never leaves the map, and the
// grid is never read outside its bounds.
bool freeCell(const Tenv& env, int x, int y)
{
    return x >= 0 && y >= 0 && x < env.width && y < env.height && env.occupancy->cellFree(x, y);
}

void setCosts(TPathNode& node, TCell goal)
{
    if (node.parent == nullptr)
        node.g = 0;
    else
        node.g = node.parent->g + (node.parent->x != node.x && node.parent->y != node.y ? 7 : 5);
    node.h = 5 * (std::abs(node.x - goal.x) + std::abs(node.y - goal.y));
    node.f = node.g + node.h;
}

// A goal from a message can lie anywhere; far beyond the grid only its
// direction matters, and costs must stay inside int32.
constexpr std::int32_t GoalBound = 1 << 24;

// The four sides and four corners of the ring just outside a footprint: what
// any step from its cell must find free. Worked out once per cell expanded
// and shared by the eight directions.
class TLeadingEdges {
public:
    // A size below 0 from a bad definition walks as size 0.
    TLeadingEdges(const Tenv& env, TCell from) : half_(std::max(env.size, 0) / 2)
    {
        const int reach = half_ + 1;
        for (int d : {-1, 1}) {
            sideX_[(d + 1) / 2] = columnFree(env, from.x + d * reach, from.y);
            sideY_[(d + 1) / 2] = rowFree(env, from.x, from.y + d * reach);
        }
        for (int dx : {-1, 1})
            for (int dy : {-1, 1})
                corner_[(dx + 1) / 2][(dy + 1) / 2] = freeCell(env, from.x + dx * reach, from.y + dy * reach);
    }

    // An off-grid probe is one of the cells tested, and off the grid is never free.
    bool allows(int dx, int dy) const
    {
        return (dx == 0 || sideX_[(dx + 1) / 2]) && (dy == 0 || sideY_[(dy + 1) / 2]) &&
               (dx == 0 || dy == 0 || corner_[(dx + 1) / 2][(dy + 1) / 2]);
    }

private:
    bool columnFree(const Tenv& env, int x, int centreY) const
    {
        for (int y = centreY - half_; y <= centreY + half_; ++y)
            if (!freeCell(env, x, y))
                return false;
        return true;
    }
    bool rowFree(const Tenv& env, int centreX, int y) const
    {
        for (int x = centreX - half_; x <= centreX + half_; ++x)
            if (!freeCell(env, x, y))
                return false;
        return true;
    }

    int half_;
    bool sideX_[2] = {};
    bool sideY_[2] = {};
    bool corner_[2][2] = {};
};

}  // namespace

bool CanStep(const Tenv& env, TCell from, TCell to)
{
    return TLeadingEdges(env, from).allows(sign(to.x - from.x), sign(to.y - from.y));
}

Tastar::Tastar(int width, int height)
    : width_(std::clamp(width, 1, 32767)),
      height_(std::clamp(height, 1, 32767)),
      tilesY_((height_ + 7) / 8),
      nodes_(static_cast<std::size_t>((width_ + 7) / 8) * tilesY_ * 64),
      stamps_(nodes_.size(), 0),
      open_(static_cast<std::size_t>(width_) * height_ / 8)
{
    for (int x = 0; x < width_; ++x)
        for (int y = 0; y < height_; ++y) {
            nodes_[indexOf(x, y)].x = static_cast<std::int16_t>(x);
            nodes_[indexOf(x, y)].y = static_cast<std::int16_t>(y);
        }
    env_.width = width_;
    env_.height = height_;
}

void Tastar::setOpenStamp(std::int32_t open)
{
    openStamp_ = std::clamp(open, 1, StampLimit - 1);
    closedStamp_ = openStamp_ + 1;
}

// Stamps replace clearing the grid between searches; only when they run out
// is every cell reset.
void Tastar::advanceStamps()
{
    if (openStamp_ > StampLimit - 2) {
        std::fill(stamps_.begin(), stamps_.end(), 0);
        openStamp_ = 1;
    } else {
        openStamp_ += 2;
    }
    closedStamp_ = openStamp_ + 1;
}

TMyQueue Tastar::PlanPath(const TOccupancy& occupancy, int size, TCell start, TCell goal, std::int64_t accept)
{
    TMyQueue path(PathCapacity);
    stats_ = TSearchStats{};
    if (start.x < 0 || start.y < 0 || start.x >= width_ || start.y >= height_) {
        log("Path asked from outside the map ! (" + std::to_string(start.x) + " / " + std::to_string(start.y) + ")",
            LogDebug);
        return path;
    }
    advanceStamps();
    env_.size = size;
    env_.occupancy = &occupancy;
    open_.clear();
    goal.x = std::clamp(goal.x, -GoalBound, GoalBound);
    goal.y = std::clamp(goal.y, -GoalBound, GoalBound);

    // Record a cell wherever the direction towards the parent changes: the
    // turning points, from the far end back to (not including) the start.
    turns_.clear();
    int lastDx = 0;
    int lastDy = 0;
    for (const TPathNode* node = &search(start, goal, accept); node->parent != nullptr; node = node->parent) {
        const int dx = sign(node->parent->x - node->x);
        const int dy = sign(node->parent->y - node->y);
        if (dx != lastDx || dy != lastDy)
            turns_.push_back(TCell{node->x, node->y});
        lastDx = dx;
        lastDy = dy;
    }
    for (auto turn = turns_.rbegin(); turn != turns_.rend(); ++turn)
        if (!path.push(*turn)) {
            log("Path too long, cut at " + std::to_string(PathCapacity) + " waypoints", LogDebug);
            break;
        }
    return path;
}

// A walk ends on a cell within range whose footprint (side 2 x half + 1
// about the cell, as the leading edges see it) is free, or inside the
// start's own, which the walker itself marks; each of its steps joins two
// such cells that are neighbours. So spreading from the cells within range
// over such cells and never meeting one the search has already reached (the
// start among them) proves the goal out of reach. Gives up, saying no, after
// ReachCheckCells cells.
bool Tastar::goalEnclosed(TCell start, TCell goal, std::int64_t accept)
{
    const int half = std::max(env_.size, 0) / 2;
    const auto fits = [&](int cx, int cy) {
        for (int x = cx - half; x <= cx + half; ++x)
            for (int y = cy - half; y <= cy + half; ++y)
                if (!freeCell(env_, x, y) && (std::abs(x - start.x) > half || std::abs(y - start.y) > half))
                    return false;
        return true;
    };
    if (seen_.empty())
        seen_.assign(nodes_.size(), 0);
    if (++seenStamp_ == StampLimit) {
        std::fill(seen_.begin(), seen_.end(), 0);
        seenStamp_ = 1;
    }
    frontier_.clear();
    // Stops when the cells seen run past the limit or meet the search.
    const auto visit = [&](int x, int y) {
        std::int32_t& seen = seen_[indexOf(x, y)];
        if (seen == seenStamp_ || !fits(x, y))
            return true;
        seen = seenStamp_;
        const std::int32_t stamp = stamps_[indexOf(x, y)];
        if (stamp == openStamp_ || stamp == closedStamp_)
            return false;
        frontier_.push_back(TCell{x, y});
        return frontier_.size() <= static_cast<std::size_t>(ReachCheckCells);
    };

    // Row by row over the part of the range's disc that lies on the grid.
    for (int x = 0; x < width_; ++x) {
        const std::int64_t dx = x - goal.x;
        if (dx * dx > accept)
            continue;
        const auto reach = static_cast<std::int64_t>(std::sqrt(static_cast<double>(accept - dx * dx)));
        const int low = static_cast<int>(std::max<std::int64_t>(goal.y - reach, 0));
        const int high = static_cast<int>(std::min<std::int64_t>(goal.y + reach, height_ - 1));
        for (int y = low; y <= high; ++y)
            if (!visit(x, y))
                return false;
    }
    for (std::size_t next = 0; next < frontier_.size(); ++next) {
        const TCell cell = frontier_[next];
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const int x = cell.x + dx;
                const int y = cell.y + dy;
                if (x >= 0 && y >= 0 && x < width_ && y < height_ && !visit(x, y))
                    return false;
            }
    }
    return true;
}

const TPathNode& Tastar::search(TCell start, TCell goal, std::int64_t accept)
{
    TPathNode* result = &nodes_[indexOf(start.x, start.y)];
    result->parent = nullptr;
    setCosts(*result, goal);
    stamps_[indexOf(start.x, start.y)] = openStamp_;
    open_.push(result);
    if (accept >= CellDistanceSquared(start, goal))
        return *result;

    // The start's distance has logged any refused square; a far goal would
    // otherwise write a log line for every cell of the map.
    bool refused = false;
    int nearerAt = 0;  // the expansion that last found a cell nearer the goal
    enum { Unknown, Yes, No } enclosed = Unknown;
    TPathNode* node = nullptr;
    while (open_.pop(node) == 0) {
        ++stats_.expanded;
        const TCell from{node->x, node->y};
        stamps_[indexOf(from.x, from.y)] = closedStamp_;
        if (accept >= CellDistanceSquaredQuiet(from, goal, refused))
            break;
        // A search that has long found no nearer cell may be flooding every
        // cell it can reach; if the goal is walled in, the nearest cell found
        // so far is as near as the walker will get. The grid stands still
        // during a search: one answer holds to its end.
        if (stats_.expanded - nearerAt >= ReachCheckAfter) {
            if (enclosed == Unknown)
                enclosed = goalEnclosed(start, goal, accept) ? Yes : No;
            if (enclosed == Yes) {
                stats_.unreachable = true;
                break;
            }
        }
        const TLeadingEdges edges(env_, from);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                if ((dx == 0 && dy == 0) || !edges.allows(dx, dy))
                    continue;
                const std::size_t index = indexOf(from.x + dx, from.y + dy);
                std::int32_t& stamp = stamps_[index];
                if (stamp == closedStamp_)
                    continue;
                TPathNode& next = nodes_[index];
                if (stamp != openStamp_) {
                    next.parent = node;
                    setCosts(next, goal);
                    // A refused node stays marked open: it is never expanded in this search.
                    if (open_.push(&next) != 0)
                        ++stats_.refused;
                    stamp = openStamp_;
                } else {
                    const TPathNode previous = next;
                    next.parent = node;
                    setCosts(next, goal);
                    if (next.g >= previous.g)
                        next = previous;
                }  // a cheaper way in keeps the node's place in the heap
                if (next.h < result->h) {
                    result = &next;
                    nearerAt = stats_.expanded;
                }
            }
    }
    return *result;
}
