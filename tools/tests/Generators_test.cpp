// Runs vrax-fontgen and vrax-texgen into a scratch folder and checks what the
// game will read: exactly the files the build lists, TGA headers the texture
// reader accepts, font files whose glyph table and atlas agree, and the
// orientations the game's texture-coordinate mappings rely on.
#include "GlfFile.h"
#include "ImageFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

using imagefile::Image;
using testing_support::ScratchDir;

std::set<std::string> listed(const std::string& joined)
{
    std::set<std::string> out;
    std::stringstream in(joined);
    std::string item;
    while (std::getline(in, item, ','))
        out.insert(item);
    return out;
}

std::set<std::string> filesUnder(const std::string& root)
{
    std::set<std::string> out;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            out.insert(std::filesystem::relative(entry.path(), root).string());
    return out;
}

// One generator run into a scratch folder, shared by the cases of a suite.
class Generated : public ::testing::Test {
protected:
    static std::string run(const std::string& tool)
    {
        const std::string folder = std::filesystem::current_path().string() + "/game";
        EXPECT_EQ(testing_support::run("'" + tool + "' '" + folder + "'"), 0) << tool;
        return folder;
    }
};

std::vector<std::uint8_t> bytesOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Image readPicture(const std::string& path)
{
    Image image;
    EXPECT_TRUE(imagefile::readTga(path, image)) << path;
    return image;
}

// Mean absolute difference of two pixel runs of the same length.
double difference(const Image& a, int ax, int ay, int adx, int ady, const Image& b, int bx, int by, int bdx, int bdy,
                  int count)
{
    double sum = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* p = a.at(ax + i * adx, ay + i * ady);
        const std::uint8_t* q = b.at(bx + i * bdx, by + i * bdy);
        for (int c = 0; c < a.channels; ++c)
            sum += std::abs(p[c] - q[c]);
    }
    return sum / (count * a.channels);
}

class Fonts : public Generated {};

TEST_F(Fonts, EveryListedFontIsWrittenAndConsistent)
{
    ScratchDir scratch;
    const std::string game = run(VRAX_FONTGEN);
    std::set<std::string> expected = listed(VRAX_FONT_FILES);
    ASSERT_EQ(filesUnder(game), expected);
    for (const std::string& name : expected) {
        SCOPED_TRACE(name);
        glf::Font font;
        std::string error;
        ASSERT_TRUE(glf::read(game + "/" + name, font, error)) << error;
        EXPECT_EQ(font.firstChar, 32);
        EXPECT_EQ(font.lastChar, 255);
        const float lineHeight = font.glyphs[0].dy * font.textureHeight;
        EXPECT_GT(lineHeight, 8);
        std::vector<std::array<int, 4>> cells;  // texel rectangles of the visible glyphs
        for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
            const glf::Glyph& g = font.glyphs[i];
            SCOPED_TRACE(i + 32);
            EXPECT_TRUE(g.tx1 >= 0 && g.tx2 <= 1 && g.ty1 >= 0 && g.ty2 <= 1);
            EXPECT_LE(g.tx1, g.tx2);
            EXPECT_LT(g.ty1, g.ty2);
            EXPECT_FLOAT_EQ(g.dx, g.tx2 - g.tx1);
            EXPECT_FLOAT_EQ(g.dy, g.ty2 - g.ty1);
            EXPECT_FLOAT_EQ(g.dy * font.textureHeight, lineHeight);  // one line height for all
            const float width = g.dx * font.textureWidth;
            EXPECT_FLOAT_EQ(width, std::round(width));  // whole texels, so extents add up exactly
            if (width > 0)
                cells.push_back({static_cast<int>(std::lround(g.tx1 * font.textureWidth)),
                                 static_cast<int>(std::lround(g.ty1 * font.textureHeight)),
                                 static_cast<int>(std::lround(g.tx2 * font.textureWidth)),
                                 static_cast<int>(std::lround(g.ty2 * font.textureHeight))});
        }
        for (std::size_t i = 0; i < cells.size(); ++i)
            for (std::size_t j = i + 1; j < cells.size(); ++j) {
                const bool apart = cells[i][2] <= cells[j][0] || cells[j][2] <= cells[i][0] ||
                                   cells[i][3] <= cells[j][1] || cells[j][3] <= cells[i][1];
                EXPECT_TRUE(apart) << "glyph cells " << i << " and " << j << " overlap";
            }
        for (std::size_t i = 0; i < font.texels.size(); i += 2)
            ASSERT_EQ(font.texels[i], 255) << "ink must be white so the text colour shows";
    }
}

// Coverage summed over one texel row of a glyph cell, `row` counted from the cell's ty1 side.
int rowInk(const glf::Font& font, const glf::Glyph& g, int row)
{
    const int x0 = static_cast<int>(std::lround(g.tx1 * font.textureWidth));
    const int x1 = static_cast<int>(std::lround(g.tx2 * font.textureWidth));
    const int y = static_cast<int>(std::lround(g.ty1 * font.textureHeight)) + row;
    int sum = 0;
    for (int x = x0; x < x1; ++x)
        sum += font.texels[2 * (static_cast<std::size_t>(y) * font.textureWidth + x) + 1];
    return sum;
}

TEST_F(Fonts, DefaultFontMeasuresAndStandsUpright)
{
    ScratchDir scratch;
    const std::string game = run(VRAX_FONTGEN);
    glf::Font font;
    std::string error;
    ASSERT_TRUE(glf::read(game + "/Fonts/Thorndale14.glf", font, error)) << error;
    const auto glyph = [&](unsigned char c) -> const glf::Glyph& { return font.glyphs[c - font.firstChar]; };
    const auto advance = [&](unsigned char c) { return glyph(c).dx * font.textureWidth; };
    EXPECT_GT(advance('W'), advance('i'));
    EXPECT_GT(advance(' '), 0);
    EXPECT_GT(advance(0xC9), 0) << "Latin-1 letters have glyphs";
    const int height = static_cast<int>(std::lround(glyph('A').dy * font.textureHeight));
    EXPECT_GE(height, 14);
    EXPECT_LE(height, 20);

    int spaceInk = 0;
    for (int row = 0; row < height; ++row)
        spaceInk += rowInk(font, glyph(' '), row);
    EXPECT_EQ(spaceInk, 0);

    // drawText puts ty1 at the top of the line: the bar of a 'T' lies near
    // there, an underscore near the other end, and a 'g' hangs below an 'o'.
    const auto heaviestRow = [&](unsigned char c) {
        int best = 0;
        for (int row = 1; row < height; ++row)
            if (rowInk(font, glyph(c), row) > rowInk(font, glyph(c), best))
                best = row;
        return best;
    };
    const auto lowestInk = [&](unsigned char c) {
        int lowest = -1;
        for (int row = 0; row < height; ++row)
            if (rowInk(font, glyph(c), row) > 0)
                lowest = row;
        return lowest;
    };
    EXPECT_LT(heaviestRow('T'), height / 2);
    EXPECT_GT(heaviestRow('_'), height / 2);
    EXPECT_GT(lowestInk('g'), lowestInk('o'));
}

class Textures : public Generated {};

TEST_F(Textures, EveryListedTextureHasAHeaderTheGameReads)
{
    ScratchDir scratch;
    const std::string game = run(VRAX_TEXGEN);
    std::set<std::string> expected = listed(VRAX_TEXTURE_FILES);
    ASSERT_EQ(filesUnder(game), expected);
    for (const std::string& name : expected) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes = bytesOf(game + "/" + name);
        ASSERT_GE(bytes.size(), 18u);
        EXPECT_EQ(bytes[0], 0) << "the game takes pixels to start right after the header";
        EXPECT_EQ(bytes[1], 0);
        EXPECT_EQ(bytes[2], 2);
        const int width = bytes[12] | (bytes[13] << 8);
        const int height = bytes[14] | (bytes[15] << 8);
        const int depth = bytes[16];
        ASSERT_TRUE(depth == 24 || depth == 32);
        EXPECT_EQ(bytes[17] & 0x0F, depth == 32 ? 8 : 0);
        EXPECT_GT(width, 0);
        EXPECT_GT(height, 0);
        EXPECT_EQ(bytes.size(), 18u + static_cast<std::size_t>(width) * height * depth / 8);
    }
}

TEST_F(Textures, SharedTexturesAndCursorCellsAreWhereTheGameLooks)
{
    ScratchDir scratch;
    const std::string game = run(VRAX_TEXGEN);
    const Image blank = readPicture(game + "/Textures/Shared/Blank.tga");
    const Image clear = readPicture(game + "/Textures/Shared/Transparent.tga");
    for (std::size_t i = 0; i < blank.pixels.size(); ++i)
        ASSERT_EQ(blank.pixels[i], 255);
    for (std::size_t i = 3; i < clear.pixels.size(); i += 4)
        ASSERT_EQ(clear.pixels[i], 0);
    const Image circle = readPicture(game + "/Textures/Shared/Circle.tga");
    EXPECT_EQ(circle.at(circle.width / 2, circle.height / 2)[3], 255);
    EXPECT_EQ(circle.at(0, 0)[3], 0);

    // The game reads rows in file order and draws cell (column, row) with t
    // from (3 - row) / 4 at its top: so file row 96 + y is line y of a row-0
    // cell, counted from its top.
    const std::vector<std::uint8_t> file = bytesOf(game + "/Textures/Cursor/HumanCursor.tga");
    ASSERT_EQ(file[12] | (file[13] << 8), 256);
    ASSERT_EQ(file[14] | (file[15] << 8), 128);
    ASSERT_EQ(file[16], 32);
    const auto alpha = [&](int column, int row, int x, int y) {
        const int fileRow = (3 - row) * 32 + y;
        return file[18 + (static_cast<std::size_t>(fileRow) * 256 + column * 32 + x) * 4 + 3];
    };
    EXPECT_GT(alpha(3, 0, 1, 1), 128) << "the pointer's tip is its cell's top-left corner";
    EXPECT_GT(alpha(3, 0, 1, 12), 128);
    EXPECT_LT(alpha(3, 0, 30, 30), 16);
    EXPECT_LT(alpha(3, 0, 30, 1), 16);
    for (int column = 5; column <= 7; ++column) {
        EXPECT_GT(alpha(column, 0, 29, 16), 128) << "scroll arrows point right, tip at mid-height";
        EXPECT_LT(alpha(column, 0, 29, 2), 16);
        EXPECT_LT(alpha(column, 0, 29, 29), 16);
    }
    EXPECT_GT(alpha(1, 0, 16, 16) + alpha(1, 0, 16, 7), 128) << "the ground target sits on its centre";
    std::set<std::vector<std::uint8_t>> frames;
    for (int column = 0; column < 8; ++column) {
        std::vector<std::uint8_t> cell;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                cell.push_back(alpha(column, 1, x, y));
        EXPECT_GT(*std::max_element(cell.begin(), cell.end()), 200) << "targeting frame " << column;
        frames.insert(cell);
    }
    EXPECT_GE(frames.size(), 5u) << "the targeting frames animate";
}

TEST_F(Textures, GroundTilesJoinEachOtherWithoutSeams)
{
    ScratchDir scratch;
    const std::string game = run(VRAX_TEXGEN);
    const Image atlas = readPicture(game + "/Textures/Terrain/Ashen_Grass.tga");
    ASSERT_EQ(atlas.width % 8, 0);
    ASSERT_EQ(atlas.height % 4, 0);
    const int w = atlas.width / 8;
    const int h = atlas.height / 4;
    // Any used tile may lie beside any other: right rim against left rim, bottom against top.
    for (int a = 4; a <= 6; ++a)
        for (int b = 4; b <= 6; ++b)
            for (int row = 0; row < 4; ++row) {
                SCOPED_TRACE(testing::Message() << "tiles " << a << " and " << b << ", row " << row);
                const int ax = a * w, bx = b * w, y = row * h, by = ((row + 1) % 4) * h;
                const double across = difference(atlas, ax + w - 1, y, 0, 1, atlas, bx, y, 0, 1, h);
                const double within = difference(atlas, ax + w - 2, y, 0, 1, atlas, ax + w - 1, y, 0, 1, h);
                EXPECT_LT(across, within * 1.5 + 2);
                const double down = difference(atlas, ax, y + h - 1, 1, 0, atlas, bx, by, 1, 0, w);
                const double inside = difference(atlas, ax, y + h - 2, 1, 0, atlas, ax, y + h - 1, 1, 0, w);
                EXPECT_LT(down, inside * 1.5 + 2);
            }
}

TEST_F(Textures, BorderPiecesMeetOnScreen)
{
    ScratchDir scratch;
    const std::string game = run(VRAX_TEXGEN);
    for (const char* name : {"GoldTrim", "IronBand", "ThinGold"}) {
        SCOPED_TRACE(name);
        const Image strip = readPicture(game + "/Textures/Interface/Borders/" + name + ".tga");
        ASSERT_EQ(strip.channels, 4);
        ASSERT_EQ(strip.width, 8 * strip.height);
        const int s = strip.height;
        // Rows of the picture from its top (t = 1). The top-left corner is drawn
        // straight; the top edge beside it turned, so screen line y of the top
        // edge's first column is picture column s - 1 - y of its cell's top row.
        const double cornerToTop = difference(strip, 4 * s + s - 1, 0, 0, 1, strip, 2 * s + s - 1, 0, -1, 0, s);
        const double cornerToLeft = difference(strip, 4 * s, s - 1, 1, 0, strip, 0, 0, 1, 0, s);
        const double cornerSelf = difference(strip, 4 * s + s - 2, 0, 0, 1, strip, 4 * s + s - 1, 0, 0, 1, s);
        EXPECT_LT(cornerToTop, cornerSelf + 8);
        EXPECT_LT(cornerToLeft, cornerSelf + 8);
        // The bottom-right corner meets the bottom edge's last screen column,
        // which is its cell's bottom picture row, and the right edge's bottom row.
        const double cornerToBottom = difference(strip, 7 * s, 0, 0, 1, strip, 3 * s + s - 1, s - 1, -1, 0, s);
        const double cornerToRight = difference(strip, 7 * s, 0, 1, 0, strip, s, s - 1, 1, 0, s);
        EXPECT_LT(cornerToBottom, cornerSelf + 8);
        EXPECT_LT(cornerToRight, cornerSelf + 8);
        // Edges repeat along their length: each cell's top row continues its bottom row.
        for (int cell = 0; cell < 4; ++cell)
            EXPECT_LT(difference(strip, cell * s, 0, 1, 0, strip, cell * s, s - 1, 1, 0, s), cornerSelf + 8)
                << "cell " << cell;
    }
}

TEST_F(Textures, ButtonsAreOpaqueInsideAndRoundedOutside)
{
    ScratchDir scratch;
    const std::string game = run(VRAX_TEXGEN);
    for (const char* name : {"Button", "ButtonHighlight", "ButtonPushed", "ButtonDisabled"}) {
        SCOPED_TRACE(name);
        const Image button = readPicture(game + "/Textures/Interface/Buttons/" + name + ".tga");
        EXPECT_EQ(button.width, 256);
        EXPECT_EQ(button.height, 64);
        EXPECT_EQ(button.at(128, 32)[3], 255);
        EXPECT_EQ(button.at(0, 0)[3], 0);
        EXPECT_EQ(button.at(255, 63)[3], 0);
    }
    const Image normal = readPicture(game + "/Textures/Interface/Buttons/Button.tga");
    const Image lit = readPicture(game + "/Textures/Interface/Buttons/ButtonHighlight.tga");
    EXPECT_GT(lit.at(128, 32)[0], normal.at(128, 32)[0]) << "the highlighted button is brighter";
}

}  // namespace
