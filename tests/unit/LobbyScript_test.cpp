// The menu's network functions as scripts call them, and the lobby's
// callbacks into the menu scripts.
#include "../support/NetTestSupport.h"
#include "script/FLua.h"

#include <gtest/gtest.h>
#include <lua.hpp>

using namespace testing_support;

namespace {

struct LobbyScript : NetMachine {
    void SetUp() override
    {
        NetMachine::SetUp();
        createState();  // installs the script host's own callbacks over the recording ones
        runString("Rows = {} Seen = '' "
                  "function ListBoxClear(list) Rows = {} Cleared = list end "
                  "function AddServerList5(nick, address, race, colour, team) "
                  "  table.insert(Rows, nick .. '|' .. address .. '|' .. race .. '|' .. colour .. '|' .. team) end "
                  "function AddServerList4(address, name, count, text) "
                  "  Seen = address .. '|' .. name .. '|' .. count .. '|' .. text end "
                  "function AddLine(text) Said = text end");
    }
    void TearDown() override
    {
        closeState();
        NetMachine::TearDown();
    }
    static std::string global(const char* expression)
    {
        runString(std::string("Result = tostring(") + expression + ")");
        getGlobal("Result");
        const char* text = lua_tostring(luaState(), -1);
        std::string value = text ? text : "(nil)";
        lua_pop(luaState(), 1);
        return value;
    }
};

}  // namespace

TEST_F(LobbyScript, MenuFunctionsReachTheLobbyAndItsCallbacksReachTheScripts)
{
    runString("SetNickFromMenu('Aldric the Bold')");
    EXPECT_EQ(global("getNickFromMenu()"), "Aldric the Bold");
    EXPECT_EQ(global("Cleared"), "PlayerList");
    EXPECT_EQ(global("Rows[1]"), "Aldric the Bold|127.0.0.1|0|5|0");

    runString("CreateServerFromMenu('Keep', '2v2') Refresh()");
    EXPECT_EQ(global("getServerNameFromMenu()"), "Keep");
    frames();
    EXPECT_EQ(global("Seen"), "127.0.0.1|Keep|1|2v2");

    EXPECT_EQ(global("MaxWaitingTime()"), "10");
    EXPECT_EQ(global("SynchroniseClients()"), "2");
    runString("SendChatMessage('hello')");
    frames();
    EXPECT_EQ(global("Said"), "127.0.0.1 - Aldric the Bold says : hello");
    EXPECT_FALSE(logged("Warning")) << log();
}

TEST_F(LobbyScript, AnyArgumentsAreSurvived)
{
    runString("SetServer() SetNick({}) ConnectFromMenu(nil, 42) CreateServerFromMenu() SendChatMessage() "
              "SetNickFromMenu(print) DisconnectFromMenu(1, 2, 3) UndoCreateServerFromMenu('x') RefreshPlayerList(7)");
    EXPECT_FALSE(logged("Warning")) << log();
    EXPECT_EQ(global("getNickFromMenu()"), "");
}

TEST(LobbyScriptAlone, BeforeTheNetworkStartsTheMenuFunctionsDoNothing)
{
    ScratchDir dir;
    startLog();
    Network.reset();
    for (auto& slot : Clients.slots)
        slot.reset();
    Clients.count = 0;
    createState();
    runString("SendChatMessage('x') SetServer('1.2.3.4') SetNick('n') ConnectFromMenu('1.2.3.4', 'n') "
              "CreateServerFromMenu('a', 'b') UndoCreateServerFromMenu() SetNickFromMenu('n') Refresh() "
              "RefreshPlayerList() DisconnectFromMenu() BroadCastLaunchGame_() "
              "Result = getNickFromMenu() .. MaxWaitingTime() .. SynchroniseClients()");
    getGlobal("Result");
    const char* text = lua_tostring(luaState(), -1);
    EXPECT_STREQ(text, "01");
    lua_pop(luaState(), 1);
    closeState();
    EXPECT_EQ(readFile("Logs/log.txt").find("Warning"), std::string::npos) << readFile("Logs/log.txt");
}
