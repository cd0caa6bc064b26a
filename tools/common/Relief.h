// Bevels and embossing from height fields: a picture is described as a surface
// (height, colour, shine) per point and lit from the top-left of the screen,
// the way every piece of the interface is lit. Used by vrax-texgen for frames,
// buttons and the title banner.
#pragma once

#include "Raster.h"

#include <functional>

namespace raster {

struct Surface {
    float height = 0;
    Rgba albedo = {0, 0, 0, 0};
    float shine = 0;  // 0 matt .. 1 polished metal
};

// The lit picture of `surface` over a width x height canvas, sampled at pixel centres.
Canvas relief(int width, int height, const std::function<Surface(float x, float y)>& surface);

// sin-shaped rise and fall of a moulding between two distances.
float bump(float d, float from, float to);

}  // namespace raster
