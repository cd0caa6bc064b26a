// How long the main menu takes to load from build/game/: the first load
// (fonts read, textures decoded and uploaded) and a reload (both cached), in
// a real GL context on SDL's offscreen driver.
#include "GameFolder.h"
#include "assets/FTextures.h"
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"

#include <benchmark/benchmark.h>


namespace {

void BM_MenuFirstLoad(benchmark::State& state)
{
    BenchGameFolder folder("vrax-bench-menu");
    if (!folder.ok) {
        state.SkipWithError("build/game/ has no generated fonts and textures");
        return;
    }
    for (auto _ : state) {
        InitTextures();
        initFonts();
        loadInterface("Interface/Menu/Interface.xml");
    }
    state.counters["frames"] = static_cast<double>(frames.size());
}
BENCHMARK(BM_MenuFirstLoad)->Unit(benchmark::kMillisecond);

void BM_MenuReload(benchmark::State& state)
{
    BenchGameFolder folder("vrax-bench-menu");
    if (!folder.ok) {
        state.SkipWithError("build/game/ has no generated fonts and textures");
        return;
    }
    InitTextures();
    initFonts();
    loadInterface("Interface/Menu/Interface.xml");
    for (auto _ : state) {
        unloadInterface();
        loadInterface("Interface/Menu/Interface.xml");
    }
}
BENCHMARK(BM_MenuReload)->Unit(benchmark::kMillisecond);

}  // namespace
