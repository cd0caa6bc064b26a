// The rules at full speed, as vrax-sim and a dedicated host run them: ticks a
// second with 1000 and with 200 units fighting on the Welcome map, each tick
// one frame of 10 ms, measured over the 1000 ticks after the fronts meet. The baseline in the same run is the same crowd of one
// player standing still, where a tick costs only what every unit pays for
// being there (animation, the idle search for enemies, regeneration). A
// third battle mixes in archers, casters and heroes: arrows in flight,
// auras and cast effects ticking.
#include "GameFolder.h"

#include "game/FEffects.h"
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
    // Mixed: of every 50 on a side, one hero, two casters, twenty archers.
    Battle(int count, bool fighting, bool mixed = false) : mixed_(mixed)
    {
        InitGame(game, 1, true);
        LoadMapFile(game, "Maps/Welcome.vrax");
        const Army west{"Spearman", "Warden", "Acolyte", "Bowman"};
        const Army east{"Raider", "Warlord", "Shaman", "Slinger"};
        const int half = count / 2;
        const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(half)))) * Pitch;
        place(west, 1, half, 120);
        place(fighting ? east : west, fighting ? 2 : 1, count - half, 120 + side + 15);
        // Long enough for the fronts to close and the fight to spread.
        run(fighting ? 300 : 10);
    }

    void run(int ticks)
    {
        for (int i = 0; i < ticks; ++i) {
            if (mixed_ && game.tick % 100 == 0)
                castAll();
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

    struct Army {
        const char* soldier;
        const char* hero;
        const char* caster;
        const char* archer;
    };

    const TUnitAttributes& typeOf(const Army& army, int slot) const
    {
        if (!mixed_ || slot % 50 >= 23)
            return *typeNamed(army.soldier);
        if (slot % 50 == 0)
            return *typeNamed(army.hero);
        return *typeNamed(slot % 50 < 3 ? army.caster : army.archer);
    }

    // Every second each caster casts its second spell: on the enemy it
    // fights when it has one, else on itself (refusals included).
    void castAll()
    {
        for (std::size_t i = 0; i < game.units.size(); ++i) {
            TUnit& unit = *game.units[i];
            if (!unit.alive || unit.spells.size() < 2 || unit.unitType->type == UnitKind::Hero)
                continue;
            TUnit* target = CurrentTarget(unit);
            CastAbility(game, unit, target ? *target : unit, 1);
        }
    }

    // A square block centred on (x, 240), skipping cells a stone stands on.
    void place(const Army& army, int owner, int count, int x)
    {
        const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
        int placed = 0;
        for (int slot = 0; placed < count; ++slot) {
            const int cx = x - columns * Pitch / 2 + (slot % columns) * Pitch;
            const int cy = 240 - columns * Pitch / 2 + (slot / columns) * Pitch;
            const TUnitAttributes& type = typeOf(army, slot);
            if (!IsFootprintFree(game.map, type.size, cx, cy))
                continue;
            CreateUnit(game, type, cx * 16 + 8, cy * 16 + 8, owner, game.nextUnitId++);
            ++placed;
        }
    }

    bool mixed_ = false;
    std::int64_t clock_ = 0;
};

void tickRate(benchmark::State& state, bool fighting, bool mixed = false)
{
    SimFolder folder;
    if (!folder.ok) {
        state.SkipWithError("build the game first: build/game needs Fonts, Data, Maps and Models");
        return;
    }
    Battle battle(static_cast<int>(state.range(0)), fighting, mixed);
    const int before = battle.alive();
    for (auto _ : state)
        battle.run(1);
    state.counters["ticks/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["units_at_start"] = before;
    state.counters["units_at_end"] = battle.alive();
    state.counters["missiles"] = static_cast<double>(battle.game.projectiles.size());
}

void BM_SimulationFighting(benchmark::State& state)
{
    tickRate(state, true);
}
BENCHMARK(BM_SimulationFighting)->Arg(1000)->Arg(200)->Iterations(1000)->Unit(benchmark::kMicrosecond);

void BM_SimulationMixed(benchmark::State& state)
{
    tickRate(state, true, true);
}
BENCHMARK(BM_SimulationMixed)->Arg(1000)->Iterations(1000)->Unit(benchmark::kMicrosecond);

void BM_SimulationStanding(benchmark::State& state)
{
    tickRate(state, false);
}
BENCHMARK(BM_SimulationStanding)->Arg(1000)->Arg(200)->Iterations(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
