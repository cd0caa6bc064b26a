// The texture cache with a real GL context: names, hits and cached failures.
#include "assets/FTextures.h"

#include "../support/OffscreenContext.h"
#include "../support/TestSupport.h"
#include "shell/FLogs.h"

#include <algorithm>

using namespace testing_support;

namespace {

std::string whiteTga(int depth)
{
    std::string h(18, '\0');
    h[2] = 2;
    h[12] = 2;
    h[14] = 2;
    h[16] = static_cast<char>(depth);
    return h + std::string(static_cast<std::size_t>(4 * depth / 8), '\xff');
}

class TextureCache : public OffscreenContext {
protected:
    ScratchDir dir;
    void SetUp() override
    {
        OffscreenContext::SetUp();
        startLog();
        writeFile("Textures/Shared/Blank.tga", whiteTga(32));
        writeFile("Textures/Shared/Circle.tga", whiteTga(24));
        InitTextures();
    }
    long logCount(const std::string& text)
    {
        std::vector<std::string> lines = readLines("Logs/log.txt");
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& l) { return l.find(text) != std::string::npos; });
    }
};

}  // namespace

TEST_F(TextureCache, SharedTexturesLoadAndAMissingOneIsZero)
{
    EXPECT_NE(BlankTexture, 0u);
    EXPECT_NE(CircleTexture, 0u);
    EXPECT_EQ(TransparentTexture, 0u);
    ASSERT_EQ(textureCache().size(), 3u);
    EXPECT_EQ(textureCache()[1]->path, "Textures/Shared/Transparent.tga");
}

TEST_F(TextureCache, BlpAndTgaNamesShareOneEntry)
{
    writeFile("Textures/Unit.tga", whiteTga(24));
    unsigned first = LoadTexture("Textures/Unit.blp");
    EXPECT_NE(first, 0u);
    EXPECT_EQ(LoadTexture("Textures/Unit.blp"), first);
    EXPECT_EQ(LoadTexture("Textures/Unit.tga"), first);
    EXPECT_EQ(textureCache().size(), 4u);
    EXPECT_NE(LoadTexture("textures/unit.blp"), first) << "letter case makes a new entry";
    EXPECT_EQ(textureCache().size(), 5u);
}

TEST_F(TextureCache, EmptyAndShortPaths)
{
    EXPECT_EQ(LoadTexture(""), 0u);
    EXPECT_EQ(textureCache().size(), 3u);
    EXPECT_EQ(LoadTexture("ab"), 0u);
    EXPECT_EQ(textureCache().back()->path, "tga");
}

TEST_F(TextureCache, AFailedLoadIsCachedAndNotLoggedAgain)
{
    writeFile("broken.tga", whiteTga(24).substr(0, 20));
    EXPECT_EQ(LoadTexture("broken.blp"), 0u);
    EXPECT_EQ(LoadTexture("broken.blp"), 0u);
    EXPECT_EQ(logCount("Couldn't read file \"broken.tga\"."), 1);
    writeFile("broken.tga", whiteTga(24));
    EXPECT_EQ(LoadTexture("broken.blp"), 0u) << "no retry while the program runs";
}

TEST_F(TextureCache, UploadedTextureDrawsItsColours)
{
    std::string red = whiteTga(24);
    for (std::size_t i = 18; i < red.size(); i += 3) {
        red[i] = 0;        // blue
        red[i + 1] = 0;    // green
    }
    writeFile("red.tga", red);
    unsigned id = LoadTexture("red.blp");
    setInterfaceProjection(SurfaceWidth, SurfaceHeight);
    glEnable(GL_TEXTURE_2D);
    BindTexture(id);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex2i(0, 0);
    glTexCoord2f(1, 0); glVertex2i(64, 0);
    glTexCoord2f(1, 1); glVertex2i(64, 64);
    glTexCoord2f(0, 1); glVertex2i(0, 64);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    std::vector<std::uint8_t> pixels = readFramePixels(SurfaceWidth, SurfaceHeight);
    EXPECT_EQ(at(pixels, 32, 32)[0], 255);
    EXPECT_EQ(at(pixels, 32, 32)[2], 0);
}
