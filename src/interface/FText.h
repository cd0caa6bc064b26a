// FText: measuring and drawing interface text with the bitmap fonts of
// FFonts, one quad per character, with a drop shadow and a doubled stroke.
// Characters outside a font's range take the space glyph's width and draw
// nothing. The loader and the script functions measure; the interface pass draws.
#pragma once

#include <string>

struct TTextExtent {
    int width = 0;
    int height = 0;
};

// Size of `text` in interface units; 0 x 0 for an empty text or a font index
// that is not loaded.
TTextExtent textExtent(int fontIndex, const std::string& text);
// Draws at the current origin in the current colour, tops on the origin line.
void drawText(const std::string& text, int fontIndex);
