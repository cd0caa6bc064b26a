#include "game/FGame.h"

#include "game/FEffects.h"
#include "game/FProduction.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "shell/FLogs.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

TGame* CurrentGame = nullptr;

TGame::TGame() : pathFinder(std::make_unique<Tastar>(MapCells, MapCells))
{
    for (int i = 0; i < MaxPlayers; ++i)
        players[static_cast<std::size_t>(i)].colour = i;
}

TGame::~TGame() = default;

TGamePlayer& TGame::player(std::int32_t number)
{
    if (number < 1 || number > MaxPlayers)
        return nobody;
    return players[static_cast<std::size_t>(number - 1)];
}

void TGame::RaiseEvent(InterfaceEvent event, int arg1) const
{
    if (hooks.raiseEvent)
        hooks.raiseEvent(event, arg1);
}

void TGame::UnitSound(const TUnit& unit, SoundKind kind) const
{
    if (hooks.unitSound)
        hooks.unitSound(unit, kind);
}

void TGame::AdvisorSound(SoundKind kind) const
{
    if (hooks.advisorSound)
        hooks.advisorSound(kind);
}

void InitGame(TGame& game, std::int32_t localPlayer, bool hosting)
{
    game.units.clear();
    game.projectiles.clear();
    InitMapGrid(game.map);
    game.selection = TUnitGroup{};
    for (std::vector<TUnit*>& group : game.controlGroups)
        group.clear();
    game.warning = TWarning{};
    for (std::vector<const TUpgrade*>& list : game.researchedUpgrades)
        list.clear();
    game.tick = 0;
    for (int i = 0; i < MaxPlayers; ++i)
        game.players[static_cast<std::size_t>(i)] = TGamePlayer{2500, 0, 0, i};
    game.player(localPlayer).inGame = true;
    game.nobody = TGamePlayer{};
    game.nextUnitId = 0;
    game.nextMapUnitNumber = FirstMapUnitNumber;
    game.localPlayer = localPlayer;
    game.hosting = hosting;
    game.aim = TPendingAim{};
    game.nearby = TNearby{};  // its blocks hold the last match's units, freed above
    game.startPositions.clear();
    game.removedNumbers.clear();
    game.totalTime = 0;
    game.elapsed = 0;
    game.lastBroadcastTick = 0;
    game.lastUnderAttackAlert = -1000000;
    game.lastResourceReport = 0;
    game.refreshCursor = 0;
    game.deathsSinceIncome = 0;
    game.visibleUnits.clear();
}

namespace {

double sinOf(std::int64_t angle)
{
    return std::sin(static_cast<double>(angle) / WorldScale);
}

// Turning reads the frame time: speed x 0.0005 radians per millisecond.
void turn(TUnit& unit, std::int32_t elapsed)
{
    if (!unit.turning)
        return;
    const bool negative = sinOf(unit.facingTarget - unit.facing) < 0;
    const double step = unit.speed * 0.0005 * elapsed * WorldScale;
    double facing = static_cast<double>(unit.facing) + (negative ? -step : step);
    facing = std::fmod(facing, FullTurn);
    if (facing < 0)
        facing += FullTurn;
    unit.facing = static_cast<std::int64_t>(std::llround(facing));
    if ((sinOf(unit.facingTarget - unit.facing) < 0) != negative) {
        unit.facing = unit.facingTarget;
        unit.turning = false;
    }
    unit.turnNegative = negative;
}

// Passed or touched on both axes in the direction of travel.
bool waypointReached(const TUnit& unit, TCell next, double c, double s)
{
    if (unit.path.empty())
        return true;
    const TCell w = unit.path.front();
    const bool alongX = c > 0 ? w.x - next.x <= 0 : w.x - next.x >= 0;
    const bool alongY = s > 0 ? w.y - next.y <= 0 : w.y - next.y >= 0;
    return alongX && alongY;
}

// Walking reads the frame time: speed x 0.02 world units per millisecond.
void walk(TGame& game, TUnit& unit, std::int32_t elapsed)
{
    if (elapsed <= 0 || unit.idle)
        return;
    const double step = unit.speed * 0.02 * elapsed;
    const double angle = static_cast<double>(unit.facingTarget) / WorldScale;
    const double c = std::cos(angle), s = std::sin(angle);
    const std::int64_t x = unit.position[0] + std::llround(step * c * WorldScale);
    const std::int64_t y = unit.position[1] + std::llround(step * s * WorldScale);
    const TCell next{static_cast<std::int32_t>(x / WorldScale / CellSize),
                     static_cast<std::int32_t>(y / WorldScale / CellSize)};
    if (!waypointReached(unit, next, c, s)) {
        unit.position[0] = x;
        unit.position[1] = y;
        unit.position[2] = 0;
        unit.cellX = next.x;
        unit.cellY = next.y;
        return;
    }
    unit.cellX = next.x;
    unit.cellY = next.y;
    unit.position[0] = (static_cast<std::int64_t>(next.x) * CellSize + CellSize / 2) * WorldScale;
    unit.position[1] = (static_cast<std::int64_t>(next.y) * CellSize + CellSize / 2) * WorldScale;
    unit.position[2] = 0;
    ReachWaypoint(game, unit);
}

void regenerate(TUnit& unit)
{
    if (unit.underConstruction)
        return;
    if (unit.hpRegen > 0 && unit.hp < unit.maxHp)
        unit.hp = std::min(unit.hp + unit.hpRegen, static_cast<double>(unit.maxHp));
    if (unit.mpRegen > 0 && unit.mp < unit.maxMp)
        unit.mp = std::min(unit.mp + unit.mpRegen, static_cast<double>(unit.maxMp));
}

// A corpse loses 30 hit points a second of game clock, 0.3 a tick: by the
// frame time it would last ten times longer on a machine that draws a
// thousand frames a second. The host removes it at -110 and tells the others,
// so every list keeps the host's order; a machine whose removal report was
// lost lets the corpse go two seconds later.
void decay(TGame& game, TUnit& unit)
{
    if (unit.hp <= (game.hosting ? CorpseRemovalHp : CorpseRemovalHp - 60))
        unit.removeMe = true;
    if (unit.hp < 0)
        unit.hp -= 10 / 1000.0 * 30;
}

}  // namespace

void UpdateGame(TGame& game, std::int64_t totalTime, std::int32_t elapsed)
{
    game.totalTime = totalTime;
    game.elapsed = std::clamp(elapsed, 0, 100);

    // Every unit's animation runs whether it is drawn or not: a ranged unit's
    // next shot waits on its attack animation, and that must not depend on
    // where anybody looks.
    for (std::size_t i = 0; i < game.units.size(); ++i) {
        TUnit& unit = *game.units[i];
        unit.AdvanceAnimationBy(game.elapsed);
        if (unit.alive && !unit.IsBuilding()) {
            turn(unit, game.elapsed);
            walk(game, unit, game.elapsed);
        }
    }
    AdvanceProjectiles(game);

    if (totalTime / 10 <= game.tick)
        return;
    game.tick += 1;

    // Units that died since the last tick pay wood. Counted as they die: a
    // corpse's hit points are no guide, since one killed by a missile, or by a
    // unit earlier in the list, has already begun to decay by now.
    IncomeTick(game, std::exchange(game.deathsSinceIncome, 0));

    game.nearby.Open(game.tick);
    for (std::size_t i = 0; i < game.units.size(); ++i) {
        TUnit& unit = *game.units[i];
        if (unit.alive) {
            if (unit.IsBuilding())
                ProductionTick(game, unit);
            if (unit.outside)
                OrderTick(game, unit);
            else
                InsideTick(game, unit);
            if (unit.alive)
                EffectStep(game, unit);
            if (unit.alive)
                regenerate(unit);
        } else {
            decay(game, unit);
        }
    }
    game.nearby.Close();
    for (std::size_t i = game.units.size(); i-- > 0;) {
        TUnit& unit = *game.units[i];
        CooldownAndExpiryStep(game, unit);
        if (unit.removeMe)
            RemoveUnit(game, unit);
    }
    if (!game.warning.text.empty() && WarningExpired(game))
        ClearWarning(game);
}

TUnit* FindUnitById(const TGame& game, std::int32_t unitNumber)
{
    for (const std::unique_ptr<TUnit>& unit : game.units)
        if (unit->unitNumber == unitNumber)
            return unit.get();
    return nullptr;
}

TUnit* UnitAt(const TGame& game, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= game.units.size()) {
        logLine("Error, trying to use unitid " + std::to_string(index) + " not found");
        return nullptr;
    }
    return game.units[static_cast<std::size_t>(index)].get();
}

void RemoveUnit(TGame& game, TUnit& unit)
{
    const int index = unit.listIndex;
    if (index < 0 || static_cast<std::size_t>(index) >= game.units.size() ||
        game.units[static_cast<std::size_t>(index)].get() != &unit)
        return;
    ReportUnit(game, unit, UpdateMask::Removed);
    game.removedNumbers.push_back(unit.unitNumber);
    SetMarked(game, unit, false);
    ForgetPlayerChoices(game, unit);
    ForgetProjectileUnit(game, unit);
    for (const std::unique_ptr<TUnit>& other : game.units) {
        if (other.get() == &unit)
            continue;
        std::erase_if(other->orders, [&](const Torder& o) { return TargetsUnit(o.kind) && o.target == &unit; });
        std::erase(other->occupants, &unit);
        if (TargetsUnit(other->currentOrder.kind) && other->currentOrder.target == &unit) {
            if (other->alive)
                NextOrder(game, *other);
            else
                other->currentOrder = Torder::Idle();
        }
    }
    game.units.erase(game.units.begin() + index);
    for (std::size_t i = static_cast<std::size_t>(index); i < game.units.size(); ++i)
        game.units[i]->listIndex = static_cast<int>(i);
}
