// FFonts: the bitmap fonts of the interface, read from "Fonts/<name>.glf"
// on first use and kept for the life of the process. A font's index in the
// font list is its identity (fontIndex of a font string). The loader and the
// script functions ask for fonts by name; FText measures and draws with them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TGlyph {
    float dx = 0, dy = 0;    // glyph size as fractions of the atlas size
    float tx1 = 0, ty1 = 0;  // texture coordinates of one corner
    float tx2 = 0, ty2 = 0;  // and of the opposite one
};

struct TFont {
    std::int32_t textureId = 0;  // GL name of the atlas, made when first drawn
    std::int32_t textureWidth = 0;
    std::int32_t textureHeight = 0;
    std::int32_t firstChar = 0;
    std::int32_t lastChar = 0;
    std::vector<TGlyph> glyphs;         // lastChar - firstChar + 1
    std::vector<std::uint8_t> texels;   // luminance-alpha pairs, until uploaded
};

struct TFontEntry {
    std::string path;  // "Fonts/" + name + ".glf"
    TFont font;
};

// Reads a ".glf" image; nothing, with the reason in *error, when it is
// truncated or its header does not make sense.
std::optional<TFont> decodeGlf(const std::uint8_t* data, std::size_t size, std::string* error);

// Empties the font list.
void initFonts();
// Index of the font "Fonts/" + name + ".glf", loading it on first use; 0 for
// an empty name. A missing or broken file raises EngineError.
int fontIndexOf(const std::string& name);
// The same for a font file named by its path (relative to the content folder, or absolute).
int fontIndexOfFile(const std::string& path);
// The font at `index`, null when there is none.
TFont* fontAt(int index);
int fontCount();
