// FReceive: the receive queue and the handlers. Each frame the receive step
// moves waiting datagrams into a queue ordered by their stamp, and the
// dispatch step hands every due message to the handler of its kind: lobby,
// chat and clock messages here, game messages to the game rules' handler.
#pragma once

#include "game/pqueue.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr std::size_t ReceiveQueueCapacity = 4096;

struct TPacket {
    std::int64_t stamp = 0;
    std::uint64_t arrival = 0;       // receive order, which breaks ties between equal stamps
    std::vector<std::uint8_t> data;  // the whole datagram, header included
    std::string sender;              // dotted address
    std::int32_t kind() const;
};

struct TPacketBefore {
    bool operator()(const TPacket& a, const TPacket& b) const
    {
        return a.stamp < b.stamp || (a.stamp == b.stamp && a.arrival < b.arrival);
    }
};

using TReceiveQueue = TpQueue<TPacket, TPacketBefore>;

// Game messages (unit damage, build requests, unit creation, orders,
// resources, unit state) go to this handler once checked; unset, they are
// consumed without effect.
extern std::function<void(const TPacket&)> GameMessageHandler;

// A fresh, empty queue.
void resetReceiveQueue();
std::size_t receiveQueueCount();

// Whether a message stamped `stamp` may be handled at game clock `now`.
bool isDue(std::int64_t stamp, std::int64_t now);

// One received datagram into the queue; false when it was dropped (empty,
// shorter than the header, or the queue is full).
bool enqueueDatagram(const std::uint8_t* data, std::size_t length, const std::string& sender);
// Every waiting datagram into the queue, at most the queue's capacity per frame.
void receiveStep();
// Handles the earliest queued message if it is due: true, or false when the
// queue is empty or its first message must wait.
bool dispatchStep();
