// FTransmit: one sender per message kind. Each fills its record (unused bytes
// zero), stamps it and sends it whole to the destinations the protocol gives:
// one address, the server address, or the client table's slots.
#pragma once

#include "net/FNetwork.h"

#include <cstddef>
#include <cstdint>
#include <string>

// One datagram to one address; nothing when the network is not started.
void sendDatagram(const std::string& address, const void* data, std::size_t length);
// To every filled slot from `first` on, skipping `except` (-1: none) and machines that left.
void sendToSlots(const void* data, std::size_t length, int first, int except = -1);

void sendChatLine(std::int32_t playerId, const std::string& address, const std::string& nick, const std::string& text);
void sendChatSend(std::int32_t playerId, const std::string& nick, const std::string& text);
void sendJoinRequest(const std::string& address, const std::string& nick, std::int32_t team);
void sendLeave(const std::string& to, const std::string& ownAddress);
void sendPlayerNumber(const std::string& address, std::int32_t slot);
void sendServerQuery();
void sendServerInfo(const std::string& address, const std::string& name, std::int32_t count, const std::string& text);
void sendYourAddress(const std::string& address);
void sendPlayerListChanged(int exceptSlot);
void sendLaunchGame(const std::string& address, std::int32_t clockStart);
void sendPing(const std::string& address, std::int64_t clock);
void sendPingReply(std::int64_t clock);
void sendServerClosed();
// PlayerInfo (or PlayerInfoUpdate) describing lobby slot `slot`.
TPlayerInfo makePlayerInfo(std::int32_t kind, std::int32_t slot, std::int32_t colour, std::int32_t race,
                           std::int32_t team, const std::string& nick, std::uint8_t local,
                           const std::string& address);

// Game messages.
void sendUnitDamage(std::int32_t unitId, std::int32_t hitPoints);
void sendBuildRequest(std::int32_t x, std::int32_t y, std::int32_t unitType, std::int32_t owner,
                      std::int32_t builderId);
void sendUnitCreated(std::int32_t unitId, std::int32_t x, std::int32_t y, std::int32_t unitType, std::int32_t owner,
                     std::int32_t builderId);
// `order` carries the unit id, order kind, targets and queue flag; the header is written here.
void sendUnitOrder(TUnitOrder order);
void sendOrderBroadcast(TUnitOrder order);
// To each slot from 1, that slot's own resources.
void sendResources();
// `state` carries the index, mask and the mask's fields; the header is written here.
void sendUnitState(TUnitState state);
