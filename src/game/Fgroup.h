// Fgroup: groups of units that take orders together. The player's selection
// is one; the ten control groups are plain lists.
#pragma once

#include <cstdint>
#include <vector>

class TUnit;
class TGame;

class TUnitGroup {
public:
    std::vector<TUnit*> members;  // non-owning
    std::int32_t spacing = 4;     // cells between formation slots
};

constexpr int SelectionLimit = 18;

// Takes the unit out of the group (when it is a member): clears its selected
// flag, recomputes the spacing, raises the unit-changed event and keeps the
// members sorted by type kind.
void RemoveFromGroup(TGame& game, TUnitGroup& group, TUnit& unit);
