// The log reopens its file for every line so that a crash loses nothing;
// this measures what that costs against keeping the file open.
#include "shell/FLogs.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace {

struct InScratch {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "vrax-bench-log";
    InScratch()
    {
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
    }
    ~InScratch()
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }
};

void BM_LogLine(benchmark::State& state)
{
    InScratch scratch;
    startLog();
    for (auto _ : state)
        log("Addline : Aldric: hello there", LogDebug);
}
BENCHMARK(BM_LogLine);

void BM_BaselineOpenFileWrite(benchmark::State& state)
{
    InScratch scratch;
    std::FILE* f = std::fopen("baseline.txt", "ab");
    for (auto _ : state) {
        std::fputs("12:00:00:000 Debug: Addline : Aldric: hello there\r\n", f);
        std::fflush(f);
    }
    std::fclose(f);
}
BENCHMARK(BM_BaselineOpenFileWrite);

}  // namespace
