// FUnitLoad: the definition tables read from Data/abilities.xml,
// Data/upgrades.xml and Data/units.xml when a game starts. Units in play,
// their spells and the script functions point into these tables, so a record
// never moves once loaded: the tables are deques that only grow at the end
// until ResetDefinitions empties them (a new game, or a test).
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// TUnitAttributes::type
namespace UnitKind {
constexpr std::uint8_t Hero = 0;
constexpr std::uint8_t Infrantry = 1;
constexpr std::uint8_t Ranged = 2;
constexpr std::uint8_t Other = 3;
}  // namespace UnitKind

// TUnitAttributes::aggressivity: an aggressive idle unit attacks what comes
// near; a defensive one only answers orders; neither is the default.
namespace Aggressivity {
constexpr std::uint8_t Aggressive = 0;
constexpr std::uint8_t Defensive = 1;
constexpr std::uint8_t Neither = 2;
}  // namespace Aggressivity

// TAbility::target and TAbility::areaEffectTarget.
namespace AbilityTarget {
constexpr std::uint8_t Enemy = 0;
constexpr std::uint8_t Friendly = 1;
constexpr std::uint8_t NoUnit = 2;
}  // namespace AbilityTarget

// One entry per sound kind of the sound module; -1 until probed.
constexpr int SoundKindCount = 12;

// Six signed modifiers added to a unit's statistics by an effect or upgrade.
struct TEffectValues {
    std::int32_t hp = 0;
    std::int32_t attack = 0;
    std::int32_t defense = 0;
    std::int32_t damage = 0;
    std::int32_t speed = 0;
    std::int32_t size = 0;
};

struct TAbility {
    std::string name;
    std::string icon;
    std::string tooltip;
    char shortcut = 0;
    std::uint8_t target = AbilityTarget::NoUnit;
    std::uint8_t areaEffectTarget = AbilityTarget::Enemy;
    bool areaEffect = false;
    std::int32_t range = 0;     // cells; also the radius of an area effect
    std::int32_t duration = 0;  // ticks; -1 lasts until undone
    std::int32_t cost = 0;      // mana
    std::int32_t id = 0;
    std::int32_t tick = 0;      // ticks between two periodic effects
    std::int32_t cooldown = 0;  // ticks
    // Held in the record, which never moves, so pointers to them stay valid.
    TEffectValues instantEffect;
    TEffectValues periodicEffect;
};

struct TUpgrade {
    std::string name;
    std::string icon;
    std::string tooltip;
    std::int32_t res1Cost = 0;
    std::int32_t res2Cost = 0;
    std::int32_t id = 0;
    std::int32_t targetsId = 0;  // id of the unit type it improves
    TEffectValues effects;
};

struct TUnitSpell {
    bool innate = false;  // cast on the unit itself when it is created
    const TAbility* ability = nullptr;
};

struct TUnitAttributes {
    std::string name;
    std::string model;
    std::string icon;
    std::string tooltip;
    std::uint8_t type = UnitKind::Other;
    std::int32_t hp = 100;
    std::int32_t mp = 0;
    std::int32_t atkSpeed = 0;  // ticks between attacks
    std::int32_t atkRange = 0;  // cells
    std::int32_t defense = 0;
    std::int32_t damage = 0;
    std::int32_t speed = 0;         // x 20 world units a second
    std::int32_t buildingTime = 0;  // ticks
    std::int32_t size = 4;          // footprint side in cells
    std::int32_t id = 0;
    std::int32_t modelScale = 10;
    std::int32_t modelSize = 10;
    std::int32_t res1Cost = 0;  // gold
    std::int32_t res2Cost = 0;  // wood
    std::int32_t race = 0;
    std::uint8_t aggressivity = Aggressivity::Neither;
    double hpRegen = 1.0;  // per tick
    double mpRegen = 0.0;  // per tick
    // -1.0: a building workers enter; otherwise gold a worker yields per tick inside one.
    double training = 0.0;
    std::vector<const TUnitAttributes*> buildings;  // what it builds or trains
    std::vector<TUnitSpell> spells;
    std::vector<const TUpgrade*> upgrades;  // what it offers for research
    bool isBuilding = false;
    bool repairer = false;
    std::array<std::int32_t, SoundKindCount> soundVariants{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::string sound;  // prefix of the sound file names
};

extern std::deque<TUnitAttributes> UnitTypes;
extern std::deque<TAbility> Abilities;
extern std::deque<TUpgrade> Upgrades;

// Empties the three tables; every pointer into them becomes invalid.
void ResetDefinitions();

// Reads <folder>/abilities.xml, upgrades.xml, then units.xml, appending to
// the tables. A missing or malformed file is logged at Warning and loading
// goes on with the next; false when any file could not be read completely.
bool LoadDefinitions(const std::string& folder = "Data");

// Each file alone, appending; false (after a Warning line) when the file is
// missing, malformed, or, for units, a value does not convert.
bool LoadAbilities(const std::string& path);
bool LoadUpgrades(const std::string& path);
bool LoadUnitTypes(const std::string& path);

// First record with that id, or nullptr (logged at Debug).
const TUnitAttributes* FindUnitType(std::int32_t id);
const TAbility* FindAbility(std::int32_t id);
const TUpgrade* FindUpgrade(std::int32_t id);

// Position of a record in its table, or -1 when it is not one of ours.
int UnitTypeIndex(const TUnitAttributes* type);
