// Any bytes as a map file, loaded into a game with the shipped definitions
// the way the game start does, then a few frames played on it. Whatever the
// file held, every unit stands on the map, every start position is a cell of
// it, and nothing crashes.
#include "game/FGame.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "world/FLoadMap.h"

#include "FuzzLog.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace {

// One game for every input: making its grid and path finder anew would be most of the time.
TGame* game = nullptr;

}  // namespace

// The definitions and the game are made once, before the first input is timed.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startLog();
    if (!LoadDefinitions(VRAX_SOURCE_DIR "/content/Data"))
        __builtin_trap();
    game = new TGame;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::keepLogSmall();
    std::filesystem::create_directory("Maps");
    {
        std::ofstream out("Maps/Fuzz.vrax", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // The host and the joiners ask for different starting units at different places.
    const std::int32_t localPlayer = 1 + static_cast<std::int32_t>(size % 4);
    TGame& game = *::game;
    InitGame(game, localPlayer, localPlayer == 1);
    game.random.seed(0);
    if (!LoadMapFile(game, "Maps/Fuzz.vrax"))
        __builtin_trap();
    for (const TCell& cell : game.startPositions)
        if (cell.x < 0 || cell.y < 0 || cell.x >= MapCells || cell.y >= MapCells)
            __builtin_trap();
    std::int64_t clock = 0;
    for (int frame = 0; frame < 3; ++frame) {
        clock += 50;
        BroadcastUnitStates(game, clock);
        UpdateGame(game, clock, 50);
    }
    for (const auto& unit : game.units)
        if (!game.map.OnGrid(unit->cellX, unit->cellY))
            __builtin_trap();
    // Hand back what this input took, or libFuzzer would suspect a leak in every run.
    decltype(game.units)().swap(game.units);
    decltype(game.projectiles)().swap(game.projectiles);
    decltype(game.startPositions)().swap(game.startPositions);
    return 0;
}
