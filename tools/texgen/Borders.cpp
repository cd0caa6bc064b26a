// Border strips for interface frames (Textures/Interface/Borders/): eight
// square cells side by side, 0 left edge, 1 right edge, 2 top edge, 3 bottom
// edge, 4 top-left, 5 top-right, 6 bottom-left, 7 bottom-right corner.
//
// Each piece is first painted as it must look on screen, lit from the top-left,
// then stored the way the game maps it: edges and corners drawn straight keep
// their picture; the top and bottom edges are drawn with the texture turned a
// quarter turn (screen x runs down the cell, screen y runs from the cell's
// right column to its left one), so their cells hold the screen picture turned
// a quarter turn clockwise. Edges repeat along their length, so their profile
// is periodic in the cell size.
#include "Noise.h"
#include "Relief.h"
#include "TexGen.h"

#include <cmath>
#include <functional>

namespace texgen {

using namespace raster;

namespace {

struct BorderStyle {
    int cell;
    // A point `d` pixels in from the outer side, `along` pixels along the edge.
    std::function<Surface(float d, float along)> edge;
    // A point `dx` pixels in from the vertical outer side, `dy` from the horizontal one.
    std::function<Surface(float dx, float dy)> corner;
};

Surface mitredCorner(const BorderStyle& style, float dx, float dy)
{
    return dy < dx ? style.edge(dy, dx) : style.edge(dx, dy);
}

enum class Piece { Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

Surface surfaceAt(const BorderStyle& style, Piece piece, float sx, float sy)
{
    const float s = static_cast<float>(style.cell);
    switch (piece) {
    case Piece::Left: return style.edge(sx, sy);
    case Piece::Right: return style.edge(s - sx, sy);
    case Piece::Top: return style.edge(sy, sx);
    case Piece::Bottom: return style.edge(s - sy, sx);
    case Piece::TopLeft: return style.corner(sx, sy);
    case Piece::TopRight: return style.corner(s - sx, sy);
    case Piece::BottomLeft: return style.corner(sx, s - sy);
    case Piece::BottomRight: return style.corner(s - sx, s - sy);
    }
    return {};
}

// The piece as it appears on screen, lit from its height field.
Canvas screenPiece(const BorderStyle& style, Piece piece)
{
    return relief(style.cell, style.cell, [&](float x, float y) { return surfaceAt(style, piece, x, y); });
}

Canvas strip(const BorderStyle& style)
{
    const int s = style.cell;
    Canvas out(8 * s, s);
    const auto turned = [s](const Canvas& screen) {
        Canvas cell(s, s);
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x)
                cell.at(x, y) = screen.at(y, s - 1 - x);
        return cell;
    };
    out.paste(screenPiece(style, Piece::Left), 0, 0);
    out.paste(screenPiece(style, Piece::Right), s, 0);
    out.paste(turned(screenPiece(style, Piece::Top)), 2 * s, 0);
    out.paste(turned(screenPiece(style, Piece::Bottom)), 3 * s, 0);
    out.paste(screenPiece(style, Piece::TopLeft), 4 * s, 0);
    out.paste(screenPiece(style, Piece::TopRight), 5 * s, 0);
    out.paste(screenPiece(style, Piece::BottomLeft), 6 * s, 0);
    out.paste(screenPiece(style, Piece::BottomRight), 7 * s, 0);
    return out;
}

const Rgba Gold = rgb(192, 148, 68);
const Rgba DarkLine = rgb(22, 15, 9);

// A soft shadow the frame casts on the panel inside it.
Surface castShadow(float d, float from, float to)
{
    return {0, {0, 0, 0, 0.55f * (1 - smoothstep(from, to, d))}, 0};
}

Surface goldTrimEdge(const ValueNoise& noise, float d, float along)
{
    const float a = along / 64.0f;
    if (d < 1.5f)
        return {0, DarkLine, 0};
    if (d < 12)
        return {3.5f * bump(d, 1.5f, 12), Gold, 0.9f};
    if (d < 14)
        return {0, DarkLine, 0};
    if (d < 29) {
        const Rgba iron = scaled(rgb(60, 58, 62), 0.8f + 0.4f * noise.fbm(a, d / 64.0f, 3));
        return {1.0f + 0.6f * bump(d, 14, 29), iron, 0.3f};
    }
    if (d < 34)
        return {2.0f * bump(d, 29, 34), Gold, 0.9f};
    if (d < 36)
        return {0, DarkLine, 0};
    return castShadow(d, 36, 50);
}

Surface goldTrimCorner(const BorderStyle& style, float dx, float dy)
{
    // A gilded plate over the mitre with a garnet set in it.
    if (dx < 34 && dy < 34) {
        const float gem = std::hypot(dx - 17, dy - 17);
        if (gem < 7.5f) {
            const float dome = std::sqrt(std::max(0.0f, 56.0f - gem * gem)) * 0.6f + 3;
            return {dome, mix(rgb(150, 20, 24), rgb(60, 6, 10), gem / 7.5f), 1.0f};
        }
        if (gem < 9.5f)
            return {2.5f, DarkLine, 0};
        const float rim = std::min(std::min(dx, dy), std::min(34 - dx, 34 - dy));
        if (rim < 1.5f)
            return {0, DarkLine, 0};
        const float height = 3.0f * smoothstep(1.5f, 6, rim);
        const float engraving = std::fabs(std::fabs(dx - 17) + std::fabs(dy - 17) - 12.5f) < 0.8f ? -0.8f : 0;
        return {height + engraving, Gold, 0.9f};
    }
    return mitredCorner(style, dx, dy);
}

Surface ironBandEdge(const ValueNoise& noise, float d, float along, bool rivets = true)
{
    const float a = along / 48.0f;
    if (d < 1.5f)
        return {0, DarkLine, 0};
    if (d < 25) {
        // A rivet in the middle of every repeat.
        const float rivet = std::hypot(d - 13, along - 24);
        if (rivets && rivet < 4.5f)
            return {2.5f + std::sqrt(std::max(0.0f, 20.0f - rivet * rivet)), rgb(120, 116, 112), 0.7f};
        const Rgba iron = scaled(rgb(72, 70, 74), 0.75f + 0.45f * noise.fbm(a, d / 48.0f, 4));
        return {1.5f * bump(d, 1.5f, 25) + 0.6f * noise.fbm(a * 2, d / 24.0f, 2), iron, 0.45f};
    }
    if (d < 27)
        return {0, DarkLine, 0};
    return castShadow(d, 27, 38);
}

Surface ironBandCorner(const ValueNoise& noise, float dx, float dy)
{
    if (dx < 25 && dy < 25) {
        const float boss = std::hypot(dx - 13, dy - 13);
        if (boss < 6.5f)
            return {3 + std::sqrt(std::max(0.0f, 42.0f - boss * boss)), rgb(130, 124, 116), 0.8f};
        if (dx < 1.5f || dy < 1.5f)
            return {0, DarkLine, 0};
        return {1.8f, rgb(66, 64, 68), 0.45f};
    }
    // No rivet may peek out beside the boss plate: the arms start plain.
    return dy < dx ? ironBandEdge(noise, dy, dx, dx > 32) : ironBandEdge(noise, dx, dy, dy > 32);
}

Surface thinGoldEdge(float d, float)
{
    if (d < 1)
        return {0, DarkLine, 0};
    if (d < 6)
        return {2.0f * bump(d, 1, 6), Gold, 0.8f};
    if (d < 7)
        return {0, DarkLine, 0};
    return castShadow(d, 7, 14);
}

}  // namespace

void makeBorders(Output& out)
{
    const ValueNoise noise(71, 4);
    BorderStyle gold;
    gold.cell = 64;
    gold.edge = [&noise](float d, float along) { return goldTrimEdge(noise, d, along); };
    gold.corner = [&gold](float dx, float dy) { return goldTrimCorner(gold, dx, dy); };
    out.save("Textures/Interface/Borders/GoldTrim.tga", strip(gold), 4);

    // The iron band is drawn on a 48-unit cell and stored at 64 texels, a power of two.
    constexpr float IronUnits = 48.0f / 64.0f;
    BorderStyle iron;
    iron.cell = 64;
    iron.edge = [&noise](float d, float along) { return ironBandEdge(noise, d * IronUnits, along * IronUnits); };
    iron.corner = [&noise](float dx, float dy) { return ironBandCorner(noise, dx * IronUnits, dy * IronUnits); };
    out.save("Textures/Interface/Borders/IronBand.tga", strip(iron), 4);

    BorderStyle thin;
    thin.cell = 32;
    thin.edge = thinGoldEdge;
    thin.corner = [&thin](float dx, float dy) { return mitredCorner(thin, dx, dy); };
    out.save("Textures/Interface/Borders/ThinGold.tga", strip(thin), 4);
}

}  // namespace texgen
