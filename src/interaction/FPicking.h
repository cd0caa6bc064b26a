// FPicking: the game's picking, drawn in GL selection mode: the units under
// the cursor (or under the drag rectangle) and the ground point under the
// cursor. Reading the hits is FSelection's. A drawing (client) module.
#pragma once

class TGame;
struct TMouse;

// Fills mouse.hitFlag and mouse.pickedUnits; skipped (hit flag cleared)
// while a build or repair command waits for its click.
void PickPass(TGame& game, TMouse& mouse);
// Fills mouse.groundX/groundY from the current camera matrices.
void UpdateGroundPoint(TMouse& mouse);
