// The rules at full speed, as vrax-sim and a dedicated host run them: ticks a
// second with 1000 and with 200 units fighting on the Welcome map, each tick
// one frame of 10 ms. The baseline in the same run is the same crowd of one
// player standing still, where a tick costs only what every unit pays for
// being there (animation, the idle search for enemies, regeneration).
#include "GameFolder.h"

#include "game/FGame.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "world/FLoadMap.h"

#include <benchmark/benchmark.h>

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

    // `count` units: Spearmen of player 1 in ranks north of the stone
    // circle and, when fighting, as many Raiders of player 2 south of it,
    // each sent to the middle line, where they meet and fight; otherwise all
    // of them are player 1's and stand.
    Battle(int count, bool fighting)
    {
        InitGame(game, 1, true);
        LoadMapFile(game, "Maps/Welcome.vrax");
        const TUnitAttributes* spearman = typeNamed("Spearman");
        const TUnitAttributes* raider = typeNamed("Raider");
        const int perSide = fighting ? count / 2 : count;
        place(*spearman, 1, perSide, 150, -5, fighting);
        if (fighting)
            place(*raider, 2, count - perSide, 330, 5, true);
        // Long enough for the armies to meet and settle into the fight.
        run(fighting ? 1500 : 10);
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
    // Ranks of 50, five cells apart, from row y outwards by `step`, skipping
    // the cells the map's stones stand on.
    void place(const TUnitAttributes& type, int owner, int count, int y, int step, bool march)
    {
        int placed = 0;
        for (int slot = 0; placed < count; ++slot) {
            const int x = 115 + (slot % 50) * 5;
            const int row = y + (slot / 50) * step;
            if (!IsFootprintFree(game.map, type.size, x, row))
                continue;
            TUnit& unit = CreateUnit(game, type, x * 16 + 8, row * 16 + 8, owner, game.nextUnitId++);
            if (march)
                GiveOrder(game, unit, Torder::ToCell(OrderKind::MoveTo, x, row + (240 - y)));
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
