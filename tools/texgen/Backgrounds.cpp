// Tiling backgrounds for interface frames (Textures/Interface/Backgrounds/).
// A frame's background repeats every ten border sizes, so each picture joins
// itself seamlessly on all four sides: every noise and pattern here is periodic
// over the 256 x 256 picture.
#include "Noise.h"
#include "TexGen.h"

#include <cmath>

namespace texgen {

using namespace raster;

namespace {

constexpr int Size = 256;

// Dressed stone blocks in courses of 64, joints staggered by half a block.
Canvas darkStone()
{
    const ValueNoise grain(31, 8);
    const ValueNoise pits(32, 32);
    const ValueNoise mottle(33, 2);
    constexpr int Course = 64;
    constexpr int Block = 128;
    Canvas c(Size, Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const int course = y / Course;
            const int shifted = (x + (course % 2) * (Block / 2)) % Size;
            const int block = shifted / Block;
            const float bx = static_cast<float>(shifted % Block) + 0.5f;
            const float by = static_cast<float>(y % Course) + 0.5f;
            const float u = (x + 0.5f) / Size;
            const float v = (y + 0.5f) / Size;
            const float tone = 0.85f + 0.3f * hash01(33, course, block);
            Rgba colour = scaled(mix(rgb(52, 50, 52), rgb(70, 64, 58), grain.fbm(u, v, 4)), tone);
            colour = scaled(colour, 0.85f + 0.3f * pits.fbm(u, v, 2));
            colour = scaled(colour, 0.8f + 0.4f * mottle.fbm(u, v, 3));
            const float speck = hash01(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 34);
            if (speck > 0.985f)
                colour = scaled(colour, speck > 0.993f ? 1.35f : 0.6f);
            // Rounded block edges: lit on the top and left, shaded below and right.
            const float edge = std::min(std::min(bx, Block - bx), std::min(by, Course - by));
            const float joint = 1 - smoothstep(1.5f, 3.5f, edge);
            if (edge < 7) {
                const float rim = 1 - edge / 7;
                const bool lit = std::min(bx, by) < std::min(Block - bx, Course - by);
                colour = scaled(colour, lit ? 1 + 0.35f * rim : 1 - 0.45f * rim);
            }
            colour = mix(colour, rgb(16, 14, 14), joint);
            c.at(x, y) = colour;
        }
    return c;
}

// Aged parchment: warm paper, cloudy stains and faint fibres.
Canvas parchment()
{
    const ValueNoise clouds(41, 3);
    const ValueNoise blotches(42, 6);
    const ValueNoise fibres(43, 16);
    Canvas c(Size, Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const float u = (x + 0.5f) / Size;
            const float v = (y + 0.5f) / Size;
            Rgba colour = mix(rgb(214, 192, 148), rgb(182, 152, 106), clouds.fbm(u, v, 5));
            colour = mix(colour, rgb(140, 104, 64), 0.5f * smoothstep(0.6f, 0.85f, blotches.fbm(u, v, 4)));
            colour = scaled(colour, 0.94f + 0.1f * fibres.fbm(u, v, 2, 0.5f, 1, 4));
            c.at(x, y) = colour;
        }
    return c;
}

// Dark oak planks running across, four to the picture, with grain and knots.
Canvas woodPanel()
{
    const ValueNoise grain(51, 2);
    const ValueNoise fine(52, 8);
    constexpr int Plank = 64;
    Canvas c(Size, Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const int plank = y / Plank;
            const float u = (x + 0.5f) / Size;
            const float v = (y + 0.5f) / Size;
            // Grain: long streaks along x from noise stretched across y.
            const float g = grain.fbm(u, v + plank * 0.37f, 4, 0.55f, 1, 24);
            const float rings = 0.5f + 0.5f * std::sin(g * 40.0f);
            Rgba colour = mix(rgb(70, 42, 24), rgb(104, 66, 36), rings);
            colour = scaled(colour, (0.85f + 0.25f * fine.fbm(u, v, 2, 0.5f, 1, 8)) *
                                        (0.88f + 0.24f * hash01(51, plank)));
            const float py = static_cast<float>(y % Plank) + 0.5f;
            const float edge = std::min(py, Plank - py);
            if (edge < 5)
                colour = scaled(colour, py < Plank / 2.0f ? 1 + 0.25f * (1 - edge / 5) : 1 - 0.5f * (1 - edge / 5));
            colour = mix(colour, rgb(14, 8, 4), 1 - smoothstep(0.5f, 1.8f, edge));
            c.at(x, y) = colour;
        }
    // Iron nails where the planks cross a joist, every half picture.
    for (int plank = 0; plank < Size / Plank; ++plank)
        for (int x : {32, 160}) {
            const Point p = {static_cast<float>(x), plank * Plank + Plank / 2.0f};
            drawDisc(c, {p.x + 1, p.y + 1}, 3.2f, {0, 0, 0, 0.5f});
            drawDisc(c, p, 3.0f, rgb(60, 58, 56));
            drawDisc(c, {p.x - 0.8f, p.y - 0.8f}, 1.2f, rgb(130, 126, 120));
        }
    return c;
}

// Dark tooled leather for the game's panels.
Canvas leather()
{
    const ValueNoise cells(61, 24);
    const ValueNoise tone(62, 3);
    Canvas c(Size, Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const float u = (x + 0.5f) / Size;
            const float v = (y + 0.5f) / Size;
            const float pebble = cells.ridged(u, v, 2);
            Rgba colour = mix(rgb(46, 26, 20), rgb(74, 44, 30), tone.fbm(u, v, 4));
            colour = scaled(colour, 0.8f + 0.35f * pebble);
            c.at(x, y) = colour;
        }
    return c;
}

}  // namespace

void makeBackgrounds(Output& out)
{
    out.save("Textures/Interface/Backgrounds/DarkStone.tga", darkStone(), 3);
    out.save("Textures/Interface/Backgrounds/Parchment.tga", parchment(), 3);
    out.save("Textures/Interface/Backgrounds/WoodPanel.tga", woodPanel(), 3);
    out.save("Textures/Interface/Backgrounds/Leather.tga", leather(), 3);
}

}  // namespace texgen
