// vrax-texgen: paints every texture of the game folder from code. Each
// family of art lives in its own file; main() calls them in turn.
#pragma once

#include "ImageFile.h"
#include "Raster.h"

#include <string>

namespace texgen {

// Saves pictures under the game folder and remembers whether all went well.
class Output {
public:
    explicit Output(std::string gameDir) : gameDir_(std::move(gameDir)) {}
    // `channels` 3 (24-bit) or 4 (32-bit with alpha). Interface art is stored
    // bottom row first, since the game maps t = 1 to the top of a picture.
    void save(const std::string& path, const raster::Canvas& canvas, int channels,
              imagefile::TgaRows rows = imagefile::TgaRows::BottomUp);
    bool ok() const { return ok_; }

private:
    std::string gameDir_;
    bool ok_ = true;
};

void makeSharedTextures(Output& out);
void makeCursor(Output& out);
void makeTerrain(Output& out);
void makeBackgrounds(Output& out);
void makeBorders(Output& out);
void makeWidgets(Output& out);
void makeBanner(Output& out);
void makeIcons(Output& out);

}  // namespace texgen
