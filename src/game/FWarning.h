// FWarning: the single warning line of the game ("Not enough Gold.", "Can't
// memorize a new order."). A warning lasts two seconds of game time or until
// a newer one replaces it.
#pragma once

#include <cstdint>
#include <string>

class TGame;

struct TWarning {
    std::string text;            // empty: nothing shown
    std::int32_t expiry = -1;    // tick at which it goes
};

constexpr std::int32_t WarningTicks = 200;

void ShowWarning(TGame& game, const std::string& text);
void ClearWarning(TGame& game);
// Whether the warning's time is up at the current tick.
bool WarningExpired(const TGame& game);
