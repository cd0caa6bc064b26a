// The ground atlas Textures/Terrain/Ashen_Grass: 8 x 4 tiles of 128 x 128.
// The game scatters tiles of columns 4 (mostly), 5 and 6 at random rows over
// the map, so every tile must join every other one without a seam: all tiles
// share the rim of one periodic field, each has a field of its own inside
// (so the ground does not show a grid), and features stay clear of the rim.
// The neighbouring columns follow the same rule so that linear filtering
// across the atlas never shows a line.
#include "Noise.h"
#include "TexGen.h"

#include <algorithm>
#include <cmath>

namespace texgen {

using namespace raster;

namespace {

constexpr int Tile = 128;
constexpr int Margin = 10;  // features stay this far from a tile's rim

struct Blade {
    Rgba colour;
    float length;
    float thickness;
};

void drawBlade(Canvas& c, float x, float y, float angle, const Blade& blade, bool wrap)
{
    const Point a = {x, y};
    const Point b = {x + std::cos(angle) * blade.length, y + std::sin(angle) * blade.length};
    if (!wrap) {
        drawLine(c, a, b, blade.thickness, blade.colour);
        return;
    }
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox)
            drawLine(c, {a.x + ox * Tile, a.y + oy * Tile}, {b.x + ox * Tile, b.y + oy * Tile}, blade.thickness,
                     blade.colour);
}

// Grass blades scattered over the tile; `wrap` draws them across the rim
// onto the opposite side (base field), otherwise keeps them inside.
void scatterBlades(Canvas& c, std::uint32_t seed, int count, bool wrap, const Rgba& dry, const Rgba& dark)
{
    for (int i = 0; i < count; ++i) {
        const float span = wrap ? Tile : Tile - 2 * Margin;
        const float offset = wrap ? 0 : Margin;
        const float x = offset + hash01(seed, i, 1) * span;
        const float y = offset + hash01(seed, i, 2) * span;
        const float angle = -1.57f + (hash01(seed, i, 3) - 0.5f) * 2.4f;
        const float tone = hash01(seed, i, 4);
        Rgba colour = tone < 0.5f ? mix(dark, dry, tone) : mix(dry, rgb(170, 168, 140), (tone - 0.5f) * 0.6f);
        colour.a = 0.35f + 0.35f * hash01(seed, i, 5);
        drawBlade(c, x, y, angle, {colour, 2.5f + 3.5f * hash01(seed, i, 6), 0.9f}, wrap);
    }
}

// Ashen grass: dry olive blades over grey ash and dark earth, periodic over a tile.
Canvas grassField(std::uint32_t seed, bool wrapBlades, float patchiness)
{
    const ValueNoise patches(seed + 1, 3);
    const ValueNoise grain(seed + 2, 16);
    const ValueNoise soil(seed + 3, 4);
    const Rgba grass = rgb(80, 84, 58);
    const Rgba ash = rgb(104, 100, 94);
    const Rgba earth = rgb(56, 50, 42);
    Canvas c(Tile, Tile);
    for (int y = 0; y < Tile; ++y)
        for (int x = 0; x < Tile; ++x) {
            const float u = (x + 0.5f) / Tile;
            const float v = (y + 0.5f) / Tile;
            Rgba colour = mix(grass, ash, 0.3f + patchiness * (smoothstep(0.3f, 0.75f, patches.fbm(u, v, 4)) - 0.4f));
            colour = mix(colour, earth, 0.65f * patchiness * smoothstep(0.55f, 0.8f, soil.fbm(u, v, 3)));
            colour = scaled(colour, 0.82f + 0.36f * grain.fbm(u, v, 2));
            c.at(x, y) = colour;
        }
    scatterBlades(c, seed + 4, 1400, wrapBlades, rgb(140, 138, 100), rgb(40, 46, 30));
    return c;
}

// The tile's own field inside, the shared field on the rim.
Canvas tileField(const Canvas& shared, std::uint32_t seed)
{
    Canvas c = grassField(seed, false, 0.65f);
    for (int y = 0; y < Tile; ++y)
        for (int x = 0; x < Tile; ++x) {
            const float rim = static_cast<float>(std::min(std::min(x, y), std::min(Tile - 1 - x, Tile - 1 - y)));
            c.at(x, y) = mix(shared.at(x, y), c.at(x, y), smoothstep(0, 34, rim));
        }
    return c;
}

// A pebble lit from the top-left.
void stone(Canvas& c, Point centre, float radius, std::uint32_t seed)
{
    drawDisc(c, {centre.x + 1.2f, centre.y + 1.5f}, radius, {0, 0, 0, 0.45f}, 2.0f);
    const float tone = 0.8f + 0.3f * hash01(seed, 7);
    for (int y = static_cast<int>(centre.y - radius - 1); y <= static_cast<int>(centre.y + radius + 1); ++y)
        for (int x = static_cast<int>(centre.x - radius - 1); x <= static_cast<int>(centre.x + radius + 1); ++x) {
            const float dx = (x + 0.5f - centre.x) / radius;
            const float dy = (y + 0.5f - centre.y) / (radius * 0.8f);
            const float r2 = dx * dx + dy * dy;
            if (r2 > 1.1f)
                continue;
            const float dz = std::sqrt(std::max(0.0f, 1 - r2));
            const float light = clamp01(0.35f + 0.75f * (-0.5f * dx - 0.5f * dy + 0.7f * dz));
            const Rgba colour = scaled(rgb(120, 116, 108), tone * (0.45f + 0.8f * light));
            c.blend(x, y, colour, clamp01((1.1f - r2) * 8));
        }
}

void scatterStones(Canvas& c, std::uint32_t seed, int count, float size)
{
    for (int i = 0; i < count; ++i) {
        const float radius = size * (0.5f + hash01(seed, i, 9));
        const float span = Tile - 2 * Margin - 2 * radius;
        stone(c, {Margin + radius + hash01(seed, i, 10) * span, Margin + radius + hash01(seed, i, 11) * span}, radius,
              seed * 31 + i);
    }
}

// A soft stain: ash, soot or dark earth, fading out well inside the rim.
void stain(Canvas& c, std::uint32_t seed, const Rgba& colour, float radius)
{
    const ValueNoise edge(seed, 6);
    const float cx = Tile / 2.0f + (hash01(seed, 1) - 0.5f) * 20;
    const float cy = Tile / 2.0f + (hash01(seed, 2) - 0.5f) * 20;
    for (int y = Margin; y < Tile - Margin; ++y)
        for (int x = Margin; x < Tile - Margin; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            const float wobble = 0.7f + 0.6f * edge.fbm((x + 0.5f) / Tile, (y + 0.5f) / Tile, 3);
            const float a = 1 - smoothstep(radius * 0.4f, radius, d / wobble);
            if (a > 0)
                c.blend(x, y, colour, a);
        }
}

void flowers(Canvas& c, std::uint32_t seed, int count, const Rgba& petal)
{
    for (int i = 0; i < count; ++i) {
        const Point p = {Margin + 4 + hash01(seed, i, 12) * (Tile - 2 * Margin - 8),
                         Margin + 4 + hash01(seed, i, 13) * (Tile - 2 * Margin - 8)};
        drawDisc(c, {p.x + 0.8f, p.y + 0.8f}, 1.6f, {0, 0, 0, 0.35f});
        drawDisc(c, p, 1.4f, petal);
        drawDisc(c, p, 0.5f, rgb(200, 170, 60));
    }
}

// Features of tile (column, row) painted over the shared base field.
void decorate(Canvas& c, int column, int row)
{
    const std::uint32_t seed = static_cast<std::uint32_t>(100 + column * 8 + row);
    switch (column) {
    case 0:  // ash drift
        stain(c, seed, {0.55f, 0.54f, 0.52f, 0.55f}, 50);
        scatterBlades(c, seed, 80, false, rgb(150, 148, 130), rgb(60, 60, 50));
        break;
    case 1:  // bare earth
        stain(c, seed, {0.24f, 0.2f, 0.16f, 0.7f}, 48);
        scatterStones(c, seed, 4, 2.0f);
        break;
    case 2:  // scorched
        stain(c, seed, {0.12f, 0.1f, 0.09f, 0.75f}, 44);
        stain(c, seed + 1, {0.45f, 0.43f, 0.4f, 0.35f}, 30);
        break;
    case 3:  // thick grass
        scatterBlades(c, seed, 700, false, rgb(120, 128, 80), rgb(36, 44, 26));
        break;
    case 4:  // the common ground: quiet variations only
        scatterBlades(c, seed, 260 + row * 60, false, rgb(138, 136, 104), rgb(42, 48, 32));
        if (row == 1)
            stain(c, seed, {0.42f, 0.41f, 0.37f, 0.22f}, 40);
        if (row == 3)
            scatterStones(c, seed, 2, 1.6f);
        break;
    case 5:  // pebbles among the grass
        scatterBlades(c, seed, 200, false, rgb(138, 136, 104), rgb(42, 48, 32));
        scatterStones(c, seed, 5 + row * 2, 2.2f + 0.4f * row);
        break;
    case 6:  // pale flowers and dry tufts
        scatterBlades(c, seed, 420, false, rgb(160, 150, 100), rgb(50, 52, 34));
        flowers(c, seed, 10 + row * 4, row % 2 ? rgb(220, 214, 190) : rgb(190, 170, 200));
        break;
    default:  // rocks
        scatterStones(c, seed, 3, 5.0f + row);
        scatterStones(c, seed + 50, 6, 1.8f);
        break;
    }
}

}  // namespace

void makeTerrain(Output& out)
{
    // A quiet field for the shared rim, so tile edges do not draw a grid.
    const Canvas shared = grassField(10, true, 0.0f);
    Canvas atlas(8 * Tile, 4 * Tile);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 8; ++column) {
            Canvas tile = tileField(shared, static_cast<std::uint32_t>(1000 + 10 * (column * 4 + row)));
            decorate(tile, column, row);
            atlas.paste(tile, column * Tile, row * Tile);
        }
    out.save("Textures/Terrain/Ashen_Grass.tga", atlas, 3);
}

}  // namespace texgen
