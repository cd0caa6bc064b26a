#include "interface/FText.h"

#include "interface/FFonts.h"

#include <climits>
#include <cmath>
#include <vector>

namespace {

int roundedClamp(double value)
{
    const double r = std::nearbyint(value);
    return r >= INT_MAX ? INT_MAX : static_cast<int>(r);
}

}  // namespace

const TGlyph* glyphOf(const TFont& font, unsigned char c, bool* drawn)
{
    *drawn = c >= font.firstChar && c <= font.lastChar;
    const int code = *drawn ? c : ' ';
    if (code < font.firstChar || code > font.lastChar)
        return nullptr;
    return &font.glyphs[static_cast<std::size_t>(code - font.firstChar)];
}

TTextExtent textExtent(int fontIndex, const std::string& text)
{
    const TFont* font = fontAt(fontIndex);
    if (!font || text.empty())
        return {};
    double width = 0;
    double height = 0;
    for (unsigned char c : text) {
        bool drawn;
        if (const TGlyph* g = glyphOf(*font, c, &drawn)) {
            width += font->textureWidth * static_cast<double>(g->dx);
            height = std::max(height, font->textureHeight * static_cast<double>(g->dy));
        }
    }
    return {roundedClamp(width), roundedClamp(height)};
}
