// Shading of painted height fields: the frames, buttons and the banner are
// described as a surface (height, colour, shine) per point and lit here from
// the top-left of the screen, the way every piece of the interface is lit.
#pragma once

#include "Raster.h"

#include <functional>

namespace texgen {

struct Surface {
    float height = 0;
    raster::Rgba albedo = {0, 0, 0, 0};
    float shine = 0;  // 0 matt .. 1 polished metal
};

// The lit picture of `surface` over a width x height canvas, sampled at pixel centres.
raster::Canvas relief(int width, int height, const std::function<Surface(float x, float y)>& surface);

// sin-shaped rise and fall of a moulding between two distances.
float bump(float d, float from, float to);

}  // namespace texgen
