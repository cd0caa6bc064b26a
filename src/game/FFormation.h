// FFormation: where each member of a group goes when the group is sent to a
// cell: a grid of rows behind the clicked cell, or a curve when the player
// holds Control. Pure maths; the group order reads the key and passes it in.
#pragma once

#include "game/FCellMath.h"

// The goal cell of member i of n for a move from `centre` (the group's mean
// cell) to `base` (the clicked cell), slots `spacing` cells apart, turned to
// face the move. A single member goes to `base` itself.
TCell FormationSlot(int i, int n, int spacing, TCell centre, TCell base, bool curve);
