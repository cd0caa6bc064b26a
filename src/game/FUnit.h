// FUnit: one unit or building in play. A TUnit is an animated model with a
// type, an owner, hit points and mana, orders, active effects and, for
// buildings, a production queue and the workers inside. Units live in their
// game's unit list in creation order; the list index names a unit to the
// scripts and in the host's reports, the unit number in orders and damage.
#pragma once

#include "assets/FDisplay.h"
#include "game/FGameCodes.h"
#include "game/FOrders.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class TGame;
struct TUnitAttributes;
struct TAbility;
struct TEffectValues;

// One active effect of an ability on a unit.
struct TEffectRecord {
    std::int32_t remaining = 0;  // ticks left; -1 lasts until undone
    std::int32_t startTick = 0;  // tick of the last application
    bool propagated = false;     // came from an area effect
    std::int32_t count = 0;      // periodic applications so far
    bool addedInstant = false;   // a propagated record: which values its application added
    const TAbility* ability = nullptr;
};

struct TSpellSlot {
    std::int32_t cooldownLeft = 0;  // ticks
    const TAbility* ability = nullptr;
};

// World fixed point: world units x 10000, angles in radians x 10000.
constexpr std::int64_t WorldScale = 10000;
constexpr double FullTurn = 62831.853071795864;
constexpr double HalfTurn = 31415.926535897932;

// A unit number no host id reaches: map-placed units count down from -2
// (-1 means "no builder"), the same on every machine.
constexpr std::int32_t FirstMapUnitNumber = -2;

constexpr std::int32_t CorpseRemovalHp = -110;  // a corpse is removed at or below this
constexpr std::int32_t DeathHp = -10;           // hit points right after death

class TUnit : public TModel {
public:
    const TUnitAttributes* unitType = nullptr;
    std::int32_t owner = 0;       // player number 1..8
    std::int32_t unitNumber = 0;  // the host's id, or a map number (below -1)
    std::int32_t lastAttackTick = 0;
    std::int32_t maxHp = 0, maxMp = 0;
    std::int32_t atkSpeed = 0, atkRange = 0, defense = 0, damage = 0, speed = 0;
    std::int32_t cellX = 0, cellY = 0;
    bool idle = true;  // not walking
    std::vector<TSpellSlot> spells;
    std::uint8_t aggressivity = 0;
    double buildProgress = 1.0;  // 0..1
    double trainProgress = 0.0;  // 0..100
    std::int64_t facingTarget = 0;
    bool selected = false;
    bool removeMe = false;
    bool underConstruction = false;
    bool turnNegative = false;
    bool turning = false;
    bool alive = true;
    bool outside = true;  // false while inside a building
    bool marked = false;  // counted on the occupancy grid (standing units and buildings)
    std::vector<TEffectRecord> effects;
    std::vector<const TUnitAttributes*> buildQueue;  // buildings: at most 6
    std::vector<TUnit*> occupants;                   // buildings: workers inside
    std::int32_t spawnRetryTick = 0;                 // buildings: no room for the trainee before this tick
    bool spawnWarned = false;                        // buildings: the player was told there is no room
    Torder currentOrder;
    std::deque<TCell> path;  // remaining waypoints
    double hp = 0, mp = 0;
    double hpRegen = 0, mpRegen = 0;
    std::deque<Torder> orders;  // at most OrderQueueCapacity

    // Position in the unit list, kept by the list itself.
    int listIndex = -1;
    // What the host last told the clients, and what it still owes them.
    std::int64_t reportedHp = 0, reportedMp = 0;
    std::uint32_t pendingReports = 0;  // UpdateMask bits
    std::int32_t lastReportTick = -1000;

    bool IsBuilding() const;
    int Size() const;  // the type's footprint side in cells
    TCell Cell() const { return TCell{cellX, cellY}; }
};

// A new unit of `type` at world position (x, y) (whole world units), not yet
// in any list: cell, centred position, statistics, "Birth", facing -pi/2.
std::unique_ptr<TUnit> BuildUnit(const TUnitAttributes& type, std::int64_t x, std::int64_t y, std::int32_t owner,
                                 std::int32_t unitNumber);
// Builds the unit, marks a building's footprint, copies the owner's colour,
// counts it for its owner, plays "ready" and appends it to the unit list.
TUnit& CreateUnit(TGame& game, const TUnitAttributes& type, std::int64_t x, std::int64_t y, std::int32_t owner,
                  std::int32_t unitNumber);

// Damage (negative heals). Settled by the host alone; a dead unit takes none.
void TakeDamage(TGame& game, TUnit& unit, double amount);
// The damage one hit of `attacker` deals to `target` after defense: a draw
// from [d - d/10, d + d/10 - 1] (d itself when that is empty), scaled by
// 1 - defense/10 and rounded.
std::int32_t HitDamage(TGame& game, const TUnit& attacker, const TUnit& target);
// The unit leaves the player's choices: the pending aim it would carry out,
// the selection and the control groups.
void ForgetPlayerChoices(TGame& game, TUnit& unit);
void Die(TGame& game, TUnit& unit);
void SetHp(TGame& game, TUnit& unit, double hp);
void SetMp(TGame& game, TUnit& unit, double mp);
// A statistic changed (effects, upgrades, construction): the host reports it.
void StatsChanged(TGame& game, TUnit& unit);
// Adds an effect's or upgrade's size, hp, attack, defense and speed to the
// unit's statistics (`sign` -1 takes them off again).
void AddEffectValues(TUnit& unit, const TEffectValues& values, int sign = 1);
// Counts the unit on the grid or takes it off (idempotent).
void SetMarked(TGame& game, TUnit& unit, bool marked);
// The advisor's "under attack", at most every 15 s of game clock, when one
// of the local player's units is hurt.
void UnderAttackAlert(TGame& game, const TUnit& target);

// The angle (radians x 10000, 0..2pi) from cell `from` towards cell `to`.
std::int64_t AngleTowards(TCell from, TCell to);
// Starts turning the unit towards the cell.
void FaceCell(TUnit& unit, TCell cell);

// The 8 player colours, red, green, blue in ten-thousandths.
extern const std::int64_t PlayerColours[8][3];
extern const std::int64_t MapUnitColour[3];
