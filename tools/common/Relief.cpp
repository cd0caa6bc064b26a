#include "Relief.h"

#include <algorithm>
#include <cmath>

namespace raster {

float bump(float d, float from, float to)
{
    return std::sin(3.14159265f * clamp01((d - from) / (to - from)));
}

Canvas relief(int width, int height, const std::function<Surface(float x, float y)>& surface)
{
    const float lx = -0.55f, ly = -0.55f, lz = 0.63f;  // towards the light: up-left and above
    // Half-way vector between the light and an eye straight above, for the highlight.
    const float hl = std::sqrt(lx * lx + ly * ly + (lz + 1) * (lz + 1));
    const float hx = lx / hl, hy = ly / hl, hz = (lz + 1) / hl;
    Canvas c(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float px = x + 0.5f;
            const float py = y + 0.5f;
            const Surface here = surface(px, py);
            if (here.albedo.a <= 0)
                continue;
            const float gx = surface(px + 0.5f, py).height - surface(px - 0.5f, py).height;
            const float gy = surface(px, py + 0.5f).height - surface(px, py - 0.5f).height;
            const float length = std::sqrt(gx * gx + gy * gy + 1);
            const float nx = -gx / length, ny = -gy / length, nz = 1 / length;
            const float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz) / lz;  // 1 when flat
            const float specular = std::pow(std::max(0.0f, nx * hx + ny * hy + nz * hz), 24.0f);
            Rgba colour = scaled(here.albedo, 0.3f + 0.72f * diffuse);
            colour = mix(colour, {1, 0.97f, 0.85f, 1}, clamp01(specular * here.shine * 0.8f));
            colour.a = here.albedo.a;
            c.at(x, y) = colour;
        }
    return c;
}

}  // namespace raster
