#include "script/FLuaUnits.h"

#include "game/FGame.h"
#include "game/FUnitLoad.h"
#include "script/FLuaArguments.h"

#include <lua.hpp>

#include <algorithm>

namespace GameScript {

namespace {

// A unit's number, -1 for an invalid index.
template <typename Value>
int unitNumber(lua_State* L, Value value)
{
    const TUnit* unit = unitArgument(L, 1);
    lua_pushnumber(L, unit ? static_cast<double>(value(*unit)) : -1.0);
    return 1;
}

// A unit's truth, -1 for an invalid index.
template <typename Value>
int unitBoolean(lua_State* L, Value value)
{
    if (const TUnit* unit = unitArgument(L, 1))
        lua_pushboolean(L, value(*unit));
    else
        lua_pushnumber(L, -1);
    return 1;
}

// A text of the unit's definition, -1 for an invalid index (or `invalid`).
template <typename Value>
int definitionText(lua_State* L, Value value, bool emptyWhenInvalid = false)
{
    const TUnit* unit = unitArgument(L, 1);
    if (unit && unit->unitType)
        pushText(L, value(*unit->unitType));
    else if (unit || emptyWhenInvalid)
        pushText(L, std::string());
    else
        lua_pushnumber(L, -1);
    return 1;
}

// A number of the unit's definition; a unit without one counts as 0.
template <typename Value>
int definitionNumber(lua_State* L, Value value)
{
    return unitNumber(L, [&](const TUnit& unit) { return unit.unitType ? double(value(*unit.unitType)) : 0.0; });
}

// The order kind as the interface shows it: 2 stop, 1 move or follow,
// 4 attack, 3 hold, 5 patrol, 6 repair, 7 cast, 0 anything else.
int orderDisplayCode(int kind)
{
    switch (kind) {
    case OrderKind::Idle: return 2;
    case OrderKind::MoveTo:
    case OrderKind::Follow: return 1;
    case OrderKind::AttackMove:
    case OrderKind::Attack: return 4;
    case OrderKind::HoldPosition: return 3;
    case OrderKind::Patrol: return 5;
    case OrderKind::Construct: return 6;
    case OrderKind::Cast: return 7;
    default: return 0;
    }
}

}  // namespace

bool LiveEffect(const TEffectRecord& record)
{
    return record.ability && record.remaining != 0;
}

int GetUnitRace(lua_State* L)
{
    return definitionNumber(L, [](const TUnitAttributes& type) { return type.race; });
}

int GetName(lua_State* L)
{
    return definitionText(L, [](const TUnitAttributes& type) { return type.name; }, true);
}

int GetUnitIcon(lua_State* L)
{
    return definitionText(L, [](const TUnitAttributes& type) { return type.icon; });
}

int GetHP(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return roundHalfEven(unit.hp); });
}

int GetMaxHP(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return unit.maxHp; });
}

int GetMP(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return roundHalfEven(unit.mp); });
}

int GetMaxMP(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return unit.maxMp; });
}

int GetBaseDamage(lua_State* L)
{
    return definitionNumber(L, [](const TUnitAttributes& type) { return type.damage; });
}

int GetBaseDefense(lua_State* L)
{
    return definitionNumber(L, [](const TUnitAttributes& type) { return type.defense; });
}

int GetDamage(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return unit.damage; });
}

int GetDefense(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return unit.defense; });
}

int GetPosX(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return unit.cellX; });
}

int GetPosY(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return unit.cellY; });
}

int GetInterfacePosX(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return unit.screenX; });
}

int GetInterfacePosY(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return unit.screenY; });
}

int GetOrder(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return orderDisplayCode(unit.currentOrder.kind); });
}

int GetAggressivity(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) {
        switch (unit.aggressivity) {
        case Aggressivity::Aggressive: return 3;
        case Aggressivity::Defensive: return 2;
        case Aggressivity::Neither: return 1;
        default: return 0;
        }
    });
}

int IsBuilding(lua_State* L)
{
    return unitBoolean(L, [](const TUnit& unit) { return unit.IsBuilding(); });
}

// Selectable: alive and outside any building, as the selection takes units.
int IsRepairer(lua_State* L)
{
    return unitBoolean(L, [](const TUnit& unit) {
        return unit.unitType && unit.unitType->repairer && unit.alive && unit.outside;
    });
}

int IsInConstruction(lua_State* L)
{
    return unitBoolean(L, [](const TUnit& unit) { return unit.buildProgress < 1.0; });
}

int GetBuildingPercent(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return unit.buildProgress; });
}

int GetEffectsCount(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) {
        return std::count_if(unit.effects.begin(), unit.effects.end(), LiveEffect);
    });
}

int GetAbilityCount(lua_State* L)
{
    return unitNumber(L, [](const TUnit& unit) { return unit.spells.size(); });
}

int GetBuildingsCount(lua_State* L)
{
    return definitionNumber(L, [](const TUnitAttributes& type) { return type.buildings.size(); });
}

int GetUpgradesCount(lua_State* L)
{
    return definitionNumber(L, [](const TUnitAttributes& type) { return type.upgrades.size(); });
}

}  // namespace GameScript
