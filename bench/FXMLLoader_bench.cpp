// How long the main menu takes to load from build/game/: the first load
// (fonts read, textures decoded and uploaded) and a reload (both cached), in
// a real GL context on SDL's offscreen driver.
#include "assets/FTextures.h"
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "platform/Window.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// A scratch folder that sees the game's content, so the log goes there.
struct MenuFolder {
    fs::path previous = fs::current_path();
    fs::path dir = fs::temp_directory_path() / "vrax-bench-menu";
    bool ok = false;
    MenuFolder()
    {
        const fs::path game = VRAX_BINARY_DIR "/game";
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* part : {"Interface", "Fonts", "Textures"})
            if (fs::exists(game / part))
                fs::create_directory_symlink(game / part, dir / part);
        fs::current_path(dir);
        startLog();
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        ok = fs::exists("Fonts/Thorndale14.glf") && platform::createWindow("Vrax", 1024, 764) &&
             createRenderingContext();
    }
    ~MenuFolder()
    {
        unloadInterface();
        releaseRenderingContext();
        platform::destroyWindow();
        fs::current_path(previous);
        fs::remove_all(dir);
    }
};

void BM_MenuFirstLoad(benchmark::State& state)
{
    MenuFolder folder;
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
    MenuFolder folder;
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
