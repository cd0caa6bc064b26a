#include "game/FUnitLoad.h"

std::deque<TUnitAttributes> UnitTypes;
std::deque<TAbility> Abilities;
std::deque<TUpgrade> Upgrades;

void ResetDefinitions()
{
    UnitTypes.clear();
    Abilities.clear();
    Upgrades.clear();
}

bool LoadDefinitions(const std::string& folder)
{
    const bool abilities = LoadAbilities(folder + "/abilities.xml");
    const bool upgrades = LoadUpgrades(folder + "/upgrades.xml");
    const bool units = LoadUnitTypes(folder + "/units.xml");
    return abilities && upgrades && units;
}

// Filled in next: the readers.
bool LoadAbilities(const std::string&) { return false; }
bool LoadUpgrades(const std::string&) { return false; }
bool LoadUnitTypes(const std::string&) { return false; }

const TUnitAttributes* FindUnitType(std::int32_t id)
{
    for (const TUnitAttributes& type : UnitTypes)
        if (type.id == id)
            return &type;
    return nullptr;
}

const TAbility* FindAbility(std::int32_t id)
{
    for (const TAbility& ability : Abilities)
        if (ability.id == id)
            return &ability;
    return nullptr;
}

const TUpgrade* FindUpgrade(std::int32_t id)
{
    for (const TUpgrade& upgrade : Upgrades)
        if (upgrade.id == id)
            return &upgrade;
    return nullptr;
}

int UnitTypeIndex(const TUnitAttributes* type)
{
    for (std::size_t i = 0; i < UnitTypes.size(); ++i)
        if (&UnitTypes[i] == type)
            return static_cast<int>(i);
    return -1;
}
