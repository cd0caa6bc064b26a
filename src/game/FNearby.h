// FNearby: where each player's units stand, by blocks of 32 x 32 cells, so
// that an idle unit looking for an enemy within 40 cells reads the few blocks
// around it rather than the whole unit list (with a thousand units that
// search was most of a tick). The game's update opens it for its order pass,
// when no unit changes cell; it is built on the first search of the pass.
// Outside the pass it answers nothing and callers search the list.
#pragma once

#include <cstdint>
#include <vector>

class TGame;
class TUnit;

class TNearby {
public:
    // The order pass of `tick` begins, or ends.
    void Open(std::int32_t tick);
    void Close() { open_ = false; }
    bool IsOpen() const { return open_; }

    // The live unit outside any building, of a player other than the unit's
    // own and not neutral, nearest to it with a squared cell distance below
    // `limit`; of equals the earliest in the unit list; nullptr when none.
    TUnit* NearestEnemy(const TGame& game, const TUnit& unit, std::int32_t limit);

private:
    // The cell as it was when the blocks were made, which holds for the pass:
    // distances are weighed without reaching into each unit.
    struct Entry {
        TUnit* unit;
        std::int32_t listIndex;
        std::int32_t cellX;
        std::int32_t cellY;
    };
    void build(const TGame& game);
    static Entry entryOf(TUnit& unit);

    bool open_ = false;
    std::int32_t tick_ = 0;
    std::int32_t builtTick_ = -1;
    std::vector<Entry> entries_;         // by owner, then block row, then block column
    std::vector<std::int32_t> offsets_;  // start of each block's entries, one more at the end
    std::vector<Entry> strays_;          // owners beyond 1..8: searched one by one
    std::vector<std::int32_t> owned_;    // entries per owner 1..8
    std::int32_t limit_ = 0;             // the last limit asked and the cells it reaches
    std::int32_t reach_ = 0;
};
