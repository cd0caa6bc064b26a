// FProduction: the economy. Buildings train units from a queue of six, are
// raised (and repaired) by workers' Construct orders, and some take workers
// in who yield gold while inside; every player's gold also rises by itself
// and wood comes from the dead. The frame loop's tick (FGame) runs the
// training, income and inside steps; the order step runs construction,
// entering and leaving; the key handler and the scripts queue training and
// start placements.
#pragma once

#include "world/Fmap.h"

#include <cstdint>
#include <optional>

class TGame;
class TUnit;
struct TUnitAttributes;

constexpr std::size_t BuildQueueCapacity = 6;
constexpr std::size_t OccupantCapacity = 6;
// A trainee with no free cell around its building waits this long (ticks)
// before the search is tried again.
constexpr std::int32_t SpawnRetryTicks = 100;

// Queues a unit of `type` in the building, checked against its owner's
// purse ("Not enough Gold.", "Not enough Wood.") and the queue's six places
// ("Building queue is full."). Nothing is paid until the host creates it.
bool QueueTraining(TGame& game, TUnit& building, const TUnitAttributes& type);
// Whether the local player may start placing a building of `type`: only its
// gold is checked ("Not enough Gold." otherwise); the placement mode itself
// belongs to the player's commands.
bool BeginPlacement(TGame& game, const TUnitAttributes& type);

// One tick of a live building's training: progress while its owner can pay
// for the first trainee, then a request for it on a free cell beside the building.
void ProductionTick(TGame& game, TUnit& building);
// One step of a worker's work on a building: hit points and progress grow by
// 1/buildingTime of the whole; a finished building is repaired by the same step.
void ConstructionStep(TGame& game, TUnit& building);
// The host's income each tick: every occupant's yield to its building's
// owner, 0.01 gold to every player in the game, and `deadCount` wood (the
// units that died since the last tick); a change is reported to all.
void IncomeTick(TGame& game, std::int32_t deadCount);

// A worker goes into a building that takes workers (six at most): it leaves
// the grid and the selection. False when refused (silently).
bool EnterBuilding(TGame& game, TUnit& unit, TUnit& building);
// An occupant comes out on a free cell beside the building. False when it is
// not inside that building or no cell is free.
bool LeaveBuilding(TGame& game, TUnit& unit, TUnit& building);
// A unit inside a building: a Leave order, or any order other than Idle,
// takes it out first; it does nothing else while inside.
void InsideTick(TGame& game, TUnit& unit);
// A building that dies lets its occupants out (where there is room).
void ReleaseOccupants(TGame& game, TUnit& building);

// The first free cell for a unit of size `unitSize` on the rings around a
// building of size `buildingSize` on `building`, nearest ring first; none once
// a ring lies wholly off the map.
std::optional<TCell> FindSpawnCell(const Tmap& map, int buildingSize, int unitSize, TCell building);
