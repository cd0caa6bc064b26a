// FModel: the scene drawing of the game's units. The pick pass draws every
// unit's shapes under its list index as GL name; the visible pass draws the
// units in view with their circles, then the projectiles, then the building
// placement grid and preview; it leaves the game the list of units it showed
// and each one's place on the screen. Drawing shows each unit's current pose only:
// the game's update advances the animations. A drawing (client) module.
#pragma once

class TGame;
struct TMouse;

// The next GL name of the pick pass; the frame sets it to 0 before the scene.
extern int PickName;

// Camera matrices current. With `picking`, names and shapes only.
void DrawUnits(TGame& game, const TMouse& mouse, bool picking);
