// FGame: one machine's game. TGame holds everything the game mode keeps
// between frames: the unit list, the occupancy grid, the selection and
// control groups, the warning, projectiles, researched upgrades, the tick,
// every player's resources and the host's id counter. The frame loop holds
// the machine's own game (CurrentGame); tools and tests make as many as they
// like. The rules reach sound, interface events, the keyboard and the
// network only through the hooks and the link below, so they run headless.
#pragma once

#include "game/FBallistic.h"
#include "game/FGameCodes.h"
#include "game/FNearby.h"
#include "game/FUnit.h"
#include "game/FWarning.h"
#include "game/Fgroup.h"
#include "game/pathfinder.h"
#include "world/Fmap.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

struct TUpgrade;
class TGameLink;

// What the rules ask of the rest of the program; an unset hook is skipped.
struct TGameHooks {
    std::function<void(InterfaceEvent event, int arg1)> raiseEvent;  // interface events
    std::function<void(const TUnit& unit, SoundKind kind)> unitSound;  // a unit speaks
    std::function<void(SoundKind kind)> advisorSound;                 // the local race's advisor
    std::function<bool()> formationKeyHeld;                           // left Ctrl: curved formations
    std::function<void()> aimCancelled;                               // the pending aim was dropped
};

// One player's purse and head count.
struct TGamePlayer {
    double gold = 2500;
    double wood = 0;
    std::int32_t unitCount = 0;  // this player's live units
    std::int32_t colour = 0;     // index into PlayerColours
    bool inGame = false;         // has had units: earns the income of every player
};

// The player's pending targeting command (a spell to aim, a building to
// place): `actor` is the unit that would carry it out.
struct TPendingAim {
    TUnit* actor = nullptr;
    int command = 0;  // the interaction module's own code; 0: no aim
};

constexpr int MaxPlayers = 8;
constexpr int ControlGroupCount = 10;
constexpr int ControlGroupCapacity = 18;
// The owner of units the map places: no player's, so nobody counts them and
// aggressive units leave them alone.
constexpr std::int32_t NeutralOwner = 0;

class TGame {
public:
    TGame();
    ~TGame();
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    std::vector<std::unique_ptr<TUnit>> units;  // UnitList, in the host's order
    Tmap map;
    std::unique_ptr<Tastar> pathFinder;  // reused by every search
    TUnitGroup selection;
    std::array<std::vector<TUnit*>, ControlGroupCount> controlGroups;
    TWarning warning;
    std::vector<std::unique_ptr<TProjectile>> projectiles;
    std::array<std::vector<const TUpgrade*>, MaxPlayers> researchedUpgrades;  // per player
    std::int32_t tick = 0;  // GameTick
    std::array<TGamePlayer, MaxPlayers> players;
    std::int32_t nextUnitId = 0;          // the host's counter
    std::int32_t nextMapUnitNumber = FirstMapUnitNumber;
    std::int32_t localPlayer = 1;         // own slot + 1
    bool hosting = true;
    TPendingAim aim;
    std::vector<TCell> startPositions;    // from the map, in file order
    std::vector<std::int32_t> removedNumbers;  // units gone from this list: a late creation is not made again

    // The frame being simulated: game clock and frame time (ms, at most 100).
    std::int64_t totalTime = 0;
    std::int32_t elapsed = 0;
    std::int32_t lastBroadcastTick = 0;
    std::int64_t lastUnderAttackAlert = -1000000;
    std::int64_t lastResourceReport = 0;  // game clock of the host's last resources message
    std::int32_t refreshCursor = 0;  // next unit of the host's rolling refresh
    std::int32_t deathsSinceIncome = 0;  // each pays a wood at the next tick

    TGameHooks hooks;
    TGameLink* link = nullptr;  // the network; none when playing alone
    std::mt19937 random{0};     // damage spreads; seed it for a repeatable game
    TGamePlayer nobody;         // the record of the neutral owner
    TNearby nearby;             // the units by place, for the order pass
    // The list indices of the units the last drawn frame showed, in drawing
    // order: the drawing fills it, the scripts read it.
    std::vector<int> visibleUnits;

    // Player number 1..8; any other number (the neutral owner) gets a scratch record.
    TGamePlayer& player(std::int32_t number);
    TGamePlayer& localPlayerRecord() { return player(localPlayer); }

    void RaiseEvent(InterfaceEvent event, int arg1 = 0) const;
    void UnitSound(const TUnit& unit, SoundKind kind) const;
    void AdvisorSound(SoundKind kind) const;
};

// The game the frame loop runs on this machine; null outside game mode.
extern TGame* CurrentGame;

// Sets the game up for a new match: tick 0, empty lists, a free grid, fresh
// warning and players. Definitions are loaded by the caller (shared tables).
void InitGame(TGame& game, std::int32_t localPlayer, bool hosting);

// One frame of game mode at game clock `totalTime` with frame time `elapsed`
// (ms, clamped to 100): turning, walking and animation by the frame time,
// then at most one 10 ms tick of the rules.
void UpdateGame(TGame& game, std::int64_t totalTime, std::int32_t elapsed);

// The unit with that unit number, or nullptr.
TUnit* FindUnitById(const TGame& game, std::int32_t unitNumber);
// The unit at that list index, or nullptr after the log line
// "Error, trying to use unitid <index> not found".
TUnit* UnitAt(const TGame& game, int index);
// Takes the unit out of the game for good: list, selection, groups, aims and
// every order that names it. The host then reports the removal.
void RemoveUnit(TGame& game, TUnit& unit);
