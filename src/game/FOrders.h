// FOrders: what a unit is told to do. Each unit carries out one order at a
// time and keeps up to 20 more in a queue; the order step decides each tick
// from the distance to the goal whether the unit walks (planning a path on
// the host) or acts. Orders come from the player through the selection, from
// the host's messages, and from the units themselves (automatic attack,
// patrol return).
#pragma once

#include "game/FGameCodes.h"
#include "world/Fmap.h"

#include <cstdint>
#include <vector>

class TUnit;
class TGame;
struct TAbility;

struct Torder {
    std::uint8_t kind = OrderKind::Idle;
    std::uint8_t mode = OrderMode::Plain;
    std::int32_t goalX = 0, goalY = 0;  // goal cell, for orders without a target unit
    TUnit* target = nullptr;            // kinds Follow to Leave
    const TAbility* ability = nullptr;  // the spell of a Cast order (the tables never move)

    static Torder Idle() { return Torder{}; }
    static Torder ToCell(std::uint8_t kind, int x, int y, std::uint8_t mode = OrderMode::Plain);
    static Torder OnUnit(std::uint8_t kind, TUnit* target);
};

constexpr int OrderQueueCapacity = 20;

// Whether the kind names a target unit rather than a cell.
bool TargetsUnit(std::uint8_t kind);

// Replaces everything the unit was doing: plays the kind's sound, drops the
// queue and starts the order. AttackMove is dropped without effect; so is any
// order to a dead unit.
void GiveOrder(TGame& game, TUnit& unit, const Torder& order);
// GiveOrder without the sound: how a client follows the host's reports.
void ReplaceOrders(TGame& game, TUnit& unit, const Torder& order);
// Appends the order (and starts it when the unit stands idle); a full queue shows "Can't memorize a new order.".
void QueueOrder(TGame& game, TUnit& unit, const Torder& order);
// Ends the current order and starts the next one (Idle, with a stop report,
// when the queue is empty).
void NextOrder(TGame& game, TUnit& unit);
// The target unit of the current order, or nullptr.
TUnit* CurrentTarget(const TUnit& unit);

// The goal cell of the current order: the unit's own cell when Idle, the
// target's cell for unit orders, else the order's cell.
TCell GoalCell(const TUnit& unit);
// Footprint reach between two units for unit orders: ceil((a/2 + b/2) x 1.4142).
int Reach(const TUnit& unit, const Torder& order);
// Range of the current order, reach included.
int OrderRange(const TUnit& unit);
// Whether the unit must walk to carry out its current order.
bool IsOutOfRange(const TUnit& unit);

// One tick of the unit's current order (live units only).
void OrderTick(TGame& game, TUnit& unit);
// The unit has reached its next waypoint: take the following one or stop.
void ReachWaypoint(TGame& game, TUnit& unit);

// Waypoints (turning points) towards the goal of the unit's current order,
// nearest first; empty when the goal is already in range or unreachable.
std::vector<TCell> FindPath(TGame& game, TUnit& unit);
