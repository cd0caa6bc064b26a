// One interface pass over the shipped menu, in a real GL context on SDL's
// offscreen driver (Mesa): the OnUpdate handlers, layout, mouse routing and
// drawing of every frame, with the pointer sweeping over the buttons so that
// enter and leave handlers run. Also the same walk without the drawing, to
// tell the scripts and layout from the GL work.
#include "assets/FTextures.h"
#include "interface/FCursor.h"
#include "interface/FDrawFrame.h"
#include "interface/FFonts.h"
#include "interface/FFrameWalk.h"
#include "interface/FInputRouting.h"
#include "interface/FXMLLoader.h"
#include "platform/Window.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"
#include "shell/FView.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// The menu loaded from build/game/ in a scratch folder that takes the log.
struct LoadedMenu {
    fs::path previous = fs::current_path();
    fs::path dir = fs::temp_directory_path() / "vrax-bench-pass";
    bool ok = false;
    LoadedMenu()
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
        if (!ok)
            return;
        platform::drawableSize(&SurfaceWidth, &SurfaceHeight);
        InitTextures();
        initFonts();
        loadInterface("Interface/Menu/Interface.xml");
    }
    ~LoadedMenu()
    {
        unloadInterface();
        releaseRenderingContext();
        platform::destroyWindow();
        fs::current_path(previous);
        fs::remove_all(dir);
    }
};

// The pointer walks down the left panel and back, crossing every button.
void movePointer(int step)
{
    const int y = 200 + (step * 7) % 700;
    Mouse.interfaceX = 300;
    Mouse.interfaceY = y;
}

void BM_MenuInterfacePass(benchmark::State& state)
{
    LoadedMenu menu;
    if (!menu.ok) {
        state.SkipWithError("build/game/ has no generated fonts and textures");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        movePointer(step++);
        setInterfaceProjection(SurfaceWidth, SurfaceHeight);
        glPushMatrix();
        glScalef(static_cast<float>(SurfaceWidth) / 1600, static_cast<float>(SurfaceHeight) / 1200, 1);
        drawFrame(0);
        glPopMatrix();
        deliverButtonEvent();
        glFinish();  // the drawing is done, not only queued
    }
    state.counters["frames"] = static_cast<double>(frames.size());
}
// llvmpipe draws on worker threads: wall time is the measure.
BENCHMARK(BM_MenuInterfacePass)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MenuWalkWithoutDrawing(benchmark::State& state)
{
    LoadedMenu menu;
    if (!menu.ok) {
        state.SkipWithError("build/game/ has no generated fonts and textures");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        movePointer(step++);
        walkFrame(0, TFramePainter());
        deliverButtonEvent();
    }
}
BENCHMARK(BM_MenuWalkWithoutDrawing)->Unit(benchmark::kMicrosecond);

}  // namespace
