// The title banner (Textures/Interface/Title/Banner.tga): an iron plate with
// pointed ends and a gilded rim, the game's name raised on it in gold letters
// cut from Liberation Serif Bold.
#include "Noise.h"
#include "Relief.h"
#include "TexGen.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace texgen {

using namespace raster;

namespace {

constexpr int Width = 512;
constexpr int Height = 128;
const char* const TitleFace = "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf";

// A single-channel picture sampled with bilinear filtering.
struct Mask {
    std::vector<float> values = std::vector<float>(static_cast<std::size_t>(Width) * Height, 0.0f);
    float& at(int x, int y) { return values[static_cast<std::size_t>(y) * Width + x]; }
    float get(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= Width || y >= Height)
            return 0;
        return values[static_cast<std::size_t>(y) * Width + x];
    }
    float sample(float x, float y) const
    {
        x -= 0.5f;
        y -= 0.5f;
        const int ix = static_cast<int>(std::floor(x));
        const int iy = static_cast<int>(std::floor(y));
        const float fx = x - ix, fy = y - iy;
        const float top = get(ix, iy) * (1 - fx) + get(ix + 1, iy) * fx;
        const float bottom = get(ix, iy + 1) * (1 - fx) + get(ix + 1, iy + 1) * fx;
        return top * (1 - fy) + bottom * fy;
    }
};

// Coverage of `text` set in the title face, centred on the banner. False if
// the face cannot be read (the banner is then made without lettering).
bool letters(const char* text, int pixels, Mask& mask)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return false;
    FT_Face face = nullptr;
    if (FT_New_Face(library, TitleFace, 0, &face) != 0) {
        FT_Done_FreeType(library);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));
    const int tracking = pixels / 10;  // spaced capitals read as an inscription
    int width = 0;
    for (const char* p = text; *p; ++p) {
        FT_Load_Char(face, static_cast<unsigned char>(*p), FT_LOAD_DEFAULT);
        width += static_cast<int>(face->glyph->advance.x >> 6) + (p[1] ? tracking : 0);
    }
    int pen = (Width - width) / 2;
    FT_Load_Char(face, 'V', FT_LOAD_DEFAULT);
    const int capHeight = static_cast<int>(face->glyph->metrics.height >> 6);
    const int baseline = (Height + capHeight) / 2;
    for (const char* p = text; *p; ++p) {
        FT_Load_Char(face, static_cast<unsigned char>(*p), FT_LOAD_RENDER);
        const FT_GlyphSlot g = face->glyph;
        for (int y = 0; y < static_cast<int>(g->bitmap.rows); ++y)
            for (int x = 0; x < static_cast<int>(g->bitmap.width); ++x) {
                const int mx = pen + g->bitmap_left + x;
                const int my = baseline - g->bitmap_top + y;
                if (mx >= 0 && my >= 0 && mx < Width && my < Height)
                    mask.at(mx, my) = g->bitmap.buffer[y * g->bitmap.pitch + x] / 255.0f;
            }
        pen += static_cast<int>(g->advance.x >> 6) + tracking;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return true;
}

Mask blurred(const Mask& in, int radius)
{
    Mask out;
    const float area = static_cast<float>((2 * radius + 1) * (2 * radius + 1));
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            float sum = 0;
            for (int j = -radius; j <= radius; ++j)
                for (int i = -radius; i <= radius; ++i)
                    sum += in.get(x + i, y + j);
            out.at(x, y) = sum / area;
        }
    return out;
}

Mask dilated(const Mask& in, int radius)
{
    Mask out;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            float best = 0;
            for (int j = -radius; j <= radius; ++j)
                for (int i = -radius; i <= radius; ++i)
                    if (i * i + j * j <= radius * radius)
                        best = std::max(best, in.get(x + i, y + j));
            out.at(x, y) = best;
        }
    return out;
}

}  // namespace

void makeBanner(Output& out)
{
    Mask title;
    if (!letters("VRAX", 92, title))
        std::fprintf(stderr, "vrax-texgen: %s not found, banner left without lettering\n", TitleFace);
    const Mask soft = blurred(title, 2);
    const Mask outline = blurred(dilated(title, 3), 1);
    const ValueNoise noise(91, 8);
    const std::vector<Point> plate = {{30, 8}, {482, 8}, {508, 64}, {482, 120}, {30, 120}, {4, 64}};
    const Rgba gold = rgb(210, 162, 70);
    const Rgba dark = rgb(22, 15, 9);

    const Canvas picture = relief(Width, Height, [&](float x, float y) -> Surface {
        const float e = polygonDistance(plate, {x, y});
        if (e < -0.5f)
            return {};
        if (e < 2)
            return {0, {dark.r, dark.g, dark.b, clamp01(e + 0.5f)}, 0};
        if (e < 10)
            return {3.0f * bump(e, 2, 10), gold, 0.9f};
        if (e < 11.5f)
            return {0, dark, 0};
        const float u = x / Width, v = y / Height;
        const float plateHeight = 1.5f * smoothstep(11.5f, 20, e);
        const float letter = title.sample(x, y);
        if (letter > 0.5f)
            return {plateHeight + 5.0f * soft.sample(x, y), mix(gold, rgb(255, 222, 140), 0.4f * (1 - v)), 1.0f};
        const Rgba iron = scaled(mix(rgb(50, 46, 48), rgb(30, 27, 30), v), 0.8f + 0.4f * noise.fbm(u, v, 4, 0.5f, 4, 1));
        // A dark groove around the letters, as if cut into the plate.
        const float groove = outline.sample(x, y);
        return {plateHeight - 1.2f * groove, mix(iron, dark, 0.9f * groove), 0.25f};
    });
    out.save("Textures/Interface/Title/Banner.tga", picture, 4);
}

}  // namespace texgen
