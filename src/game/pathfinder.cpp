#include "game/pathfinder.h"

#include "shell/FLogs.h"

#include <algorithm>
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

// A goal from a message can lie anywhere; far beyond the grid only its
// direction matters, and costs must stay inside int32.
constexpr std::int32_t GoalBound = 1 << 24;

}  // namespace

bool CanStep(const Tenv& env, TCell from, TCell to)
{
    const int half = env.size / 2;
    const int dx = sign(to.x - from.x);
    const int dy = sign(to.y - from.y);
    const int probeX = from.x + (half + 1) * dx;
    const int probeY = from.y + (half + 1) * dy;
    if (probeX < 0 || probeY < 0 || probeX >= env.width || probeY >= env.height)
        return false;
    if (dx != 0)
        for (int y = from.y - half; y <= from.y + half; ++y)
            if (!freeCell(env, probeX, y))
                return false;
    if (dy != 0)
        for (int x = from.x - half; x <= from.x + half; ++x)
            if (!freeCell(env, x, probeY))
                return false;
    return dx == 0 || dy == 0 || freeCell(env, probeX, probeY);
}

Tastar::Tastar(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      slots_(static_cast<std::size_t>(width_) * height_),
      open_(static_cast<std::size_t>(width_) * height_ / 8)
{
    for (int x = 0; x < width_; ++x)
        for (int y = 0; y < height_; ++y) {
            slotAt(x, y).node.x = x;
            slotAt(x, y).node.y = y;
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
        for (Slot& slot : slots_)
            slot.stamp = 0;
        openStamp_ = 1;
    } else {
        openStamp_ += 2;
    }
    closedStamp_ = openStamp_ + 1;
}

void Tastar::setCosts(TPathNode& node, TCell goal) const
{
    if (node.parent == nullptr)
        node.g = 0;
    else
        node.g = node.parent->g + (node.parent->x != node.x && node.parent->y != node.y ? 7 : 5);
    node.h = 5 * (std::abs(node.x - goal.x) + std::abs(node.y - goal.y));
    node.f = node.g + node.h;
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

const TPathNode& Tastar::search(TCell start, TCell goal, std::int64_t accept)
{
    Slot& first = slotAt(start.x, start.y);
    first.node.parent = nullptr;
    setCosts(first.node, goal);
    first.stamp = openStamp_;
    open_.push(&first.node);
    TPathNode* result = &first.node;
    if (accept >= CellDistanceSquared(start, goal))
        return *result;

    // The start's distance has logged any refused square; a far goal would
    // otherwise write a log line for every cell of the map.
    bool refused = false;
    TPathNode* node = nullptr;
    while (open_.pop(node) == 0) {
        ++stats_.expanded;
        slotAt(node->x, node->y).stamp = closedStamp_;
        if (accept >= CellDistanceSquaredQuiet(TCell{node->x, node->y}, goal, refused))
            break;
        const TCell from{node->x, node->y};
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                if (dx == 0 && dy == 0)
                    continue;
                const TCell to{from.x + dx, from.y + dy};
                if (!CanStep(env_, from, to))
                    continue;
                Slot& slot = slotAt(to.x, to.y);
                if (slot.stamp == closedStamp_)
                    continue;
                TPathNode& next = slot.node;
                const TPathNode previous = next;
                next.parent = node;
                setCosts(next, goal);
                if (slot.stamp != openStamp_) {
                    // A refused node stays marked open: it is never expanded in this search.
                    if (open_.push(&next) != 0)
                        ++stats_.refused;
                    slot.stamp = openStamp_;
                } else if (next.g >= previous.g) {
                    next = previous;
                }  // else the cheaper way in keeps the node's place in the heap
                if (next.h < result->h)
                    result = &next;
            }
    }
    return *result;
}
