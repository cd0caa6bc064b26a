// FProbe: a window into a running copy for tests and tools. When the
// environment names a folder in VRAX_PROBE, the game writes its unit table
// there as text once a second of game clock (units.txt) and carries out the command
// lines appended to commands.txt, as this machine's player or its scripts
// would. Without the variable it does nothing. README's "Watching a running
// copy" gives both formats.
#pragma once

#include <cstdint>
#include <string>

class TGame;

// Reads VRAX_PROBE (and VRAX_DRAW); the probe stays off when it is unset or empty.
void probeStart();
bool probeOn();
// False when VRAX_DRAW is "0": a copy that only plays (a test machine) skips
// drawing, which on a software renderer would take most of each frame.
bool probeDraws();
// Each frame: new command lines (every 50 ms of `wallClock`), and the table
// when the game clock enters a new second (game may be null: the menu).
void probeFrame(TGame* game, std::int64_t wallClock);

// The table as the probe writes it.
std::string probeTable(const TGame& game);
// One command line carried out on `game` (null in the menu); false when it is
// not understood (logged).
bool probeCommand(TGame* game, const std::string& line);
