// FLoadMap: the map file, one record per line: type, cell x, cell y. Types
// 0 to 9 are start positions, 10 and above the unit type to place there.
// Lines that do not start with three integers (comments start with '#') are
// skipped.
#pragma once

#include "world/Fmap.h"

#include <string>
#include <vector>

class TGame;

// Reads the map: places its units at once on this machine (no message; the
// same numbers on every machine), keeps the start positions, then asks the
// host for this player's three starting units. False when the file cannot be
// read (logged; the game goes on with an empty map).
bool LoadMapFile(TGame& game, const std::string& path);

// The start position of a player slot (0 the host): slot n takes position n,
// wrapping round the map's list. The centre of the map when it lists none.
TCell StartPosition(const std::vector<TCell>& positions, int slot);
