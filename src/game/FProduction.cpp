#include "game/FProduction.h"

#include "game/FGame.h"
#include "game/FOrders.h"
#include "game/FReports.h"
#include "game/FUnit.h"
#include "game/FUnitLoad.h"
#include "game/FWarning.h"
#include "shell/FLogs.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Progress sums 100/buildingTime once a tick; this absorbs the rounding of
// that sum so that a trainee of 500 ticks appears on the 500th.
constexpr double ProgressSlack = 1e-9;

bool acceptsWorkers(const TUnit& building)
{
    return building.IsBuilding() && building.unitType->training == -1.0;
}

// Refusals are for the player who asked; other machines' copies stay quiet.
void warnOwner(TGame& game, const TUnit& unit, const std::string& text)
{
    if (unit.owner == game.localPlayer)
        ShowWarning(game, text);
}

// The purse check of training and placement, with the advisor's word.
bool canPay(TGame& game, const TGamePlayer& purse, const TUnitAttributes& type, bool checkWood)
{
    if (type.res1Cost > purse.gold) {
        game.AdvisorSound(SoundKind::Gold);
        ShowWarning(game, "Not enough Gold.");
        return false;
    }
    if (checkWood && type.res2Cost > purse.wood) {
        game.AdvisorSound(SoundKind::Wood);
        ShowWarning(game, "Not enough Wood.");
        return false;
    }
    return true;
}

TUnit* holdingBuilding(const TGame& game, const TUnit& unit)
{
    for (const std::unique_ptr<TUnit>& other : game.units)
        if (std::find(other->occupants.begin(), other->occupants.end(), &unit) != other->occupants.end())
            return other.get();
    return nullptr;
}

void placeOnCell(TUnit& unit, TCell cell)
{
    unit.cellX = cell.x;
    unit.cellY = cell.y;
    unit.position[0] = (static_cast<std::int64_t>(cell.x) * CellSize + CellSize / 2) * WorldScale;
    unit.position[1] = (static_cast<std::int64_t>(cell.y) * CellSize + CellSize / 2) * WorldScale;
    unit.position[2] = 0;
}

}  // namespace

bool QueueTraining(TGame& game, TUnit& building, const TUnitAttributes& type)
{
    if (!building.alive || !building.IsBuilding())
        return false;
    if (!canPay(game, game.player(building.owner), type, true))
        return false;
    if (building.buildQueue.size() >= BuildQueueCapacity) {
        ShowWarning(game, "Building queue is full.");
        return false;
    }
    building.buildQueue.push_back(&type);
    game.RaiseEvent(InterfaceEvent::BuildingQueueChanged);
    return true;
}

bool BeginPlacement(TGame& game, const TUnitAttributes& type)
{
    return canPay(game, game.localPlayerRecord(), type, false);
}

void ProductionTick(TGame& game, TUnit& building)
{
    if (building.buildQueue.empty() || building.underConstruction)
        return;
    const TUnitAttributes& trainee = *building.buildQueue.front();
    const TGamePlayer& purse = game.player(building.owner);
    if (trainee.res1Cost > purse.gold || trainee.res2Cost > purse.wood)
        return;
    if (building.trainProgress < 100.0 - ProgressSlack) {
        if (trainee.buildingTime != 0) {
            building.trainProgress += 100.0 / trainee.buildingTime;
            if (building.trainProgress < 100.0 - ProgressSlack)
                return;
        }
        building.trainProgress = 100.0;
    } else if (game.tick < building.spawnRetryTick) {
        return;  // waiting for room
    }

    const std::optional<TCell> cell = FindSpawnCell(game.map, building.Size(), trainee.size, building.Cell());
    if (!cell) {
        // The trainee stays first, ready, and the search waits a second
        // rather than running every tick; the player hears of it once.
        building.spawnRetryTick = game.tick + SpawnRetryTicks;
        if (!building.spawnWarned)
            warnOwner(game, building, "No room to place the unit.");
        building.spawnWarned = true;
        return;
    }
    building.spawnWarned = false;
    building.spawnRetryTick = 0;
    TUnitRequest request;
    request.typeIndex = UnitTypeIndex(&trainee);
    request.x = static_cast<std::int64_t>(cell->x) * CellSize;
    request.y = static_cast<std::int64_t>(cell->y) * CellSize;
    request.owner = building.owner;
    request.builderId = -1;
    building.buildQueue.erase(building.buildQueue.begin());
    building.trainProgress = 0;
    game.RaiseEvent(InterfaceEvent::BuildingQueueChanged);
    RequestUnit(game, request);
}

void ConstructionStep(TGame& game, TUnit& building)
{
    if (!building.alive || !building.IsBuilding())
        return;
    // A building that takes no time is raised in one step.
    const std::int32_t time = std::max(1, building.unitType->buildingTime);
    building.hp = std::min<double>(building.maxHp, building.hp + static_cast<double>(building.maxHp) / time);
    building.buildProgress = std::min(1.0, building.buildProgress + 1.0 / time);
    ReportUnit(game, building, UpdateMask::Hp);
    StatsChanged(game, building);
    if (building.underConstruction && building.buildProgress >= 1.0) {
        building.underConstruction = false;
        game.RaiseEvent(InterfaceEvent::UnitChanged);
        building.SetAnimation("Stand", true, false);
        if (building.owner == game.localPlayer)
            game.AdvisorSound(SoundKind::Building);
    }
}

void IncomeTick(TGame& game, std::int32_t deadCount)
{
    if (!game.hosting)
        return;
    bool paid = false;
    for (const std::unique_ptr<TUnit>& building : game.units) {
        if (!building->alive)
            continue;
        for (const TUnit* occupant : building->occupants) {
            if (!occupant->alive)
                continue;
            const double amount = occupant->unitType->training;
            game.player(building->owner).gold += amount;
            logLine("Updated !" + std::to_string(amount));
            paid = true;
        }
    }
    bool changed = paid || deadCount != 0;
    for (TGamePlayer& player : game.players) {
        if (!player.inGame)
            continue;
        const double before = std::round(player.gold);
        player.gold += 0.01;
        player.wood += deadCount;
        changed = changed || std::round(player.gold) != before;
    }
    if (changed) {
        if (game.link)
            game.link->SendResources(game);
        game.lastResourceReport = game.totalTime;
    }
}

bool EnterBuilding(TGame& game, TUnit& unit, TUnit& building)
{
    // A foundation or a ruin holds nobody.
    if (!acceptsWorkers(building) || !building.alive || building.underConstruction)
        return false;
    if (!unit.alive || !unit.outside || unit.IsBuilding() || &unit == &building ||
        building.occupants.size() >= OccupantCapacity)
        return false;
    unit.outside = false;
    unit.idle = true;
    unit.path.clear();
    building.occupants.push_back(&unit);
    game.RaiseEvent(InterfaceEvent::TrainingListChanged);
    RemoveFromGroup(game, game.selection, unit);
    SetMarked(game, unit, false);
    ReportEntry(game, unit, building, true);
    return true;
}

bool LeaveBuilding(TGame& game, TUnit& unit, TUnit& building)
{
    if (!acceptsWorkers(building))
        return false;
    const auto inside = std::find(building.occupants.begin(), building.occupants.end(), &unit);
    if (inside == building.occupants.end())
        return false;
    const std::optional<TCell> cell = FindSpawnCell(game.map, building.Size(), unit.Size(), building.Cell());
    if (!cell)
        return false;
    building.occupants.erase(inside);
    unit.outside = true;
    placeOnCell(unit, *cell);
    game.RaiseEvent(InterfaceEvent::TrainingListChanged);
    if (unit.alive)
        SetMarked(game, unit, true);
    ReportEntry(game, unit, building, false);
    return true;
}

void InsideTick(TGame& game, TUnit& unit)
{
    if (unit.currentOrder.kind == OrderKind::Idle)
        return;
    TUnit* building = holdingBuilding(game, unit);
    if (!building) {
        // Its building left the game with it inside: it stands where it went in.
        unit.outside = true;
        SetMarked(game, unit, true);
        return;
    }
    if (LeaveBuilding(game, unit, *building) && unit.currentOrder.kind == OrderKind::Leave)
        NextOrder(game, unit);
}

void ReleaseOccupants(TGame& game, TUnit& building)
{
    const std::vector<TUnit*> inside = building.occupants;
    for (TUnit* unit : inside)
        if (acceptsWorkers(building))
            LeaveBuilding(game, *unit, building);
}

std::optional<TCell> FindSpawnCell(const Tmap& map, int buildingSize, int unitSize, TCell building)
{
    const int hb = buildingSize / 2;
    const int hu = unitSize / 2;
    const int bx = building.x, by = building.y;
    for (int r = hb + hu + 1;; ++r) {
        // Every line of this ring is off the map, and so is every ring after it.
        if (by - r < 0 && bx + r >= MapCells && by + r >= MapCells && bx - r < 0)
            return std::nullopt;
        for (int x = bx - hb - 1; x <= bx + hb + 1; ++x)
            if (IsFootprintFree(map, unitSize, x, by - r))
                return TCell{x, by - r};
        for (int y = by - hb - 1; y <= by + hb + 1; ++y)
            if (IsFootprintFree(map, unitSize, bx + r, y))
                return TCell{bx + r, y};
        for (int x = bx - hb - 1; x <= bx + hb + 1; ++x)
            if (IsFootprintFree(map, unitSize, x, by + r))
                return TCell{x, by + r};
        for (int y = by - hb - 1; y <= by + hb + 1; ++y)
            if (IsFootprintFree(map, unitSize, bx - r, y))
                return TCell{bx - r, y};
    }
}
