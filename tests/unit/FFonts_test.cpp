#include "interface/FFonts.h"
#include "interface/FText.h"
#include "shell/FLogs.h"

#include "../support/TestFont.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace testing_support;

namespace {

struct Fonts : ::testing::Test {
    ScratchDir dir;
    void SetUp() override
    {
        startLog();
        initFonts();
        writeFile("Fonts/Small.glf", testFontBytes());
    }
    void TearDown() override { initFonts(); }
};

std::optional<TFont> decode(const std::string& bytes, std::string* error)
{
    return decodeGlf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), error);
}

}  // namespace

TEST_F(Fonts, ReadsTheHeaderGlyphsAndAtlasAndLoadsEachFontOnce)
{
    const int index = fontIndexOf("Small");
    EXPECT_EQ(index, 0);
    const TFont* font = fontAt(index);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->textureWidth, 64);
    EXPECT_EQ(font->textureHeight, 16);
    EXPECT_EQ(font->firstChar, 32);
    EXPECT_EQ(font->lastChar, 122);
    ASSERT_EQ(font->glyphs.size(), 91u);
    EXPECT_FLOAT_EQ(font->glyphs['A' - 32].dx, testGlyphWidth('A') / 64.0f);
    EXPECT_EQ(font->texels.size(), 2u * 64 * 16);
    EXPECT_EQ(font->textureId, 0);  // uploaded when first drawn

    // The second request is answered from the list, even with the file gone.
    std::filesystem::remove("Fonts/Small.glf");
    EXPECT_EQ(fontIndexOf("Small"), index);
    EXPECT_EQ(fontCount(), 1);
    EXPECT_EQ(fontIndexOf(""), 0);
}

TEST_F(Fonts, ExtentCountsEveryCharacterAndTakesTheTallestGlyph)
{
    const int f = fontIndexOf("Small");
    const std::string text = "Ab c";
    const int width = testGlyphWidth('A') + testGlyphWidth('b') + testGlyphWidth(' ') + testGlyphWidth('c');
    const int height = std::max({testGlyphHeight('A'), testGlyphHeight('b'), testGlyphHeight(' '), testGlyphHeight('c')});
    TTextExtent e = textExtent(f, text);
    EXPECT_EQ(e.width, width);
    EXPECT_EQ(e.height, height);
    EXPECT_EQ(textExtent(f, "").width, 0);
    EXPECT_EQ(textExtent(f, "").height, 0);
    // Unknown font indices measure nothing rather than fail.
    EXPECT_EQ(textExtent(7, "abc").width, 0);
    EXPECT_EQ(textExtent(-1, "abc").height, 0);
}

TEST_F(Fonts, CharactersOutsideTheRangeMeasureAsTheSpaceGlyph)
{
    const int f = fontIndexOf("Small");
    // '~' (126) and the Latin-1 e acute (233) are beyond 'z'; tab (9) is below the space.
    TTextExtent e = textExtent(f, std::string("a~\xe9\t"));
    EXPECT_EQ(e.width, testGlyphWidth('a') + 3 * testGlyphWidth(' '));
    EXPECT_EQ(e.height, std::max(testGlyphHeight('a'), testGlyphHeight(' ')));

    // A font without a space glyph gives them no width at all.
    writeFile("Fonts/NoSpace.glf", testFontBytes(33, 122));
    const int g = fontIndexOf("NoSpace");
    EXPECT_EQ(textExtent(g, "a~").width, testGlyphWidth('a'));
}

TEST_F(Fonts, MissingOrTruncatedFilesEndTheOperationWithALogLine)
{
    EXPECT_THROW(fontIndexOf("Nothing"), EngineError);
    const std::string full = testFontBytes();
    writeFile("Fonts/Cut.glf", full.substr(0, full.size() - 1));
    EXPECT_THROW(fontIndexOf("Cut"), EngineError);
    EXPECT_EQ(fontCount(), 0);
    const std::string log = readFile("Logs/log.txt");
    EXPECT_NE(log.find("Error: Font file `Fonts/Nothing.glf` cannot be read"), std::string::npos) << log;
    EXPECT_NE(log.find("Error: Font file `Fonts/Cut.glf`: truncated file"), std::string::npos) << log;
    // A good font afterwards still loads.
    EXPECT_EQ(fontIndexOf("Small"), 0);
}

TEST_F(Fonts, DamagedHeadersAndEveryTruncationAreRefused)
{
    const std::string full = testFontBytes();
    std::string error;
    for (std::size_t n = 0; n < full.size(); n += 7)
        EXPECT_FALSE(decode(full.substr(0, n), &error)) << n;
    EXPECT_TRUE(decode(full, &error));

    auto patched = [&](std::size_t offset, std::int32_t value) {
        std::string b = full;
        std::memcpy(&b[offset], &value, 4);
        return b;
    };
    EXPECT_FALSE(decode(patched(4, 0), &error));            // no atlas
    EXPECT_FALSE(decode(patched(8, -16), &error));
    EXPECT_FALSE(decode(patched(4, 1 << 30), &error));      // absurd atlas
    EXPECT_FALSE(decode(patched(12, 200), &error));         // first after last
    EXPECT_FALSE(decode(patched(16, 0x7fffffff), &error));  // huge glyph table
    EXPECT_EQ(error, "bad character range 32..2147483647");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::int32_t bits;
    std::memcpy(&bits, &nan, 4);
    EXPECT_FALSE(decode(patched(24, bits), &error));
    EXPECT_EQ(error, "bad glyph record");
}
