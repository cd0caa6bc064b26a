// The system and interface script functions, called from Lua as scripts
// call them, on an interface loaded from a small file: each row's result,
// its argument conversions, what a name that is not found does, and that
// no argument a script can pass breaks any of them.
#include "interface/FCursor.h"
#include "interface/FFonts.h"
#include "interface/FLayout.h"
#include "interface/FXMLLoader.h"
#include "platform/KeyState.h"
#include "script/FLua.h"
#include "script/FLuaFunctions.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include "../support/TestFont.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <climits>

using namespace testing_support;

namespace {

struct ScriptFunctions : ::testing::Test {
    ScratchDir dir;
    void SetUp() override
    {
        startLog();
        initFonts();
        SystemHooks.quit = [this] { ++quits; };
        writeFile("Fonts/Thorndale14.glf", testFontBytes());
        writeFile("ui.xml", R"(<Ui>
  <Frame name="Panel" width="300" height="200"><Anchor x="10" y="20"/>
    <Frame name="Button" EnableMouse="true"><Anchor point="CENTER" relativePoint="CENTER"/>
      <Texture name="Icon" path="Textures\Icon.blp"/>
      <FontString name="Label" text="abc"><Anchor point="CENTER" relativePoint="CENTER"/></FontString>
    </Frame>
  </Frame>
  <Frame name="Top"/>
</Ui>)");
        loadInterface("ui.xml");
    }
    void TearDown() override
    {
        unloadInterface();
        initFonts();
        platform::releaseAllKeys();
        Mouse.pendingCommand.reset();
        setCursorState(CursorPointer, false, false, false, false);
        SystemHooks = TSystemHooks{};
        quits = 0;
    }
    int quits = 0;
    // The value of a Lua expression, as text ("nil" for nil, "true"/"false" for booleans).
    static std::string eval(const std::string& expression)
    {
        runString("Result = " + expression);
        runString("Result = type(Result) == 'boolean' and tostring(Result) or Result");
        getGlobal("Result");
        const char* text = lua_tostring(luaState(), -1);
        std::string value = text ? text : "nil";
        lua_pop(luaState(), 1);
        return value;
    }
    static Component& element(const std::string& name)
    {
        const ComponentRef ref = findComponent(name);
        return *componentAt(ref.kind, ref.index);
    }
    std::string logText() { return readFile("Logs/log.txt"); }
};

}  // namespace

TEST_F(ScriptFunctions, AllThirtyOneAreRegisteredInTheirPlaces)
{
    const char* const names[] = {"IsWinKeyDown", "RunScript", "Log", "include", "GetElapsed", "GetFPS", "GetParent",
                                 "GetClipBoard", "GetControlState", "SetMode", "SetX", "SetY", "GetX", "GetY",
                                 "GetStringWidth", "GetStringHeight", "GetFont", "SetSize", "SetText", "SetColor",
                                 "GetText", "GetPath", "SetPath", "GetWidth", "SetWidth", "GetHeight", "SetHeight",
                                 "SetVisible", "IsVisible", "Quit", "Time"};
    for (const char* name : names)
        EXPECT_EQ(eval(std::string("type(") + name + ")"), "function") << name;
    EXPECT_STREQ(scriptFunctionName(19), "GetElapsed");
    EXPECT_STREQ(scriptFunctionName(24), "SetMode");
    EXPECT_STREQ(scriptFunctionName(94), "SetX");
    EXPECT_STREQ(scriptFunctionName(114), "Time");
}

TEST_F(ScriptFunctions, PositionsAreAnchorOffsetsAndSettersTruncateTowardZero)
{
    EXPECT_EQ(eval("GetX('Button')"), "0");
    runString("SetX('Button', 10.9) SetY('Button', -7.9)");
    EXPECT_EQ(eval("GetX('Button')"), "10");  // the offset, not the laid-out place
    EXPECT_EQ(eval("GetY('Button')"), "-7");
    runString("SetX('Button', '12.5')");  // texts are numbers as Lua converts them
    EXPECT_EQ(eval("GetX('Button')"), "12");
    runString("SetX('Button', nil) SetY('Button', 1e300)");
    EXPECT_EQ(element("Button").offsetX, 0);
    EXPECT_EQ(element("Button").offsetY, INT_MAX);
    runString("SetY('Button', 0/0)");
    EXPECT_EQ(element("Button").offsetY, 0);

    EXPECT_EQ(eval("GetX('Nothing')"), "0");
    EXPECT_NE(logText().find("Debug: Error: Component `Nothing` does not exist"), std::string::npos);
}

TEST_F(ScriptFunctions, SizesInheritUntilSetAndMinusOneRestoresInheritance)
{
    EXPECT_EQ(eval("GetWidth('Button')"), "300");
    EXPECT_EQ(eval("GetHeight('Button')"), "200");
    EXPECT_EQ(eval("GetWidth('Top')"), "1600");
    EXPECT_EQ(eval("GetWidth('Icon')"), "300");
    runString("SetWidth('Button', 40.7) SetHeight('Button', 30)");
    EXPECT_EQ(eval("GetWidth('Icon')"), "40");
    EXPECT_EQ(eval("GetHeight('Button')"), "30");
    runString("SetWidth('Button', -1) SetSize('Panel', 100.9, -20.9)");
    EXPECT_EQ(eval("GetWidth('Button')"), "100");
    EXPECT_EQ(element("Panel").height, -20);
    EXPECT_EQ(eval("GetWidth('Nothing')"), "0");
    EXPECT_EQ(eval("GetHeight('Nothing')"), "0");
}

TEST_F(ScriptFunctions, ColoursRoundHalfToEvenAndStayInRange)
{
    runString("SetColor('Label', 2.5, 3.5, 254.5)");
    const Component& label = element("Label");
    EXPECT_EQ(label.red, 2);
    EXPECT_EQ(label.green, 4);
    EXPECT_EQ(label.blue, 254);
    runString("SetColor('Label', -3, 300, nil)");
    EXPECT_EQ(label.red, 0);
    EXPECT_EQ(label.green, 255);
    EXPECT_EQ(label.blue, 0);
    runString("SetColor('Nothing', 1, 2, 3)");
}

TEST_F(ScriptFunctions, VisibilityTakesAnyValueAsABoolean)
{
    runString("SetVisible('Button', nil)");
    EXPECT_TRUE(element("Button").hidden);
    EXPECT_EQ(eval("IsVisible('Button')"), "false");
    runString("SetVisible('Button', 0)");  // 0 is true in Lua
    EXPECT_EQ(eval("IsVisible('Button')"), "true");
    runString("SetVisible('Button', false)");
    EXPECT_EQ(eval("IsVisible('Button')"), "false");
    runString("SetVisible('Button', {})");
    EXPECT_EQ(eval("IsVisible('Button')"), "true");
    EXPECT_EQ(eval("IsVisible('Nothing')"), "false");
}

TEST_F(ScriptFunctions, ParentsTextsFontsAndPaths)
{
    EXPECT_EQ(eval("GetParent('Label')"), "Button");
    EXPECT_EQ(eval("GetParent('Panel')"), "Interface");
    EXPECT_EQ(eval("GetParent('Interface')"), "");
    EXPECT_EQ(eval("GetParent('Nothing')"), "");

    EXPECT_EQ(eval("GetText('Label')"), "abc");
    runString("SetText('Label', 12)");
    EXPECT_EQ(eval("GetText('Label')"), "12");
    const FontStringType& label = *fontStrings[0];
    EXPECT_EQ(label.width, testGlyphWidth('1') + testGlyphWidth('2'));  // measured at once
    EXPECT_EQ(label.height, std::max(testGlyphHeight('1'), testGlyphHeight('2')));
    runString("SetText('Label', {})");
    EXPECT_EQ(eval("GetText('Label')"), "");
    EXPECT_EQ(label.width, 0);
    EXPECT_EQ(eval("GetText('Icon')"), "");  // a texture is no font string

    EXPECT_EQ(eval("GetFont('Label')"), "0");
    const int abc = testGlyphWidth('a') + testGlyphWidth('b') + testGlyphWidth('c');
    EXPECT_EQ(eval("GetStringWidth('abc', GetFont('Label'))"), std::to_string(abc));
    EXPECT_EQ(eval("GetStringWidth('abc', 0.9)"), std::to_string(abc));
    EXPECT_EQ(eval("GetStringHeight('abc', 0)"), std::to_string(testGlyphHeight('b')));
    EXPECT_EQ(eval("GetStringWidth('abc', 7)"), "0");  // no such font
    EXPECT_EQ(eval("GetStringWidth()"), "0");

    EXPECT_EQ(eval("GetPath('Icon')"), "Textures\\Icon.blp");
    runString("SetPath('Icon', 'Textures\\\\Other.blp')");
    EXPECT_EQ(eval("GetPath('Icon')"), "Textures\\Other.blp");
    EXPECT_EQ(textures[0]->textureId, 0);  // no such file: the cache's neutral name
    EXPECT_EQ(eval("GetPath('Label')"), "");
    EXPECT_NE(logText().find("Debug: Error: Texture `Label` does not exist"), std::string::npos);
}

TEST_F(ScriptFunctions, SetModeStartsOrCancelsTheTargetingCommand)
{
    const struct {
        const char* mode;
        int command;  // 0: none pending
    } cases[] = {{"1", 1}, {"4", 6}, {"5", 4}, {"6", 7}, {"2", 0}, {"4.5", 6}, {"1.5", 0}, {"5.5", 7}, {"0.5", 0}, {"nil", 0}};
    for (const auto& c : cases) {
        runString("SetMode(4)");
        runString(std::string("SetMode(") + c.mode + ")");
        if (c.command == 0) {
            EXPECT_FALSE(Mouse.pendingCommand) << c.mode;
            EXPECT_EQ(cursorState(), CursorPointer) << c.mode;
            continue;
        }
        ASSERT_TRUE(Mouse.pendingCommand) << c.mode;
        EXPECT_EQ(Mouse.pendingCommand->kind, c.command) << c.mode;
        EXPECT_EQ(Mouse.pendingCommand->targetIndex, -1);
        EXPECT_EQ(Mouse.pendingCommand->building, nullptr);
        EXPECT_EQ(cursorState(), CursorTargeting);
    }
    setCursorState(CursorPointer, true, false, false, true);
    runString("SetMode(3)");
    const TScrollFlags flags = cursorScrollFlags();
    EXPECT_FALSE(flags.left || flags.up);  // the pointer comes back without scroll flags
}

TEST_F(ScriptFunctions, ClockKeysClipboardAndQuit)
{
    FrameClock.elapsed = 17;
    FrameClock.totalTime = 5000000000LL;
    FrameClock.fps = 61;
    EXPECT_EQ(eval("GetElapsed()"), "17");
    EXPECT_EQ(eval("Time()"), "5000000000");
    EXPECT_EQ(eval("GetFPS()"), "61");

    platform::setKeyDown(64, true);
    EXPECT_EQ(eval("IsWinKeyDown(64)"), "true");
    EXPECT_EQ(eval("IsWinKeyDown(64.5)"), "true");  // ties go to the even code
    EXPECT_EQ(eval("IsWinKeyDown(63.5)"), "true");
    EXPECT_EQ(eval("IsWinKeyDown(65)"), "false");
    EXPECT_EQ(eval("IsWinKeyDown(1e12)"), "false");
    EXPECT_EQ(eval("GetControlState()"), "false");
    platform::setKeyDown(platform::vk::Control, true);
    EXPECT_EQ(eval("GetControlState()"), "true");
    EXPECT_EQ(eval("GetClipBoard()"), "") << "no window, no clipboard";
    SystemHooks.clipboardText = [] { return std::string("pasted"); };
    EXPECT_EQ(eval("GetClipBoard()"), "pasted");

    runString("Quit()");
    EXPECT_EQ(quits, 1);
    SystemHooks.quit = nullptr;
    runString("Quit()");  // no shell to end: nothing happens
    EXPECT_EQ(quits, 1);
}

TEST_F(ScriptFunctions, RunScriptLogsAtDebugAndIncludeRunsFiles)
{
    runString("RunScript('ran = 1') RunScript('x = = 1') RunScript(nil)");
    EXPECT_EQ(eval("ran"), "1");
    const std::string log = logText();
    EXPECT_NE(log.find("Debug: [string \"line\"]:1: unexpected symbol near '='"), std::string::npos) << log;
    EXPECT_EQ(log.find("Warning"), std::string::npos) << log;

    writeFile("more.lua", "included = 'yes'");
    runString("include('more.lua') include('missing.lua') include({})");
    EXPECT_EQ(eval("included"), "yes");
    EXPECT_NE(logText().find("Warning: File `missing.lua` does not exist"), std::string::npos);
}

// Every function but Quit, with every kind of value a script can pass.
TEST_F(ScriptFunctions, NoArgumentsBreakAnyFunction)
{
    runString(R"(
      local values = { nil, true, false, 0, -1, 1e308, -1e308, 0/0, "", "Label", "Icon", "Button", {}, print }
      Survived = 0
      for i = 0, 400 do
        local name = ({ "IsWinKeyDown", "RunScript", "Log", "include", "GetElapsed", "GetFPS", "GetParent",
          "GetClipBoard", "GetControlState", "SetMode", "SetX", "SetY", "GetX", "GetY", "GetStringWidth",
          "GetStringHeight", "GetFont", "SetSize", "SetText", "SetColor", "GetText", "GetPath", "SetPath",
          "GetWidth", "SetWidth", "GetHeight", "SetHeight", "SetVisible", "IsVisible", "Time" })[math.mod(i, 30) + 1]
        local a = values[math.mod(i, 14) + 1]
        local b = values[math.mod(i * 7, 14) + 1]
        local c = values[math.mod(i * 11, 14) + 1]
        if pcall(_G[name], a, b, c, a) then Survived = Survived + 1 end
        pcall(_G[name])
      end)");
    EXPECT_EQ(eval("Survived"), "401");
    EXPECT_EQ(quits, 0);
}
