// The game's bitmap font file (".glf"): a little-endian header, one glyph
// record per character from firstChar to lastChar, then a luminance-alpha
// atlas whose first row lies at t = 0. Written by vrax-fontgen, read back by
// the preview tool and the tools' tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glf {

// One character: its cell size as fractions of the atlas, then the texture
// coordinates of the cell's top-left (tx1, ty1) and bottom-right (tx2, ty2)
// corners as the text is drawn (y growing down the screen).
struct Glyph {
    float dx = 0, dy = 0, tx1 = 0, ty1 = 0, tx2 = 0, ty2 = 0;
};

struct Font {
    std::int32_t textureWidth = 0;
    std::int32_t textureHeight = 0;
    std::int32_t firstChar = 0;
    std::int32_t lastChar = -1;
    std::vector<Glyph> glyphs;        // lastChar - firstChar + 1 records
    std::vector<std::uint8_t> texels;  // 2 bytes (luminance, alpha) per texel, row 0 first
};

bool write(const std::string& path, const Font& font);
// Reads and checks a font file; on failure `error` says why.
bool read(const std::string& path, Font& font, std::string& error);

}  // namespace glf
