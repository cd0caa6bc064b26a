// Summary: what vrax-sim prints at a "print" step and at the end. Everything
// but the timing line depends only on the scenario and its seed, so tests
// compare it exactly; the timing line stands alone and starts with "timing:".
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct LivingUnit {
    int owner = 0;
    int typeIndex = 0;  // orders the types as the definitions do
    std::string typeName;
    double hp = 0;
};

// "tick N", then per player (every player in players, ascending, and any
// owner of a living unit; owner 0 is "neutral", the map's own units) its
// units by type, hit points rounded and highest first.
void PrintSummary(std::ostream& out, std::int64_t tick, std::vector<int> players, std::vector<LivingUnit> alive);

// "timing: N ticks in S s, R ticks/s" for the ticks run so far.
void PrintTiming(std::ostream& out, std::int64_t ticks, double seconds);
