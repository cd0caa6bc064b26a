// vrax-modelgen OUTDIR: writes every model the game names, and the textures
// they use, under OUTDIR (the game folder), from nothing but code.
#include "MdxWriter.h"
#include "TgaWriter.h"
#include "Units.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vrax-modelgen OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code error;
    for (const TGeneratedTexture& t : buildAllTextures()) {
        const std::filesystem::path file = out / t.path;
        std::filesystem::create_directories(file.parent_path(), error);
        if (!saveTga(file.string(), t.width, t.height, t.rgba)) {
            std::fprintf(stderr, "vrax-modelgen: cannot write %s\n", file.c_str());
            return 1;
        }
    }
    for (const TGeneratedModel& m : buildAllModels()) {
        const std::filesystem::path file = out / m.path;
        std::filesystem::create_directories(file.parent_path(), error);
        if (!saveMdx(m.model, file.string())) {
            std::fprintf(stderr, "vrax-modelgen: cannot write %s\n", file.c_str());
            return 1;
        }
    }
    return 0;
}
