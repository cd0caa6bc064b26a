// FModel: the scene drawing of the game's units. The pick pass draws every
// unit's shapes under its list index as GL name; the visible pass draws the
// units in view with their circles, then the projectiles, then the building
// placement grid and preview. Drawing shows each unit's current pose only:
// the game's update advances the animations. A drawing (client) module.
#pragma once

#include <vector>

class TGame;
struct TMouse;

// The UnitList indices drawn by the last visible pass, in drawing order.
extern std::vector<int> visibleUnits;
// The next GL name of the pick pass; the frame sets it to 0 before the scene.
extern int PickName;

// Camera matrices current. With `picking`, names and shapes only.
void DrawUnits(TGame& game, const TMouse& mouse, bool picking);
