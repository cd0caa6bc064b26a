// The rules at full speed, as vrax-sim and a dedicated host run them: ticks a
// second with 1000 and with 200 units fighting on the Welcome map, each tick
// one frame of 10 ms, measured over the 1000 ticks after the fronts meet. The baseline in the same run is the same crowd of one
// player standing still, where a tick costs only what every unit pays for
// being there (animation, the idle search for enemies, regeneration).
#include "GameFolder.h"

#include "game/FGame.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "world/FLoadMap.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

namespace {

// The game folder's data, maps and models beside the benchmarks' scratch folder.
struct SimFolder {
    BenchGameFolder folder{"vrax-bench-sim"};
    bool ok = false;
    SimFolder()
    {
        const std::filesystem::path game = VRAX_BINARY_DIR "/game";
        for (const char* part : {"Data", "Maps", "Models"})
            if (std::filesystem::exists(game / part))
                std::filesystem::create_directory_symlink(game / part, part);
        ResetDefinitions();
        ok = folder.ok && LoadDefinitions("Data") && std::filesystem::exists("Maps/Welcome.vrax");
    }
    ~SimFolder() { ResetDefinitions(); }
};

const TUnitAttributes* typeNamed(const char* name)
{
    for (const TUnitAttributes& type : UnitTypes)
        if (type.name == name)
            return &type;
    return nullptr;
}

class Battle {
public:
    TGame game;

    // `count` units in two square blocks west of the stone circle: when
    // fighting, Spearmen of player 1 and Raiders of player 2 a few cells
    // apart, who find each other by themselves (soldiers are aggressive);
    // otherwise both blocks are player 1's and stand.
    Battle(int count, bool fighting)
    {
        InitGame(game, 1, true);
        LoadMapFile(game, "Maps/Welcome.vrax");
        const TUnitAttributes* spearman = typeNamed("Spearman");
        const TUnitAttributes* raider = typeNamed("Raider");
        const int west = count / 2;
        const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(west)))) * Pitch;
        place(*spearman, 1, west, 120);
        place(fighting ? *raider : *spearman, fighting ? 2 : 1, count - west, 120 + side + 15);
        // Long enough for the fronts to close and the fight to spread.
        run(fighting ? 300 : 10);
    }

    void run(int ticks)
    {
        for (int i = 0; i < ticks; ++i) {
            clock_ += 10;
            BroadcastUnitStates(game, clock_);
            UpdateGame(game, clock_, 10);
        }
    }

    int alive() const
    {
        int n = 0;
        for (const auto& unit : game.units)
            n += unit->alive && !unit->IsBuilding();
        return n;
    }

private:
    static constexpr int Pitch = 5;  // a soldier's four cells and one between

    // A square block centred on (x, 240), skipping cells a stone stands on.
    void place(const TUnitAttributes& type, int owner, int count, int x)
    {
        const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
        int placed = 0;
        for (int slot = 0; placed < count; ++slot) {
            const int cx = x - columns * Pitch / 2 + (slot % columns) * Pitch;
            const int cy = 240 - columns * Pitch / 2 + (slot / columns) * Pitch;
            if (!IsFootprintFree(game.map, type.size, cx, cy))
                continue;
            CreateUnit(game, type, cx * 16 + 8, cy * 16 + 8, owner, game.nextUnitId++);
            ++placed;
        }
    }

    std::int64_t clock_ = 0;
};

void tickRate(benchmark::State& state, bool fighting)
{
    SimFolder folder;
    if (!folder.ok) {
        state.SkipWithError("build the game first: build/game needs Fonts, Data, Maps and Models");
        return;
    }
    Battle battle(static_cast<int>(state.range(0)), fighting);
    const int before = battle.alive();
    for (auto _ : state)
        battle.run(1);
    state.counters["ticks/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["units_at_start"] = before;
    state.counters["units_at_end"] = battle.alive();
}

void BM_SimulationFighting(benchmark::State& state)
{
    tickRate(state, true);
}
BENCHMARK(BM_SimulationFighting)->Arg(1000)->Arg(200)->Iterations(1000)->Unit(benchmark::kMicrosecond);

void BM_SimulationStanding(benchmark::State& state)
{
    tickRate(state, false);
}
BENCHMARK(BM_SimulationStanding)->Arg(1000)->Arg(200)->Iterations(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
