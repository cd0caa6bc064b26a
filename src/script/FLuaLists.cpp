#include "script/FLuaLists.h"

#include "game/FEffects.h"
#include "game/FGame.h"
#include "game/FProduction.h"
#include "game/FRequests.h"
#include "game/FUnitLoad.h"
#include "interaction/FCommands.h"
#include "interface/FCursor.h"
#include "script/FLuaArguments.h"
#include "script/FLuaUnits.h"

#include <lua.hpp>

#include <algorithm>
#include <string>
#include <type_traits>

namespace GameScript {

namespace {

// Runs `body` with the unit argument 1 names; an invalid index gives -1, or
// no value when `valueWhenInvalid` is false, before any other argument is read.
template <typename Body>
int onUnit(lua_State* L, Body body, bool valueWhenInvalid = true)
{
    TUnit* unit = unitArgument(L, 1);
    if (unit)
        return body(*scriptGame(), *unit);
    if (!valueWhenInvalid)
        return 0;
    lua_pushnumber(L, -1);
    return 1;
}

// The ability in the slot argument 2 names; null for an empty slot.
const TAbility* abilityArgument(lua_State* L, const TUnit& unit)
{
    return unit.spells[positionArgument(L, 2, unit.spells.size(), 0, "ability slots")].ability;
}

const TUnitAttributes* buildingArgument(lua_State* L, const TUnit& unit)
{
    const std::vector<const TUnitAttributes*> none;
    const auto& list = unit.unitType ? unit.unitType->buildings : none;
    return list[positionArgument(L, 2, list.size(), 0, "entries of the build list")];
}

const TUpgrade* upgradeArgument(lua_State* L, const TUnit& unit)
{
    const std::vector<const TUpgrade*> none;
    const auto& list = unit.unitType ? unit.unitType->upgrades : none;
    return list[positionArgument(L, 2, list.size(), 0, "entries of the upgrade list")];
}

// One field of an ability, building or upgrade entry: a text, or a number.
template <typename Entry, typename Field>
int pushField(lua_State* L, const Entry* entry, Field field)
{
    using Value = decltype(field(*entry));
    if constexpr (std::is_convertible_v<Value, std::string>)
        pushText(L, entry ? std::string(field(*entry)) : std::string());
    else
        lua_pushnumber(L, entry ? static_cast<double>(field(*entry)) : 0.0);
    return 1;
}

template <typename Field>
int abilityField(lua_State* L, Field field)
{
    return onUnit(L, [&](TGame&, TUnit& unit) { return pushField(L, abilityArgument(L, unit), field); });
}

template <typename Field>
int buildingField(lua_State* L, Field field)
{
    return onUnit(L, [&](TGame&, TUnit& unit) { return pushField(L, buildingArgument(L, unit), field); });
}

template <typename Field>
int upgradeField(lua_State* L, Field field)
{
    return onUnit(L, [&](TGame&, TUnit& unit) { return pushField(L, upgradeArgument(L, unit), field); });
}


// The k-th live effect on the unit, counted from 0; null beyond them.
const TEffectRecord* liveEffect(const TUnit& unit, std::int64_t k)
{
    if (k < 0)
        return nullptr;
    for (const TEffectRecord& record : unit.effects)
        if (LiveEffect(record) && k-- == 0)
            return &record;
    return nullptr;
}

}  // namespace

int GetAbilityName(lua_State* L)
{
    return abilityField(L, [](const TAbility& a) { return a.name; });
}

int GetAbilityIcon(lua_State* L)
{
    return abilityField(L, [](const TAbility& a) { return a.icon; });
}

int GetAbilityToolTip(lua_State* L)
{
    return abilityField(L, [](const TAbility& a) { return a.tooltip; });
}

int GetAbilityCost(lua_State* L)
{
    return abilityField(L, [](const TAbility& a) { return a.cost; });
}

// An ability without a shortcut gives an empty text.
int GetAbilityShortcut(lua_State* L)
{
    return abilityField(L, [](const TAbility& a) { return a.shortcut ? std::string(1, a.shortcut) : std::string(); });
}

int GetIsAbilityAvailable(lua_State* L)
{
    return onUnit(L, [L](TGame&, TUnit& unit) {
        const std::int32_t slot = intArgument(L, 2);
        lua_pushboolean(L, slot >= 0 && static_cast<std::size_t>(slot) < unit.spells.size() &&
                               unit.spells[static_cast<std::size_t>(slot)].cooldownLeft == 0);
        return 1;
    });
}

// Whole seconds, rounded up, of a counter in 10-ms ticks.
int GetCooldownRemainingTime(lua_State* L)
{
    return onUnit(L, [L](TGame&, TUnit& unit) {
        const std::size_t slot = positionArgument(L, 2, unit.spells.size(), 0, "ability slots");
        const std::int64_t ticks = std::max(0, unit.spells[slot].cooldownLeft);
        lua_pushnumber(L, static_cast<double>((ticks + 99) / 100));
        return 1;
    });
}

// A spell on the caster itself goes at once; any other waits for the
// player to click its target. The same spell asked for again while it
// waits is put away, as its key does.
int AbilityCast(lua_State* L)
{
    return onUnit(
        L,
        [L](TGame& game, TUnit& unit) {
            const std::int32_t slot =
                static_cast<std::int32_t>(positionArgument(L, 2, unit.spells.size(), 0, "ability slots"));
            const TAbility* ability = unit.spells[static_cast<std::size_t>(slot)].ability;
            if (!ability || !commandable(game, unit))
                return 0;
            if (ability->target == AbilityTarget::NoUnit) {
                RequestCast(game, unit, unit, slot);
                return 0;
            }
            const TPendingCommand* pending = Mouse.pendingCommand.get();
            if (pending && pending->kind == CommandKind::Ability && pending->abilityIndex == slot)
                ClearPendingCommand(game, Mouse);
            else
                SetPendingCommand(game, Mouse, CommandKind::Ability, slot, nullptr, &unit);
            return 0;
        },
        false);
}

int GetBuildingName(lua_State* L)
{
    return buildingField(L, [](const TUnitAttributes& t) { return t.name; });
}

int GetBuildingIcon(lua_State* L)
{
    return buildingField(L, [](const TUnitAttributes& t) { return t.icon; });
}

int GetBuildingToolTip(lua_State* L)
{
    return buildingField(L, [](const TUnitAttributes& t) { return t.tooltip; });
}

int GetBuildingRes1Cost(lua_State* L)
{
    return buildingField(L, [](const TUnitAttributes& t) { return t.res1Cost; });
}

int GetBuildingRes2Cost(lua_State* L)
{
    return buildingField(L, [](const TUnitAttributes& t) { return t.res2Cost; });
}

// A building trains the entry; a worker starts placing it, when the
// player has the gold for it.
int SetBuilding(lua_State* L)
{
    return onUnit(
        L,
        [L](TGame& game, TUnit& unit) {
            const TUnitAttributes* type = buildingArgument(L, unit);
            if (!type || !commandable(game, unit))
                return 0;
            if (unit.IsBuilding())
                QueueTraining(game, unit, *type);
            else if (BeginPlacement(game, *type))
                SetPendingCommand(game, Mouse, CommandKind::Build, -1, type, &unit);
            return 0;
        },
        false);
}

int GetUpgradeName(lua_State* L)
{
    return upgradeField(L, [](const TUpgrade& u) { return u.name; });
}

int GetUpgradeIcon(lua_State* L)
{
    return upgradeField(L, [](const TUpgrade& u) { return u.icon; });
}

int GetUpgradeToolTip(lua_State* L)
{
    return upgradeField(L, [](const TUpgrade& u) { return u.tooltip; });
}

// Researched by the unit's owner: the building shows its own player's state.
int IsUpgradeAvailable(lua_State* L)
{
    return onUnit(L, [L](TGame& game, TUnit& unit) {
        const TUpgrade* upgrade = upgradeArgument(L, unit);
        lua_pushboolean(L, upgrade && !HasResearched(game, unit.owner, *upgrade));
        return 1;
    });
}

int LaunchUpgrade(lua_State* L)
{
    return onUnit(L, [L](TGame& game, TUnit& unit) {
        const TUpgrade* upgrade = upgradeArgument(L, unit);
        if (upgrade && commandable(game, unit))
            RequestResearch(game, *upgrade);
        return 0;
    });
}

int GetEffectIcon(lua_State* L)
{
    return onUnit(L, [L](TGame&, TUnit& unit) {
        const TEffectRecord* record = liveEffect(unit, static_cast<std::int64_t>(intArgument(L, 2)) - 1);
        if (record)
            pushText(L, record->ability->icon);
        else
            lua_pushnumber(L, -1);
        return 1;
    });
}

// The effect at that place among the live ones, the same that GetEffectIcon
// shows at the place after it.
int GetEffectID(lua_State* L)
{
    return onUnit(
        L,
        [L](TGame&, TUnit& unit) {
            const TEffectRecord* record = liveEffect(unit, intArgument(L, 2));
            lua_pushnumber(L, record ? record->ability->id : -1);
            return 1;
        },
        false);
}

}  // namespace GameScript
