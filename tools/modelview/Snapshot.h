// Snapshot: draws one model instance with a fixed three-quarter camera, and
// saves what was drawn as PNG or TGA. Shared by the window and offscreen modes.
#pragma once

#include "assets/FDisplay.h"

#include <cstdint>
#include <string>
#include <vector>

// Clears and draws `model` turned by `yaw` degrees, framed by its extent.
void drawModelView(TModel& model, int width, int height, float yaw);
// The frame as RGBA rows from the top, shrunk by `shrink` (box filter).
std::vector<std::uint8_t> grabFrame(int width, int height, int shrink);
// Writes RGBA rows (from the top) as PNG, or as TGA when the name ends in ".tga".
bool saveImage(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba);
