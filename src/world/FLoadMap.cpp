#include "world/FLoadMap.h"

#include "game/FGame.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "platform/Files.h"
#include "shell/FLogs.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <sstream>

namespace {

constexpr int StartingUnits = 3;
constexpr int StartingSpread = 300;  // world units between starting units
constexpr int HostStartingType = 1;
constexpr int JoinerStartingType = 10;
constexpr int FirstPlacedType = 10;

struct TMapRecord {
    long type, x, y;
};

// Three leading integers, or nothing.
std::optional<TMapRecord> parseLine(const std::string& line)
{
    long values[3];
    const char* p = line.c_str();
    for (long& value : values) {
        char* end = nullptr;
        errno = 0;
        value = std::strtol(p, &end, 10);
        if (end == p || errno == ERANGE)
            return std::nullopt;
        p = end;
    }
    return TMapRecord{values[0], values[1], values[2]};
}

bool isComment(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#';
}

void placeUnit(TGame& game, const TMapRecord& r, int lineNumber)
{
    if (static_cast<std::size_t>(r.type) >= UnitTypes.size()) {
        log("Map line " + std::to_string(lineNumber) + ": no unit type " + std::to_string(r.type), LogWarning);
        return;
    }
    if (r.x < 0 || r.x >= MapCells || r.y < 0 || r.y >= MapCells) {
        log("Map line " + std::to_string(lineNumber) + ": cell off the map", LogWarning);
        return;
    }
    const TUnitAttributes& type = UnitTypes[static_cast<std::size_t>(r.type)];
    TUnit& unit = CreateUnit(game, type, r.x * CellSize, r.y * CellSize, NeutralOwner, game.nextMapUnitNumber--);
    for (int c = 0; c < 3; ++c)
        unit.teamColor[c] = MapUnitColour[c];
}

}  // namespace

TCell StartPosition(const std::vector<TCell>& positions, int slot)
{
    if (positions.empty())
        return TCell{MapCells / 2, MapCells / 2};
    const int n = static_cast<int>(positions.size());
    return positions[static_cast<std::size_t>(((slot % n) + n) % n)];
}

bool LoadMapFile(TGame& game, const std::string& path)
{
    const std::optional<std::string> text = platform::readTextFile(platform::contentPath(path));
    if (!text) {
        log("Cannot read the map " + path, LogWarning);
        return false;
    }
    std::istringstream lines(*text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const std::optional<TMapRecord> record = parseLine(line);
        if (!record) {
            if (!isComment(line))
                log("Map line " + std::to_string(lineNumber) + " skipped: " + line, LogWarning);
            continue;
        }
        if (record->type >= FirstPlacedType)
            placeUnit(game, *record, lineNumber);
        else if (record->type >= 0 && record->x >= 0 && record->x < MapCells && record->y >= 0 &&
                 record->y < MapCells)
            game.startPositions.push_back(TCell{static_cast<std::int32_t>(record->x),
                                                static_cast<std::int32_t>(record->y)});
        else
            log("Map line " + std::to_string(lineNumber) + " skipped: " + line, LogWarning);
    }
    if (game.startPositions.empty())
        log("The map " + path + " has no start position; starting in the middle", LogWarning);

    // Every machine's player starts at its own slot's position.
    const TCell start = StartPosition(game.startPositions, game.localPlayer - 1);
    TUnitRequest request;
    request.typeIndex = game.hosting ? HostStartingType : JoinerStartingType;
    request.owner = game.localPlayer;
    request.builderId = -1;
    for (int k = 0; k < StartingUnits; ++k) {
        request.x = static_cast<std::int64_t>(start.x) * CellSize + (k - 1) * StartingSpread;
        request.y = static_cast<std::int64_t>(start.y) * CellSize;
        RequestUnit(game, request);
    }
    return true;
}
