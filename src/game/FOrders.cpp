#include "game/FOrders.h"

#include "game/FBallistic.h"
#include "game/FGame.h"
#include "game/FProduction.h"
#include "game/FReports.h"
#include "game/FUnit.h"
#include "game/FUnitLoad.h"
#include "game/FWarning.h"
#include "game/pathfinder.h"

#include <cmath>
#include <optional>

Torder Torder::ToCell(std::uint8_t kind, int x, int y, std::uint8_t mode)
{
    Torder order;
    order.kind = kind;
    order.mode = mode;
    order.goalX = x;
    order.goalY = y;
    return order;
}

Torder Torder::OnUnit(std::uint8_t kind, TUnit* target)
{
    Torder order;
    order.kind = kind;
    order.target = target;
    return order;
}

bool TargetsUnit(std::uint8_t kind)
{
    return kind >= OrderKind::Follow && kind <= OrderKind::Leave;
}

namespace {

// The grid as the path finder reads it.
class MapOccupancy : public TOccupancy {
public:
    explicit MapOccupancy(const Tmap& map) : map_(map) {}
    bool cellFree(int x, int y) const override { return map_.at(x, y).occupancy == 0; }

private:
    const Tmap& map_;
};

// An order that names a unit no longer alive, or gone into a building, can
// never be carried out.
bool HasLostTarget(const Torder& order)
{
    return TargetsUnit(order.kind) && (!order.target || !order.target->alive || !order.target->outside);
}

void stopWalking(TGame& game, TUnit& unit)
{
    unit.idle = true;
    unit.path.clear();
    if (unit.alive && unit.outside)
        SetMarked(game, unit, true);
}

void startWalking(TGame& game, TUnit& unit)
{
    if (game.hosting) {
        const std::vector<TCell> path = FindPath(game, unit);
        if (path.empty()) {
            NextOrder(game, unit);
            return;
        }
        unit.path.assign(path.begin(), path.end());
    } else {
        unit.path.assign(1, GoalCell(unit));
    }
    unit.idle = false;
    unit.SetAnimation("Walk", true, false);
    SetMarked(game, unit, false);
    FaceCell(unit, unit.path.empty() ? unit.Cell() : unit.path.front());
    ReportUnit(game, unit, UpdateMask::Walk);
}

// The nearest live unit of another player within 40 cells, first found on a tie.
TUnit* nearestEnemy(TGame& game, const TUnit& unit)
{
    if (game.nearby.IsOpen())
        return game.nearby.NearestEnemy(game, unit, 1600);
    TUnit* best = nullptr;
    std::int64_t bestDistance = 1600;
    for (const std::unique_ptr<TUnit>& other : game.units) {
        if (!other->alive || !other->outside || other->owner == unit.owner || other->owner == NeutralOwner)
            continue;
        const std::int64_t d = CellDistanceSquared(unit.Cell(), other->Cell());
        if (d < bestDistance) {
            bestDistance = d;
            best = other.get();
        }
    }
    return best;
}

void oneAttack(TGame& game, TUnit& unit, TUnit& target)
{
    ReportUnit(game, unit, UpdateMask::AttackSwing);
    unit.returnAnimation = "Stand Ready";
    unit.SetAnimation("Attack", true, false);
    FaceCell(unit, target.Cell());
    if (unit.unitType->type == UnitKind::Ranged) {
        // The missile leaves once the attack animation has played through;
        // a model without sequences plays nothing through and shoots at once,
        // one missile a swing.
        unit.releaseMarker = unit.model().sequences.empty() ? "Ready" : "";
        return;
    }
    if (unit.damage < 0) {
        TakeDamage(game, target, unit.damage);
        return;
    }
    if (target.owner == game.localPlayer && unit.owner != game.localPlayer)
        UnderAttackAlert(game, target);
    TakeDamage(game, target, HitDamage(game, unit, target));
}

void attackStep(TGame& game, TUnit& unit, TUnit& target)
{
    if (game.tick - unit.lastAttackTick >= unit.atkSpeed) {
        oneAttack(game, unit, target);
        unit.lastAttackTick = game.tick;
        return;
    }
    if (unit.unitType->type == UnitKind::Ranged && unit.releaseMarker == "Ready" && game.hosting) {
        LaunchProjectile(game, unit, target, RangedHit);
        unit.releaseMarker.clear();
    }
}

void act(TGame& game, TUnit& unit)
{
    Torder& order = unit.currentOrder;
    switch (order.kind) {
    case OrderKind::Idle:
        unit.turning = false;
        // Only the host decides; the others see the attack in its reports.
        if (unit.aggressivity == Aggressivity::Aggressive && game.hosting)
            if (TUnit* enemy = nearestEnemy(game, unit))
                GiveOrder(game, unit, Torder::OnUnit(OrderKind::Attack, enemy));
        break;
    case OrderKind::MoveTo:
    case OrderKind::Patrol:
        NextOrder(game, unit);
        break;
    case OrderKind::Attack:
        attackStep(game, unit, *order.target);
        break;
    case OrderKind::Construct:
        // A finished building gets one step of repair and the order ends.
        ConstructionStep(game, *order.target);
        if (!order.target->underConstruction)
            NextOrder(game, unit);
        else if (!unit.turning)
            FaceCell(unit, order.target->Cell());
        break;
    case OrderKind::Enter:
        EnterBuilding(game, unit, *order.target);
        NextOrder(game, unit);
        break;
    case OrderKind::Leave:
        LeaveBuilding(game, unit, *order.target);
        NextOrder(game, unit);
        break;
    default:
        break;
    }
}

void startOrder(TGame& game, TUnit& unit, const Torder& order)
{
    unit.orders.clear();
    unit.orders.push_back(order);
    NextOrder(game, unit);
}

}  // namespace

void ReplaceOrders(TGame& game, TUnit& unit, const Torder& order)
{
    if (!unit.alive || HasLostTarget(order))
        return;
    startOrder(game, unit, order);
}

void GiveOrder(TGame& game, TUnit& unit, const Torder& order)
{
    if (order.kind == OrderKind::AttackMove || !unit.alive || HasLostTarget(order))
        return;
    const int sound = OrderSound(order.kind);
    if (sound >= 0)
        game.UnitSound(unit, static_cast<SoundKind>(sound));
    startOrder(game, unit, order);
}

void QueueOrder(TGame& game, TUnit& unit, const Torder& order)
{
    if (!unit.alive || HasLostTarget(order))
        return;
    if (unit.orders.size() >= OrderQueueCapacity) {
        if (unit.owner == game.localPlayer)
            ShowWarning(game, "Can't memorize a new order.");
        return;
    }
    unit.orders.push_back(order);
    // An idle unit never ends its order by itself: the queued one starts now.
    if (unit.currentOrder.kind == OrderKind::Idle)
        NextOrder(game, unit);
}

void NextOrder(TGame& game, TUnit& unit)
{
    if (!unit.alive)
        return;
    game.RaiseEvent(InterfaceEvent::OrderEnded, OrderScriptCode(unit.currentOrder.kind));
    if (unit.orders.empty()) {
        unit.currentOrder = Torder::Idle();
        ReportUnit(game, unit, UpdateMask::Stop);
    } else {
        unit.currentOrder = unit.orders.front();
        unit.orders.pop_front();
    }
    stopWalking(game, unit);
    if (unit.currentOrder.kind != OrderKind::MoveTo)
        unit.SetAnimation("Stand", true, false);
    game.RaiseEvent(InterfaceEvent::OrderStarted, OrderScriptCode(unit.currentOrder.kind));
}

TUnit* CurrentTarget(const TUnit& unit)
{
    return TargetsUnit(unit.currentOrder.kind) ? unit.currentOrder.target : nullptr;
}

TCell GoalCell(const TUnit& unit)
{
    const Torder& order = unit.currentOrder;
    if (order.kind == OrderKind::Idle)
        return unit.Cell();
    if (TargetsUnit(order.kind))
        return order.target ? order.target->Cell() : unit.Cell();
    return TCell{order.goalX, order.goalY};
}

int Reach(const TUnit& unit, const Torder& order)
{
    if (!TargetsUnit(order.kind) || !order.target)
        return 0;
    return static_cast<int>(std::ceil((unit.Size() / 2) * 1.4142 + (order.target->Size() / 2) * 1.4142));
}

int OrderRange(const TUnit& unit)
{
    const Torder& order = unit.currentOrder;
    int range = 0;
    switch (order.kind) {
    case OrderKind::Follow:
        range = 5;
        break;
    case OrderKind::Attack:
        range = unit.unitType->type == UnitKind::Ranged ? unit.atkRange : 1;
        break;
    case OrderKind::Construct:
    case OrderKind::Enter:
        range = 1;
        break;
    case OrderKind::Cast:
        range = order.ability ? order.ability->range : 0;
        break;
    default:
        break;
    }
    return range + Reach(unit, order);
}

bool IsOutOfRange(const TUnit& unit)
{
    const std::uint8_t kind = unit.currentOrder.kind;
    if (kind == OrderKind::Idle || kind == OrderKind::HoldPosition)
        return false;
    const std::int64_t limit = OrderRange(unit) + (unit.idle ? 2 : 0);
    return CellDistanceSquared(unit.Cell(), GoalCell(unit)) > limit * limit;
}

void OrderTick(TGame& game, TUnit& unit)
{
    if (HasLostTarget(unit.currentOrder)) {
        NextOrder(game, unit);
        return;
    }
    if (!unit.idle) {
        if (!IsOutOfRange(unit)) {
            stopWalking(game, unit);
            unit.SetAnimation("Stand", true, false);
        }
        return;
    }
    if (IsOutOfRange(unit)) {
        if (unit.currentOrder.kind == OrderKind::Patrol)
            QueueOrder(game, unit, Torder::ToCell(OrderKind::Patrol, unit.cellX, unit.cellY, OrderMode::FromCell));
        startWalking(game, unit);
        return;
    }
    act(game, unit);
}

void ReachWaypoint(TGame& game, TUnit& unit)
{
    if (!unit.path.empty())
        unit.path.pop_front();
    if (!unit.path.empty()) {
        unit.turning = true;
        FaceCell(unit, unit.path.front());
        ReportUnit(game, unit, UpdateMask::Walk);
        return;
    }
    stopWalking(game, unit);
    unit.SetAnimation("Stand", true, false);
}

std::vector<TCell> FindPath(TGame& game, TUnit& unit)
{
    const std::int64_t range = OrderRange(unit);
    TMyQueue turns = game.pathFinder->PlanPath(MapOccupancy(game.map), unit.Size(), unit.Cell(), GoalCell(unit),
                                               range * range);
    std::vector<TCell> path;
    path.reserve(static_cast<std::size_t>(turns.count()));
    while (std::optional<TCell> cell = turns.pop())
        path.push_back(*cell);
    return path;
}
