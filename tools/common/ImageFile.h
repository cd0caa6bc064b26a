// Image files of the content tools: uncompressed true-colour TGA (what the
// game reads) and PNG (previews, screenshots). Used by the generators under
// tools/, the preview tool and any test that wants to save a picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imagefile {

// 8-bit pixels, 3 (RGB) or 4 (RGBA) channels, rows from the top of the picture down.
struct Image {
    int width = 0;
    int height = 0;
    int channels = 4;
    std::vector<std::uint8_t> pixels;

    Image() = default;
    Image(int w, int h, int c);
    std::uint8_t* at(int x, int y) { return &pixels[(static_cast<std::size_t>(y) * width + x) * channels]; }
    const std::uint8_t* at(int x, int y) const
    {
        return &pixels[(static_cast<std::size_t>(y) * width + x) * channels];
    }
};

// The game hands TGA rows to OpenGL in file order, so the first file row
// lands at t = 0. Which picture row must come first depends on how the
// texture is mapped: interface art (t = 1 at the top) wants the bottom row
// first, the cursor atlas (t grows downwards) the top row first. The header's
// origin bit always tells the truth, so viewers show the picture upright.
enum class TgaRows { BottomUp, TopDown };

// Writes an uncompressed true-colour TGA (image type 2), 24 bit for 3
// channels, 32 bit with an 8-bit alpha channel for 4. False on any failure.
bool writeTga(const std::string& path, const Image& image, TgaRows rows);

// Reads an uncompressed 24- or 32-bit TGA, honouring the origin bit, into
// top-down rows. `rowsOut` (optional) receives the file's row order.
bool readTga(const std::string& path, Image& image, TgaRows* rowsOut = nullptr);

// Writes an 8-bit RGB or RGBA PNG. False on any failure.
bool writePng(const std::string& path, const Image& image);

// Creates the folders above `path`; false if they cannot be made.
bool makeParentFolders(const std::string& path);

}  // namespace imagefile
