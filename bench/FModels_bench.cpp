// Models: parsing every generated model, and one frame of animation and
// skinning for 200 unit instances with and without the per-node cache.
#include "MdxWriter.h"
#include "Units.h"
#include "assets/FDisplay.h"
#include "assets/FLoader.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

const std::vector<TGeneratedModel>& generated()
{
    static const std::vector<TGeneratedModel> models = buildAllModels();
    return models;
}

void BM_LoadEveryModel(benchmark::State& state)
{
    std::vector<std::vector<std::uint8_t>> files;
    for (const TGeneratedModel& m : generated())
        files.push_back(writeMdx(m.model));
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const std::vector<std::uint8_t>& f : files) {
            MdxModel model;
            benchmark::DoNotOptimize(parseMdx(f.data(), f.size(), "bench.mdx", model, nullptr));
            bytes += f.size();
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["models"] = static_cast<double>(files.size());
}
BENCHMARK(BM_LoadEveryModel)->Unit(benchmark::kMillisecond);

// 200 walking, fighting and standing units of every type, in a scratch game folder.
struct Army {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "vrax-bench-models";
    std::vector<TModel> units;
    Army()
    {
        std::filesystem::create_directories(dir / "Models");
        std::filesystem::current_path(dir);
        startLog();
        resetModelCache();
        std::vector<std::string> paths;
        for (const TGeneratedModel& m : generated())
            if (m.path.find("Units/") != std::string::npos) {
                std::filesystem::create_directories(std::filesystem::path(m.path).parent_path());
                saveMdx(m.model, m.path);
                paths.push_back(m.path);
            }
        const char* animations[] = {"Walk", "Attack", "Stand", "Stand Ready"};
        units.resize(200);
        for (std::size_t i = 0; i < units.size(); ++i) {
            units[i].SetModel(paths[i % paths.size()]);
            units[i].SetScale(10);
            units[i].SetAnimation(animations[i % 4], true, true);
        }
    }
    ~Army()
    {
        resetModelCache();
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }
};

void animateAndSkin(benchmark::State& state, bool cache)
{
    Army army;
    FrameClock.elapsed = 16;
    std::int64_t vertices = 0;
    for (auto _ : state) {
        for (TModel& unit : army.units) {
            unit.nodeCacheEnabled = cache;
            unit.AdvanceAnimation(-1);
            const MdxModel& m = unit.model();
            for (std::size_t g = 0; g < m.geosets.size(); ++g)
                for (std::size_t v = 0; v < m.geosets[g].vertices.size(); ++v)
                    benchmark::DoNotOptimize(unit.TransformVertex(static_cast<int>(g), static_cast<int>(v)));
            for (std::size_t g = 0; g < m.geosets.size(); ++g)
                vertices += static_cast<std::int64_t>(m.geosets[g].vertices.size());
        }
    }
    state.SetItemsProcessed(vertices);
    state.counters["vertices/frame"] = static_cast<double>(vertices) / static_cast<double>(state.iterations());
}

void BM_Animate200Units(benchmark::State& state)
{
    animateAndSkin(state, true);
}
BENCHMARK(BM_Animate200Units)->Unit(benchmark::kMillisecond);

void BM_Animate200UnitsWithoutNodeCache(benchmark::State& state)
{
    animateAndSkin(state, false);
}
BENCHMARK(BM_Animate200UnitsWithoutNodeCache)->Unit(benchmark::kMillisecond);

}  // namespace
