// Summary: what vrax-sim prints at a "print" step and at the end. Everything
// but the timing line depends only on the scenario and its seed, so tests
// compare it exactly; the timing line stands alone and starts with "timing:".
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

struct LivingUnit {
    int owner = 0;
    int typeIndex = 0;  // orders the types as the definitions do
    std::string typeName;
    double hp = 0;
};

// A player's gold and wood as the game keeps them.
struct Purse {
    double gold = 0;
    double wood = 0;
};

// "gold G, wood W", each rounded down as a player's panel shows them.
std::string PurseText(const Purse& purse);

// "tick N", then per player (every player in players, ascending, and any
// owner of a living unit; owner 0 is "neutral", the map's own units) its
// units and their hit points, its purse when `purses` holds one, and its
// units by type, hit points rounded and highest first.
void PrintSummary(std::ostream& out, std::int64_t tick, std::vector<int> players, std::vector<LivingUnit> alive,
                  const std::map<int, Purse>& purses);

// "timing: N ticks in S s (C s of CPU), R ticks/s" for the ticks run so far:
// wall-clock seconds, this process's processor seconds, the wall-clock rate.
void PrintTiming(std::ostream& out, std::int64_t ticks, double seconds, double cpuSeconds);
