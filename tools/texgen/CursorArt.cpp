// The cursor atlas: 8 x 4 cells of 32 x 32. The game draws cell (column, row)
// with t from (3 - row) / 4 at its top edge to (4 - row) / 4 at its bottom
// edge, so t grows down the screen: the file holds the picture's top row
// first, and cell row 0 is the bottom band of the picture.
//
// The game tints the cursor by multiplying its colour (cyan over own units,
// red over others, green over empty ground), so the shapes are pale metal
// with dark outlines that keep their contrast under any tint.
#include "TexGen.h"

#include <cmath>
#include <vector>

namespace texgen {

using namespace raster;

namespace {

constexpr int Cell = 32;
constexpr float Pi = 3.14159265f;

const Rgba Outline = rgb(24, 16, 10);
const Rgba Shadow = {0, 0, 0, 0.45f};

std::vector<Point> moved(const std::vector<Point>& shape, float dx, float dy)
{
    std::vector<Point> out;
    for (const Point& p : shape)
        out.push_back({p.x + dx, p.y + dy});
    return out;
}

// A polygon with a soft shadow, a dark rim and a lit metal face.
void metalShape(Canvas& c, const std::vector<Point>& shape, const Rgba& light, const Rgba& dark)
{
    fillPolygon(c, moved(shape, 1.5f, 1.5f), Shadow);
    for (std::size_t i = 0; i < shape.size(); ++i)
        drawLine(c, shape[i], shape[(i + 1) % shape.size()], 2.2f, Outline);
    Canvas face(c.width(), c.height());
    fillPolygon(face, shape, {1, 1, 1, 1});
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            Rgba& p = face.at(x, y);
            if (p.a <= 0)
                continue;
            const float t = clamp01((x + y) / static_cast<float>(c.width() + c.height()) * 1.6f);
            const Rgba colour = mix(light, dark, t);
            p = {colour.r, colour.g, colour.b, p.a};
        }
    c.paint(face, 0, 0);
}

Canvas pointer()
{
    Canvas c(Cell, Cell);
    // The tip sits on the cell's top-left pixel: that corner is the hot spot.
    const std::vector<Point> arrow = {{0.6f, 0.6f},  {0.6f, 22.0f}, {6.0f, 17.0f}, {10.5f, 26.5f},
                                      {14.5f, 24.5f}, {10.2f, 15.6f}, {17.5f, 15.6f}};
    metalShape(c, arrow, rgb(250, 244, 226), rgb(150, 140, 120));
    drawLine(c, {2.5f, 4.0f}, {2.5f, 17.0f}, 1.0f, {1, 1, 1, 0.7f});  // glint along the lit edge
    return c;
}

Canvas groundTarget()
{
    Canvas c(Cell, Cell);
    const Point centre = {16, 16};
    drawRing(c, {17, 17}, 9, 3.0f, Shadow);
    drawRing(c, centre, 9, 3.6f, Outline);
    drawRing(c, centre, 9, 1.8f, rgb(150, 255, 120));
    for (int i = 0; i < 4; ++i) {
        const float a = i * Pi / 2;
        const Point outer = {centre.x + std::cos(a) * 14.5f, centre.y + std::sin(a) * 14.5f};
        const Point inner = {centre.x + std::cos(a) * 5.0f, centre.y + std::sin(a) * 5.0f};
        drawLine(c, inner, outer, 3.4f, Outline);
        drawLine(c, inner, outer, 1.4f, rgb(190, 255, 160));
    }
    drawDisc(c, centre, 1.6f, rgb(220, 255, 200));
    return c;
}

// Scroll arrow pointing right, its tip on the middle of the right edge (the
// hot spot the game turns it about); `phase` 0..2 slides a chevron along it.
Canvas scrollArrow(int phase)
{
    Canvas c(Cell, Cell);
    const std::vector<Point> arrow = {{6, 12.5f}, {18, 12.5f}, {18, 6}, {31.4f, 16}, {18, 26}, {18, 19.5f}, {6, 19.5f}};
    metalShape(c, arrow, rgb(255, 236, 170), rgb(190, 130, 50));
    const float x = 2.0f + phase * 4.0f;
    const float glow = 0.45f + 0.25f * phase;
    drawLine(c, {x, 10}, {x + 5, 16}, 3.2f, Outline);
    drawLine(c, {x + 5, 16}, {x, 22}, 3.2f, Outline);
    drawLine(c, {x, 10}, {x + 5, 16}, 1.4f, {1, 0.95f, 0.7f, glow + 0.3f});
    drawLine(c, {x + 5, 16}, {x, 22}, 1.4f, {1, 0.95f, 0.7f, glow + 0.3f});
    return c;
}

// Targeting crosshair, frame 0..7: four brackets turning an eighth of a
// quarter turn per frame while the ring breathes. Centre is the hot spot.
Canvas crosshair(int frame)
{
    Canvas c(Cell, Cell);
    const Point centre = {16, 16};
    const float turn = frame * (Pi / 2) / 8;
    const float pulse = 0.5f - 0.5f * std::cos(frame * 2 * Pi / 8);
    const float radius = 9.0f + 2.0f * pulse;
    drawRing(c, centre, 4.5f, 3.2f, Outline);
    drawRing(c, centre, 4.5f, 1.3f, {1, 1, 1, 0.85f});
    for (int i = 0; i < 4; ++i) {
        const float a = turn + i * Pi / 2 + Pi / 4;
        std::vector<Point> arc;
        for (int k = 0; k <= 6; ++k) {
            const float b = a - 0.45f + 0.9f * k / 6;
            arc.push_back({centre.x + std::cos(b) * radius, centre.y + std::sin(b) * radius});
        }
        const Point tip = {centre.x + std::cos(a) * (radius - 3.5f), centre.y + std::sin(a) * (radius - 3.5f)};
        for (std::size_t k = 0; k + 1 < arc.size(); ++k)
            drawLine(c, arc[k], arc[k + 1], 3.6f, Outline);
        drawLine(c, arc[3], tip, 3.6f, Outline);
        for (std::size_t k = 0; k + 1 < arc.size(); ++k)
            drawLine(c, arc[k], arc[k + 1], 1.6f, {1, 1, 1, 1});
        drawLine(c, arc[3], tip, 1.6f, {1, 1, 1, 1});
    }
    drawDisc(c, centre, 1.2f, {1, 1, 1, 0.9f});
    return c;
}

}  // namespace

void makeCursor(Output& out)
{
    Canvas atlas(8 * Cell, 4 * Cell);
    const auto place = [&](const Canvas& cell, int column, int row) {
        atlas.paste(cell, column * Cell, (3 - row) * Cell);
    };
    place(groundTarget(), 1, 0);
    place(pointer(), 3, 0);
    for (int phase = 0; phase < 3; ++phase)
        place(scrollArrow(phase), 5 + phase, 0);
    for (int frame = 0; frame < 8; ++frame)
        place(crosshair(frame), frame, 1);
    out.save("Textures/Cursor/HumanCursor.tga", atlas, 4, imagefile::TgaRows::TopDown);
}

}  // namespace texgen
