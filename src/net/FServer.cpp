#include "net/FServer.h"

#include "net/FNetwork.h"
#include "net/FTransmit.h"
#include "script/FLua.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <algorithm>

TClientTable Clients;
std::string ServerAddress = LocalAddress;
std::string OwnAddress = LocalAddress;
std::int32_t OwnPlayerId = -42;
std::int32_t OwnPlayerNumber = -41;
TLobbyHooks LobbyHooks;
TLaunchHooks LaunchHooks;

namespace {

TConfig ConfigFile{std::string("Vrax.cfg")};

TClient& host()
{
    return *Clients.slots[0];
}

// Two seconds of repeats cover a joiner that lost one or two in a row.
constexpr std::uint8_t LaunchRepeats = 4;
constexpr std::int64_t LaunchRepeatGap = 500;  // ms of game clock

// Scripts can run before the network starts (tools, tests): until slot 0
// exists the menu's operations do nothing.
bool started()
{
    return Clients.at(0) != nullptr;
}

// Sends JoinRequest to the server address as `nick`; the local entry made at
// start gives way to the host's list.
void requestJoin(const std::string& nick)
{
    if (TPublicPlayerList* list = lobbyList())
        removeLobbyEntry(*list, 0);
    Tplayer& me = localPlayer();
    me.nick = nick;
    me.race = 1;
    me.colour = 1;
    sendJoinRequest(ServerAddress, nick, me.team);
}

// Back from someone else's server: the host's list and the slot numbering it
// gave are forgotten, and this machine is slot 0 and the only entry of its
// list again, as at start, so a game it hosts next shows itself and no
// stranger.
void becomeAlone()
{
    ServerAddress = LocalAddress;
    TClient& me = host();
    me.player.race = 0;
    me.player.colour = 5;
    me.player.team = 0;
    OwnPlayerId = 0;
    OwnPlayerNumber = 1;
    me.lobby = std::make_unique<TPublicPlayerList>();
    addLobbyEntry(*me.lobby, 0, 5, 1, LocalAddress, me.player.nick, 0, 0);
}

// Tells the joiner in `slot` where it stands: its slot number, then every
// lobby entry, which together replace whatever list it held.
void tellSlot(int slot)
{
    const TClient* client = Clients.at(slot);
    const TPublicPlayerList* list = lobbyList();
    if (!client || !list)
        return;
    sendPlayerNumber(client->address, slot);
    for (int n = 0; n < list->count; ++n) {
        const TPublicPlayerInfo* entry = list->at(n);
        if (!entry)
            continue;
        logLine("Sending to player " + std::to_string(slot) + " infos about player " + std::to_string(n));
        const auto info = makePlayerInfo(KindPlayerInfo, n, entry->colour, entry->race, entry->team, entry->nick,
                                         n == slot ? 1 : 0, entry->address);
        sendDatagram(client->address, &info, sizeof info);
    }
}

// Empties `slot` and moves every later client, and its lobby entry, down one,
// so slots and entries stay contiguous and keep matching each other.
void forgetSlot(int slot)
{
    logLine(Clients.at(slot)->player.nick + " (" + Clients.at(slot)->address + ") has left the game");
    Clients.slots[static_cast<std::size_t>(slot)].reset();
    Clients.count -= 1;
    for (int from = slot + 1; from < MaxClients && Clients.at(from); ++from) {
        Clients.slots[static_cast<std::size_t>(from - 1)] = std::move(Clients.slots[static_cast<std::size_t>(from)]);
        logLine("Client " + std::to_string(from) + " moved to " + std::to_string(from - 1));
    }
    TPublicPlayerList* list = lobbyList();
    if (!list || !list->at(slot))
        return;
    removeLobbyEntry(*list, slot);
    for (int from = slot + 1; from < TPublicPlayerList::Capacity; ++from)
        list->entries[static_cast<std::size_t>(from - 1)] = std::move(list->entries[static_cast<std::size_t>(from)]);
}

}  // namespace

TClient* TClientTable::at(int slot) const
{
    if (slot < 0 || slot >= MaxClients)
        return nullptr;
    return slots[static_cast<std::size_t>(slot)].get();
}

void lobbyStart(const TConfig& config)
{
    ConfigFile = config;
    for (auto& slot : Clients.slots)
        slot.reset();
    Clients.count = 0;
    ServerAddress = LocalAddress;
    OwnAddress = LocalAddress;
    std::string nick = "Erreur dans le fichier de config";
    if (config.exists())
        nick = config.readNickname();
    else
        logLine("Missing Vrax.cfg !!");
    join(LocalAddress, nick, 0, 0, 5);
}

Tplayer& localPlayer()
{
    return host().player;
}

bool engineInGame()
{
    return LaunchHooks.inGame && LaunchHooks.inGame();
}

bool isHosting()
{
    return Clients.at(0) && host().hosting;
}

bool isRunning()
{
    return Clients.at(0) && host().running;
}

TPublicPlayerList* lobbyList()
{
    return Clients.at(0) ? host().lobby.get() : nullptr;
}

void join(const std::string& address, const std::string& nick, int race, std::uint8_t hosting, int colour)
{
    // A machine that asks again (its answer was lost, or its player pressed
    // Join twice) is one player: a second slot would be a player nobody plays.
    const int already = slotOfAddress(address);
    if (already > 0 && !isRunning()) {
        logLine(nick + " (" + address + ") is already in cell " + std::to_string(already));
        tellSlot(already);
        return;
    }
    int slot = 0;
    while (slot < MaxClients && Clients.at(slot))
        ++slot;
    if (slot == MaxClients) {
        logLine("Array is full !");
        return;
    }
    if (isRunning()) {
        logLine("A new client is trying to connect (" + address + ", " + nick + ") but server is running !");
        return;
    }
    auto client = std::make_unique<TClient>();
    client->address = address;
    client->player.nick = nick;
    client->player.race = race;
    client->player.team = slot;
    client->player.colour = colour;
    client->hosting = hosting;
    Clients.slots[static_cast<std::size_t>(slot)] = std::move(client);
    Clients.count += 1;
    logLine("New client : ip = " + address + " nick = " + nick + " race = " + std::to_string(race) +
            " team = " + std::to_string(slot) + " color = " + std::to_string(colour));
    logLine("Client added to cell " + std::to_string(slot));
    if (slot == 0)
        host().lobby = std::make_unique<TPublicPlayerList>();
    TPublicPlayerList& list = *host().lobby;
    addLobbyEntry(list, slot, colour, slot == 0 ? 1 : 0, address, nick, race, slot);

    if (OwnPlayerId == -42) {
        OwnPlayerId = slot;
        OwnPlayerNumber = slot + 1;
    }
    if (slot != 0) {
        sendPlayerListChanged(slot);
        tellSlot(slot);
    }
    const auto announce = makePlayerInfo(KindPlayerInfo, slot, colour, race, slot, nick, 0, "");
    sendToSlots(&announce, sizeof announce, 1, slot);
}

int slotOfAddress(const std::string& address)
{
    for (int i = 0; i < Clients.count; ++i)
        if (Clients.at(i) && !Clients.at(i)->left && Clients.at(i)->address == address)
            return i;
    return -1;
}

void removeClient(const std::string& address)
{
    // Slot 0 is this machine and never leaves.
    const int slot = slotOfAddress(address);
    if (slot < 1)
        return;
    if (isRunning()) {
        // Every machine started its game with the number it had; moving the
        // later slots down now would give them a player that is not theirs.
        logLine(Clients.at(slot)->player.nick + " (" + address + ") has left the game");
        Clients.at(slot)->left = 1;
        return;
    }
    forgetSlot(slot);
    // A joiner whose slot moved would speak for the wrong player, and each
    // would still list the one who left: each hears its slot and the list anew.
    for (int i = 1; i < Clients.count; ++i)
        tellSlot(i);
    sendPlayerListChanged(-1);
}

void takeSlotNumber(int slot)
{
    OwnPlayerId = slot;
    OwnPlayerNumber = slot + 1;
    TPublicPlayerList* list = lobbyList();
    if (ServerAddress == LocalAddress || !list)
        return;
    for (int n = 0; n < TPublicPlayerList::Capacity; ++n)
        removeLobbyEntry(*list, n);
}

std::string describePlayers()
{
    std::string text;
    if (const TPublicPlayerList* list = lobbyList())
        for (int n = 0; n < TPublicPlayerList::Capacity; ++n)
            if (const TPublicPlayerInfo* entry = list->at(n))
                text += (text.empty() ? "" : ", ") + std::to_string(n + 1) + " " + entry->nick;
    return text;
}

void setLobbyEntry(TPublicPlayerList& list, int index, int colour, int team, int race, const std::string& nick,
                   const std::string& address)
{
    TPublicPlayerInfo* entry = list.at(index);
    if (!entry)
        return;
    if (colour != -1)
        entry->colour = colour;
    if (team != -1)
        entry->team = team;
    if (race != -1)
        entry->race = race;
    if (!nick.empty())
        entry->nick = nick;
    if (!address.empty())
        entry->address = address;
    TClient* client = Clients.at(index);
    if (ServerAddress == LocalAddress && client) {
        if (colour != -1)
            client->player.colour = colour;
        if (team != -1)
            client->player.team = team;
        if (race != -1)
            client->player.race = race;
        if (!nick.empty())
            client->player.nick = nick;
    }
    if (!engineInGame())
        refreshLobbyDisplay();
}

void addLobbyEntry(TPublicPlayerList& list, int index, int colour, std::uint8_t local, const std::string& address,
                   const std::string& nick, int race, int team)
{
    if (index < 0 || index >= TPublicPlayerList::Capacity)
        return;
    auto& entry = list.entries[static_cast<std::size_t>(index)];
    // A repeated announcement replaces the entry rather than counting it twice.
    if (!entry)
        list.count += 1;
    entry = std::make_unique<TPublicPlayerInfo>();
    entry->local = local;
    entry->address = address;  // even when empty: the announcement of a new player carries none
    setLobbyEntry(list, index, colour, team, race, nick, address);
    logLine("Public player list added" + std::to_string(list.count));
}

void removeLobbyEntry(TPublicPlayerList& list, int index)
{
    if (!list.at(index))
        return;
    list.entries[static_cast<std::size_t>(index)].reset();
    list.count -= 1;
}

void refreshLobbyDisplay()
{
    const TPublicPlayerList* list = lobbyList();
    if (!list)
        return;
    if (LobbyHooks.listBoxClear)
        LobbyHooks.listBoxClear("PlayerList");
    if (!LobbyHooks.addServerList5)
        return;
    // Entries can have gaps while a joiner's list fills, so every index is visited.
    for (const auto& entry : list->entries)
        if (entry)
            LobbyHooks.addServerList5(entry->nick, entry->address, entry->race, entry->colour, entry->team);
}

void closeServer()
{
    if (Clients.count > 1 && Clients.at(1))
        sendServerClosed();
    while (Clients.count > 1 && Clients.at(1))
        forgetSlot(1);
    host().pingSamples.clear();
    host().hosting = 0;
    logLine("Server destroyed");
}

void serverClosed()
{
    if (LobbyHooks.raiseEvent)
        LobbyHooks.raiseEvent(InterfaceEvent::ServerClosed);
    if (started())
        becomeAlone();
    else
        ServerAddress = LocalAddress;
}

void recordPingReply(const std::string& sender, std::int64_t clock)
{
    if (!isHosting())
        return;
    // The clock comes from a datagram: any value, so the difference wraps
    // instead of overflowing.
    const auto roundTrip = static_cast<std::int32_t>(static_cast<std::uint64_t>(FrameClock.totalTime) -
                                                     static_cast<std::uint64_t>(clock));
    const int slot = slotOfAddress(sender);
    if (slot < 0)
        return;
    TClient& client = *Clients.at(slot);
    client.lastPing = roundTrip;
    if (client.pingMedian == -1) {
        if (client.pingSamples.size() < PingSamplesNeeded) {
            client.pingSamples.push_back(roundTrip);
            logLine("Client " + std::to_string(slot) + " : Adding ping " + std::to_string(roundTrip) +
                    " to table in pos " + std::to_string(client.pingSamples.size()));
        } else {
            std::vector<std::int32_t> sorted = client.pingSamples;
            std::sort(sorted.begin(), sorted.end());
            client.pingMedian = sorted[4];
            logLine("Mediane des pings (utilis\xe9" "e pour la synchro) : " + std::to_string(client.pingMedian));
        }
    }
    // Also on the reply that has just set the median.
    if (client.pingMedian != -1)
        logLine("Pinging client #" + std::to_string(slot) + " : " + std::to_string(roundTrip) + "ms");
}

void SendChatMessage(const std::string& text)
{
    if (!started())
        return;
    sendChatSend(OwnPlayerId, localPlayer().nick, text);
}

void SetServer(const std::string& address)
{
    if (!started())
        return;
    ServerAddress = address;
    requestJoin("Unknown soldier");
}

void SetNick(const std::string& nick)
{
    if (!started())
        return;
    localPlayer().nick = nick;
    logLine("Nick set to " + nick);
}

void Refresh()
{
    logLine("Broadcasted by menu");
    sendServerQuery();
}

void RefreshPlayerList()
{
    refreshLobbyDisplay();
}

void ConnectFromMenu(const std::string& address, const std::string& nick)
{
    if (!started())
        return;
    ConfigFile.writeNickname(nick);
    localPlayer().nick = nick;
    ServerAddress = address;
    requestJoin(nick);
}

void DisconnectFromMenu()
{
    if (ServerAddress == LocalAddress)
        return;
    sendLeave(ServerAddress, OwnAddress);
    if (started())
        becomeAlone();
    else
        ServerAddress = LocalAddress;
}

void CreateServerFromMenu(const std::string& name, const std::string& text)
{
    if (!started())
        return;
    ConfigFile.writeDefaultServerName(name);
    TClient& me = host();
    me.hosting = 1;
    me.serverName = name;
    me.serverText = text;
    me.pingMedian = -1;
}

void UndoCreateServerFromMenu()
{
    if (!started())
        return;
    if (ServerAddress == LocalAddress)
        closeServer();
}

int MaxWaitingTime()
{
    int most = 0;
    for (int i = 0; i < MaxClients && Clients.at(i); ++i)
        most = std::max(most, static_cast<int>(PingSamplesNeeded) - static_cast<int>(Clients.at(i)->pingSamples.size()));
    return most;
}

void SetNickFromMenu(const std::string& nick)
{
    if (!started())
        return;
    ConfigFile.writeNickname(nick);
    localPlayer().nick = nick;
    if (TPublicPlayerList* list = lobbyList())
        setLobbyEntry(*list, 0, -1, -1, -1, nick, "");
}

std::string getNickFromMenu()
{
    if (!started())
        return "";
    return localPlayer().nick;
}

std::string getServerNameFromMenu()
{
    return ConfigFile.readDefaultServerName();
}

void BroadCastLaunchGame_()
{
    if (!started())
        return;
    host().running = 1;
    // Each joiner starts its game as the player it was last told it is: told
    // once more here, a number lost in the lobby cannot make it play another.
    for (int i = 1; i < Clients.count; ++i)
        tellSlot(i);
    for (int i = 0; i < Clients.count && Clients.at(i); ++i)
        sendLaunchGame(Clients.at(i)->address, Clients.at(i)->pingMedian);
}

void launchArrived()
{
    if (!isHosting())
        return;
    host().launchRepeats = LaunchRepeats;
    host().nextLaunchRepeat = FrameClock.totalTime + LaunchRepeatGap;
}

void repeatLaunch()
{
    if (!isRunning() || host().launchRepeats == 0 || FrameClock.totalTime < host().nextLaunchRepeat)
        return;
    --host().launchRepeats;
    host().nextLaunchRepeat = FrameClock.totalTime + LaunchRepeatGap;
    // The host's clock started at its own median; each joiner's at its own.
    const std::int64_t sinceLaunch = FrameClock.totalTime - std::max(host().pingMedian, 0);
    for (int i = 1; i < Clients.count; ++i)
        if (const TClient* c = Clients.at(i); c && !c->left)
            sendLaunchGame(c->address, static_cast<std::int32_t>(c->pingMedian + sinceLaunch));
}

int SynchroniseClients()
{
    int unmeasured = 0;
    for (int i = 0; i < MaxClients && Clients.at(i); ++i) {
        sendPing(Clients.at(i)->address, FrameClock.totalTime);
        if (Clients.at(i)->pingMedian == -1)
            ++unmeasured;
    }
    return 1 + unmeasured;
}
