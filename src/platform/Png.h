// Png: writes RGBA pictures as PNG files (screenshots).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// `rgba` holds `height` rows from the top, 4 bytes a pixel. False when the file cannot be written.
bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba);

}  // namespace platform
