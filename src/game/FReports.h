// FReports: how the host keeps the other machines' copies of the game in
// step. The host alone settles hit points, deaths and removals; it reports
// each change as a unit update, and every machine applies the updates it
// receives with ApplyUnitUpdate. The network reaches the rules only through
// TGameLink, so the rules run and are tested without a socket.
#pragma once

#include "game/FGameCodes.h"
#include "world/Fmap.h"

#include <cstdint>

class TGame;
class TUnit;
struct Torder;
struct TUpgrade;

// One unit update: `mask` says which kind (one per update) and which fields count.
struct TUnitUpdate {
    std::int32_t index = 0;       // position in the host's unit list
    std::int32_t unitNumber = 0;  // the unit's number, to catch an index out of step
    std::uint32_t mask = 0;
    std::int64_t stamp = 0;       // game clock + 30 ms
    // Walking, Stop, Walk
    std::int64_t position[3] = {0, 0, 0};
    std::int32_t cellX = 0, cellY = 0;
    std::int32_t goalX = 0, goalY = 0;
    std::int32_t speed = 0;
    // Hp, SetHp, Mp, SetMp
    double hp = 0, mp = 0;
    // Stats (and Construction for the flag)
    std::int32_t scale = 0, maxHp = 0, maxMp = 0, damage = 0, defense = 0, atkSpeed = 0, atkRange = 0;
    bool underConstruction = false;
    double buildProgress = 1.0;
    // Effect: record `effectIndex` of the unit; Stats and Effect also carry
    // how many records the unit has, so a record undone on the host goes here too
    std::int32_t effectIndex = 0;
    std::int32_t effectCount = 0;
    std::int32_t remaining = 0, startTick = 0, count = 0, abilityId = 0;
    bool propagated = false;
};

// A request to create a unit (BuildRequest) and the host's answer (UnitCreated).
struct TUnitRequest {
    std::int32_t typeIndex = 0;
    std::int64_t x = 0, y = 0;  // world units
    std::int32_t owner = 0;
    std::int32_t builderId = -1;  // -1: no builder
};
struct TUnitCreated {
    TUnitRequest request;
    std::int32_t unitNumber = 0;
};

// The network's side of the game. With no link (a game alone, vrax-sim,
// tests) requests are settled on this machine at once.
class TGameLink {
public:
    virtual ~TGameLink() = default;
    // Host: one update to every other player.
    virtual void SendUnitUpdate(const TUnitUpdate& update) = 0;
    // Any machine: ask the host to create a unit.
    virtual void RequestUnit(const TUnitRequest& request) = 0;
    // Host: tell every machine (itself included) a unit was created.
    virtual void SendUnitCreated(const TUnitCreated& created) = 0;
    // Client: hand an order for unit `unitNumber` to the host, replacing or queued.
    virtual void SendOrder(std::int32_t unitNumber, const Torder& order, bool queued) = 0;
    // Host: every player's gold and wood to every player.
    virtual void SendResources(const TGame& /*game*/) {}
    // Client: the player's requests that are not orders (see FRequests).
    // SendResearch on the host tells every other machine of a research it settled.
    virtual void SendCast(std::int32_t casterNumber, std::int32_t targetNumber, int slot) = 0;
    virtual void SendDefend(std::int32_t unitNumber) = 0;
    virtual void SendResearch(std::int32_t player, const TUpgrade& upgrade) = 0;
    virtual void SendDamageRequest(std::int32_t unitNumber, double amount) = 0;
    // Host: a creation told again to every other machine, for one that lost it.
    virtual void RepeatUnitCreated(const TUnitCreated& /*created*/) {}
    // Host: a unit went into (or came out of) a building, for every other machine.
    virtual void SendEntry(std::int32_t /*unitNumber*/, std::int32_t /*buildingNumber*/, bool /*inside*/) {}
};

// Asks for a unit: through the link, or settled here when alone.
void RequestUnit(TGame& game, const TUnitRequest& request);
// The host's answer to a request: placement and purse checked, costs paid, a
// new number given, and the creation told to every machine. False when refused.
bool HostCreateUnit(TGame& game, const TUnitRequest& request);
// A creation told by the host, on every machine: the unit is made, researched
// upgrades apply, a builder is set to construct it. A creation told again
// (the host repeats them for machines that lost one) makes nothing new, and a
// late one takes its place in the host's order.
TUnit* ApplyUnitCreated(TGame& game, const TUnitCreated& created);

// Host: the unit's state changed; `mask` is one update kind. Hp, mp and stats
// are gathered and sent at the next broadcast (at most every 100 ms per unit);
// the others go at once.
void ReportUnit(TGame& game, TUnit& unit, std::uint32_t mask);
// Host, every frame before drawing: every 30 ms of game clock, the walking
// units' positions, the pending hp/mp/stats, and a rolling refresh that
// repeats every unit's state about every two seconds, so that a lost
// datagram never leaves a client wrong for long.
void BroadcastUnitStates(TGame& game, std::int64_t totalTime);
// Every machine but the host: applies one update from the host.
void ApplyUnitUpdate(TGame& game, const TUnitUpdate& update);
// Host: the unit went into the building (or came out); the others are told.
void ReportEntry(TGame& game, const TUnit& unit, const TUnit& building, bool inside);
// Every machine but the host: the host's word that the unit is inside the
// building (or out of it), whatever this machine made of its orders.
void ApplyEntry(TGame& game, TUnit& unit, TUnit& building, bool inside);
