// Any bytes as the three definition files at once: whatever loads points only
// into the tables, has a usable model scale and size, and nothing crashes.
#include "game/FUnitLoad.h"
#include "shell/FLogs.h"

#include <cstddef>
#include <cstdint>
#include <fstream>

namespace {

template <typename Record>
bool inTable(const Record* record, const std::deque<Record>& table)
{
    for (const Record& r : table)
        if (&r == record)
            return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const char* name : {"units.xml", "abilities.xml", "upgrades.xml"}) {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // The log would grow without end: start it afresh.
    startLog();
    ResetDefinitions();
    LoadDefinitions(".");
    for (const TUnitAttributes& u : UnitTypes) {
        if (u.modelScale <= 0 || u.size < 0 || u.size > 480)
            __builtin_trap();
        for (const TUnitAttributes* b : u.buildings)
            if (UnitTypeIndex(b) < 0)
                __builtin_trap();
        for (const TUnitSpell& s : u.spells)
            if (!inTable(s.ability, Abilities))
                __builtin_trap();
        for (const TUpgrade* up : u.upgrades)
            if (!inTable(up, Upgrades))
                __builtin_trap();
    }
    ResetDefinitions();
    return 0;
}
