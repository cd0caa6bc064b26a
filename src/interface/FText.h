// FText: measuring and drawing interface text with the bitmap fonts of
// FFonts, one quad per character, with a drop shadow and a doubled stroke.
// Characters outside a font's range take the space glyph's width and draw
// nothing. The loader and the script functions measure; the interface pass draws.
#pragma once

#include <string>

struct TFont;
struct TGlyph;

struct TTextExtent {
    int width = 0;
    int height = 0;
};

// Size of `text` in interface units; 0 x 0 for an empty text or a font index
// that is not loaded.
TTextExtent textExtent(int fontIndex, const std::string& text);
// The glyph that stands for `c`: its own, or for a character the font does
// not have, the space glyph (measured, never drawn: *drawn is false). Null
// when neither exists.
const TGlyph* glyphOf(const TFont& font, unsigned char c, bool* drawn);

// Draws at the current origin in the current colour, tops on the origin line
// (FTextDraw; the atlas is uploaded at the first draw).
void drawText(const std::string& text, int fontIndex);
