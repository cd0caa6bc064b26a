// A scratch folder that sees the content of build/game/ and takes the log,
// with a real GL context on SDL's offscreen driver: the setting of the
// benchmarks that load or draw the menu, and run or draw the game.
#pragma once

#include <filesystem>

struct BenchGameFolder {
    explicit BenchGameFolder(const char* name);
    ~BenchGameFolder();
    BenchGameFolder(const BenchGameFolder&) = delete;
    BenchGameFolder& operator=(const BenchGameFolder&) = delete;

    bool ok = false;  // the generated fonts exist and the context was made

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};
