// The shipped game screen's scripts, loaded from build/game/ in an
// offscreen GL context: the console keeps the last lines, the chat field
// takes the keyboard on Enter, types, rubs out, pastes and sends, and the
// clock reads h:mm:ss.
#include "interface/FFrameWalk.h"
#include "interface/FXMLLoader.h"
#include "platform/KeyState.h"
#include "script/FLua.h"
#include "shell/FFPS.h"

#include "../support/ShippedInterface.h"
#include "../support/TestSupport.h"

using namespace testing_support;

namespace {

class GameScript : public ShippedInterface {
protected:
    void SetUp() override
    {
        OffscreenContext::SetUp();
        loadShipped("Interface/Game/Interface.xml");
        runString("Sent = '' function SendChatMessage(text) Sent = Sent .. text .. ';' end");
    }
    static void type(const std::string& text)
    {
        for (unsigned char c : text)
            keyPressed(c);
    }
    std::string logText() { return readFile("Logs/log.txt"); }
};

}  // namespace

TEST_F(GameScript, TheConsoleKeepsTheLastEightLinesEachCutToItsWidth)
{
    // Without a network the banner falls back on a name, and the first line welcomes.
    EXPECT_EQ(eval("GetText('PlayerName')"), "Commander");
    EXPECT_NE(eval("GetText('ConsoleLine1')").find("The battle has begun."), std::string::npos);
    for (int i = 1; i <= 9; ++i)
        runString("AddLine('line " + std::to_string(i) + "')");
    EXPECT_EQ(eval("GetText('ConsoleLine1')"), "line 2");
    EXPECT_EQ(eval("GetText('ConsoleLine8')"), "line 9");
    runString("AddLine(string.rep('wide ', 400) .. '\\r\\nend') AddLine() AddLine({})");
    EXPECT_EQ(eval("GetText('ConsoleLine6').sub(GetText('ConsoleLine6'), 1, 5)"), "wide ");
    EXPECT_LE(std::stoi(eval("GetStringWidth(GetText('ConsoleLine6'), GetFont('ConsoleLine6'))")), 840);
    EXPECT_EQ(eval("GetText('ConsoleLine7')"), "");
    EXPECT_EQ(logText().find("Warning"), std::string::npos) << logText();
}

TEST_F(GameScript, TheChatFieldTypesRubsOutPastesAndSendsOnEnter)
{
    // Letters are the command card's until Enter gives the chat field the keyboard.
    type("x");
    EXPECT_EQ(eval("FocusedField"), "nil");
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "");
    keyPressed(13);
    EXPECT_EQ(eval("FocusedField"), "ChatField");
    type("hellp\x08o");
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "hello");
    keyPressed(9);  // Tab: the only field keeps the keyboard
    EXPECT_EQ(eval("FocusedField"), "ChatField");
    runString("GetClipBoard = function() return ' world\\r\\n' end");
    keyDown(86);  // V without Control types nothing by itself
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "hello");
    platform::setKeyDown(platform::vk::Control, true);
    keyDown(86);
    platform::releaseAllKeys();
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "hello world");
    keyPressed(13);
    EXPECT_EQ(eval("Sent"), "hello world;");
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "");
    EXPECT_EQ(eval("FocusedField"), "nil");  // sending gives the keyboard back
    keyPressed(13);
    keyPressed(13);  // nothing to send
    EXPECT_EQ(eval("Sent"), "hello world;");

    // Without the network the line shows here only, under the player's name.
    runString("SendChatMessage = nil SetText('PlayerName', 'Aldric')");
    type("\ralone\r");
    EXPECT_EQ(eval("GetText('ConsoleLine2')"), "Aldric: alone");
    EXPECT_EQ(logText().find("Warning"), std::string::npos) << logText();
}

TEST_F(GameScript, TheClockReadsHoursMinutesAndSeconds)
{
    FrameClock.totalTime = (1 * 3600 + 2 * 60 + 3) * 1000 + 999;
    walkFrame(0, TFramePainter());
    EXPECT_EQ(eval("GetText('ClockText')"), "1:02:03");
    EXPECT_NE(eval("GetText('FpsText')").find(" FPS"), std::string::npos);
}
