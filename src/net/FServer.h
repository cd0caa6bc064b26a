// FServer: the lobby. Owns the client table (this machine in slot 0, joined
// machines after it on the host), the server and own addresses, the local
// player id, joining and leaving, the lobby list entries, the menu's network
// operations (each a plain function the script host wraps) and the clock
// synchronisation before launch. FReceive's handlers call in here.
#pragma once

#include "net/Fplayer.h"
#include "shell/FConfig.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum class InterfaceEvent : int;  // script/FLua.h

constexpr int MaxClients = 8;
constexpr std::size_t PingSamplesNeeded = 10;

struct TClient {
    std::string address;  // "127.0.0.1" for this machine
    Tplayer player;
    std::int32_t lastPing = 0;
    std::int32_t pingMedian = -1;  // ms, -1 until measured
    std::vector<std::int32_t> pingSamples;
    std::uint8_t hosting = 0;  // slot 0: this machine hosts a server
    std::uint8_t running = 0;  // slot 0: the game was launched, joins are refused
    // The machine left after the launch. Its slot stays, so every later slot
    // keeps the player number its game started with; nothing is sent to it.
    std::uint8_t left = 0;
    // slot 0, once its own launch arrived: LaunchGame is told again this
    // many more times, the next when the game clock reaches nextLaunchRepeat.
    std::uint8_t launchRepeats = 0;
    std::int64_t nextLaunchRepeat = 0;
    std::string serverName;    // slot 0
    std::string serverText;    // slot 0: the second text shown in server lists
    std::unique_ptr<TPublicPlayerList> lobby;  // slot 0 only
};

// Filled slots are contiguous from 0.
struct TClientTable {
    std::int32_t count = 0;
    std::array<std::unique_ptr<TClient>, MaxClients> slots;
    TClient* at(int slot) const;
};

extern TClientTable Clients;
extern std::string ServerAddress;  // where requests go; "127.0.0.1" when alone or hosting
extern std::string OwnAddress;     // this machine as the host sees it
extern std::int32_t OwnPlayerId;   // own slot; -42 until one is assigned
extern std::int32_t OwnPlayerNumber;

// The menu scripts' callbacks, set by the script host, which hands them on
// only while an interface is loaded; an unset one is skipped.
struct TLobbyHooks {
    std::function<void(const std::string& list)> listBoxClear;
    std::function<void(const std::string& nick, const std::string& address, int race, int colour, int team)>
        addServerList5;
    std::function<void(const std::string& address, const std::string& name, int count, const std::string& text)>
        addServerList4;
    std::function<void(InterfaceEvent event)> raiseEvent;  // ServerClosed
};
extern TLobbyHooks LobbyHooks;

// The shell's side of a launch, set by the client at start-up. Unset (a tool
// or a test without a shell), the engine counts as being in the menu and a
// launch only sets the clock.
struct TLaunchHooks {
    std::function<bool()> inGame;            // the engine has switched to its game mode
    std::function<void()> requestGameStart;  // the shell starts the game once this frame is drawn
};
extern TLaunchHooks LaunchHooks;
// Whether the engine is in its game mode, as LaunchHooks tells.
bool engineInGame();

// Empties the table, resets both addresses, reads the nick and joins this machine into slot 0.
void lobbyStart(const TConfig& config);
// Slot 0's player.
Tplayer& localPlayer();
bool isHosting();
bool isRunning();
// Slot 0's lobby list (nullptr before start).
TPublicPlayerList* lobbyList();

void join(const std::string& address, const std::string& nick, int race, std::uint8_t hosting, int colour);
// A joined machine leaves. In the lobby later slots move down and every
// joiner is told its slot and the list anew; once launched the slot stays.
void removeClient(const std::string& address);
// The slot holding `address`, scanning from slot 0; -1 when none (or it left).
int slotOfAddress(const std::string& address);
// PlayerNumber from the server: this machine's slot; on a joiner the host's
// whole list follows, so the one held until now is dropped.
void takeSlotNumber(int slot);
// The lobby list as "1 Aldric, 2 Brenna", by player number.
std::string describePlayers();

// -1 and empty texts leave a field unchanged.
void setLobbyEntry(TPublicPlayerList& list, int index, int colour, int team, int race, const std::string& nick,
                   const std::string& address);
void addLobbyEntry(TPublicPlayerList& list, int index, int colour, std::uint8_t local, const std::string& address,
                   const std::string& nick, int race, int team);
void removeLobbyEntry(TPublicPlayerList& list, int index);
// ListBoxClear("PlayerList"), then AddServerList5 for every lobby entry.
void refreshLobbyDisplay();
void closeServer();
void serverClosed();
void recordPingReply(const std::string& sender, std::int64_t clock);
// The host's own LaunchGame set its clock: from here the launch is told again
// a few times, so a joiner whose one LaunchGame was lost still joins the
// game, a moment late, with its clock where it would have been.
void launchArrived();
// Every network frame: the next repeat of the launch when it is due.
void repeatLaunch();

// The menu's network operations, one per script function.
void SendChatMessage(const std::string& text);
void SetServer(const std::string& address);
void SetNick(const std::string& nick);
void Refresh();
void RefreshPlayerList();
void ConnectFromMenu(const std::string& address, const std::string& nick);
void DisconnectFromMenu();
void CreateServerFromMenu(const std::string& name, const std::string& text);
void UndoCreateServerFromMenu();
int MaxWaitingTime();
void SetNickFromMenu(const std::string& nick);
std::string getNickFromMenu();
std::string getServerNameFromMenu();
void BroadCastLaunchGame_();
int SynchroniseClients();
