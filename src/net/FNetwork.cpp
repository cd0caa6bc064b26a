#include "net/FNetwork.h"

#include "net/FNetGame.h"
#include "net/FReceive.h"
#include "net/FServer.h"
#include "net/FTransmit.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

const char* const BroadcastAddress = "255.255.255.255";
const char* const LocalAddress = "127.0.0.1";

std::unique_ptr<TNetwork> Network;

// The wire layouts: every size and field offset as the protocol fixes them.
static_assert(sizeof(TShortString) == 256);
static_assert(sizeof(TPacketHeader) == 12 && offsetof(TPacketHeader, Stamp) == 4);
static_assert(sizeof(TChatLine) == 784 && offsetof(TChatLine, playerId) == 12 && offsetof(TChatLine, address) == 16 &&
              offsetof(TChatLine, nick) == 272 && offsetof(TChatLine, text) == 528);
static_assert(sizeof(TUnitDamage) == 20 && offsetof(TUnitDamage, unitId) == 12 &&
              offsetof(TUnitDamage, hitPoints) == 16);
static_assert(sizeof(TJoinRequest) == 280 && offsetof(TJoinRequest, nick) == 12 && offsetof(TJoinRequest, race) == 268 &&
              offsetof(TJoinRequest, team) == 272 && offsetof(TJoinRequest, one) == 276);
static_assert(sizeof(TLeave) == 268 && offsetof(TLeave, address) == 12);
static_assert(sizeof(TBuildRequest) == 36 && offsetof(TBuildRequest, unitId) == 12 && offsetof(TBuildRequest, x) == 16 &&
              offsetof(TBuildRequest, y) == 20 && offsetof(TBuildRequest, unitType) == 24 &&
              offsetof(TBuildRequest, owner) == 28 && offsetof(TBuildRequest, builderId) == 32);
static_assert(sizeof(TPlayerNumber) == 16 && offsetof(TPlayerNumber, value) == 12);
static_assert(sizeof(TServerInfo) == 528 && offsetof(TServerInfo, name) == 12 &&
              offsetof(TServerInfo, playerCount) == 268 && offsetof(TServerInfo, text) == 272);
static_assert(sizeof(TUnitOrder) == 30 && offsetof(TUnitOrder, unitId) == 12 && offsetof(TUnitOrder, order) == 16 &&
              offsetof(TUnitOrder, x) == 17 && offsetof(TUnitOrder, y) == 21 && offsetof(TUnitOrder, targetId) == 25 &&
              offsetof(TUnitOrder, queue) == 29);
static_assert(sizeof(TPing) == 20 && offsetof(TPing, clock) == 12);
static_assert(sizeof(TPlayerInfo) == 541 && offsetof(TPlayerInfo, slot) == 12 && offsetof(TPlayerInfo, colour) == 16 &&
              offsetof(TPlayerInfo, race) == 20 && offsetof(TPlayerInfo, team) == 24 &&
              offsetof(TPlayerInfo, nick) == 28 && offsetof(TPlayerInfo, local) == 284 &&
              offsetof(TPlayerInfo, address) == 285);
static_assert(sizeof(TResearch) == 20 && offsetof(TResearch, player) == 12 && offsetof(TResearch, upgrade) == 16);
static_assert(sizeof(TResources) == 28 && offsetof(TResources, gold) == 12 && offsetof(TResources, wood) == 20);
static_assert(sizeof(TUnitState) == 187 && offsetof(TUnitState, unitIndex) == 12 &&
              offsetof(TUnitState, updateMask) == 16 && offsetof(TUnitState, stat7) == 20 &&
              offsetof(TUnitState, unitNumber) == 24 && offsetof(TUnitState, effectCount) == 60 &&
              offsetof(TUnitState, buildProgress) == 108 &&
              offsetof(TUnitState, posX) == 28 && offsetof(TUnitState, posY) == 36 && offsetof(TUnitState, posZ) == 44 &&
              offsetof(TUnitState, cellX) == 52 && offsetof(TUnitState, cellY) == 56 &&
              offsetof(TUnitState, targetX) == 64 && offsetof(TUnitState, targetY) == 68 &&
              offsetof(TUnitState, hitPoints) == 76 && offsetof(TUnitState, mana) == 84 &&
              offsetof(TUnitState, hitPointsAlt) == 92 && offsetof(TUnitState, manaAlt) == 100 &&
              offsetof(TUnitState, isBuilding) == 117 && offsetof(TUnitState, underConstruction) == 129 &&
              offsetof(TUnitState, sizeFactor) == 130 && offsetof(TUnitState, maxHitPoints) == 134 &&
              offsetof(TUnitState, maxMana) == 138 && offsetof(TUnitState, stat6) == 142 &&
              offsetof(TUnitState, stat5) == 146 && offsetof(TUnitState, stat3) == 150 &&
              offsetof(TUnitState, stat4) == 154 && offsetof(TUnitState, effectCounter1) == 158 &&
              offsetof(TUnitState, effectCounter2) == 162 && offsetof(TUnitState, effectValue) == 166 &&
              offsetof(TUnitState, effectExpired) == 170 && offsetof(TUnitState, effectAbilityId) == 171 &&
              offsetof(TUnitState, effectEntry) == 175 && offsetof(TUnitState, effectValue1) == 179 &&
              offsetof(TUnitState, effectValue2) == 183);

std::size_t messageSize(std::int32_t kind)
{
    switch (kind) {
    case KindChatLine:
    case KindChatSend: return sizeof(TChatLine);
    case KindUnitDamage:
    case KindDamageRequest: return sizeof(TUnitDamage);
    case KindJoinRequest: return sizeof(TJoinRequest);
    case KindLeave:
    case KindYourAddress: return sizeof(TLeave);
    case KindBuildRequest:
    case KindUnitCreated: return sizeof(TBuildRequest);
    case KindPlayerNumber:
    case KindLaunchGame: return sizeof(TPlayerNumber);
    case KindServerQuery:
    case KindPlayerListChanged:
    case KindServerClosed: return sizeof(TPacketHeader);
    case KindServerInfo: return sizeof(TServerInfo);
    case KindUnitOrder:
    case KindOrderBroadcast: return sizeof(TUnitOrder);
    case KindPing:
    case KindPingReply: return sizeof(TPing);
    case KindPlayerInfo:
    case KindPlayerInfoChange:
    case KindPlayerInfoUpdate: return sizeof(TPlayerInfo);
    case KindResearch: return sizeof(TResearch);
    case KindResources: return sizeof(TResources);
    case KindUnitState: return sizeof(TUnitState);
    default: return 0;
    }
}

const char* messageName(std::int32_t kind)
{
    switch (kind) {
    case KindChatLine: return "ChatLine";
    case KindUnitDamage: return "UnitDamage";
    case KindJoinRequest: return "JoinRequest";
    case KindChatSend: return "ChatSend";
    case KindLeave: return "Leave";
    case KindBuildRequest: return "BuildRequest";
    case KindUnitCreated: return "UnitCreated";
    case KindPlayerNumber: return "PlayerNumber";
    case KindDamageRequest: return "DamageRequest";
    case KindServerQuery: return "ServerQuery";
    case KindServerInfo: return "ServerInfo";
    case KindUnitOrder: return "UnitOrder";
    case KindYourAddress: return "YourAddress";
    case KindPlayerListChanged: return "PlayerListChanged";
    case KindLaunchGame: return "LaunchGame";
    case KindOrderBroadcast: return "OrderBroadcast";
    case KindPing: return "Ping";
    case KindPingReply: return "PingReply";
    case KindServerClosed: return "ServerClosed";
    case KindPlayerInfo: return "PlayerInfo";
    case KindPlayerInfoChange: return "PlayerInfoChange";
    case KindPlayerInfoUpdate: return "PlayerInfoUpdate";
    case KindResearch: return "Research";
    case KindResources: return "Resources";
    case KindUnitState: return "UnitState";
    default: return "unknown";
    }
}

std::string readShortString(const TShortString& s)
{
    return std::string(s.text, s.length);
}

void writeShortString(TShortString& s, const std::string& text)
{
    const std::size_t n = std::min<std::size_t>(text.size(), sizeof s.text);
    std::memset(s.text, 0, sizeof s.text);
    std::memcpy(s.text, text.data(), n);
    s.length = static_cast<std::uint8_t>(n);
}

void networkStart(const TConfig& config, std::unique_ptr<TNetwork> endpoint)
{
    OwnPlayerId = -42;
    OwnPlayerNumber = -41;
    Network = std::move(endpoint);
    lobbyStart(config);
    resetReceiveQueue();
    NetGameWait();
}

std::string networkProblem()
{
    return Network ? Network->problem() : std::string();
}

void networkFrame()
{
    if (!Network)
        return;
    receiveStep();
    while (dispatchStep()) {
    }
    repeatLaunch();
}

void networkStop()
{
    if (!Network)
        return;
    sendLeave(ServerAddress, OwnAddress);
    Network->close();
    Network.reset();
}
