#include "net/FReceive.h"

#include "net/FNetwork.h"
#include "net/FServer.h"
#include "net/FTransmit.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <cstring>
#include <memory>

std::function<void(const TPacket&)> GameMessageHandler;

namespace {

std::unique_ptr<TReceiveQueue> Queue;
std::uint64_t Arrivals = 0;

template <typename T>
T readMessage(const TPacket& packet)
{
    T message;
    std::memcpy(&message, packet.data.data(), sizeof message);
    return message;
}

void drop(const TPacket& packet, const std::string& why)
{
    logLine(std::string("Dropped ") + messageName(packet.kind()) + " from " + packet.sender + ": " + why);
}

// A sender that may not send what it sent: logged, never answered.
void refuse(const TPacket& packet, const std::string& why)
{
    logLine(std::string("Refused ") + messageName(packet.kind()) + " from " + packet.sender + ": " + why);
}

bool inRange(const TPacket& packet, const char* what, std::int32_t value, std::int32_t low, std::int32_t high)
{
    if (value >= low && value <= high)
        return true;
    drop(packet, std::string(what) + " " + std::to_string(value) + " out of range");
    return false;
}

// The kinds only the host sends. ServerInfo is not among them: every host
// answers a search, and this machine has no server yet when it searches.
bool sentByHostOnly(std::int32_t kind)
{
    switch (kind) {
    case KindChatLine:
    case KindUnitDamage:
    case KindUnitCreated:
    case KindPlayerNumber:
    case KindYourAddress:
    case KindPlayerListChanged:
    case KindLaunchGame:
    case KindPing:
    case KindServerClosed:
    case KindPlayerInfo:
    case KindPlayerInfoUpdate:
    case KindResources:
    case KindUnitState: return true;
    default: return false;
    }
}

// Who may send what: the host's kinds come from the server address alone (a
// host is its own server and hears itself on the local address), a Leave
// names its own sender, and a lobby entry is changed only by its own player.
bool rightSender(const TPacket& packet)
{
    const std::int32_t kind = packet.kind();
    if (sentByHostOnly(kind) && packet.sender != ServerAddress) {
        refuse(packet, "only the host sends it (the server is " + ServerAddress + ")");
        return false;
    }
    if (kind == KindLeave) {
        const std::string named = readShortString(readMessage<TLeave>(packet).address);
        if (named != packet.sender) {
            refuse(packet, "it names " + named + ", not its sender");
            return false;
        }
    }
    if (kind == KindPlayerInfoChange) {
        if (!isHosting()) {
            refuse(packet, "only a host takes it");
            return false;
        }
        const std::int32_t slot = readMessage<TPlayerInfo>(packet).slot;
        if (slot != slotOfAddress(packet.sender)) {
            refuse(packet, "slot " + std::to_string(slot) + " is not the sender's");
            return false;
        }
    }
    return true;
}

// A message is read only when the datagram holds its whole layout, its
// sender may send it, and every slot or player it names exists in the tables
// it indexes; the sender may be anything on the network.
bool acceptable(const TPacket& packet)
{
    const std::int32_t kind = packet.kind();
    const std::size_t need = messageSize(kind);
    if (need == 0)
        return false;  // outside the catalogue: consumed without effect
    if (packet.data.size() < need) {
        drop(packet, std::to_string(packet.data.size()) + " bytes, " + std::to_string(need) + " expected");
        return false;
    }
    if (!rightSender(packet))
        return false;
    switch (kind) {
    case KindPlayerNumber:
        return inRange(packet, "slot", readMessage<TPlayerNumber>(packet).value, 0, MaxClients - 1);
    case KindPlayerInfo:
    case KindPlayerInfoChange:
    case KindPlayerInfoUpdate:
        return inRange(packet, "slot", readMessage<TPlayerInfo>(packet).slot, 0, MaxClients - 1);
    case KindBuildRequest:
    case KindUnitCreated:
        return inRange(packet, "player", readMessage<TBuildRequest>(packet).owner, 1, MaxClients);
    default:
        return true;
    }
}

void onChatLine(const TPacket& packet)
{
    const auto m = readMessage<TChatLine>(packet);
    std::string address = readShortString(m.address);
    if (address == LocalAddress)
        address = ServerAddress;
    addLine(address + " - " + readShortString(m.nick) + " says : " + readShortString(m.text));
}

void onChatSend(const TPacket& packet)
{
    const auto m = readMessage<TChatSend>(packet);
    sendChatLine(m.playerId, packet.sender, readShortString(m.nick), readShortString(m.text));
}

void onJoinRequest(const TPacket& packet)
{
    if (!isHosting())
        return;
    const auto m = readMessage<TJoinRequest>(packet);
    join(packet.sender, readShortString(m.nick), 1, 0, 2);
    sendYourAddress(packet.sender);
}

void onServerQuery(const TPacket& packet)
{
    if (!isHosting() || isRunning())
        return;
    const TClient& host = *Clients.at(0);
    sendServerInfo(packet.sender, host.serverName, Clients.count, host.serverText);
}

void onServerInfo(const TPacket& packet)
{
    const auto m = readMessage<TServerInfo>(packet);
    if (LobbyHooks.addServerList4)
        LobbyHooks.addServerList4(packet.sender, readShortString(m.name), m.playerCount, readShortString(m.text));
}

void onLaunchGame(const TPacket& packet)
{
    // A second launch in the game would set the game up again over the running one.
    if (engineInGame()) {
        drop(packet, "the game is already running");
        return;
    }
    const std::int32_t start = readMessage<TLaunchGame>(packet).value;
    FrameClock.totalTime = start;
    launchArrived();
    if (LaunchHooks.requestGameStart)
        LaunchHooks.requestGameStart();
    logLine("Game launched, clock set to " + std::to_string(start) + " ms");
    logLine("Playing as player " + std::to_string(OwnPlayerNumber) + " of " + describePlayers());
}

void onPlayerNumber(const TPacket& packet)
{
    // The game started as one player; another number now would make this
    // machine's requests speak for someone else.
    if (engineInGame()) {
        drop(packet, "the game is already running");
        return;
    }
    takeSlotNumber(readMessage<TPlayerNumber>(packet).value);
}

void onPlayerInfo(const TPacket& packet)
{
    const auto m = readMessage<TPlayerInfo>(packet);
    TPublicPlayerList* list = lobbyList();
    if (!list)
        return;
    std::string address = readShortString(m.address);
    if (address == LocalAddress)
        address = packet.sender;
    addLobbyEntry(*list, m.slot, m.colour, m.local, address, readShortString(m.nick), m.race, m.team);
}

void onPlayerInfoChange(const TPacket& packet)
{
    const auto m = readMessage<TPlayerInfo>(packet);
    TPublicPlayerList* list = lobbyList();
    if (!list)
        return;
    const std::string nick = readShortString(m.nick);
    setLobbyEntry(*list, m.slot, m.colour, m.team, m.race, nick, readShortString(m.address));
    const auto update = makePlayerInfo(KindPlayerInfoUpdate, m.slot, m.colour, m.race, m.team, nick, 0, "");
    sendToSlots(&update, sizeof update, 1, m.slot);
}

void onPlayerInfoUpdate(const TPacket& packet)
{
    const auto m = readMessage<TPlayerInfo>(packet);
    if (TPublicPlayerList* list = lobbyList())
        setLobbyEntry(*list, m.slot, m.colour, m.team, m.race, readShortString(m.nick), readShortString(m.address));
}

void handle(const TPacket& packet)
{
    if (!acceptable(packet))
        return;
    switch (packet.kind()) {
    case KindChatLine: onChatLine(packet); break;
    case KindJoinRequest: onJoinRequest(packet); break;
    case KindChatSend: onChatSend(packet); break;
    case KindLeave: removeClient(readShortString(readMessage<TLeave>(packet).address)); break;
    case KindPlayerNumber: onPlayerNumber(packet); break;
    case KindServerQuery: onServerQuery(packet); break;
    case KindServerInfo: onServerInfo(packet); break;
    case KindYourAddress: OwnAddress = readShortString(readMessage<TYourAddress>(packet).address); break;
    case KindPlayerListChanged: refreshLobbyDisplay(); break;
    case KindLaunchGame: onLaunchGame(packet); break;
    case KindPing: sendPingReply(readMessage<TPing>(packet).clock); break;
    case KindPingReply: recordPingReply(packet.sender, readMessage<TPing>(packet).clock); break;
    case KindServerClosed: serverClosed(); break;
    case KindPlayerInfo: onPlayerInfo(packet); break;
    case KindPlayerInfoChange: onPlayerInfoChange(packet); break;
    case KindPlayerInfoUpdate: onPlayerInfoUpdate(packet); break;
    default:
        if (GameMessageHandler)
            GameMessageHandler(packet);
        break;
    }
}

}  // namespace

std::int32_t TPacket::kind() const
{
    std::int32_t kind = 0;
    if (data.size() >= sizeof kind)
        std::memcpy(&kind, data.data(), sizeof kind);
    return kind;
}

void resetReceiveQueue()
{
    Queue = std::make_unique<TReceiveQueue>(ReceiveQueueCapacity);
}

std::size_t receiveQueueCount()
{
    return Queue ? Queue->count() : 0;
}

bool isDue(std::int64_t stamp, std::int64_t now)
{
    return now / 10 >= stamp / 10 + 3;
}

bool enqueueDatagram(const std::uint8_t* data, std::size_t length, const std::string& sender)
{
    if (length == 0 || !Queue)
        return false;
    if (length < sizeof(TPacketHeader)) {
        logLine("Dropped a datagram of " + std::to_string(length) + " bytes from " + sender +
                ": shorter than the packet header");
        return false;
    }
    TPacket packet;
    std::memcpy(&packet.stamp, data + offsetof(TPacketHeader, Stamp), sizeof packet.stamp);
    packet.data.assign(data, data + length);
    packet.sender = sender;
    // Lobby and chat messages all carry stamp 0: without this they would
    // come out of the heap in no particular order.
    packet.arrival = Arrivals++;
    if (Queue->push(std::move(packet)) != 0) {
        logLine("Erreur d'entassage de packet !");
        return false;
    }
    return true;
}

void receiveStep()
{
    if (!Network || !Queue)
        return;
    std::uint8_t buffer[MaxDatagram];
    for (std::size_t i = 0; i < ReceiveQueueCapacity; ++i) {
        std::string sender;
        const long n = Network->receive(buffer, sender);
        if (n < 0)
            break;
        enqueueDatagram(buffer, static_cast<std::size_t>(n), sender);
    }
}

bool dispatchStep()
{
    if (!Queue)
        return false;
    const TPacket* first = Queue->peek();
    if (!first || !isDue(first->stamp, FrameClock.totalTime))
        return false;
    TPacket packet;
    Queue->pop(packet);
    handle(packet);
    return true;
}
