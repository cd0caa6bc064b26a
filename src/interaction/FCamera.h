// FCamera: the game camera, a target point on the ground seen from an eye
// above and behind it. The wheel tilts and lowers it between two ends, the
// arrow keys, the screen edges and a middle-button drag slide the target,
// which never leaves the part of the map the camera may show. Headless: the
// GL look-at is the render frame's.
#pragma once

#include <cstdint>

struct TCamera {
    double targetX = 3840, targetY = 3840, targetZ = 0;
    double height = 1500;
    double pitch = -2.356194490192345;  // radians, negative
    double yaw = -4.71238898038469;
    double eyeX = 0, eyeY = 0;
};

constexpr double CameraMinX = 1536, CameraMaxX = 6144;
constexpr double CameraMinY = 1248, CameraMaxY = 6432;
constexpr double CameraLowPitch = -2.356194490192345;   // -3 pi / 4, the highest view
constexpr double CameraHighPitch = -2.1048670779051615; // the closest view
constexpr double CameraFarHeight = 1500;
constexpr double CameraNearHeight = 394.15938593639277;

extern TCamera Camera;

// The starting view: the map's centre from the highest point.
void ResetCamera(TCamera& camera);
// Keeps the target inside its limits, then places the eye.
void UpdateEye(TCamera& camera);
// One wheel movement (120 a notch).
void ZoomCamera(TCamera& camera, int delta);
// The middle button dragged by (dx, dy) window pixels.
void DragCamera(TCamera& camera, double dx, double dy);

// The minimap's square on the 1600 x 1200 design area (the plate at the
// bottom left), showing the whole 7680 x 7680 map with world y upwards.
constexpr double MinimapLeft = 25, MinimapTop = 920, MinimapSide = 260, MinimapWorld = 7680;
// Whether the design-area point (x, y) lies on the minimap.
bool OnMinimap(double x, double y);
// The camera looks at the world point the design-area point (x, y) of the
// minimap shows (kept inside its limits).
void CentreOnMinimap(TCamera& camera, double x, double y);

// Which way the frame's scrolling went, and which of those the cursor asked for.
struct TEdgeScroll {
    bool left = false, right = false, up = false, down = false;          // moved
    bool cursorLeft = false, cursorRight = false, cursorUp = false, cursorDown = false;
};
struct TScrollKeys {
    bool left = false, right = false, up = false, down = false;
};
// Slides the target by 2 world units per millisecond of `elapsed` towards
// each arrow held or each edge within 10 pixels of the cursor (window
// pixels, y downwards).
TEdgeScroll EdgeScroll(TCamera& camera, double cursorX, double cursorY, int viewportWidth, int viewportHeight,
                       TScrollKeys keys, std::int32_t elapsed);
