#include "net/FTransmit.h"

#include "net/FServer.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <cstring>

namespace {

template <typename T>
T makeMessage(std::int32_t kind, std::int64_t stamp)
{
    T message;
    std::memset(&message, 0, sizeof message);
    TPacketHeader header{kind, stamp};
    std::memcpy(&message, &header, sizeof header);
    return message;
}

template <typename T>
void setHeader(T& message, std::int32_t kind, std::int64_t stamp)
{
    TPacketHeader header{kind, stamp};
    std::memcpy(&message, &header, sizeof header);
}

}  // namespace

void sendDatagram(const std::string& address, const void* data, std::size_t length)
{
    if (Network)
        Network->sendTo(address, data, length);
}

void sendToSlots(const void* data, std::size_t length, int first, int except)
{
    for (int i = first; i < Clients.count; ++i) {
        const TClient* client = Clients.at(i);
        if (!client)
            break;
        if (i != except && !client->left)
            sendDatagram(client->address, data, length);
    }
}

void sendChatLine(std::int32_t playerId, const std::string& address, const std::string& nick, const std::string& text)
{
    auto m = makeMessage<TChatLine>(KindChatLine, 0);
    m.playerId = playerId;
    writeShortString(m.address, address);
    writeShortString(m.nick, nick);
    writeShortString(m.text, text);
    sendToSlots(&m, sizeof m, 0);
}

void sendChatSend(std::int32_t playerId, const std::string& nick, const std::string& text)
{
    logLine("Sending data");
    auto m = makeMessage<TChatSend>(KindChatSend, 0);
    m.playerId = playerId;
    writeShortString(m.nick, nick);
    writeShortString(m.text, text);
    sendDatagram(ServerAddress, &m, sizeof m);
}

void sendJoinRequest(const std::string& address, const std::string& nick, std::int32_t team)
{
    auto m = makeMessage<TJoinRequest>(KindJoinRequest, 0);
    writeShortString(m.nick, nick);
    m.race = 1;
    m.team = team;
    m.one = 1;
    sendDatagram(address, &m, sizeof m);
}

void sendLeave(const std::string& to, const std::string& ownAddress)
{
    auto m = makeMessage<TLeave>(KindLeave, 0);
    writeShortString(m.address, ownAddress);
    sendDatagram(to, &m, sizeof m);
}

void sendPlayerNumber(const std::string& address, std::int32_t slot)
{
    auto m = makeMessage<TPlayerNumber>(KindPlayerNumber, 0);
    m.value = slot;
    sendDatagram(address, &m, sizeof m);
}

void sendServerQuery()
{
    auto m = makeMessage<TServerQuery>(KindServerQuery, 0);
    if (Network)
        Network->broadcast(&m, sizeof m);
}

void sendServerInfo(const std::string& address, const std::string& name, std::int32_t count, const std::string& text)
{
    logLine("Sending data");
    auto m = makeMessage<TServerInfo>(KindServerInfo, 0);
    writeShortString(m.name, name);
    m.playerCount = count;
    writeShortString(m.text, text);
    sendDatagram(address, &m, sizeof m);
}

void sendYourAddress(const std::string& address)
{
    auto m = makeMessage<TYourAddress>(KindYourAddress, 0);
    writeShortString(m.address, address);
    sendDatagram(address, &m, sizeof m);
}

void sendPlayerListChanged(int exceptSlot)
{
    auto m = makeMessage<TServerQuery>(KindPlayerListChanged, 0);
    sendToSlots(&m, sizeof m, 0, exceptSlot);
}

void sendLaunchGame(const std::string& address, std::int32_t clockStart)
{
    auto m = makeMessage<TLaunchGame>(KindLaunchGame, 0);
    m.value = clockStart;
    sendDatagram(address, &m, sizeof m);
}

void sendPing(const std::string& address, std::int64_t clock)
{
    auto m = makeMessage<TPing>(KindPing, 0);
    m.clock = clock;
    sendDatagram(address, &m, sizeof m);
}

void sendPingReply(std::int64_t clock)
{
    auto m = makeMessage<TPing>(KindPingReply, 0);
    m.clock = clock;
    sendDatagram(ServerAddress, &m, sizeof m);
}

void sendServerClosed()
{
    auto m = makeMessage<TServerQuery>(KindServerClosed, 0);
    sendToSlots(&m, sizeof m, 1);
}

TPlayerInfo makePlayerInfo(std::int32_t kind, std::int32_t slot, std::int32_t colour, std::int32_t race,
                           std::int32_t team, const std::string& nick, std::uint8_t local,
                           const std::string& address)
{
    auto m = makeMessage<TPlayerInfo>(kind, 0);
    m.slot = slot;
    m.colour = colour;
    m.race = race;
    m.team = team;
    writeShortString(m.nick, nick);
    m.local = local;
    writeShortString(m.address, address);
    return m;
}

void sendUnitDamage(std::int32_t unitId, std::int32_t hitPoints)
{
    auto m = makeMessage<TUnitDamage>(KindUnitDamage, 0);
    m.unitId = unitId;
    m.hitPoints = hitPoints;
    sendToSlots(&m, sizeof m, 0);
}

void sendBuildRequest(std::int32_t x, std::int32_t y, std::int32_t unitType, std::int32_t owner,
                      std::int32_t builderId)
{
    auto m = makeMessage<TBuildRequest>(KindBuildRequest, FrameClock.totalTime);
    m.x = x;
    m.y = y;
    m.unitType = unitType;
    m.owner = owner;
    m.builderId = builderId;
    sendDatagram(ServerAddress, &m, sizeof m);
}

void sendUnitCreated(std::int32_t unitId, std::int32_t x, std::int32_t y, std::int32_t unitType, std::int32_t owner,
                     std::int32_t builderId)
{
    auto m = makeMessage<TUnitCreatedMessage>(KindUnitCreated, FrameClock.totalTime);
    m.unitId = unitId;
    m.x = x;
    m.y = y;
    m.unitType = unitType;
    m.owner = owner;
    m.builderId = builderId;
    sendToSlots(&m, sizeof m, 0);
}

void sendUnitOrder(TUnitOrder order)
{
    logLine("Sending data");
    setHeader(order, KindUnitOrder, FrameClock.totalTime);
    sendDatagram(ServerAddress, &order, sizeof order);
}

void sendOrderBroadcast(TUnitOrder order)
{
    logLine("Sending data");
    setHeader(order, KindOrderBroadcast, FrameClock.totalTime);
    sendToSlots(&order, sizeof order, 0);
}

void sendResources()
{
    for (int i = 1; i < Clients.count; ++i) {
        const TClient* client = Clients.at(i);
        if (!client)
            break;
        if (client->left)
            continue;
        auto m = makeMessage<TResources>(KindResources, FrameClock.totalTime);
        m.gold = client->player.gold;
        m.wood = client->player.wood;
        sendDatagram(client->address, &m, sizeof m);
    }
}

void sendUnitState(TUnitState state)
{
    setHeader(state, KindUnitState, FrameClock.totalTime + 30);
    sendToSlots(&state, sizeof state, 1);
}
