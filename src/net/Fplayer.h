// Fplayer: the player records. Tplayer is one client table slot's player
// (resources, colour, team, race, nick); TPublicPlayerList is the lobby list
// that slot 0 owns and the menu shows. FServer fills both.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class Tplayer {
public:
    double gold = 2500;  // first resource
    double wood = 0;     // second resource
    std::int32_t colour = 0;
    std::int32_t team = 1;
    std::int32_t race = 1;
    std::int32_t spare = 0;
    std::int32_t unitCount = 0;  // raised with interface event 11 when a unit is created
    std::string nick = "Error_noNick";
};

class TPublicPlayerInfo {
public:
    std::uint8_t local = 0;  // this entry is the player of the machine holding the list
    std::int32_t colour = -1;
    std::int32_t team = -1;
    std::int32_t race = -1;
    std::string nick = "Error FPlayer l. 163";
    std::string address = "Error IP";
};

class TPublicPlayerList {
public:
    static constexpr int Capacity = 8;
    std::array<std::unique_ptr<TPublicPlayerInfo>, Capacity> entries;
    std::int32_t count = 0;

    // The entry at `index`, or nullptr when the index is outside 0..7 or empty.
    TPublicPlayerInfo* at(int index) const;
};
