#include "assets/FTga.h"

#include "../support/TestSupport.h"
#include "shell/FLogs.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

std::string tga(int imageType, int colourMap, int depth, int width, int height, std::size_t pixelBytes, int idLength = 0)
{
    std::string h(18, '\0');
    h[0] = static_cast<char>(idLength);
    h[1] = static_cast<char>(colourMap);
    h[2] = static_cast<char>(imageType);
    h[12] = static_cast<char>(width & 255);
    h[13] = static_cast<char>(width >> 8);
    h[14] = static_cast<char>(height & 255);
    h[15] = static_cast<char>(height >> 8);
    h[16] = static_cast<char>(depth);
    std::string body;
    for (std::size_t i = 0; i < pixelBytes; ++i)
        body += static_cast<char>(i + 1);
    return h + body;
}

std::string lastLogMessage()
{
    std::vector<std::string> lines = readLines("Logs/log.txt");
    std::string line = lines.back();
    line.pop_back();  // CR
    return line.substr(13);
}

class Tga : public ::testing::Test {
protected:
    ScratchDir dir;
    void SetUp() override { startLog(); }
};

}  // namespace

TEST_F(Tga, TwentyFourAndThirtyTwoBitsSwapToRedFirstInFileRowOrder)
{
    writeFile("rgb.tga", tga(2, 0, 24, 2, 1, 6));
    std::optional<TTgaImage> rgb = readTga("rgb.tga");
    ASSERT_TRUE(rgb);
    EXPECT_FALSE(rgb->hasAlpha);
    EXPECT_EQ(rgb->pixels, (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4}));

    writeFile("rgba.tga", tga(2, 0, 32, 1, 2, 8));
    std::optional<TTgaImage> rgba = readTga("rgba.tga");
    ASSERT_TRUE(rgba);
    EXPECT_TRUE(rgba->hasAlpha);
    EXPECT_EQ(rgba->width, 1);
    EXPECT_EQ(rgba->height, 2);
    EXPECT_EQ(rgba->pixels, (std::vector<std::uint8_t>{3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST_F(Tga, EachUnsupportedKindHasItsOwnMessage)
{
    writeFile("rle.tga", tga(10, 0, 24, 1, 1, 3));
    EXPECT_FALSE(readTga("rle.tga"));
    EXPECT_EQ(lastLogMessage(), "Debug: Couldn't load \"rle.tga\". Compressed TGA files not supported.");

    writeFile("map.tga", tga(2, 1, 24, 1, 1, 3));
    EXPECT_FALSE(readTga("map.tga"));
    EXPECT_EQ(lastLogMessage(), "Debug: Couldn't load \"map.tga\". Colormapped TGA files not supported.");

    writeFile("16.tga", tga(2, 0, 16, 1, 1, 2));
    EXPECT_FALSE(readTga("16.tga"));
    EXPECT_EQ(lastLogMessage(), "Debug: Couldn't load \"16.tga\". Only 24 bit TGA files supported.");

    writeFile("28.tga", tga(2, 0, 28, 1, 1, 4));
    EXPECT_FALSE(readTga("28.tga")) << "depths between 24 and 32 have no known layout";
}

TEST_F(Tga, MissingAndTruncatedFiles)
{
    EXPECT_FALSE(readTga("Textures/none.tga"));
    EXPECT_EQ(lastLogMessage(), "Debug: Error: File not found `Textures/none.tga`");

    writeFile("short.tga", tga(2, 0, 24, 4, 4, 47));
    EXPECT_FALSE(readTga("short.tga"));
    EXPECT_EQ(lastLogMessage(), "Debug: Couldn't read file \"short.tga\".");

    writeFile("header.tga", tga(2, 0, 24, 4, 4, 0).substr(0, 10));
    EXPECT_FALSE(readTga("header.tga"));

    // A huge size in a small file must be refused before anything is allocated.
    writeFile("huge.tga", tga(2, 0, 32, 65535, 65535, 16));
    EXPECT_FALSE(readTga("huge.tga"));
    EXPECT_EQ(lastLogMessage(), "Debug: Couldn't read file \"huge.tga\".");

    // A mod's texture name may point at a device or a folder: refused, never read for ever.
    EXPECT_FALSE(readTga("/dev/zero"));
    EXPECT_NE(lastLogMessage().find("/dev/zero"), std::string::npos);
    EXPECT_FALSE(readTga("Logs"));
}

TEST_F(Tga, IdentificationFieldIsNotSkipped)
{
    // The pixel data is taken to start right after the header, as older tools wrote it.
    writeFile("id.tga", tga(2, 0, 24, 1, 1, 6, 3));
    std::optional<TTgaImage> image = readTga("id.tga");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<std::uint8_t>{3, 2, 1}));
}
