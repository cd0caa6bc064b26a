// The start-up up to the first frame with the whole menu drawn, phase by
// phase as start(0) runs them, on SDL's offscreen driver (Mesa): the window,
// the GL context, the shared textures, cursor and fonts, the menu interface,
// and the first frame (font atlases and textures uploaded, llvmpipe's shaders
// compiled for the states it draws with). Each repetition starts from nothing
// (SDL quit, caches emptied); the process's own loading of its libraries is
// not in here, so a cold process takes longer than the sum. Counters are the
// phases in milliseconds; the median of five repetitions is reported.
#include "GameFolder.h"
#include "assets/FTextures.h"
#include "interface/FCursor.h"
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "platform/Window.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"
#include "shell/FView.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point& mark)
{
    const Clock::time_point now = Clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - mark).count();
    mark = now;
    return ms;
}

void BM_StartupToFirstMenuFrame(benchmark::State& state)
{
    // The folder is set up once; its window is closed again at once, so
    // every repetition makes its own from nothing.
    BenchGameFolder folder("vrax-bench-startup");
    if (!folder.ok) {
        state.SkipWithError("build/game/ has no generated fonts and textures");
        return;
    }
    unloadInterface();
    releaseRenderingContext();
    platform::destroyWindow();

    double window = 0, context = 0, assets = 0, interface = 0, firstFrame = 0;
    for (auto _ : state) {
        Clock::time_point mark = Clock::now();
        if (!platform::createWindow("Vrax", 1024, 764)) {
            state.SkipWithError("no window");
            return;
        }
        window += millisecondsSince(mark);
        createRenderingContext();
        platform::drawableSize(&SurfaceWidth, &SurfaceHeight);
        context += millisecondsSince(mark);
        InitTextures();
        initCursor();
        initFonts();
        assets += millisecondsSince(mark);
        loadInterface("Interface/Menu/Interface.xml");
        interface += millisecondsSince(mark);
        renderFrame();
        glFinish();
        firstFrame += millisecondsSince(mark);

        state.PauseTiming();
        unloadInterface();
        releaseRenderingContext();
        platform::destroyWindow();
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["window_ms"] = window / runs;
    state.counters["context_ms"] = context / runs;
    state.counters["assets_ms"] = assets / runs;
    state.counters["interface_ms"] = interface / runs;
    state.counters["first_frame_ms"] = firstFrame / runs;
    // The window and GL context must exist for the folder's own clean-up.
    platform::createWindow("Vrax", 64, 64);
    createRenderingContext();
}
// llvmpipe works on threads of its own: wall time is the measure.
BENCHMARK(BM_StartupToFirstMenuFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
