#include "game/FBallistic.h"

#include "game/FGame.h"
#include "game/FUnit.h"

#include <algorithm>
#include <cmath>

namespace {

void faceTarget(TProjectile& p)
{
    if (!p.target)
        return;
    const double dx = static_cast<double>(p.target->position[0] - p.position[0]);
    const double dy = static_cast<double>(p.target->position[1] - p.position[1]);
    double angle = std::atan2(dy, dx) * WorldScale;
    if (angle < 0)
        angle += FullTurn;
    p.facing = static_cast<std::int64_t>(angle);
}

bool arrived(const TProjectile& p)
{
    const double angle = static_cast<double>(p.facing) / WorldScale;
    const double c = std::cos(angle), s = std::sin(angle);
    const std::int64_t ax = p.homing && p.target ? p.target->position[0] : p.aim[0];
    const std::int64_t ay = p.homing && p.target ? p.target->position[1] : p.aim[1];
    const bool alongX = c > 0 ? ax - p.position[0] <= 0 : ax - p.position[0] >= 0;
    const bool alongY = s > 0 ? ay - p.position[1] <= 0 : ay - p.position[1] >= 0;
    return alongX && alongY;
}

}  // namespace

TProjectile& LaunchProjectile(TGame& game, TUnit& shooter, TUnit& target,
                              std::function<void(TGame&, TProjectile&)> onHit)
{
    auto made = std::make_unique<TProjectile>();
    TProjectile& p = *made;
    p.SetModel(ArrowModel);
    p.SetScale(10);
    p.SetAnimation("Stand", true, false);
    p.shooter = &shooter;
    p.target = &target;
    p.onHit = std::move(onHit);
    for (int i = 0; i < 3; ++i)
        p.start[i] = p.position[i] = shooter.position[i];
    p.start[2] = p.position[2] = shooter.position[2] + 300000;
    p.launchTime = game.totalTime;
    const double dx = static_cast<double>(target.position[0] - shooter.position[0]);
    const double dy = static_cast<double>(target.position[1] - shooter.position[1]);
    const double dz = static_cast<double>(target.position[2] - shooter.position[2]);
    const std::int64_t distance = std::llround(std::sqrt((dx * dx + dy * dy + dz * dz) / 1e8) * WorldScale);
    p.duration = std::max<std::int64_t>(1, std::llround(distance * 2.0 / 3.0));
    for (int i = 0; i < 3; ++i)
        p.aim[i] = target.position[i];
    if (!target.idle) {
        // Lead a walking target along its heading.
        const double l = std::sqrt((static_cast<double>(p.arcHeight) * p.arcHeight + p.start[2] * 200000.0) / 1e8);
        const double w = std::round((l * WorldScale + p.arcHeight) * 0.1);
        const double heading = static_cast<double>(target.facingTarget) / WorldScale;
        p.aim[0] += std::llround(std::cos(heading) * target.speed * 0.02 * w);
        p.aim[1] += std::llround(std::sin(heading) * target.speed * 0.02 * w);
    }
    p.velocityX = std::llround(static_cast<double>(p.aim[0] - p.start[0]) / p.duration * WorldScale);
    p.velocityY = std::llround(static_cast<double>(p.aim[1] - p.start[1]) / p.duration * WorldScale);
    faceTarget(p);
    game.projectiles.push_back(std::move(made));
    return p;
}

void RangedHit(TGame& game, TProjectile& p)
{
    if (!p.shooter || !p.target || !p.target->alive)
        return;
    if (p.target->owner == game.localPlayer && p.shooter->owner != game.localPlayer)
        UnderAttackAlert(game, *p.target);
    TakeDamage(game, *p.target, HitDamage(game, *p.shooter, *p.target));
}

void AdvanceProjectiles(TGame& game)
{
    for (std::size_t i = 0; i < game.projectiles.size(); ++i) {
        TProjectile& p = *game.projectiles[i];
        if (p.finished)
            continue;
        p.AdvanceAnimationBy(game.elapsed);
        const std::int64_t t = game.totalTime - p.launchTime;
        p.position[0] = p.start[0] + t * p.velocityX;
        p.position[1] = p.start[1] + t * p.velocityY;
        if (arrived(p)) {
            p.finished = true;
            const double dx = static_cast<double>(p.target->position[0] - p.position[0]);
            const double dy = static_cast<double>(p.target->position[1] - p.position[1]);
            const bool hit = p.homing || dx * dx + dy * dy < 1e12;
            if (hit && p.onHit)
                p.onHit(game, p);
        }
        if (p.homing)
            faceTarget(p);
    }
    std::erase_if(game.projectiles, [](const std::unique_ptr<TProjectile>& p) { return p->finished; });
}

void ForgetProjectileUnit(TGame& game, const TUnit& unit)
{
    // Dropped at once, without damage: neither unit is touched again.
    for (const std::unique_ptr<TProjectile>& p : game.projectiles) {
        if (p->target != &unit && p->shooter != &unit)
            continue;
        p->target = nullptr;
        p->shooter = nullptr;
        p->finished = true;
    }
}
