// One interface pass over the shipped menu, in a real GL context on SDL's
// offscreen driver (Mesa): the OnUpdate handlers, layout, mouse routing and
// drawing of every frame, with the pointer sweeping over the buttons so that
// enter and leave handlers run. Also the same walk without the drawing, to
// tell the scripts and layout from the GL work.
#include "GameFolder.h"
#include "assets/FTextures.h"
#include "interface/FCursor.h"
#include "interface/FFonts.h"
#include "interface/FFrameWalk.h"
#include "interface/FInputRouting.h"
#include "interface/FXMLLoader.h"
#include "shell/FOpenGL.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>


namespace {

// The menu loaded from build/game/.
struct LoadedMenu : BenchGameFolder {
    LoadedMenu() : BenchGameFolder("vrax-bench-pass")
    {
        if (!ok)
            return;
        InitTextures();
        initFonts();
        loadInterface("Interface/Menu/Interface.xml");
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
        interfacePass();
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
