// FBallistic: missiles. A Ranged unit does not hurt its target directly: once
// its attack animation has played through it launches a TProjectile that
// flies straight to an aim point and deals the shooter's damage when the
// target is still near that point on arrival. Flights are timed by the game
// clock, so they last the same whatever the frame rate.
#pragma once

#include "assets/FDisplay.h"

#include <cstdint>
#include <functional>

class TUnit;
class TGame;

class TProjectile : public TModel {
public:
    bool homing = false;
    bool arcing = false;
    std::int64_t aim[3] = {0, 0, 0};    // world x 10000
    std::int64_t start[3] = {0, 0, 0};
    std::int64_t velocityX = 0, velocityY = 0;  // per ms, x 10000
    std::int64_t arcHeight = 0;
    TUnit* target = nullptr;   // cleared when the unit leaves the game
    TUnit* shooter = nullptr;  // cleared likewise
    std::int64_t duration = 0;
    std::int64_t launchTime = 0;  // game clock, ms
    bool finished = false;
    std::function<void(TGame&, TProjectile&)> onHit;
};

constexpr const char* ArrowModel = "Models/Missiles/ArrowMissile.mdx";

// Launches a missile from the shooter at the target; `onHit` runs when it hits.
TProjectile& LaunchProjectile(TGame& game, TUnit& shooter, TUnit& target,
                              std::function<void(TGame&, TProjectile&)> onHit);
// The hit of a ranged attack: the shooter's damage spread against the target's
// defense (nothing when either has left the game or the target is dead).
void RangedHit(TGame& game, TProjectile& projectile);
// Once per frame: moves every missile by the game clock, resolves arrivals
// and drops the finished ones.
void AdvanceProjectiles(TGame& game);
// The unit leaves the game: every missile it shot or that flies at it is
// dropped without damage, and neither unit is touched again.
void ForgetProjectileUnit(TGame& game, const TUnit& unit);
