// NetworkInput: how the network fuzz target reads its bytes, shared with the
// program that writes its seeds. Byte 0 picks the kind, byte 1 the sender
// and the machine's switches, bytes 2-3 the datagram's length; the rest is
// the datagram after its kind.
#pragma once

#include "net/FNetwork.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace fuzzing {

// Every kind of the catalogue, a few outside it, and 0. New kinds go at the
// end, so the corpus's inputs keep the kinds they were found with.
inline const std::int32_t NetworkKinds[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                            16, 17, 18, 19, 20, 21, 22, 23, 24, 30, 100, 14, 0, 26};
inline constexpr std::size_t NetworkKindCount = sizeof NetworkKinds / sizeof NetworkKinds[0];

enum NetworkSwitch : std::uint8_t { SwitchHosting = 0x10, SwitchInterfaceReady = 0x20, SwitchInGame = 0x40 };

// The fuzz input that delivers `datagram` (whose first four bytes are its kind).
inline std::vector<std::uint8_t> networkInput(std::size_t kindIndex, std::uint8_t switches,
                                              const std::vector<std::uint8_t>& datagram)
{
    std::vector<std::uint8_t> input = {static_cast<std::uint8_t>(kindIndex), switches,
                                       static_cast<std::uint8_t>(datagram.size() & 0xFF),
                                       static_cast<std::uint8_t>(datagram.size() >> 8)};
    if (datagram.size() > 4)
        input.insert(input.end(), datagram.begin() + 4, datagram.end());
    return input;
}

}  // namespace fuzzing
