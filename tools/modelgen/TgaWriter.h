// TgaWriter: writes uncompressed 32-bit TGA files (rows in file order, the
// way the game's texture cache reads them). Used for the model textures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgba` holds width x height pixels, red first, rows from texture row 0.
bool saveTga(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba);
