#include "TexGen.h"

#include <cstdio>

namespace texgen {

void Output::save(const std::string& path, const raster::Canvas& canvas, int channels, imagefile::TgaRows rows)
{
    const std::string full = gameDir_ + "/" + path;
    if (!imagefile::writeTga(full, canvas.toImage(channels), rows)) {
        std::fprintf(stderr, "vrax-texgen: cannot write %s\n", full.c_str());
        ok_ = false;
    }
}

}  // namespace texgen

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vrax-texgen GAME_FOLDER\n");
        return 2;
    }
    texgen::Output out(argv[1]);
    texgen::makeSharedTextures(out);
    texgen::makeCursor(out);
    texgen::makeTerrain(out);
    texgen::makeBackgrounds(out);
    texgen::makeBorders(out);
    texgen::makeWidgets(out);
    texgen::makeBanner(out);
    texgen::makeIcons(out);
    return out.ok() ? 0 : 1;
}
