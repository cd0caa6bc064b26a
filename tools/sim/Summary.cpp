#include "Summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string PurseText(const Purse& purse)
{
    // Income adds 0.01 a tick: a sum meant to be whole may fall a hair short.
    return "gold " + std::to_string(static_cast<long long>(std::floor(purse.gold + 1e-9))) + ", wood " +
           std::to_string(static_cast<long long>(std::floor(purse.wood + 1e-9)));
}

void PrintSummary(std::ostream& out, std::int64_t tick, std::vector<int> players, std::vector<LivingUnit> alive,
                  const std::map<int, Purse>& purses)
{
    for (const LivingUnit& unit : alive)
        players.push_back(unit.owner);
    std::sort(players.begin(), players.end());
    players.erase(std::unique(players.begin(), players.end()), players.end());
    std::stable_sort(alive.begin(), alive.end(), [](const LivingUnit& a, const LivingUnit& b) {
        if (a.owner != b.owner)
            return a.owner < b.owner;
        if (a.typeIndex != b.typeIndex)
            return a.typeIndex < b.typeIndex;
        return a.hp > b.hp;
    });

    out << "tick " << tick << "\n";
    for (int player : players) {
        auto first = std::find_if(alive.begin(), alive.end(), [&](const LivingUnit& u) { return u.owner == player; });
        auto last = std::find_if(first, alive.end(), [&](const LivingUnit& u) { return u.owner != player; });
        long long total = 0;
        for (auto u = first; u != last; ++u)
            total += std::llround(u->hp);
        if (player == 0)
            out << "neutral: " << (last - first);
        else
            out << "player " << player << ": " << (last - first);
        out << (last - first == 1 ? " unit" : " units");
        if (first != last)
            out << ", " << total << " hp";
        if (const auto purse = purses.find(player); purse != purses.end())
            out << "; " << PurseText(purse->second);
        out << "\n";
        for (auto group = first; group != last;) {
            auto end = std::find_if(group, last, [&](const LivingUnit& u) { return u.typeIndex != group->typeIndex; });
            out << "  " << group->typeName << " x" << (end - group) << ":";
            for (auto u = group; u != end; ++u)
                out << " " << std::llround(u->hp);
            out << "\n";
            group = end;
        }
    }
}

void PrintTiming(std::ostream& out, std::int64_t ticks, double seconds, double cpuSeconds)
{
    char text[160];
    const double rate = seconds > 0 ? static_cast<double>(ticks) / seconds : 0.0;
    std::snprintf(text, sizeof text, "timing: %lld ticks in %.3f s (%.3f s of CPU), %.0f ticks/s\n",
                  static_cast<long long>(ticks), seconds, cpuSeconds, rate);
    out << text;
}
