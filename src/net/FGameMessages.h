// FGameMessages: the game's messages as the bytes that travel, and back.
// Pure bytes and records, no socket and no game state, so the handlers, the
// tests and a fuzz target share one reading of every layout.
#pragma once

#include "game/FReports.h"
#include "net/FNetwork.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

// A UnitOrder of kind 8 (a cast) carries the spell slot in its x field, which
// that kind leaves unused; this slot value stands for the Defend key, which
// ends the unit's Defend effect or casts it.
constexpr std::int32_t DefendKeySlot = -1;

// The record `T` at the start of `data`, or nothing when the datagram is too short.
template <typename T>
std::optional<T> ReadRecord(const std::vector<std::uint8_t>& data)
{
    if (data.size() < sizeof(T))
        return std::nullopt;
    T record;
    std::memcpy(&record, data.data(), sizeof record);
    return record;
}

// A zeroed record with its header written.
template <typename T>
T MakeRecord(std::int32_t kind, std::int64_t stamp)
{
    T record;
    std::memset(&record, 0, sizeof record);
    const TPacketHeader header{kind, stamp};
    std::memcpy(&record, &header, sizeof header);
    return record;
}

// UnitState: the fields of the update's mask (others zero), stamped with the update's stamp.
TUnitState EncodeUnitState(const TUnitUpdate& update);
TUnitUpdate DecodeUnitState(const TUnitState& state);

// UnitOrder (or OrderBroadcast) for one unit: `x`, `y` the cell of cell
// orders or the spell slot of a cast, `target` the target unit's id.
TUnitOrder EncodeOrder(std::int32_t kind, std::int64_t stamp, std::int32_t unitNumber, std::uint8_t order,
                       std::int32_t x, std::int32_t y, std::int32_t target, bool queued);

// BuildRequest and UnitCreated.
TBuildRequest EncodeUnitRequest(std::int32_t kind, std::int64_t stamp, const TUnitRequest& request,
                                std::int32_t unitNumber);
TUnitRequest DecodeUnitRequest(const TBuildRequest& message);
