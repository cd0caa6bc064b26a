// The Lua host: errors, globals, broadcasts and the keyboard walk, on
// interfaces loaded from small files.
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "platform/KeyState.h"
#include "script/FLua.h"
#include "script/FLuaFunctions.h"
#include "shell/FLogs.h"

#include "../support/TestFont.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <iterator>
#include <utility>

using namespace testing_support;

namespace {

struct Lua : ::testing::Test {
    ScratchDir dir;
    void SetUp() override
    {
        startLog();
        initFonts();
        writeFile("Fonts/Thorndale14.glf", testFontBytes());
    }
    void TearDown() override
    {
        unloadInterface();
        initFonts();
        setScriptInstructionLimit(0);
    }
    std::string logText() { return readFile("Logs/log.txt"); }
    static std::string global(const char* name)
    {
        getGlobal(name);
        const char* text = lua_tostring(luaState(), -1);
        std::string value = text ? text : "(nil)";
        lua_pop(luaState(), 1);
        return value;
    }
    void load(const std::string& xml)
    {
        writeFile("ui.xml", xml);
        loadInterface("ui.xml");
    }
};

}  // namespace

TEST_F(Lua, ScriptErrorsAreLoggedAtWarningAndEverythingGoesOn)
{
    createState();
    runString("x = = 1");
    runString("error('boom')");
    runString("error({})");
    runString("local t = nil; t.field = 1");
    runString("");
    runString("y = 5");
    EXPECT_EQ(global("y"), "5");
    EXPECT_EQ(lua_gettop(luaState()), 0);  // nothing left behind

    writeFile("Scripts/bad.lua", "-- first line\nerror('in file')\n");
    runFile("Scripts/bad.lua");
    runFile("Scripts/none.lua");

    const std::string log = logText();
    for (const char* line : {"Warning: [string \"line\"]:1: unexpected symbol near '='\r\n",
                             "Warning: [string \"line\"]:1: boom\r\n", "Warning: (error object is a table value)\r\n",
                             "Warning: [string \"line\"]:1: attempt to index local 't' (a nil value)\r\n",
                             "Debug: Loading Scripts/bad.lua\r\n", "Warning: Scripts/bad.lua:2: in file\r\n",
                             "Warning: File `Scripts/none.lua` does not exist\r\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
}

TEST_F(Lua, TheStateOffersTheSafeLibrariesAndTheRegisteredFunctions)
{
    createState();
    runString("ok = io == nil and os == nil and require == nil and loadlib == nil and package == nil "
              "and dofile == nil and loadfile == nil "
              "and type(string.format) == 'function' and type(table.insert) == 'function' "
              "and type(math.floor) == 'function' and type(Log) == 'function'");
    getGlobal("ok");
    EXPECT_TRUE(lua_toboolean(luaState(), -1));
    lua_pop(luaState(), 1);

    runString("Log('hello', 3) Log(42) Log() Log({})");
    runString("RunScript('z = = 2') RunScript('z = 7') RunScript(nil)");
    writeFile("inc.lua", "included = 'yes'");
    runString("include('inc.lua') include()");
    EXPECT_EQ(global("z"), "7");
    EXPECT_EQ(global("included"), "yes");
    const std::string log = logText();
    EXPECT_NE(log.find("Debug: hello\r\n"), std::string::npos);
    EXPECT_NE(log.find("Debug: 42\r\n"), std::string::npos);
    EXPECT_NE(log.find("Debug: \r\n"), std::string::npos);
    // RunScript logs its errors at Debug, not Warning.
    EXPECT_NE(log.find("Debug: [string \"line\"]:1: unexpected symbol near '='"), std::string::npos);
    EXPECT_NE(log.find("Warning: File `` does not exist"), std::string::npos);

    // The registration table holds every name, in order.
    ASSERT_EQ(scriptFunctionCount(), 115);
    EXPECT_STREQ(scriptFunctionName(0), "IsWinKeyDown");
    EXPECT_STREQ(scriptFunctionName(3), "include");
    EXPECT_STREQ(scriptFunctionName(114), "Time");
    EXPECT_STREQ(scriptFunctionName(115), "");
}

TEST_F(Lua, BroadcastsSkipHiddenAndVirtualSubtreesAndLeaveSelfOnTheLastFrame)
{
    const std::string seen = "<OnEvent>seen = (seen or '') .. self .. event .. ' '</OnEvent>";
    load("<Ui><Frame name=\"A\">" + seen + "</Frame>"
         "<Frame name=\"Hidden\" hidden=\"true\">" + seen + "<Frame name=\"Child\">" + seen + "</Frame></Frame>"
         "<Frame name=\"Template\" virtual=\"true\">" + seen + "<Frame name=\"Inside\">" + seen + "</Frame></Frame>"
         "<Frame name=\"B\">" + seen + "<Frame name=\"C\"/></Frame></Ui>");
    broadcastEvent(4);
    EXPECT_EQ(global("seen"), "A4 B4 ");
    EXPECT_EQ(global("event"), "4");
    EXPECT_EQ(global("self"), "C");  // set even where there is no handler

    // Showing the hidden frame brings its subtree back.
    frames[static_cast<std::size_t>(findFrame("Hidden"))]->hidden = false;
    runString("seen = ''");
    broadcastEvent(9);
    EXPECT_EQ(global("seen"), "A9 Hidden9 Child9 B9 ");
}

TEST_F(Lua, KeysReachOnlyKeyboardFramesWithDownThenPress)
{
    const std::string keys = "<OnKeyDown>keys = (keys or '') .. self .. ':' .. arg1 .. ' '</OnKeyDown>";
    load("<Ui><Frame name=\"Deaf\">" + keys + "<Frame name=\"Field\" EnableKeyboard=\"true\">" + keys +
         "</Frame></Frame><Frame name=\"Gone\" hidden=\"true\" EnableKeyboard=\"true\">" + keys +
         "</Frame><Frame name=\"Quiet\" EnableKeyboard=\"true\"/></Ui>");
    // The letter A typed: key down with the negative virtual key, then the character.
    keyDown(65);
    keyPressed('a');
    keyPressed(233);
    EXPECT_EQ(global("keys"), "Field:-65 Field:97 Field:233 ");
    EXPECT_EQ(global("arg1"), "233");
    EXPECT_EQ(global("self"), "Field");
}

TEST_F(Lua, AddLineReachesTheScriptOnlyOnceTheInterfaceIsReady)
{
    load("<Ui><Frame name=\"Console\"><OnLoad>function AddLine(t) lines = (lines or '') .. t .. '|' end</OnLoad>"
         "</Frame></Ui>");
    ASSERT_TRUE(InterfaceReady);
    addLine("hello");
    InterfaceReady = false;
    addLine("while loading");
    InterfaceReady = true;
    EXPECT_EQ(global("lines"), "hello|");
    runString("AddLine = 3");
    addLine("broken");
    const std::string log = logText();
    EXPECT_NE(log.find("Debug: Addline : while loading\r\n"), std::string::npos);
    EXPECT_NE(log.find("Warning: attempt to call a number value\r\n"), std::string::npos) << log;

    // Without a state nothing runs and nothing fails.
    unloadInterface();
    runString("x = 1");
    broadcastEvent(2);
    keyPressed('x');
    addLine("after");
    callFunction("AddLine", {1.0, std::string("two")});
}

TEST_F(Lua, ARunawayScriptCanBeBounded)
{
    setScriptInstructionLimit(100000);
    createState();
    runString("while true do end");
    runString("done = 1");
    EXPECT_EQ(global("done"), "1");
    EXPECT_NE(logText().find("Warning: script stopped after 100000 instructions"),
              std::string::npos)
        << logText();
}

// The shared scripts name the engine's codes; their tables must say what the engine raises.
TEST_F(Lua, TheSharedScriptsNameTheEnginesCodes)
{
    createState();
    runFile(std::string(VRAX_SOURCE_DIR) + "/content/Interface/Shared/Widgets.lua");
    const std::pair<const char*, InterfaceEvent> events[] = {
        {"UnitChanged", InterfaceEvent::UnitChanged},
        {"ButtonDown", InterfaceEvent::ButtonDown},
        {"ButtonUp", InterfaceEvent::ButtonUp},
        {"OrderStarted", InterfaceEvent::OrderStarted},
        {"OrderEnded", InterfaceEvent::OrderEnded},
        {"ServerClosed", InterfaceEvent::ServerClosed},
        {"BuildingQueueChanged", InterfaceEvent::BuildingQueueChanged},
        {"WarningChanged", InterfaceEvent::WarningChanged},
        {"TrainingListChanged", InterfaceEvent::TrainingListChanged},
        {"UnitCountChanged", InterfaceEvent::UnitCountChanged},
    };
    runString("Count = 0 for _ in pairs(Event) do Count = Count + 1 end");
    EXPECT_EQ(global("Count"), std::to_string(std::size(events)));
    for (const auto& [name, code] : events) {
        runString(std::string("Value = Event.") + name);
        EXPECT_EQ(global("Value"), std::to_string(static_cast<int>(code))) << name;
    }

    namespace vk = platform::vk;
    const std::pair<const char*, int> keys[] = {
        {"Back", vk::Back},   {"Tab", vk::Tab},       {"Return", vk::Return}, {"Shift", vk::Shift},
        {"Control", vk::Control}, {"Menu", vk::Menu}, {"Escape", vk::Escape}, {"Space", vk::Space},
        {"Prior", vk::Prior}, {"Next", vk::Next},     {"End", vk::End},       {"Home", vk::Home},
        {"Left", vk::Left},   {"Up", vk::Up},         {"Right", vk::Right},   {"Down", vk::Down},
        {"Insert", vk::Insert}, {"Delete", vk::Delete}, {"F1", vk::F1},       {"F12", vk::F12},
        {"V", 'V'},
    };
    runString("Count = 0 for _ in pairs(Key) do Count = Count + 1 end");
    EXPECT_EQ(global("Count"), std::to_string(std::size(keys)));
    for (const auto& [name, code] : keys) {
        runString(std::string("Value = Key.") + name);
        EXPECT_EQ(global("Value"), std::to_string(code)) << name;
    }
}
