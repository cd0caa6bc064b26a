// Mouse routing on interfaces loaded from small files, walked headless as
// the interface pass walks them: enter and leave, press and release in tree
// order, the inclusive edges, one button event per drawn frame, and the
// button broadcast after the walk.
#include "interface/FCursor.h"
#include "interface/FFonts.h"
#include "interface/FFrameWalk.h"
#include "interface/FInputRouting.h"
#include "interface/FXMLLoader.h"
#include "script/FLua.h"
#include "shell/FLogs.h"

#include "../support/TestFont.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>
#include <lua.hpp>

using namespace testing_support;

namespace {

// Every listener writes what it hears into the global Trace.
const char* const Listener = R"(
  <Frame name="Listener" virtual="true" EnableMouse="true">
    <OnEnter>Trace = Trace .. "enter " .. self .. ";"</OnEnter>
    <OnLeave>Trace = Trace .. "leave " .. self .. ";"</OnLeave>
    <OnMouseDown>Trace = Trace .. "down " .. self .. " " .. arg1 .. ";"</OnMouseDown>
    <OnMouseUp>Trace = Trace .. "up " .. self .. " " .. arg1 .. ";"</OnMouseUp>
    <OnEvent>if event == 2 or event == 3 then Trace = Trace .. "event " .. event .. " " .. self .. " " .. arg1 .. ";" end</OnEvent>
  </Frame>)";

struct Routing : ::testing::Test {
    ScratchDir dir;
    void SetUp() override
    {
        startLog();
        initFonts();
        writeFile("Fonts/Thorndale14.glf", testFontBytes());
        Mouse.buttonCode = 0;
        Mouse.interfaceX = Mouse.interfaceY = -100;
    }
    void TearDown() override
    {
        unloadInterface();
        initFonts();
        Mouse.buttonCode = 0;
    }
    void load(const std::string& frames)
    {
        writeFile("ui.xml", std::string("<Ui>") + Listener + frames + "</Ui>");
        loadInterface("ui.xml");
        runString("Trace = ''");
    }
    // One interface pass without the drawing: the walk, then the broadcast.
    std::string pass(int x, int y)
    {
        Mouse.interfaceX = x;
        Mouse.interfaceY = y;
        walkFrame(0, TFramePainter());
        deliverButtonEvent();
        getGlobal("Trace");
        const char* text = lua_tostring(luaState(), -1);
        std::string trace = text ? text : "";
        lua_pop(luaState(), 1);
        runString("Trace = ''");
        return trace;
    }
};

}  // namespace

TEST_F(Routing, ParentsHearBeforeChildrenAndOverlappingFramesAllHear)
{
    load(R"(
  <Frame name="Panel" inherit="Listener" width="200" height="100"><Anchor x="100" y="100"/>
    <Frame name="Button" inherit="Listener" width="50" height="20"><Anchor x="10" y="10"/></Frame>
  </Frame>
  <Frame name="Cover" inherit="Listener" width="200" height="100"><Anchor x="100" y="100"/></Frame>)");
    pass(0, 0);  // the first pass places everything
    EXPECT_EQ(pass(115, 115), "enter Panel;enter Button;enter Cover;");
    EXPECT_EQ(pass(116, 116), "");  // still inside: no second enter

    buttonEvent(1);
    EXPECT_EQ(pass(116, 116), "down Panel 1;down Button 1;down Cover 1;event 2 Panel 1;event 2 Button 1;event 2 Cover 1;");
    EXPECT_EQ(Mouse.buttonCode, 0);
    buttonEvent(-2);
    EXPECT_EQ(pass(250, 150), "up Panel 2;leave Button;up Cover 2;event 3 Panel 2;event 3 Button 2;event 3 Cover 2;");

    EXPECT_EQ(pass(500, 500), "leave Panel;leave Cover;");
}

TEST_F(Routing, RightAndBottomEdgesAreInside)
{
    load(R"(<Frame name="Box" inherit="Listener" width="50" height="20"><Anchor x="10" y="10"/></Frame>)");
    pass(0, 0);
    EXPECT_EQ(pass(60, 30), "enter Box;");
    EXPECT_EQ(pass(61, 30), "leave Box;");
    EXPECT_EQ(pass(10, 10), "enter Box;");
    EXPECT_EQ(pass(10, 9), "leave Box;");
}

TEST_F(Routing, APressAndReleaseInOneFrameDeliverOnlyTheRelease)
{
    load(R"(<Frame name="Box" inherit="Listener" width="50" height="20"/>)");
    pass(5, 5);
    buttonEvent(1);
    buttonEvent(-1);
    EXPECT_EQ(pass(5, 5), "up Box 1;event 3 Box 1;");
    buttonEvent(3);
    EXPECT_EQ(pass(5, 5), "down Box 3;event 2 Box 3;");
}

TEST_F(Routing, AFrameThatHidesOnEnterStillHearsThePressThenIsSkipped)
{
    load(R"(
  <Frame name="Shy" inherit="Listener" width="50" height="20">
    <OnEnter>Trace = Trace .. "enter " .. self .. ";" SetVisible(self, false)</OnEnter>
  </Frame>)");
    pass(-10, -10);
    buttonEvent(1);
    EXPECT_EQ(pass(5, 5), "enter Shy;down Shy 1;");  // hidden frames get no OnEvent
    EXPECT_EQ(pass(100, 100), "");  // hidden: not even a leave
    runString("SetVisible('Shy', true)");
    EXPECT_EQ(pass(100, 100), "leave Shy;");  // shown again, the cursor has gone
}

TEST_F(Routing, HiddenAndVirtualSubtreesAndDisabledFramesHearNothing)
{
    load(R"(
  <Frame name="Deaf" width="50" height="20">
    <OnEnter>Trace = Trace .. "enter Deaf;"</OnEnter>
    <Frame name="Child" inherit="Listener"/>
  </Frame>
  <Frame name="Hidden" inherit="Listener" hidden="true"><Frame name="HiddenChild" inherit="Listener"/></Frame>)");
    pass(-10, -10);
    buttonEvent(1);
    EXPECT_EQ(pass(5, 5), "enter Child;down Child 1;event 2 Child 1;");
}

TEST_F(Routing, WithoutAnInterfaceTheButtonStaysPending)
{
    buttonEvent(2);
    deliverButtonEvent();
    EXPECT_EQ(Mouse.buttonCode, 2);
    walkFrame(0, TFramePainter());
}
