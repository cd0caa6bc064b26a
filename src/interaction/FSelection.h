// FSelection: what the player's mouse means for the selection, headless.
// The pick pass (FPicking) hands over the names under the cursor; this
// module chooses the picked units from them, finds the ground point on the
// plane z = 0, applies the click and rectangle rules to the game's
// selection, decides which units wear a circle, and lays out the building
// placement squares. The mouse record TMouse keeps the results.
#pragma once

#include "interface/FCursor.h"

#include <cstdint>
#include <vector>

class TGame;
class TUnit;
struct TUnitAttributes;

// A drag counts as a rectangle from this many pixels on either axis.
constexpr double DragThreshold = 5;
// A second left-button-up within this many ms of game clock is a double click.
constexpr double DoubleClickMs = 300;

// Whether the drag in progress is a rectangle rather than a click.
bool IsRectangle(const TMouse& mouse);
// Fills hitFlag and pickedUnits from the names of the hits: every name for a
// rectangle, else the one hit unit standing lowest on the map (smallest y,
// the first found on a tie). Names outside the unit list are skipped.
void ChoosePicked(const TGame& game, TMouse& mouse, const std::vector<std::int32_t>& names, bool rectangle);
// Whether the unit at list index `index` is under the cursor.
bool IsHovered(const TMouse& mouse, int index);
// Whether a picked unit belongs to the local player.
bool OwnPick(const TGame& game, const TMouse& mouse);

// The point where the line from `nearPoint` (depth 0) to `farPoint` (depth 1)
// meets the ground, rounded to world units; false when the line runs level.
bool GroundIntersection(const double nearPoint[3], const double farPoint[3], std::int32_t& x, std::int32_t& y);

// Left button down with no pending command: a drag starts at the cursor.
void LeftButtonDown(TMouse& mouse);
// Left button up: the click and rectangle rules on the game's selection;
// `now` is the game clock in ms.
void LeftButtonUp(TGame& game, TMouse& mouse, bool shift, bool ctrl, double now);

enum class TCircle { None, Selected, Hovered };
// Which circle the unit at `index` wears this frame; `ownPick` is OwnPick's answer.
TCircle CircleFor(const TGame& game, const TMouse& mouse, const TUnit& unit, int index, bool ownPick);

// One 64 x 64 square of the placement grid, world units.
struct TPlacementSquare {
    std::int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool occupied = false;
};
// The squares a building of `type` would cover around the ground point.
std::vector<TPlacementSquare> PlacementSquares(const TGame& game, const TUnitAttributes& type, std::int32_t groundX,
                                               std::int32_t groundY);
// The building being placed, or nullptr.
const TUnitAttributes* PlacingBuilding(const TMouse& mouse);
