// Periodic value noise for procedural textures: every octave repeats over the
// whole canvas, so tiles made from it join without seams. Used by vrax-texgen.
#pragma once

#include <cstdint>

namespace raster {

class ValueNoise {
public:
    // `period`: lattice cells across one repeat of the lowest octave.
    ValueNoise(std::uint32_t seed, int period);
    // Noise in 0..1 at lattice coordinates (x, y); repeats every periodX by periodY cells.
    float at(float x, float y, int periodX, int periodY) const;
    // Fractal sum of `octaves` octaves at (u, v) in 0..1 of the repeat, result 0..1.
    // `stretchX`, `stretchY` multiply the lattice along one axis (grain, streaks).
    float fbm(float u, float v, int octaves, float persistence = 0.5f, int stretchX = 1, int stretchY = 1) const;
    // Like fbm but folded (1 - |2n - 1|): ridges, for cracks and veins.
    float ridged(float u, float v, int octaves) const;

private:
    float lattice(int x, int y, int periodX, int periodY) const;
    std::uint32_t seed_;
    int period_;
};

// A deterministic hash of integers to 0..1, for scattering features.
float hash01(std::uint32_t a, std::uint32_t b = 0, std::uint32_t c = 0);

}  // namespace raster
