// The shipped menu's scripts against the lobby's side of the bargain: the
// network functions it calls and the callbacks the engine calls in it.
// The network functions are stood in for by Lua fakes that record their
// calls, so the menu is checked now and keeps working when the lobby lands.
// Loaded from build/game/ in an offscreen GL context (its textures upload).
#include "interface/FFrameWalk.h"
#include "interface/FXMLLoader.h"
#include "platform/KeyState.h"
#include "script/FLua.h"
#include "script/FLuaFunctions.h"
#include "shell/FFPS.h"

#include "../support/ShippedInterface.h"
#include "../support/TestSupport.h"

using namespace testing_support;

namespace {

// Every network function of the menu, so that nothing reaches the real lobby.
const char* const Fakes = R"(
  Calls = ""
  Nick = "Player"
  function getNickFromMenu() return Nick end
  function SetNickFromMenu(nick) Nick = nick end
  function getServerNameFromMenu() return "" end
  function SetServer() Record("set server") end
  function SetNick() Record("set nick") end
  function SendChatMessage(text) Record("chat " .. text) end
  function Record(text) Calls = Calls .. text .. ";" end
  function CreateServerFromMenu(name, info) Record("create " .. name .. "|" .. info) end
  function RefreshPlayerList()
    ListBoxClear("PlayerList")
    AddServerList5("Host", "127.0.0.1", 0, 5, 0)
    AddServerList5("Guest", "10.1.1.2", 1, 2, 1)
  end
  function Refresh()
    Record("refresh")
    AddServerList4("10.1.1.1", "First", 1, "one")
    AddServerList4("10.1.1.9", "Second", 2, "two")
    AddServerList4("10.1.1.1", "First again", 3, "one")
  end
  function ConnectFromMenu(address, nick) Record("connect " .. address .. " " .. nick) end
  function DisconnectFromMenu() Record("disconnect") end
  function UndoCreateServerFromMenu() Record("undo") end
  Pings = 0
  function SynchroniseClients() Pings = Pings + 1 if Pings >= 6 then return 1 end return 2 end
  function MaxWaitingTime() return math.max(0, 10 - 2 * Pings) end
  function BroadCastLaunchGame_() Record("launch") end
  SetFieldText("NickField", getNickFromMenu())
)";

class MenuScript : public ShippedInterface {
protected:
    void SetUp() override
    {
        OffscreenContext::SetUp();
        loadShipped("Interface/Menu/Interface.xml");
    }
    // Drawn frames, each 200 ms of game clock after the last.
    static void frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            FrameClock.totalTime += 200;
            walkFrame(0, TFramePainter());
        }
    }
    std::string logText() { return readFile("Logs/log.txt"); }
};

}  // namespace

TEST_F(MenuScript, TheHostOpensALobbySeesThePlayersAndLaunchesAfterTheSynchronisation)
{
    runString(Fakes);
    runString("ButtonClicked('HostButton')");
    EXPECT_EQ(eval("IsVisible('HostScreen')"), "true");
    EXPECT_EQ(eval("GetText('ServerNameFieldText')"), "Player's game");
    runString("SetFieldText('ServerInfoField', 'Bring friends') ButtonClicked('CreateButton')");
    EXPECT_EQ(eval("Calls"), "create Player's game|Bring friends;");
    EXPECT_EQ(eval("IsVisible('LobbyScreen')"), "true");
    EXPECT_EQ(eval("IsVisible('LaunchButton')"), "true");
    EXPECT_EQ(eval("GetText('PlayerRow1Name')"), "Host");
    EXPECT_EQ(eval("GetText('PlayerRow2Side')"), "Great Hall");
    EXPECT_EQ(eval("IsVisible('PlayerRow2')"), "true");
    EXPECT_EQ(eval("IsVisible('PlayerRow3')"), "false");

    runString("Calls = '' ButtonClicked('LaunchButton')");
    frames(3);
    EXPECT_EQ(eval("Calls"), "");
    const int partly = std::stoi(eval("GetWidth('SyncFill')"));
    EXPECT_GT(partly, 0);
    EXPECT_LT(partly, 252);
    frames(5);
    EXPECT_EQ(eval("Calls"), "launch;");
    EXPECT_EQ(eval("GetWidth('SyncFill')"), "252");
    frames(3);
    EXPECT_EQ(eval("Calls"), "launch;");  // once only

    runString("Calls = '' ButtonClicked('LeaveButton')");
    EXPECT_EQ(eval("Calls"), "undo;");
    EXPECT_EQ(eval("IsVisible('WelcomeScreen')"), "true");
    EXPECT_EQ(logText().find("Warning"), std::string::npos) << logText();
}

TEST_F(MenuScript, FoundGamesFillTheListAndAClickOnThePickedOneJoinsIt)
{
    runString(Fakes);
    runString("ButtonClicked('FindButton')");
    EXPECT_EQ(eval("Calls"), "refresh;");
    EXPECT_EQ(eval("GetText('ServerRow1Name')"), "First again");  // answered twice: updated in place
    EXPECT_EQ(eval("GetText('ServerRow1Players')"), "3 / 8");
    EXPECT_EQ(eval("GetText('ServerRow2Address')"), "10.1.1.9");
    EXPECT_EQ(eval("IsVisible('ServerRow3')"), "false");
    EXPECT_EQ(eval("IsVisible('ServerListEmpty')"), "false");

    runString("Calls = '' arg1 = 1 ServerRowClicked('ServerRow2')");
    EXPECT_EQ(eval("GetText('AddressFieldText')"), "10.1.1.9");
    EXPECT_EQ(eval("IsVisible('ServerRow2Highlight')"), "true");
    EXPECT_EQ(eval("Calls"), "");
    runString("arg1 = 1 ServerRowClicked('ServerRow2')");
    EXPECT_EQ(eval("Calls"), "connect 10.1.1.9 Player;");
    EXPECT_EQ(eval("IsVisible('LobbyScreen')"), "true");
    EXPECT_EQ(eval("IsVisible('LaunchButton')"), "false");

    // The host closed the game: back to the list.
    broadcastEvent(7);
    EXPECT_EQ(eval("IsVisible('FindScreen')"), "true");

    runString("Calls = '' JoinGame('999.1.2.3') JoinGame('10.1.1') JoinGame('')");
    EXPECT_EQ(eval("Calls"), "");
    EXPECT_EQ(logText().find("Warning"), std::string::npos) << logText();
}

TEST_F(MenuScript, WithoutTheNetworkTheButtonsSaySoAndNothingBreaks)
{
    for (int i = 0; i < scriptFunctionCount(); ++i) {
        const std::string name = scriptFunctionName(i);
        if (name.find("Menu") != std::string::npos || name == "Refresh" || name == "RefreshPlayerList")
            runString(name + " = nil");
    }
    runString("ButtonClicked('HostButton') ButtonClicked('CreateButton')");
    EXPECT_EQ(eval("IsVisible('HostScreen')"), "true");
    runString("ButtonClicked('FindButton') JoinGame('10.0.0.1')");
    EXPECT_EQ(eval("IsVisible('FindScreen')"), "true");
    const std::string log = logText();
    for (const char* name : {"CreateServerFromMenu", "Refresh", "ConnectFromMenu"})
        EXPECT_NE(log.find(std::string("Debug: ") + name + " is not available"), std::string::npos) << name;

    // Whatever the engine hands the callbacks, they cope.
    runString("AddServerList5() AddServerList5({}, {}, 'x', nil, 1e300) AddServerList4(nil, {}, 'many')"
              "ListBoxClear() ListBoxClear('PlayerList') AddLine() AddLine({}) AddLine(string.rep('long ', 400))");
    frames(2);
    EXPECT_EQ(logText().find("Warning"), std::string::npos) << logText();
}

// Keys go to the one field that has the keyboard, each key once, even when
// it moves the keyboard to a field further down the frame tree.
TEST_F(MenuScript, TypingTabAndEnterActOnceInTheFieldThatHasTheKeyboard)
{
    runString(Fakes);
    runString("ButtonClicked('HostButton') SetFieldText('ServerNameField', '')");
    for (unsigned char c : std::string("Keep\x08p"))
        keyPressed(c);
    EXPECT_EQ(eval("GetText('ServerNameFieldText')"), "Keep");
    EXPECT_EQ(eval("GetText('NickFieldText')"), "Player");
    keyPressed(13);  // on to the description, nothing created yet
    EXPECT_EQ(eval("FocusedField"), "ServerInfoField");
    EXPECT_EQ(eval("Calls"), "");
    keyPressed(9);  // Tab wraps to the name
    EXPECT_EQ(eval("FocusedField"), "NickField");
    keyPressed(9);
    EXPECT_EQ(eval("FocusedField"), "ServerNameField");
    keyDown(27);  // keys going down type nothing
    keyPressed(200);  // Latin-1 letters are characters too
    EXPECT_EQ(eval("GetText('ServerNameFieldText')"), "Keep\xc8");
    // Ctrl+V pastes the clipboard, without its line breaks.
    runString("GetClipBoard = function() return ' Hall\\r\\n' end");
    keyDown(86);
    EXPECT_EQ(eval("GetText('ServerNameFieldText')"), "Keep\xc8");
    platform::setKeyDown(platform::vk::Control, true);
    keyDown(86);
    platform::releaseAllKeys();
    EXPECT_EQ(eval("GetText('ServerNameFieldText')"), "Keep\xc8 Hall");
    runString("FocusField('ServerInfoField')");
    keyPressed(13);
    EXPECT_EQ(eval("Calls"), "create Keep\xc8 Hall|;");
}
