// The interface drawn with a real GL context: textures where their anchors
// put them, text in its colour, OnUpdate only for visible frames.
#include "interface/FCursor.h"
#include "interface/FDrawFrame.h"
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "assets/FTextures.h"
#include "script/FLua.h"
#include "shell/FLogs.h"

#include "../support/OffscreenContext.h"
#include "../support/TestFont.h"
#include "../support/TestSupport.h"

#include <lua.hpp>

using namespace testing_support;

namespace {

std::string redTga()
{
    std::string h(18, '\0');
    h[2] = 2;
    h[12] = 2;
    h[14] = 2;
    h[16] = 24;
    std::string pixels;
    for (int i = 0; i < 4; ++i)
        pixels += std::string("\x00\x00\xff", 3);  // BGR
    return h + pixels;
}

class InterfaceDrawing : public OffscreenContext {
protected:
    ScratchDir dir;
    void SetUp() override
    {
        OffscreenContext::SetUp();
        startLog();
        InitTextures();
        initFonts();
        writeFile("Fonts/Thorndale14.glf", testFontBytes());
        writeFile("Textures/Red.tga", redTga());
    }
    void TearDown() override
    {
        unloadInterface();
        initFonts();
        OffscreenContext::TearDown();
    }
    // One interface pass as the render frame does it, then the picture.
    std::vector<std::uint8_t> draw()
    {
        glClear(GL_COLOR_BUFFER_BIT);
        setInterfaceProjection(SurfaceWidth, SurfaceHeight);
        glPushMatrix();
        glScalef(SurfaceWidth / 1600.0f, SurfaceHeight / 1200.0f, 1);
        drawFrame(0);
        glPopMatrix();
        return readFramePixels(SurfaceWidth, SurfaceHeight);
    }
    // The pixel under a point of the design area.
    const std::uint8_t* design(const std::vector<std::uint8_t>& p, int x, int y)
    {
        return at(p, x * SurfaceWidth / 1600, y * SurfaceHeight / 1200);
    }
    static double number(const char* name)
    {
        getGlobal(name);
        const double value = lua_tonumber(luaState(), -1);
        lua_pop(luaState(), 1);
        return value;
    }
};

}  // namespace

TEST_F(InterfaceDrawing, TexturesAndTextAppearWhereTheirAnchorsPutThem)
{
    writeFile("ui.xml", R"(<Ui>
  <Frame name="Box" width="400" height="200"><Anchor x="100" y="100"/>
    <Texture name="Fill" path="Textures\Red.blp"/>
    <FontString name="Words" text="MMMMMMMM" r="0" g="255" b="0"><Anchor point="TOPLEFT" relativeTo="Below" y="0"/></FontString>
  </Frame>
  <Frame name="Below" width="400" height="100"><Anchor point="TOPLEFT" relativeTo="Box" relativePoint="BOTTOMLEFT" y="50"/></Frame>
</Ui>)");
    loadInterface("ui.xml");
    ASSERT_TRUE(InterfaceReady);
    draw();
    std::vector<std::uint8_t> p = draw();  // the second frame sees Below placed

    const std::uint8_t* inside = design(p, 300, 200);
    EXPECT_EQ(inside[0], 255);
    EXPECT_EQ(inside[1], 0);
    const std::uint8_t* outside = design(p, 560, 200);
    EXPECT_EQ(outside[0], 0);

    const FontStringType& words = *fontStrings[0];
    EXPECT_EQ(words.x, 100);
    EXPECT_EQ(words.y, 350);
    // Somewhere in the text's box the stroke shows in its own colour.
    bool green = false;
    for (int y = words.y; y < words.y + words.height && !green; ++y)
        for (int x = words.x; x < words.x + words.width && !green; ++x) {
            const std::uint8_t* c = design(p, x, y);
            green = c[1] > 200 && c[0] < 50 && c[2] < 50;
        }
    EXPECT_TRUE(green);
}

TEST_F(InterfaceDrawing, OnUpdateRunsForVisibleFramesOnlyEveryDrawnFrame)
{
    writeFile("ui.xml", R"(<Ui>
  <OnUpdate>rootTicks = (rootTicks or 0) + 1</OnUpdate>
  <Frame name="Shown"><OnUpdate>shown = (shown or 0) + 1</OnUpdate></Frame>
  <Frame name="Hidden" hidden="true"><OnUpdate>hidden = (hidden or 0) + 1</OnUpdate>
    <Frame name="Child"><OnUpdate>hidden = (hidden or 0) + 1</OnUpdate></Frame>
  </Frame>
  <Frame name="Template" virtual="true"><OnUpdate>hidden = (hidden or 0) + 1</OnUpdate></Frame>
</Ui>)");
    loadInterface("ui.xml");
    draw();
    draw();
    EXPECT_EQ(number("rootTicks"), 2);
    EXPECT_EQ(number("shown"), 2);
    EXPECT_EQ(number("hidden"), 0);
    frames[static_cast<std::size_t>(findFrame("Hidden"))]->hidden = false;
    draw();
    EXPECT_EQ(number("hidden"), 2);
}

TEST_F(InterfaceDrawing, ARootSizedZeroOrMinusOneDrawsNothingButItsHandlersStillRun)
{
    writeFile("ui.xml", R"(<Ui>
  <OnUpdate>ticks = (ticks or 0) + 1</OnUpdate>
  <Frame name="Box" width="400" height="200" EnableMouse="true"><Anchor x="100" y="100"/>
    <Texture name="Fill" path="Textures\Red.blp"/>
    <OnEnter>entered = (entered or 0) + 1</OnEnter>
    <OnMouseDown>pressed = arg1</OnMouseDown>
  </Frame>
</Ui>)");
    loadInterface("ui.xml");
    Mouse.interfaceX = 200;
    Mouse.interfaceY = 150;
    Mouse.buttonCode = 0;
    for (const char* size : {"-1", "0"}) {
        runString(std::string("SetWidth('Interface', ") + size + ") entered = 0 ticks = 0 pressed = 0");
        frames[static_cast<std::size_t>(findFrame("Box"))]->mouseInside = false;
        glClear(GL_COLOR_BUFFER_BIT);
        interfacePass();
        buttonEvent(1);
        interfacePass();
        EXPECT_EQ(number("ticks"), 2) << size;
        EXPECT_EQ(number("entered"), 1) << size;
        EXPECT_EQ(number("pressed"), 1) << size;
        EXPECT_EQ(Mouse.buttonCode, 0) << "the press was delivered";
        const std::vector<std::uint8_t> p = readFramePixels(SurfaceWidth, SurfaceHeight);
        EXPECT_EQ(design(p, 300, 200)[0], 0) << "nothing is drawn without a scale";
    }
    runString("SetWidth('Interface', 1600)");
    interfacePass();
    EXPECT_EQ(design(readFramePixels(SurfaceWidth, SurfaceHeight), 300, 200)[0], 255);
}
