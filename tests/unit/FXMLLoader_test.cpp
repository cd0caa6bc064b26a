// The loader on small interface files written by each test.
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "script/FLua.h"
#include "shell/FLogs.h"

#include "../support/TestFont.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>
#include <lua.hpp>

using namespace testing_support;

namespace {

struct Loader : ::testing::Test {
    ScratchDir dir;
    void SetUp() override
    {
        startLog();
        initFonts();
        writeFile("Fonts/Thorndale14.glf", testFontBytes());
        writeFile("Fonts/Big.glf", testFontBytes(32, 90));
    }
    void TearDown() override
    {
        unloadInterface();
        initFonts();
    }
    std::string logText() { return readFile("Logs/log.txt"); }
    void load(const std::string& xml)
    {
        writeFile("ui.xml", xml);
        loadInterface("ui.xml");
    }
    static FrameType& frame(const std::string& name) { return *frames[static_cast<std::size_t>(findFrame(name))]; }
    static std::string global(const char* name)
    {
        lua_getglobal(luaState(), name);
        const char* text = lua_tostring(luaState(), -1);
        std::string value = text ? text : "(nil)";
        lua_pop(luaState(), 1);
        return value;
    }
};

}  // namespace

TEST_F(Loader, BuildsTheTreeWithDefaultsAndSkipsUnknownTags)
{
    load(R"(<Ui>
  <Frame name="Panel">
    <Texture name="Picture"/>
    <FontString name="Caption" width="500" text="Hi there"/>
    <OnClick><Frame name="Lost"/></OnClick>
    <Frame name="Inner" width="20" r="10" hidden="true" EnableMouse="true" EnableKeyboard="yes"/>
  </Frame>
  <Frame name="Second"/>
</Ui>)");
    EXPECT_TRUE(InterfaceReady);
    ASSERT_EQ(frames.size(), 4u);
    const FrameType& root = *frames[0];
    EXPECT_EQ(root.name, "Interface");
    EXPECT_EQ(root.width, 1600);
    EXPECT_EQ(root.height, 1200);
    EXPECT_EQ(root.parent, -1);
    EXPECT_EQ(root.children, (std::vector<std::int32_t>{1, 3}));

    const FrameType& panel = frame("Panel");
    EXPECT_EQ(panel.width, -1);
    EXPECT_EQ(panel.height, -1);
    EXPECT_EQ(panel.parent, 0);
    EXPECT_EQ(panel.relativeKind, KindFrame);
    EXPECT_EQ(panel.relativeIndex, 0);
    EXPECT_EQ(panel.point, AnchorTopLeft);
    EXPECT_EQ(panel.red + panel.green + panel.blue, 765);
    EXPECT_FALSE(panel.hidden || panel.isVirtual || panel.enableMouse || panel.enableKeyboard);
    EXPECT_EQ(panel.textureList, std::vector<std::int32_t>{0});
    EXPECT_EQ(panel.fontStringList, std::vector<std::int32_t>{0});
    EXPECT_EQ(panel.children, std::vector<std::int32_t>{2});

    const FrameType& inner = frame("Inner");
    EXPECT_EQ(inner.width, 20);
    EXPECT_EQ(inner.red, 10);
    EXPECT_TRUE(inner.hidden);
    EXPECT_TRUE(inner.enableMouse);
    EXPECT_FALSE(inner.enableKeyboard);  // only the exact text "true"

    const TextureType& picture = *textures[0];
    EXPECT_EQ(picture.parent, 1);
    EXPECT_EQ(picture.path, "");
    EXPECT_EQ(picture.textureId, 0);
    EXPECT_FLOAT_EQ(picture.top, 0);
    EXPECT_FLOAT_EQ(picture.right, 1);
    EXPECT_FLOAT_EQ(picture.bottom, 1);
    EXPECT_FLOAT_EQ(picture.left, 0);

    // The text is measured whatever the file says; the default font is loaded.
    const FontStringType& caption = *fontStrings[0];
    EXPECT_EQ(caption.fontName, "Thorndale14");
    EXPECT_EQ(caption.fontIndex, fontIndexOf("Thorndale14"));
    int width = 0;
    for (char c : std::string("Hi there"))
        width += testGlyphWidth(c);
    EXPECT_EQ(caption.width, width);

    EXPECT_EQ(findFrame("Lost"), -1);
    const std::string log = logText();
    EXPECT_NE(log.find("Debug: Loading ui.xml\r\n"), std::string::npos);
    EXPECT_NE(log.find("Debug: Error: Frame `Lost` does not exist\r\n"), std::string::npos);
    EXPECT_NE(log.find("Debug: Interface Loaded\r\n"), std::string::npos);
}

TEST_F(Loader, AttributesAnchorsAndFonts)
{
    load(R"(<Ui>
  <Frame name="Box" width="300" height="200" BorderSize="16" virtual="false">
    <Anchor point="center" relativePoint="BOTTOMright" x="5" y="-7"/>
    <Anchor x="6"/>
    <Texture name="Icon" path="Textures/none.blp" top="25" left="12.5" bottom="75" right="100"/>
    <FontString name="Title" font="Big" size="20" text="VRAX" r="0" g="128" b="255">
      <Anchor point="middle" relativeTo="Box"/>
    </FontString>
  </Frame>
</Ui>)");
    const FrameType& box = frame("Box");
    EXPECT_EQ(box.width, 300);
    EXPECT_EQ(box.height, 200);
    EXPECT_EQ(box.borderSize, 16);
    EXPECT_EQ(box.point, AnchorCenter);
    EXPECT_EQ(box.relativePoint, AnchorBottomRight);
    EXPECT_EQ(box.offsetX, 6);  // later anchors win
    EXPECT_EQ(box.offsetY, -7);

    const TextureType& icon = *textures[0];
    EXPECT_EQ(icon.path, "Textures/none.blp");
    EXPECT_FLOAT_EQ(icon.top, 0.25f);
    EXPECT_FLOAT_EQ(icon.left, 0.125f);
    EXPECT_FLOAT_EQ(icon.bottom, 0.75f);
    EXPECT_FLOAT_EQ(icon.right, 1.0f);

    const FontStringType& title = *fontStrings[0];
    EXPECT_EQ(title.point, AnchorTopLeft);  // not an anchor point name
    EXPECT_EQ(title.fontName, "Big");
    EXPECT_EQ(title.fontIndex, fontIndexOf("Big"));
    EXPECT_NE(title.fontIndex, fontIndexOf("Thorndale14"));
    EXPECT_EQ(title.size, 20);
    EXPECT_EQ(title.green, 128);
    EXPECT_EQ(title.relativeKind, KindFrame);
    EXPECT_EQ(title.relativeIndex, findFrame("Box"));
}

TEST_F(Loader, TemplatesCopyTheirSubtreeWithParentNames)
{
    load(R"(<Ui>
  <Frame name="ButtonTemplate" virtual="true" width="120" EnableMouse="true" Background="Textures/bg.blp">
    <OnLoad>loads = (loads or '') .. self .. ';'</OnLoad>
    <OnEnter>entered = self</OnEnter>
    <Frame name="$parentGlow">
      <OnLoad>loads = (loads or '') .. 'glow;'</OnLoad>
    </Frame>
    <Texture name="$parentIcon" path="Textures/icon.blp"><Anchor relativeTo="$parentGlow"/></Texture>
    <FontString name="$parentLabel" text="OK"/>
  </Frame>
  <Frame name="Panel">
    <Frame name="Ok" inherit="ButtonTemplate" width="90"/>
    <Frame inherit="ButtonTemplate"/>
  </Frame>
  <Frame name="Base" width="10"><Frame name="BaseChild"/></Frame>
  <Frame inherit="Base"/>
  <Frame name="Named" inherit="Base"/>
</Ui>)");
    // The template itself keeps "$parent" and runs no load handler, nor do its children.
    const FrameType& tmpl = frame("ButtonTemplate");
    EXPECT_TRUE(tmpl.isVirtual);
    EXPECT_NE(findFrame("$parentGlow"), -1);
    EXPECT_NE(findTexture("$parentIcon"), -1);

    const FrameType& ok = frame("Ok");
    EXPECT_FALSE(ok.isVirtual);
    EXPECT_EQ(ok.width, 90);  // the file's attributes win over the template
    EXPECT_TRUE(ok.enableMouse);
    EXPECT_EQ(ok.background, "Textures/bg.blp");
    EXPECT_EQ(ok.scripts.OnEnter, "entered = self");
    ASSERT_EQ(ok.children.size(), 1u);
    const FrameType& glow = *frames[static_cast<std::size_t>(ok.children[0])];
    EXPECT_EQ(glow.name, "OkGlow");
    EXPECT_EQ(glow.parent, findFrame("Ok"));
    EXPECT_FALSE(glow.isVirtual);
    ASSERT_EQ(ok.textureList.size(), 1u);
    const TextureType& icon = *textures[static_cast<std::size_t>(ok.textureList[0])];
    EXPECT_EQ(icon.name, "OkIcon");
    EXPECT_EQ(icon.relativeTo, "OkGlow");
    EXPECT_EQ(icon.path, "Textures/icon.blp");
    EXPECT_EQ(icon.relativeIndex, findFrame("OkGlow"));
    ASSERT_EQ(ok.fontStringList.size(), 1u);
    EXPECT_EQ(fontStrings[static_cast<std::size_t>(ok.fontStringList[0])]->name, "OkLabel");
    EXPECT_EQ(fontStrings[static_cast<std::size_t>(ok.fontStringList[0])]->text, "OK");

    // An unnamed instance gives its copies the empty name for "$parent", and
    // takes the template's name itself.
    EXPECT_NE(findFrame("Glow"), -1);
    // Only instances written in the file run the copied load handler; copies never do.
    EXPECT_EQ(global("loads"), "Ok;ButtonTemplate;");

    // A non-virtual template passes on its name: lookups find the first.
    const std::size_t copy = static_cast<std::size_t>(findFrame("BaseChild")) + 1;
    ASSERT_LT(copy, frames.size());
    EXPECT_EQ(frames[copy]->name, "Base");
    EXPECT_EQ(frames[copy]->width, 10);
    EXPECT_EQ(frames[copy]->children.size(), 1u);
    EXPECT_EQ(frames[static_cast<std::size_t>(frames[copy]->children[0])]->name, "BaseChild");
    EXPECT_EQ(frame("Named").width, 10);
    EXPECT_EQ(frame("Named").children.size(), 1u);
}

TEST_F(Loader, ParentAttributeIncludesHandlersAndLoadOrder)
{
    writeFile("Interface/extra.lua", "fromLua = 'yes'\nLog('lua ran')\n");
    writeFile("Interface/part.xml", R"(<Ui><Frame name="Included"><OnLoad>order = (order or '') .. self .. ';'</OnLoad></Frame>
<Include xml="ui.xml"/></Ui>)");
    load(R"(<Ui>
  <OnUpdate>ticks = (ticks or 0) + 1</OnUpdate>
  <Script file="Interface/menu.lua">print('never')</Script>
  <Frame name="A"/>
  <Frame name="B">
    <OnLoad>order = (order or '') .. self .. ';'</OnLoad>
    <OnLoad>order = (order or '') .. 'B2;'</OnLoad>
    <Frame name="C" parent="A"><OnLoad>order = (order or '') .. self .. ';'</OnLoad></Frame>
    <Frame name="D" parent="Nobody"/>
    <Include lua="Interface\EXTRA.lua" xml="Interface/part.xml"/>
  </Frame>
</Ui>)");
    EXPECT_EQ(frames[0]->scripts.OnUpdate, "ticks = (ticks or 0) + 1");
    const FrameType& c = frame("C");
    EXPECT_EQ(c.parent, findFrame("A"));
    EXPECT_EQ(c.relativeIndex, findFrame("A"));
    EXPECT_EQ(frame("B").children.size(), 3u);  // C stays in the tree where it was written
    EXPECT_EQ(frame("D").parent, findFrame("B"));
    EXPECT_EQ(frame("Included").parent, findFrame("B"));
    EXPECT_EQ(global("fromLua"), "yes");
    // Children load before their parent; a later handler replaces the earlier one.
    EXPECT_EQ(global("order"), "C;Included;B2;");
    EXPECT_EQ(global("self"), "B");

    const std::string log = logText();
    EXPECT_NE(log.find("Debug: Addline : Interface/menu.lua\r\n"), std::string::npos);
    EXPECT_NE(log.find("Debug: Addline : print('never')\r\n"), std::string::npos);
    EXPECT_NE(log.find("Debug: Error: Frame `Nobody` does not exist"), std::string::npos);
    EXPECT_NE(log.find("Debug: Loading Interface\\EXTRA.lua\r\n"), std::string::npos);
    EXPECT_NE(log.find("Debug: lua ran\r\n"), std::string::npos);
    EXPECT_NE(log.find("Warning: File `ui.xml` includes itself"), std::string::npos);
    EXPECT_TRUE(InterfaceReady);
}

TEST_F(Loader, AnchorsResolveByNameAtTheEndToAnyKind)
{
    load(R"(<Ui>
  <Frame name="First"><Anchor relativeTo="Last"/>
    <Texture name="Pic"><Anchor relativeTo="Words"/></Texture>
    <FontString name="Words"><Anchor relativeTo="Pic"/></FontString>
  </Frame>
  <Frame name="Stray"><Anchor relativeTo="Nowhere" point="CENTER"/></Frame>
  <Frame name="Last"/>
</Ui>)");
    EXPECT_EQ(frame("First").relativeKind, KindFrame);
    EXPECT_EQ(frame("First").relativeIndex, findFrame("Last"));
    EXPECT_EQ(textures[0]->relativeKind, KindFontString);
    EXPECT_EQ(fontStrings[0]->relativeKind, KindTexture);
    EXPECT_EQ(frame("Stray").relativeIndex, 0);
    EXPECT_NE(logText().find("Debug: Error: Component `Nowhere` does not exist"), std::string::npos);
    const ComponentRef ref = findComponent("Words");
    EXPECT_EQ(ref.kind, KindFontString);
    EXPECT_EQ(componentAt(ref.kind, ref.index), fontStrings[0].get());
    EXPECT_EQ(componentAt(KindTexture, 5), nullptr);
    EXPECT_EQ(componentAt(7, 0), nullptr);
}

TEST_F(Loader, ABrokenLimitOrABadNumberEndsTheLoadUnready)
{
    std::string many = "<Ui><Frame name=\"Full\">";
    for (int i = 0; i < 512; ++i)
        many += "<Texture/>";
    load(many + "</Frame></Ui>");
    EXPECT_TRUE(InterfaceReady);

    EXPECT_THROW(load(many + "<Texture/></Frame></Ui>"), EngineError);
    EXPECT_FALSE(InterfaceReady);

    auto nested = [](int depth) {
        std::string xml = "<Ui>";
        for (int i = 0; i < depth; ++i)
            xml += "<Frame>";
        for (int i = 0; i < depth; ++i)
            xml += "</Frame>";
        return xml + "</Ui>";
    };
    load(nested(511));
    EXPECT_TRUE(InterfaceReady);
    EXPECT_THROW(load(nested(512)), EngineError);
    EXPECT_FALSE(InterfaceReady);

    EXPECT_THROW(load(R"(<Ui><Frame name="A" width="wide"/><Frame name="B"/></Ui>)"), EngineError);
    EXPECT_FALSE(InterfaceReady);
    EXPECT_EQ(findFrame("B"), -1);  // the load stopped at the bad number
    EXPECT_NE(logText().find("Error: Loading ui.xml stopped: 'wide' is not a valid integer value"), std::string::npos);

    // Templates that double at every level are refused, not allowed to exhaust memory.
    std::string bomb = "<Ui><Frame name=\"T0\" virtual=\"true\"><Frame/><Frame/></Frame>";
    for (int i = 1; i < 20; ++i)
        bomb += "<Frame name=\"T" + std::to_string(i) + "\" virtual=\"true\"><Frame inherit=\"T" + std::to_string(i - 1) +
                "\"/><Frame inherit=\"T" + std::to_string(i - 1) + "\"/></Frame>";
    EXPECT_THROW(load(bomb + "</Ui>"), EngineError);
    // So are names that double at every level of nested templates.
    std::string names = "<Ui><Frame name=\"N0\" virtual=\"true\"><Frame name=\"$parent$parent\"/></Frame>";
    for (int i = 1; i < 40; ++i)
        names += "<Frame name=\"N" + std::to_string(i) + "\" virtual=\"true\"><Frame name=\"$parent$parent\" inherit=\"N" +
                 std::to_string(i - 1) + "\"/></Frame>";
    EXPECT_THROW(load(names + "<Frame name=\"Top\"><Frame name=\"X\" inherit=\"N39\"/></Frame></Ui>"), EngineError);
    EXPECT_NE(logText().find("through $parent"), std::string::npos);
}

TEST_F(Loader, MissingOrMalformedFilesStillCompleteTheLoad)
{
    loadInterface("absent.xml");
    EXPECT_TRUE(InterfaceReady);
    EXPECT_EQ(frames.size(), 1u);
    EXPECT_NE(logText().find("Debug: Error: File `absent.xml` does not exist"), std::string::npos);

    load("<Ui>\n<Frame name=\"A\">\n</Ui>\n");
    EXPECT_TRUE(InterfaceReady);
    EXPECT_EQ(frames.size(), 1u);
    EXPECT_NE(logText().find("Debug: Addline : Error loading ui.xml: Start-end tags mismatch (line 3)"),
              std::string::npos)
        << logText();

    unloadInterface();
    EXPECT_FALSE(InterfaceReady);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(luaState(), nullptr);
}
