#include "net/FGameMessages.h"

#include "game/FGameCodes.h"

namespace {

void writePosition(TUnitState& m, const TUnitUpdate& u)
{
    m.stat7 = u.speed;
    m.posX = u.position[0];
    m.posY = u.position[1];
    m.posZ = u.position[2];
    m.cellX = u.cellX;
    m.cellY = u.cellY;
    // Mask 4 carries the goal cell too: a joiner walks on towards it between reports.
    m.targetX = u.goalX;
    m.targetY = u.goalY;
}

void readPosition(TUnitUpdate& u, const TUnitState& m)
{
    u.speed = m.stat7;
    u.position[0] = m.posX;
    u.position[1] = m.posY;
    u.position[2] = m.posZ;
    u.cellX = m.cellX;
    u.cellY = m.cellY;
    u.goalX = m.targetX;
    u.goalY = m.targetY;
}

}  // namespace

TUnitState EncodeUnitState(const TUnitUpdate& u)
{
    auto m = MakeRecord<TUnitState>(KindUnitState, u.stamp);
    m.unitIndex = u.index;
    m.updateMask = static_cast<std::int32_t>(u.mask);
    m.unitNumber = u.unitNumber;
    switch (u.mask) {
    case UpdateMask::Walking:
    case UpdateMask::Stop:
    case UpdateMask::Walk: writePosition(m, u); break;
    case UpdateMask::Construction: m.underConstruction = u.underConstruction; break;
    case UpdateMask::Hp: m.hitPoints = u.hp; break;
    case UpdateMask::Mp: m.mana = u.mp; break;
    case UpdateMask::SetMp: m.manaAlt = u.mp; break;
    case UpdateMask::SetHp: m.hitPointsAlt = u.hp; break;
    case UpdateMask::Stats:
        m.stat7 = u.speed;
        m.sizeFactor = u.scale;
        m.maxHitPoints = u.maxHp;
        m.maxMana = u.maxMp;
        m.stat6 = u.atkRange;
        m.stat5 = u.atkSpeed;
        m.stat3 = u.damage;
        m.stat4 = u.defense;
        m.underConstruction = u.underConstruction;
        m.buildProgress = u.buildProgress;
        m.effectCount = u.effectCount;
        break;
    case UpdateMask::Effect:
        m.effectCounter1 = u.remaining;
        m.effectCounter2 = u.startTick;
        m.effectValue = u.count;
        m.effectExpired = u.propagated;
        m.effectAbilityId = u.abilityId;
        m.effectEntry = u.effectIndex;
        m.effectCount = u.effectCount;
        break;
    default: break;
    }
    return m;
}

TUnitUpdate DecodeUnitState(const TUnitState& m)
{
    TUnitUpdate u;
    u.index = m.unitIndex;
    u.unitNumber = m.unitNumber;
    u.mask = static_cast<std::uint32_t>(m.updateMask);
    u.stamp = m.header.Stamp;
    switch (u.mask) {
    case UpdateMask::Walking:
    case UpdateMask::Stop:
    case UpdateMask::Walk: readPosition(u, m); break;
    case UpdateMask::Construction: u.underConstruction = m.underConstruction != 0; break;
    case UpdateMask::Hp: u.hp = m.hitPoints; break;
    case UpdateMask::Mp: u.mp = m.mana; break;
    case UpdateMask::SetMp: u.mp = m.manaAlt; break;
    case UpdateMask::SetHp: u.hp = m.hitPointsAlt; break;
    case UpdateMask::Stats:
        u.speed = m.stat7;
        u.scale = m.sizeFactor;
        u.maxHp = m.maxHitPoints;
        u.maxMp = m.maxMana;
        u.atkRange = m.stat6;
        u.atkSpeed = m.stat5;
        u.damage = m.stat3;
        u.defense = m.stat4;
        u.underConstruction = m.underConstruction != 0;
        u.buildProgress = m.buildProgress;
        u.effectCount = m.effectCount;
        break;
    case UpdateMask::Effect:
        u.remaining = m.effectCounter1;
        u.startTick = m.effectCounter2;
        u.count = m.effectValue;
        u.propagated = m.effectExpired != 0;
        u.abilityId = m.effectAbilityId;
        u.effectIndex = m.effectEntry;
        u.effectCount = m.effectCount;
        break;
    default: break;
    }
    return u;
}

TUnitOrder EncodeOrder(std::int32_t kind, std::int64_t stamp, std::int32_t unitNumber, std::uint8_t order,
                       std::int32_t x, std::int32_t y, std::int32_t target, bool queued)
{
    auto m = MakeRecord<TUnitOrder>(kind, stamp);
    m.unitId = unitNumber;
    m.order = order;
    m.x = x;
    m.y = y;
    m.targetId = target;
    m.queue = queued ? 1 : 0;
    return m;
}

TBuildRequest EncodeUnitRequest(std::int32_t kind, std::int64_t stamp, const TUnitRequest& r, std::int32_t unitNumber)
{
    auto m = MakeRecord<TBuildRequest>(kind, stamp);
    m.unitId = unitNumber;
    m.x = static_cast<std::int32_t>(r.x);
    m.y = static_cast<std::int32_t>(r.y);
    m.unitType = r.typeIndex;
    m.owner = r.owner;
    m.builderId = r.builderId;
    return m;
}

TUnitRequest DecodeUnitRequest(const TBuildRequest& m)
{
    TUnitRequest r;
    r.typeIndex = m.unitType;
    r.x = m.x;
    r.y = m.y;
    r.owner = m.owner;
    r.builderId = m.builderId;
    return r;
}
