#include "game/FUnit.h"

#include "game/FEffects.h"
#include "game/FGame.h"
#include "game/FProduction.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "shell/FLogs.h"

#include <algorithm>
#include <cmath>
#include <string>

const std::int64_t PlayerColours[8][3] = {
    {0, 10000, 10000},   {10000, 0, 10000}, {10000, 0, 0},       {0, 10000, 0},
    {0, 0, 10000},       {10000, 10000, 0}, {10000, 10000, 10000}, {5000, 5000, 5000},
};
const std::int64_t MapUnitColour[3] = {5451, 2706, 745};

bool TUnit::IsBuilding() const
{
    return unitType && unitType->isBuilding;
}

int TUnit::Size() const
{
    return unitType ? unitType->size : 0;
}

std::unique_ptr<TUnit> BuildUnit(const TUnitAttributes& type, std::int64_t x, std::int64_t y, std::int32_t owner,
                                 std::int32_t unitNumber)
{
    auto unit = std::make_unique<TUnit>();
    TUnit& u = *unit;
    u.unitType = &type;
    u.owner = owner;
    u.unitNumber = unitNumber;
    u.facing = -15708;
    u.scale = type.modelScale;
    u.aggressivity = type.aggressivity;
    u.maxHp = type.hp;
    u.maxMp = type.mp;
    u.hpRegen = type.hpRegen;
    u.mpRegen = type.mpRegen;
    u.atkSpeed = type.atkSpeed;
    u.atkRange = type.atkRange;
    u.defense = type.defense;
    u.damage = type.damage;
    u.speed = type.speed;
    u.mp = u.maxMp / 2.0;
    if (type.isBuilding) {
        u.hp = 1.0;
        u.buildProgress = u.maxHp > 0 ? 1.0 / u.maxHp : 1.0;
        u.underConstruction = true;
    } else {
        u.hp = u.maxHp;
        u.buildProgress = 1.0;
    }
    u.SetModel(type.model);
    u.SetAnimation("Birth", true, false);
    // Placement points off the map still give a cell, which the grid then refuses.
    u.cellX = static_cast<std::int32_t>(x / CellSize);
    u.cellY = static_cast<std::int32_t>(y / CellSize);
    u.position[0] = (static_cast<std::int64_t>(u.cellX) * CellSize + CellSize / 2) * WorldScale;
    u.position[1] = (static_cast<std::int64_t>(u.cellY) * CellSize + CellSize / 2) * WorldScale;
    u.position[2] = 0;
    for (const TUnitSpell& spell : type.spells)
        u.spells.push_back(TSpellSlot{0, spell.ability});
    u.idle = type.isBuilding;  // other units settle (and mark themselves) on their first tick
    return unit;
}

TUnit& CreateUnit(TGame& game, const TUnitAttributes& type, std::int64_t x, std::int64_t y, std::int32_t owner,
                  std::int32_t unitNumber)
{
    std::unique_ptr<TUnit> made = BuildUnit(type, x, y, owner, unitNumber);
    TUnit& unit = *made;
    if (unit.IsBuilding())
        SetMarked(game, unit, true);
    if (owner >= 1 && owner <= MaxPlayers) {
        const int colour = game.player(owner).colour;
        for (int c = 0; c < 3; ++c)
            unit.teamColor[c] = PlayerColours[colour & 7][c];
    }
    game.player(owner).unitCount += 1;
    game.player(owner).inGame = true;
    if (owner == game.localPlayer)
        game.RaiseEvent(InterfaceEvent::UnitCountChanged);
    unit.reportedHp = std::llround(unit.hp);
    unit.reportedMp = std::llround(unit.mp);
    game.UnitSound(unit, SoundKind::Ready);
    unit.listIndex = static_cast<int>(game.units.size());
    game.units.push_back(std::move(made));
    // Cast once the unit is in the list, so that an aura reaches its neighbours and is reported.
    CastInnateSpells(game, unit);
    return unit;
}

void AddEffectValues(TUnit& unit, const TEffectValues& values, int sign)
{
    unit.scale += sign * values.size;
    unit.maxHp += sign * values.hp;
    unit.damage += sign * values.attack;
    unit.defense += sign * values.defense;
    unit.speed += sign * values.speed;
}

void SetMarked(TGame& game, TUnit& unit, bool marked)
{
    if (unit.marked == marked)
        return;
    unit.marked = marked;
    MarkFootprint(game.map, unit, marked ? 1 : -1);
}

void UnderAttackAlert(TGame& game, const TUnit& target)
{
    if (target.owner != game.localPlayer || game.totalTime - game.lastUnderAttackAlert < 15000)
        return;
    game.lastUnderAttackAlert = game.totalTime;
    game.AdvisorSound(SoundKind::Under);
}

std::int32_t HitDamage(TGame& game, const TUnit& attacker, const TUnit& target)
{
    const std::int32_t spread = attacker.damage * 10 / 100;
    const std::int32_t low = attacker.damage - spread;
    const std::int32_t high = attacker.damage + spread - 1;
    std::int32_t d = low;
    if (high > low)
        d = std::uniform_int_distribution<std::int32_t>(low, high)(game.random);
    return static_cast<std::int32_t>(std::lround(d * (1.0 - target.defense / 10.0)));
}

void TakeDamage(TGame& game, TUnit& unit, double amount)
{
    // Only the host settles hit points; the others learn them from its reports.
    if (!unit.alive || !game.hosting)
        return;
    unit.hp -= amount;
    if (unit.hp > 0) {
        unit.hp = std::min(unit.hp, static_cast<double>(unit.maxHp));
        ReportUnit(game, unit, UpdateMask::Hp);
        return;
    }
    Die(game, unit);
}

void ForgetPlayerChoices(TGame& game, TUnit& unit)
{
    // A pending aim dies with the unit that would carry it out, and only then.
    if (game.aim.actor == &unit) {
        game.aim = TPendingAim{};
        if (game.hooks.aimCancelled)
            game.hooks.aimCancelled();
    }
    RemoveFromGroup(game, game.selection, unit);
    for (std::vector<TUnit*>& group : game.controlGroups)
        std::erase(group, &unit);
}

void Die(TGame& game, TUnit& unit)
{
    if (!unit.alive)
        return;
    unit.hp = DeathHp;
    SetMarked(game, unit, false);
    unit.effects.clear();
    unit.spells.clear();
    unit.path.clear();
    unit.orders.clear();
    unit.SetAnimation("Death", false, false);
    game.UnitSound(unit, SoundKind::Death);
    unit.underConstruction = false;
    ReleaseOccupants(game, unit);
    unit.alive = false;
    unit.turning = false;
    game.player(unit.owner).unitCount -= 1;
    game.deathsSinceIncome += 1;
    if (unit.owner == game.localPlayer)
        game.RaiseEvent(InterfaceEvent::UnitCountChanged);
    ReportUnit(game, unit, UpdateMask::Hp);

    ForgetPlayerChoices(game, unit);
    for (const std::unique_ptr<TUnit>& other : game.units)
        while (other->alive && CurrentTarget(*other) == &unit)
            NextOrder(game, *other);
    game.RaiseEvent(InterfaceEvent::UnitChanged);
}

void SetHp(TGame& game, TUnit& unit, double hp)
{
    unit.hp = hp;
    ReportUnit(game, unit, UpdateMask::Hp);
}

void SetMp(TGame& game, TUnit& unit, double mp)
{
    unit.mp = mp;
    ReportUnit(game, unit, UpdateMask::Mp);
}

void StatsChanged(TGame& game, TUnit& unit)
{
    ReportUnit(game, unit, UpdateMask::Stats);
}

std::int64_t AngleTowards(TCell from, TCell to)
{
    double angle = std::atan2(static_cast<double>(to.y - from.y), static_cast<double>(to.x - from.x)) * WorldScale;
    if (angle < 0)
        angle += FullTurn;
    return static_cast<std::int64_t>(angle);
}

void FaceCell(TUnit& unit, TCell cell)
{
    unit.turning = true;
    unit.facingTarget = AngleTowards(unit.Cell(), cell);
}
