// vrax-fontgen: renders Debian's free Liberation Serif with FreeType into the
// game's bitmap fonts, Fonts/<name>.glf under the game folder given as the
// only argument. Run by the build for build/game/; modders may run it too.
//
// Every glyph cell is the character's advance wide and the font's line height
// tall, with the baseline `ascender` pixels below the cell's top, because the
// game sets characters side by side with their cell tops on the text origin.
#include "GlfFile.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int FirstChar = 32;
constexpr int LastChar = 255;
constexpr int Padding = 1;  // transparent texels around every cell, so linear filtering never bleeds

const char* const SerifRegular = "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf";
const char* const SerifBold = "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf";

struct FontRecipe {
    const char* name;
    const char* face;
    int pixels;
};

const FontRecipe Fonts[] = {
    {"Thorndale10", SerifRegular, 10},     {"Thorndale12", SerifRegular, 12},
    {"Thorndale14", SerifRegular, 14},     {"Thorndale16", SerifRegular, 16},
    {"Thorndale18", SerifRegular, 18},     {"Thorndale24", SerifRegular, 24},
    {"ThorndaleBold14", SerifBold, 14},    {"ThorndaleBold18", SerifBold, 18},
    {"ThorndaleBold24", SerifBold, 24},    {"ThorndaleBold32", SerifBold, 32},
};

// One rendered character before packing: coverage in a cell of advance x lineHeight.
struct Cell {
    int advance = 0;
    std::vector<std::uint8_t> coverage;
};

bool isControl(int code)
{
    return code == 127 || (code >= 128 && code < 160);
}

Cell renderCell(FT_Face face, int code, int ascender, int lineHeight)
{
    Cell cell;
    if (isControl(code))
        return cell;  // control characters are invisible and take no room
    const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(code));  // Latin-1 is Unicode's first page
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
        return cell;
    const FT_GlyphSlot slot = face->glyph;
    cell.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    cell.coverage.assign(static_cast<std::size_t>(cell.advance) * lineHeight, 0);

    const FT_Bitmap& bitmap = slot->bitmap;
    const int inkWidth = static_cast<int>(bitmap.width);
    // Ink that hangs outside the advance (a serif 'f', the hook of 'j') is
    // moved inside the cell where it fits, so nothing is cut off.
    int left = slot->bitmap_left;
    if (inkWidth <= cell.advance)
        left = std::clamp(left, 0, cell.advance - inkWidth);
    else
        left = (cell.advance - inkWidth) / 2;
    const int top = ascender - slot->bitmap_top;
    for (int y = 0; y < static_cast<int>(bitmap.rows); ++y) {
        const int cy = top + y;
        if (cy < 0 || cy >= lineHeight)
            continue;
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < inkWidth; ++x) {
            const int cx = left + x;
            if (cx >= 0 && cx < cell.advance)
                cell.coverage[static_cast<std::size_t>(cy) * cell.advance + cx] = row[x];
        }
    }
    return cell;
}

int nextPowerOfTwo(int v)
{
    int p = 1;
    while (p < v)
        p *= 2;
    return p;
}

// Shelf packing height for an atlas `width` texels wide; -1 if a cell does not fit.
int packedHeight(const std::vector<Cell>& cells, int width, int lineHeight)
{
    int x = Padding;
    int y = Padding;
    for (const Cell& c : cells) {
        if (c.advance + 2 * Padding > width)
            return -1;
        if (x + c.advance + Padding > width) {
            x = Padding;
            y += lineHeight + Padding;
        }
        x += c.advance + Padding;
    }
    return y + lineHeight + Padding;
}

bool makeFont(FT_Library library, const FontRecipe& recipe, const std::string& gameDir)
{
    FT_Face face = nullptr;
    if (FT_New_Face(library, recipe.face, 0, &face) != 0) {
        std::fprintf(stderr, "vrax-fontgen: cannot open %s\n", recipe.face);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(recipe.pixels));
    const int ascender = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    const int descender = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    const int lineHeight = ascender + descender;

    std::vector<Cell> cells;
    for (int code = FirstChar; code <= LastChar; ++code)
        cells.push_back(renderCell(face, code, ascender, lineHeight));
    FT_Done_Face(face);

    // The smallest power-of-two atlas, the squarer one on a tie.
    int bestWidth = 0;
    int bestHeight = 0;
    for (int width = 64; width <= 4096; width *= 2) {
        const int needed = packedHeight(cells, width, lineHeight);
        if (needed < 0)
            continue;
        const int height = nextPowerOfTwo(needed);
        const long area = static_cast<long>(width) * height;
        const long bestArea = static_cast<long>(bestWidth) * bestHeight;
        if (bestWidth == 0 || area < bestArea ||
            (area == bestArea && std::abs(width - height) < std::abs(bestWidth - bestHeight))) {
            bestWidth = width;
            bestHeight = height;
        }
    }

    glf::Font font;
    font.textureWidth = bestWidth;
    font.textureHeight = bestHeight;
    font.firstChar = FirstChar;
    font.lastChar = LastChar;
    font.texels.assign(2 * static_cast<std::size_t>(bestWidth) * bestHeight, 0);
    for (std::size_t i = 0; i < font.texels.size(); i += 2)
        font.texels[i] = 255;  // white ink: the text colour comes from the current colour

    const float w = static_cast<float>(bestWidth);
    const float h = static_cast<float>(bestHeight);
    int x = Padding;
    int y = Padding;
    for (const Cell& c : cells) {
        if (x + c.advance + Padding > bestWidth) {
            x = Padding;
            y += lineHeight + Padding;
        }
        for (int cy = 0; cy < lineHeight && c.advance > 0; ++cy)
            for (int cx = 0; cx < c.advance; ++cx)
                font.texels[2 * (static_cast<std::size_t>(y + cy) * bestWidth + x + cx) + 1] =
                    c.coverage[static_cast<std::size_t>(cy) * c.advance + cx];
        // Row 0 of the atlas is t = 0 and holds the top of the first cells, so
        // ty1 (the corner drawn at the text's top) is the smaller t.
        font.glyphs.push_back({c.advance / w, lineHeight / h, x / w, y / h, (x + c.advance) / w, (y + lineHeight) / h});
        x += c.advance + Padding;
    }

    const std::string path = gameDir + "/Fonts/" + recipe.name + ".glf";
    if (!glf::write(path, font)) {
        std::fprintf(stderr, "vrax-fontgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vrax-fontgen GAME_FOLDER\n");
        return 2;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "vrax-fontgen: FreeType did not start\n");
        return 1;
    }
    bool ok = true;
    for (const FontRecipe& recipe : Fonts)
        ok = makeFont(library, recipe, argv[1]) && ok;
    FT_Done_FreeType(library);
    return ok ? 0 : 1;
}
