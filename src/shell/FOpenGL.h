// FOpenGL: the rendering context of the drawing panel and the render frame:
// the 3-D pass, the interface pass over the 1600 x 1200 design area, the
// minimap and the cursor. Only drawing lives here; every state it draws is
// computed elsewhere.
#pragma once

#include <cstdint>
#include <vector>

// The drawing panel's size in pixels, kept by the window's resize events.
extern int SurfaceWidth;
extern int SurfaceHeight;

// Creates the panel's context (slot 0), makes it current and clears both buffers.
bool createRenderingContext();
void releaseRenderingContext();

class TGame;
struct TCamera;

void renderFrame();
// Projection and look-at of the game camera, viewport over the whole surface.
void setGameCamera(const TCamera& camera);
// The 3-D part of a game frame: camera, frustum, ground point, ground, units.
void drawGameScene(TGame& game);
// The interface over the design area, then the pending button.
void interfacePass();

// Orthographic projection with the origin at the top-left, y downwards, in pixels.
void setInterfaceProjection(int surfaceWidth, int surfaceHeight);
// Perspective of the 3-D pass: 30 degrees vertically, near 1, far 10000.
void setScenePerspective(int surfaceWidth, int surfaceHeight);

// The current back buffer as RGBA rows from the top; read before the swap.
std::vector<std::uint8_t> readFramePixels(int width, int height);
