#include "Noise.h"

#include <cmath>

namespace raster {

namespace {

std::uint32_t mixBits(std::uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

int wrap(int v, int period)
{
    const int m = v % period;
    return m < 0 ? m + period : m;
}

float fade(float t)
{
    return t * t * t * (t * (t * 6 - 15) + 10);
}

}  // namespace

float hash01(std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    const std::uint32_t h = mixBits(a * 0x9E3779B1U ^ mixBits(b * 0x85EBCA77U ^ mixBits(c + 0x27D4EB2FU)));
    return static_cast<float>(h >> 8) / static_cast<float>(1 << 24);
}

ValueNoise::ValueNoise(std::uint32_t seed, int period) : seed_(seed), period_(period < 1 ? 1 : period) {}

float ValueNoise::lattice(int x, int y, int periodX, int periodY) const
{
    return hash01(static_cast<std::uint32_t>(wrap(x, periodX)), static_cast<std::uint32_t>(wrap(y, periodY)),
                  seed_ ^ static_cast<std::uint32_t>(periodX * 7919 + periodY) * 0x632BE5ABU);
}

float ValueNoise::at(float x, float y, int periodX, int periodY) const
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = fade(x - fx);
    const float ty = fade(y - fy);
    const float a = lattice(ix, iy, periodX, periodY);
    const float b = lattice(ix + 1, iy, periodX, periodY);
    const float c = lattice(ix, iy + 1, periodX, periodY);
    const float d = lattice(ix + 1, iy + 1, periodX, periodY);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float ValueNoise::fbm(float u, float v, int octaves, float persistence, int stretchX, int stretchY) const
{
    float sum = 0;
    float weight = 1;
    float total = 0;
    int period = period_;
    for (int i = 0; i < octaves; ++i) {
        const int px = period * stretchX;
        const int py = period * stretchY;
        sum += weight * at(u * px, v * py, px, py);
        total += weight;
        weight *= persistence;
        period *= 2;
    }
    return sum / total;
}

float ValueNoise::ridged(float u, float v, int octaves) const
{
    return 1.0f - std::fabs(2.0f * fbm(u, v, octaves) - 1.0f);
}

}  // namespace raster
