// FCursor: the one mouse record TMouse, the engine's own cursor drawn from
// the atlas "Textures\Cursor\HumanCursor.tga", and the cursor states. The
// window's mouse handlers write position and button; the interface reads
// them once per drawn frame; picking and commands own the game fields.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct TUnitAttributes;

// Cursor states.
enum : std::int32_t { CursorGroundTarget = 2, CursorPointer = 4, CursorScroll = 6, CursorTargeting = 9 };

// The targeting command waiting for a left click.
struct TPendingCommand {
    std::uint8_t kind = 0;                     // 1 move, 4 patrol, 6 attack, 7 repair or build, 8 ability
    std::int32_t abilityIndex = -1;
    std::int32_t targetIndex = -1;
    const TUnitAttributes* building = nullptr; // the building chosen for a placement
};

struct TMouse {
    double cursorX = 0, cursorY = 0;           // window pixels, y downwards
    std::int32_t interfaceX = 0, interfaceY = 0;
    std::int32_t cursorShape = CursorPointer;
    std::int32_t groundX = 0, groundY = 0;     // world units
    double lastLeftUpTime = 0;
    std::unique_ptr<TPendingCommand> pendingCommand;
    std::uint8_t hitFlag = 0;
    std::vector<std::int32_t> pickedUnits;
    std::uint8_t dragging = 0;
    double dragStartX = 0, dragStartY = 0;
    std::int32_t buttonCode = 0;               // 0 none; 1..3 pressed, -1..-3 released
};

extern TMouse Mouse;

// Stores the window position and its place on the 1600 x 1200 design area
// stretched over a drawing surface of the given size.
void cursorMoved(double x, double y, int surfaceWidth, int surfaceHeight);
// Stores a button event for the next interface pass, overwriting one not yet delivered.
void buttonEvent(std::int32_t code);

// Hides the system pointer, starts in the pointer state and loads the atlas (FCursorDraw).
void initCursor();
// Stores the state; any true flag is added to the scroll flags, all false clears them.
void setCursorState(std::int32_t state, bool left, bool right, bool down, bool up);
std::int32_t cursorState();

// What the unit under the cursor means for its tint.
struct TCursorTarget {
    bool alive = false;
    bool ownedByLocalPlayer = false;
};

// Everything drawCursor needs, computed without GL.
struct TCursorLook {
    int column = 3, row = 0;
    std::optional<std::array<float, 3>> tint;  // none: keep the current colour
    float angle = 0;                            // degrees about the screen normal (scrolling only)
    float offsetX = 0, offsetY = 0;             // hot spot shift after the turn
    bool visible = true;
};

struct TScrollFlags {
    bool left = false, right = false, down = false, up = false;
};

TCursorLook cursorLook(std::int32_t state, TScrollFlags flags, std::int64_t totalTime,
                       const std::optional<TCursorTarget>& target, bool dragging, bool placingBuilding);
TScrollFlags cursorScrollFlags();

// Draws the cursor in window pixels: the last thing of the render frame (FCursorDraw).
void drawCursor();
