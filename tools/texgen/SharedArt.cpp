// The three textures the engine loads at start: plain white, fully
// transparent, and a white disc with a soft rim.
#include "TexGen.h"

#include <cmath>

namespace texgen {

using namespace raster;

void makeSharedTextures(Output& out)
{
    out.save("Textures/Shared/Blank.tga", Canvas(8, 8, {1, 1, 1, 1}), 4);
    out.save("Textures/Shared/Transparent.tga", Canvas(8, 8, {1, 1, 1, 0}), 4);

    Canvas circle(64, 64, {1, 1, 1, 0});
    shade(circle, [](float x, float y) {
        const float d = std::hypot(x - 32, y - 32);
        return Rgba{1, 1, 1, 1 - smoothstep(27, 31.5f, d)};
    });
    out.save("Textures/Shared/Circle.tga", circle, 4);
}

}  // namespace texgen
