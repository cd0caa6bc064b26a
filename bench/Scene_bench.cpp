// The CPU work of one game frame with 200 animated units in view, without
// the GL driver's own cost: the animation step the game pays for every unit,
// then what drawing adds: the ground's culled index list, the per-unit and
// per-geoset culling, the skinning of every drawn vertex and the circle
// choice. The baseline in the same run is the animation step alone. Then
// the whole frame as the game runs it (pick pass, scene, game interface,
// minimap and cursor drawn by Mesa, then one tick of the rules), whose wall
// time gives the frames per second.
#include "GameFolder.h"

#include "assets/FDisplay.h"
#include "game/FGame.h"
#include "game/FUnitLoad.h"
#include "interaction/FCamera.h"
#include "interaction/FPicking.h"
#include "interaction/FSelection.h"
#include "assets/FModel.h"
#include "assets/FLoader.h"
#include "assets/FTextures.h"
#include "interface/FCursor.h"
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "shell/FFPS.h"
#include "shell/FOpenGL.h"
#include "world/FTerrain.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>


namespace {

struct SceneFolder {
    BenchGameFolder folder{"vrax-bench-scene"};
    bool ok = false;
    SceneFolder()
    {
        ResetDefinitions();
        ok = folder.ok && LoadDefinitions("Data");
    }
    ~SceneFolder() { ResetDefinitions(); }
};

// 200 units of four kinds walking, fighting and standing in a block of
// 20 x 10 around the camera's target, a quarter of them selected.
struct Crowd {
    TGame game;
    TMouse mouse;
    Crowd()
    {
        InitGame(game, 1, true);
        const char* names[] = {"Spearman", "Raider", "Bowman", "Serf"};
        const char* animations[] = {"Walk", "Attack", "Stand", "Walk"};
        for (int i = 0; i < 200; ++i) {
            const TUnitAttributes* type = nullptr;
            for (const TUnitAttributes& t : UnitTypes)
                if (t.name == names[i % 4])
                    type = &t;
            if (!type)
                continue;
            TUnit& u = CreateUnit(game, *type, 3840 - 640 + (i % 20) * 64, 3840 - 320 + (i / 20) * 64, 1 + i % 2,
                                  game.nextUnitId++);
            u.SetAnimation(animations[i % 4], true, true);
            if (i % 4 == 0)
                AddToGroup(game, game.selection, u);
        }
        ResetCamera(Camera);
        setGameCamera(Camera);
        ExtractFrustum();
    }
    void animate()
    {
        for (const auto& u : game.units)
            u->AdvanceAnimationBy(16);
    }
    // The visible pass less its GL calls; the number of vertices skinned.
    std::size_t drawWithoutGl(std::vector<std::uint32_t>& indices, std::vector<TVec3>& skinned)
    {
        VisibleTerrainIndices(ViewFrustum, indices);
        const bool ownPick = OwnPick(game, mouse);
        std::size_t vertices = 0;
        for (std::size_t i = 0; i < game.units.size(); ++i) {
            TUnit& u = *game.units[i];
            if (!u.outside || !u.IsVisible())
                continue;
            const MdxModel& m = u.model();
            const TVec3 at{u.position[0] / 10000.0f, u.position[1] / 10000.0f, u.position[2] / 10000.0f};
            for (std::size_t g = 0; g < m.geosets.size(); ++g) {
                const TExtent& e = m.geosets[g].extent;
                const TVec3 centre{(e.minimum.x + e.maximum.x) / 2 + at.x, (e.minimum.y + e.maximum.y) / 2 + at.y,
                                   (e.minimum.z + e.maximum.z) / 2 + at.z};
                if (!sphereInFrustum(ViewFrustum, centre, e.boundsRadius) ||
                    !(u.GeosetAlpha(static_cast<int>(g), false) > 0))
                    continue;
                u.SkinGeoset(static_cast<int>(g), skinned);
                vertices += skinned.size();
            }
            benchmark::DoNotOptimize(CircleFor(game, mouse, u, static_cast<int>(i), ownPick));
        }
        return vertices;
    }
};

void BM_SceneFrameCpu(benchmark::State& state)
{
    SceneFolder folder;
    if (!folder.ok) {
        state.SkipWithError("build the game first: build/game needs Fonts, Data, Models and Textures");
        return;
    }
    Crowd crowd;
    std::vector<std::uint32_t> indices;
    std::vector<TVec3> skinned;
    std::size_t vertices = 0;
    for (auto _ : state) {
        crowd.animate();
        vertices = crowd.drawWithoutGl(indices, skinned);
    }
    state.counters["units"] = static_cast<double>(crowd.game.units.size());
    state.counters["vertices"] = static_cast<double>(vertices);
    state.counters["ground_quads"] = static_cast<double>(indices.size() / 4);
}
BENCHMARK(BM_SceneFrameCpu)->Unit(benchmark::kMillisecond);

void BM_SceneAnimationOnly(benchmark::State& state)
{
    SceneFolder folder;
    if (!folder.ok) {
        state.SkipWithError("build the game first: build/game needs Fonts, Data, Models and Textures");
        return;
    }
    Crowd crowd;
    for (auto _ : state)
        crowd.animate();
}
BENCHMARK(BM_SceneAnimationOnly)->Unit(benchmark::kMillisecond);

// The game's own frame with the crowd in view: the pointer rests over the
// field, so the pick pass runs every frame as it does in play. Argument 0:
// the whole frame and a tick; 1: the pick pass alone; 2: the scene alone
// (ground and units); 3: the interface pass alone; 4: the tick alone.
void BM_GameFrameWith200Units(benchmark::State& state)
{
    SceneFolder folder;
    if (!folder.ok) {
        state.SkipWithError("build the game first: build/game needs Fonts, Data, Models and Textures");
        return;
    }
    InitTextures();
    initFonts();
    resetModelCache();
    InitTerrain();
    Crowd crowd;
    loadInterface("Interface/Game/Interface.xml");
    CurrentGame = &crowd.game;
    Mouse = TMouse();
    cursorMoved(SurfaceWidth / 2.0, SurfaceHeight / 2.0, SurfaceWidth, SurfaceHeight);
    std::int64_t clock = 0;
    // The first frames load the models and textures.
    for (int i = 0; i < 3; ++i)
        renderFrame();
    const int part = static_cast<int>(state.range(0));
    for (auto _ : state) {
        FrameClock.elapsed = 10;
        if (part == 0) {
            renderFrame();
            clock += 10;
            UpdateGame(crowd.game, clock, 10);
        } else if (part == 1) {
            setGameCamera(Camera);
            PickPass(crowd.game, Mouse);
        } else if (part == 2) {
            drawGameScene(crowd.game);
        } else if (part == 3) {
            interfacePass();
        } else {
            clock += 10;
            UpdateGame(crowd.game, clock, 10);
        }
        glFinish();
    }
    CurrentGame = nullptr;
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["visible"] = static_cast<double>(crowd.game.visibleUnits.size());
}
// llvmpipe draws on worker threads: wall time is the measure.
BENCHMARK(BM_GameFrameWith200Units)->DenseRange(0, 4)->Iterations(30)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
