// vrax-modelgen OUTDIR: writes every model the game names, and the textures
// they use, under OUTDIR (the game folder), from nothing but code.
#include "MdxWriter.h"
#include "Units.h"

#include "ImageFile.h"

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
        imagefile::Image image(t.width, t.height, 4);
        image.pixels = t.rgba;
        // Texture row 0 first in the file: the game hands rows to GL in file order.
        if (!imagefile::writeTga(file.string(), image, imagefile::TgaRows::TopDown)) {
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
