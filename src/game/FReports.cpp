#include "game/FReports.h"

#include "game/FGame.h"
#include "game/FOrders.h"
#include "game/FProduction.h"
#include "game/Fgroup.h"
#include "game/FUnit.h"
#include "game/FUnitLoad.h"
#include "game/FWarning.h"
#include "shell/FLogs.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr std::int32_t BroadcastTicks = 3;      // 30 ms of game clock
constexpr std::int32_t ReportGapTicks = 10;     // hp, mp and stats of one unit: at most every 100 ms
constexpr std::int32_t RefreshBroadcasts = 66;  // every unit's state again about every 2 s
constexpr std::size_t RepeatedRemovals = 64;    // the latest removals, told again each round

TUnitUpdate updateFor(const TGame& game, const TUnit& unit, std::uint32_t mask)
{
    TUnitUpdate u;
    u.index = unit.listIndex;
    u.unitNumber = unit.unitNumber;
    u.mask = mask;
    u.stamp = game.totalTime + 30;
    for (int i = 0; i < 3; ++i)
        u.position[i] = unit.position[i];
    u.cellX = unit.cellX;
    u.cellY = unit.cellY;
    const TCell goal = unit.path.empty() ? GoalCell(unit) : unit.path.front();
    u.goalX = goal.x;
    u.goalY = goal.y;
    u.speed = unit.speed;
    u.hp = unit.hp;
    u.mp = unit.mp;
    u.scale = unit.scale;
    u.maxHp = unit.maxHp;
    u.maxMp = unit.maxMp;
    u.damage = unit.damage;
    u.defense = unit.defense;
    u.atkSpeed = unit.atkSpeed;
    u.atkRange = unit.atkRange;
    u.underConstruction = unit.underConstruction;
    u.buildProgress = unit.buildProgress;
    u.effectCount = static_cast<std::int32_t>(unit.effects.size());
    return u;
}

void send(TGame& game, const TUnit& unit, std::uint32_t mask)
{
    if (game.link)
        game.link->SendUnitUpdate(updateFor(game, unit, mask));
}

void sendEffects(TGame& game, const TUnit& unit)
{
    for (std::size_t n = 0; n < unit.effects.size(); ++n) {
        const TEffectRecord& record = unit.effects[n];
        TUnitUpdate u = updateFor(game, unit, UpdateMask::Effect);
        u.effectIndex = static_cast<std::int32_t>(n);
        u.remaining = record.remaining;
        u.startTick = record.startTick;
        u.propagated = record.propagated;
        u.count = record.count;
        u.abilityId = record.ability ? record.ability->id : 0;
        if (game.link)
            game.link->SendUnitUpdate(u);
    }
}

void sendPending(TGame& game, TUnit& unit)
{
    if (unit.pendingReports & UpdateMask::Hp) {
        unit.reportedHp = std::llround(unit.hp);
        send(game, unit, UpdateMask::Hp);
    }
    if (unit.pendingReports & UpdateMask::Mp) {
        unit.reportedMp = std::llround(unit.mp);
        send(game, unit, UpdateMask::Mp);
    }
    if (unit.pendingReports & UpdateMask::Stats) {
        logLine("Effects broadcasted !");
        send(game, unit, UpdateMask::Stats);
    }
    unit.pendingReports = 0;
    unit.lastReportTick = game.tick;
}

// Repeats what a lost datagram may have left wrong: hit points, mana,
// statistics and, for a unit standing still, where it stands.
void refresh(TGame& game, TUnit& unit)
{
    send(game, unit, UpdateMask::SetHp);
    if (unit.maxMp > 0)
        send(game, unit, UpdateMask::SetMp);
    if (!unit.alive)
        return;
    send(game, unit, UpdateMask::Stats);
    if (unit.idle && unit.outside)
        send(game, unit, UpdateMask::Stop);
    if (game.link && unit.unitNumber >= 0) {
        TUnitCreated created;
        created.request.typeIndex = UnitTypeIndex(unit.unitType);
        created.request.x = static_cast<std::int64_t>(unit.cellX) * CellSize;
        created.request.y = static_cast<std::int64_t>(unit.cellY) * CellSize;
        created.request.owner = unit.owner;
        created.unitNumber = unit.unitNumber;
        game.link->RepeatUnitCreated(created);
    }
    if (!unit.outside && game.link)
        for (const std::unique_ptr<TUnit>& building : game.units)
            if (std::find(building->occupants.begin(), building->occupants.end(), &unit) != building->occupants.end())
                game.link->SendEntry(unit.unitNumber, building->unitNumber, true);
}

// A machine that lost both a death and the removal would keep the unit
// alive for ever: the latest removals are told again with each round of
// the refresh.
void repeatRemovals(TGame& game)
{
    if (!game.link)
        return;
    const std::size_t n = game.removedNumbers.size();
    for (std::size_t i = n > RepeatedRemovals ? n - RepeatedRemovals : 0; i < n; ++i) {
        TUnitUpdate u;
        u.index = -1;
        u.unitNumber = game.removedNumbers[i];
        u.mask = UpdateMask::Removed;
        u.stamp = game.totalTime + 30;
        game.link->SendUnitUpdate(u);
    }
}

// Records the host has undone leave this machine too.
void trimEffects(TUnit& unit, std::int32_t count)
{
    if (count >= 0 && static_cast<std::size_t>(count) < unit.effects.size())
        unit.effects.resize(static_cast<std::size_t>(count));
}

void setPosition(TGame& game, TUnit& unit, const TUnitUpdate& u)
{
    const bool wasMarked = unit.marked;
    SetMarked(game, unit, false);
    for (int i = 0; i < 3; ++i)
        unit.position[i] = u.position[i];
    unit.cellX = u.cellX;
    unit.cellY = u.cellY;
    unit.speed = u.speed;
    SetMarked(game, unit, wasMarked);
}

// Out of every building: where the host last had it, or its coming out that
// was lost on the way.
void bringOut(TGame& game, TUnit& unit)
{
    if (unit.outside)
        return;
    for (const std::unique_ptr<TUnit>& other : game.units)
        std::erase(other->occupants, &unit);
    unit.outside = true;
    SetMarked(game, unit, true);
}

void setHpFromHost(TGame& game, TUnit& unit, double hp)
{
    if (unit.alive && hp < unit.hp)
        UnderAttackAlert(game, unit);
    unit.hp = hp;
    if (unit.alive && hp <= 0)
        Die(game, unit);
}

// The host numbers its units in creation order, so its list runs by number
// after the map's own: a creation that came late goes before the first unit
// with a higher number.
void placeInHostsOrder(TGame& game, TUnit& unit)
{
    if (unit.unitNumber < 0)
        return;
    const auto later = std::find_if(game.units.begin(), game.units.end(), [&](const std::unique_ptr<TUnit>& u) {
        return u->unitNumber > unit.unitNumber;
    });
    const auto last = game.units.end() - 1;
    if (later == game.units.end() || later == last)
        return;
    std::rotate(later, last, game.units.end());
    for (auto it = later; it != game.units.end(); ++it)
        (*it)->listIndex = static_cast<int>(it - game.units.begin());
}

}  // namespace

void ReportUnit(TGame& game, TUnit& unit, std::uint32_t mask)
{
    if (!game.hosting || unit.listIndex < 0)
        return;
    switch (mask) {
    case UpdateMask::Hp:
        if (!unit.alive) {
            // A death goes out at once, whatever was said before.
            unit.reportedHp = std::llround(unit.hp);
            send(game, unit, UpdateMask::Hp);
        } else if (std::llround(unit.hp) != unit.reportedHp) {
            unit.pendingReports |= UpdateMask::Hp;
        }
        break;
    case UpdateMask::Mp:
        if (std::llround(unit.mp) != unit.reportedMp)
            unit.pendingReports |= UpdateMask::Mp;
        break;
    case UpdateMask::Stats:
        unit.pendingReports |= UpdateMask::Stats;
        break;
    case UpdateMask::Stop:
    case UpdateMask::Walk:
        // Inside a building a unit stands nowhere: its joiners keep it inside.
        if (unit.outside)
            send(game, unit, mask);
        break;
    default:
        send(game, unit, mask);
        break;
    }
}

void BroadcastUnitStates(TGame& game, std::int64_t totalTime)
{
    if (!game.hosting)
        return;
    const std::int32_t now = static_cast<std::int32_t>(totalTime / 10);
    if (now < game.lastBroadcastTick + BroadcastTicks)
        return;
    game.lastBroadcastTick = now;
    game.totalTime = totalTime;
    for (const std::unique_ptr<TUnit>& unit : game.units) {
        if (unit->alive && !unit->idle)
            send(game, *unit, UpdateMask::Walking);
        sendEffects(game, *unit);
        if (unit->pendingReports && game.tick - unit->lastReportTick >= ReportGapTicks)
            sendPending(game, *unit);
    }
    const std::size_t count = game.units.size();
    if (count == 0)
        return;
    const std::size_t slice = (count + RefreshBroadcasts - 1) / RefreshBroadcasts;
    for (std::size_t k = 0; k < slice; ++k) {
        if (static_cast<std::size_t>(game.refreshCursor) >= count) {
            game.refreshCursor = 0;
            repeatRemovals(game);
        }
        refresh(game, *game.units[static_cast<std::size_t>(game.refreshCursor)]);
        game.refreshCursor += 1;
    }
}

void ApplyUnitUpdate(TGame& game, const TUnitUpdate& u)
{
    if (game.hosting)
        return;
    TUnit* unit = nullptr;
    if (u.index >= 0 && static_cast<std::size_t>(u.index) < game.units.size() &&
        game.units[static_cast<std::size_t>(u.index)]->unitNumber == u.unitNumber)
        unit = game.units[static_cast<std::size_t>(u.index)].get();
    else
        unit = FindUnitById(game, u.unitNumber);
    if (!unit) {
        // A removal told again finds its unit gone already.
        if (u.mask != UpdateMask::Removed)
            logLine("Error, trying to use unitid " + std::to_string(u.index) + " not found");
        return;
    }
    // The host tells where a unit stands or walks only while it is outside.
    if (u.mask == UpdateMask::Walking || u.mask == UpdateMask::Stop || u.mask == UpdateMask::Walk)
        bringOut(game, *unit);
    switch (u.mask) {
    case UpdateMask::Walking:
        setPosition(game, *unit, u);
        // Still walking on the host: walk here too, towards its waypoint.
        if (unit->alive && (unit->idle || unit->currentOrder.kind != OrderKind::MoveTo ||
                            unit->currentOrder.goalX != u.goalX || unit->currentOrder.goalY != u.goalY))
            ReplaceOrders(game, *unit, Torder::ToCell(OrderKind::MoveTo, u.goalX, u.goalY, OrderMode::FromCell));
        break;
    case UpdateMask::Stop:
        setPosition(game, *unit, u);
        if (unit->alive && (!unit->idle || unit->currentOrder.kind != OrderKind::Idle))
            ReplaceOrders(game, *unit, Torder::Idle());
        break;
    case UpdateMask::Walk:
        setPosition(game, *unit, u);
        ReplaceOrders(game, *unit, Torder::ToCell(OrderKind::MoveTo, u.goalX, u.goalY, OrderMode::FromCell));
        break;
    case UpdateMask::Construction:
        unit->underConstruction = u.underConstruction;
        break;
    case UpdateMask::Hp:
    case UpdateMask::SetHp:
        setHpFromHost(game, *unit, u.hp);
        break;
    case UpdateMask::Mp:
    case UpdateMask::SetMp:
        unit->mp = u.mp;
        break;
    case UpdateMask::AttackSwing:
        unit->returnAnimation = "Stand Ready";
        unit->SetAnimation("Attack", true, false);
        break;
    case UpdateMask::Stats:
        unit->scale = u.scale;
        unit->maxHp = u.maxHp;
        unit->maxMp = u.maxMp;
        unit->damage = u.damage;
        unit->defense = u.defense;
        unit->speed = u.speed;
        unit->atkSpeed = u.atkSpeed;
        unit->atkRange = u.atkRange;
        unit->underConstruction = u.underConstruction;
        unit->buildProgress = u.buildProgress;
        trimEffects(*unit, u.effectCount);
        break;
    case UpdateMask::Effect: {
        const std::size_t n = static_cast<std::size_t>(u.effectIndex);
        if (u.effectIndex < 0 || n > unit->effects.size())
            break;
        if (n == unit->effects.size())
            unit->effects.emplace_back();
        TEffectRecord& record = unit->effects[n];
        record.remaining = u.remaining;
        record.startTick = u.startTick;
        record.propagated = u.propagated;
        record.count = u.count;
        record.ability = FindAbility(u.abilityId);
        trimEffects(*unit, u.effectCount);
        break;
    }
    case UpdateMask::Removed:
        // Its death may have been lost on the way.
        if (unit->alive)
            Die(game, *unit);
        RemoveUnit(game, *unit);
        break;
    default:
        break;
    }
}

void ReportEntry(TGame& game, const TUnit& unit, const TUnit& building, bool inside)
{
    if (game.hosting && game.link)
        game.link->SendEntry(unit.unitNumber, building.unitNumber, inside);
}

void ApplyEntry(TGame& game, TUnit& unit, TUnit& building, bool inside)
{
    if (game.hosting || !unit.alive)
        return;
    if (inside) {
        if (unit.outside && !EnterBuilding(game, unit, building)) {
            // This machine's copy of the building refused: the host's word stands.
            unit.outside = false;
            unit.idle = true;
            unit.path.clear();
            building.occupants.push_back(&unit);
            RemoveFromGroup(game, game.selection, unit);
            SetMarked(game, unit, false);
        }
        // Inside, its walk is over, as on the host.
        ReplaceOrders(game, unit, Torder::Idle());
        return;
    }
    if (!unit.outside && !LeaveBuilding(game, unit, building))
        bringOut(game, unit);
}

void RequestUnit(TGame& game, const TUnitRequest& request)
{
    if (game.link)
        game.link->RequestUnit(request);
    else
        HostCreateUnit(game, request);
}

bool HostCreateUnit(TGame& game, const TUnitRequest& request)
{
    if (request.x < 0 || request.y < 0)
        return false;
    if (request.typeIndex < 0 || static_cast<std::size_t>(request.typeIndex) >= UnitTypes.size()) {
        log("Unit request for an unknown type " + std::to_string(request.typeIndex), LogDebug);
        return false;
    }
    const TUnitAttributes& type = UnitTypes[static_cast<std::size_t>(request.typeIndex)];
    const std::int64_t cx = request.x / CellSize, cy = request.y / CellSize;
    if (type.size + cx > MapCells || type.size + cy > MapCells)
        return false;
    if (!IsFootprintFree(game.map, type.size, static_cast<int>(cx), static_cast<int>(cy)))
        return false;
    TGamePlayer& owner = game.player(request.owner);
    if (owner.gold < type.res1Cost || owner.wood < type.res2Cost) {
        if (request.owner == game.localPlayer)
            ShowWarning(game, "Not enough resources.");
        return false;
    }
    owner.gold -= type.res1Cost;
    owner.wood -= type.res2Cost;
    const TUnitCreated created{request, game.nextUnitId++};
    if (game.link)
        game.link->SendUnitCreated(created);
    else
        ApplyUnitCreated(game, created);
    return true;
}

TUnit* ApplyUnitCreated(TGame& game, const TUnitCreated& created)
{
    const TUnitRequest& r = created.request;
    if (r.typeIndex < 0 || static_cast<std::size_t>(r.typeIndex) >= UnitTypes.size()) {
        log("Unit created with an unknown type " + std::to_string(r.typeIndex), LogDebug);
        return nullptr;
    }
    if (TUnit* known = FindUnitById(game, created.unitNumber))
        return known;
    if (std::find(game.removedNumbers.begin(), game.removedNumbers.end(), created.unitNumber) !=
        game.removedNumbers.end())
        return nullptr;
    const TUnitAttributes& type = UnitTypes[static_cast<std::size_t>(r.typeIndex)];
    TUnit& unit = CreateUnit(game, type, r.x, r.y, r.owner, created.unitNumber);
    placeInHostsOrder(game, unit);
    if (r.owner >= 1 && r.owner <= MaxPlayers)
        for (const TUpgrade* upgrade : game.researchedUpgrades[static_cast<std::size_t>(r.owner - 1)])
            if (upgrade->targetsId == type.id)
                AddEffectValues(unit, upgrade->effects);
    if (r.builderId != -1) {
        TUnit* builder = FindUnitById(game, r.builderId);
        if (!builder)
            log("Error: UnitID `" + std::to_string(r.builderId) + "` does not exist", LogDebug);
        else if (game.hosting)
            GiveOrder(game, *builder, [&] {
                Torder order = Torder::OnUnit(OrderKind::Construct, &unit);
                order.mode = OrderMode::NewBuilding;
                return order;
            }());
    }
    return &unit;
}
