// Command icons (Textures/Icons/Abilities/, Upgrades/, Commands/): one 64 x 64
// picture per ability and upgrade of the data files, and the Stop and Hold
// commands. Each is a coloured plate that says the school of the spell (green
// heals, blue frost, red fire, grey stone, gold war) with a bold emblem on it,
// readable at the 40-unit size of the effect row. The interface lays its gilded
// IconFrame over them, so the outer few pixels stay plain.
#include "Noise.h"
#include "TexGen.h"

#include <cmath>
#include <functional>
#include <vector>

namespace texgen {

using namespace raster;

namespace {

constexpr int Size = 64;
constexpr float Pi = 3.14159265f;
const Rgba Ink = rgb(20, 14, 10);

// A plate shaded from `light` at the top-left to `dark` at the bottom-right,
// with a soft glow behind the emblem and a mottled surface.
Canvas plate(const Rgba& light, const Rgba& dark, const Rgba& glow, std::uint32_t seed)
{
    const ValueNoise noise(seed, 4);
    Canvas c(Size, Size);
    shade(c, [&](float x, float y) {
        const float t = clamp01((x + y) / (2.0f * Size));
        Rgba p = scaled(mix(light, dark, t), 0.85f + 0.3f * noise.fbm(x / Size, y / Size, 4));
        const float d = std::hypot(x - Size / 2.0f, y - Size / 2.0f) / (Size / 2.0f);
        p = mix(p, glow, 0.55f * (1 - smoothstep(0.1f, 0.9f, d)));
        p.a = 1;
        return p;
    });
    return c;
}

std::vector<Point> turned(const std::vector<Point>& shape, Point centre, float angle, float scale = 1)
{
    std::vector<Point> out;
    const float c = std::cos(angle), s = std::sin(angle);
    for (const Point& p : shape) {
        const float x = (p.x - centre.x) * scale, y = (p.y - centre.y) * scale;
        out.push_back({centre.x + x * c - y * s, centre.y + x * s + y * c});
    }
    return out;
}

// A filled emblem with a dark outline and a drop shadow, so it reads on any plate.
void emblem(Canvas& c, const std::vector<Point>& shape, const Rgba& colour)
{
    std::vector<Point> shadow;
    for (const Point& p : shape)
        shadow.push_back({p.x + 2, p.y + 2});
    fillPolygon(c, shadow, {0, 0, 0, 0.5f});
    for (std::size_t i = 0; i < shape.size(); ++i)
        drawLine(c, shape[i], shape[(i + 1) % shape.size()], 3.0f, Ink);
    fillPolygon(c, shape, colour);
}

// A thick stroke with an outline, for shafts, strings and rays.
void stroke(Canvas& c, Point a, Point b, float width, const Rgba& colour)
{
    drawLine(c, {a.x + 2, a.y + 2}, {b.x + 2, b.y + 2}, width, {0, 0, 0, 0.45f});
    drawLine(c, a, b, width + 3, Ink);
    drawLine(c, a, b, width, colour);
}

void ball(Canvas& c, Point centre, float radius, const Rgba& colour)
{
    drawDisc(c, {centre.x + 2, centre.y + 2}, radius, {0, 0, 0, 0.45f});
    drawDisc(c, centre, radius + 1.5f, Ink);
    drawDisc(c, centre, radius, colour);
    drawDisc(c, {centre.x - radius * 0.35f, centre.y - radius * 0.35f}, radius * 0.35f, {1, 1, 1, 0.45f});
}

std::vector<Point> star(Point centre, int points, float outer, float inner, float angle = -Pi / 2)
{
    std::vector<Point> out;
    for (int i = 0; i < 2 * points; ++i) {
        const float r = i % 2 ? inner : outer;
        const float a = angle + i * Pi / points;
        out.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
    }
    return out;
}

std::vector<Point> cross(Point c, float arm, float half)
{
    return {{c.x - half, c.y - arm}, {c.x + half, c.y - arm}, {c.x + half, c.y - half}, {c.x + arm, c.y - half},
            {c.x + arm, c.y + half}, {c.x + half, c.y + half}, {c.x + half, c.y + arm}, {c.x - half, c.y + arm},
            {c.x - half, c.y + half}, {c.x - arm, c.y + half}, {c.x - arm, c.y - half}, {c.x - half, c.y - half}};
}

std::vector<Point> shield(float top, float bottom, float half)
{
    const float mid = Size / 2.0f;
    std::vector<Point> out = {{mid - half, top}, {mid + half, top}, {mid + half, top + (bottom - top) * 0.45f}};
    for (int i = 1; i < 8; ++i) {  // the curved lower edge to the point
        const float t = i / 8.0f;
        out.push_back({mid + half * (1 - t), top + (bottom - top) * (0.45f + 0.55f * std::sin(t * Pi / 2))});
    }
    out.push_back({mid, bottom});
    for (int i = 7; i >= 1; --i) {
        const float t = i / 8.0f;
        out.push_back({mid - half * (1 - t), top + (bottom - top) * (0.45f + 0.55f * std::sin(t * Pi / 2))});
    }
    out.push_back({mid - half, top + (bottom - top) * 0.45f});
    return out;
}

std::vector<Point> drop(Point tip, float radius)
{
    std::vector<Point> out = {tip};
    const Point centre = {tip.x, tip.y + radius * 2.2f};
    for (int i = 0; i <= 16; ++i) {
        const float a = -Pi / 2 + 0.45f + i * (2 * Pi - 0.9f) / 16;
        out.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    return out;
}

// A spear or arrow head pointing up-right along the diagonal.
std::vector<Point> blade(Point tip, float length, float half)
{
    const float d = 0.7071f;
    const Point base = {tip.x - length * d, tip.y + length * d};
    return {tip, {base.x + half * d + 2, base.y + half * d + 2}, base, {base.x - half * d - 2, base.y - half * d - 2}};
}

// Abilities ------------------------------------------------------------

Canvas heal()
{
    Canvas c = plate(rgb(70, 120, 60), rgb(20, 50, 24), rgb(240, 230, 150), 301);
    emblem(c, cross({32, 32}, 20, 7), rgb(236, 250, 220));
    return c;
}

Canvas frostBolt()
{
    Canvas c = plate(rgb(60, 110, 170), rgb(12, 30, 70), rgb(180, 230, 255), 302);
    for (int i = 0; i < 3; ++i) {  // a six-armed flake
        const float a = i * Pi / 3;
        const Point p = {32 + 22 * std::cos(a), 32 + 22 * std::sin(a)}, q = {32 - 22 * std::cos(a), 32 - 22 * std::sin(a)};
        stroke(c, p, q, 4, rgb(225, 245, 255));
    }
    for (int i = 0; i < 6; ++i) {
        const float a = i * Pi / 3;
        const Point m = {32 + 13 * std::cos(a), 32 + 13 * std::sin(a)};
        for (float side : {-1.0f, 1.0f}) {
            const float b = a + side * 0.8f;
            drawLine(c, m, {m.x + 8 * std::cos(b), m.y + 8 * std::sin(b)}, 2.5f, rgb(225, 245, 255));
        }
    }
    ball(c, {32, 32}, 6, rgb(150, 220, 255));
    return c;
}

Canvas fireRain()
{
    Canvas c = plate(rgb(150, 50, 20), rgb(40, 8, 6), rgb(255, 170, 60), 303);
    const Point drops[] = {{16, 8}, {34, 4}, {48, 14}, {24, 28}, {42, 32}, {14, 42}, {32, 44}};
    for (const Point& d : drops)
        emblem(c, turned(drop(d, 5.5f), d, -0.35f), rgb(255, 200, 70));
    return c;
}

Canvas battleCry()
{
    Canvas c = plate(rgb(160, 40, 30), rgb(50, 10, 8), rgb(255, 210, 120), 304);
    emblem(c, star({32, 32}, 10, 27, 13), rgb(255, 215, 110));
    ball(c, {32, 32}, 8, rgb(200, 40, 30));
    return c;
}

Canvas venom()
{
    Canvas c = plate(rgb(70, 100, 30), rgb(16, 30, 8), rgb(170, 220, 60), 305);
    emblem(c, drop({32, 6}, 14), rgb(140, 220, 40));
    ball(c, {28, 40}, 4, rgb(230, 255, 170));
    return c;
}

Canvas stoneSkin()
{
    Canvas c = plate(rgb(120, 114, 104), rgb(40, 38, 34), rgb(200, 190, 170), 306);
    const std::vector<Point> outline = shield(8, 58, 21);
    emblem(c, outline, rgb(150, 140, 126));
    // Stone courses across the shield.
    for (float y : {22.0f, 34.0f, 46.0f})
        drawLine(c, {14, y}, {50, y}, 2, Ink);
    for (const Point& p : std::vector<Point>{{32, 10}, {24, 22}, {40, 22}, {32, 34}, {27, 46}, {37, 46}})
        drawLine(c, p, {p.x, p.y + 12}, 2, Ink);
    return c;
}

Canvas defend()
{
    Canvas c = plate(rgb(60, 80, 130), rgb(14, 20, 44), rgb(190, 200, 240), 307);
    emblem(c, shield(7, 59, 22), rgb(190, 196, 210));
    emblem(c, shield(15, 49, 12), rgb(70, 90, 160));
    return c;
}

Canvas healingAura()
{
    Canvas c = plate(rgb(110, 100, 40), rgb(30, 28, 10), rgb(250, 240, 170), 308);
    drawRing(c, {32, 32}, 25, 3, rgb(255, 236, 140, 0.9f));
    drawRing(c, {32, 32}, 18, 2, rgb(255, 236, 140, 0.7f));
    emblem(c, cross({32, 32}, 12, 4.5f), rgb(200, 250, 190));
    return c;
}

// Upgrades ------------------------------------------------------------

Canvas temperedSpears()
{
    Canvas c = plate(rgb(130, 70, 30), rgb(40, 18, 8), rgb(255, 190, 90), 311);
    stroke(c, {12, 54}, {40, 26}, 4, rgb(140, 96, 52));
    emblem(c, blade({54, 10}, 24, 8), rgb(255, 170, 70));
    return c;
}

Canvas fletching()
{
    Canvas c = plate(rgb(80, 110, 70), rgb(20, 34, 18), rgb(230, 230, 180), 312);
    stroke(c, {12, 52}, {46, 18}, 3, rgb(160, 116, 66));
    emblem(c, blade({54, 10}, 13, 6), rgb(200, 200, 210));
    for (float k : {0.0f, 6.0f}) {  // the feathers
        emblem(c, {{12 + k, 52 - k}, {6 + k, 40 - k}, {18 + k, 46 - k}}, rgb(240, 236, 220));
        emblem(c, {{12 + k, 52 - k}, {24 + k, 58 - k}, {18 + k, 46 - k}}, rgb(200, 60, 40));
    }
    return c;
}

Canvas bandedMail()
{
    Canvas c = plate(rgb(90, 96, 110), rgb(24, 26, 34), rgb(210, 210, 220), 313);
    const std::vector<Point> shirt = {{20, 10}, {44, 10}, {58, 22}, {50, 30}, {46, 26}, {46, 56},
                                      {18, 56}, {18, 26}, {14, 30}, {6, 22}};
    emblem(c, shirt, rgb(170, 176, 186));
    for (float y : {24.0f, 34.0f, 44.0f})
        stroke(c, {19, y}, {45, y}, 3, rgb(200, 170, 90));
    return c;
}

Canvas raiderAxes()
{
    Canvas c = plate(rgb(120, 40, 30), rgb(36, 10, 8), rgb(240, 170, 120), 314);
    stroke(c, {14, 56}, {46, 14}, 4, rgb(130, 90, 50));
    std::vector<Point> head = {{38, 8}, {58, 14}, {56, 34}, {44, 26}, {40, 22}};
    emblem(c, head, rgb(210, 210, 220));
    return c;
}

Canvas slingStones()
{
    Canvas c = plate(rgb(110, 90, 60), rgb(34, 26, 14), rgb(220, 200, 150), 315);
    stroke(c, {10, 10}, {30, 40}, 2, rgb(150, 110, 60));
    stroke(c, {54, 10}, {34, 40}, 2, rgb(150, 110, 60));
    emblem(c, {{24, 38}, {40, 38}, {36, 48}, {28, 48}}, rgb(130, 90, 50));
    ball(c, {32, 34}, 6, rgb(170, 166, 160));
    ball(c, {16, 52}, 5, rgb(150, 146, 140));
    ball(c, {48, 54}, 4, rgb(150, 146, 140));
    return c;
}

Canvas thickHides()
{
    Canvas c = plate(rgb(110, 70, 40), rgb(34, 20, 10), rgb(220, 170, 120), 316);
    const std::vector<Point> hide = {{16, 8},  {26, 14}, {38, 14}, {48, 8},  {52, 20}, {46, 28}, {54, 44},
                                     {44, 50}, {40, 58}, {24, 58}, {20, 50}, {10, 44}, {18, 28}, {12, 20}};
    emblem(c, hide, rgb(176, 126, 78));
    for (const Point& p : std::vector<Point>{{26, 26}, {38, 30}, {30, 40}, {40, 46}})
        drawDisc(c, p, 2.5f, rgb(90, 56, 30));
    return c;
}

// Commands ------------------------------------------------------------

Canvas stop()
{
    Canvas c = plate(rgb(90, 80, 70), rgb(26, 22, 20), rgb(190, 170, 150), 321);
    std::vector<Point> octagon;
    for (int i = 0; i < 8; ++i) {
        const float a = Pi / 8 + i * Pi / 4;
        octagon.push_back({32 + 24 * std::cos(a), 32 + 24 * std::sin(a)});
    }
    emblem(c, octagon, rgb(200, 40, 30));
    fillRect(c, 16, 28, 48, 36, rgb(250, 244, 230));
    return c;
}

Canvas hold()
{
    Canvas c = plate(rgb(70, 90, 70), rgb(18, 26, 18), rgb(190, 210, 170), 322);
    stroke(c, {20, 6}, {20, 56}, 4, rgb(140, 100, 60));
    emblem(c, {{22, 8}, {52, 12}, {44, 22}, {52, 32}, {22, 30}}, rgb(210, 60, 40));
    stroke(c, {8, 56}, {56, 56}, 4, rgb(110, 90, 60));
    return c;
}

}  // namespace

void makeIcons(Output& out)
{
    const std::pair<const char*, std::function<Canvas()>> icons[] = {
        {"Abilities/Heal", heal},
        {"Abilities/FrostBolt", frostBolt},
        {"Abilities/FireRain", fireRain},
        {"Abilities/BattleCry", battleCry},
        {"Abilities/Venom", venom},
        {"Abilities/StoneSkin", stoneSkin},
        {"Abilities/Defend", defend},
        {"Abilities/HealingAura", healingAura},
        {"Upgrades/TemperedSpears", temperedSpears},
        {"Upgrades/Fletching", fletching},
        {"Upgrades/BandedMail", bandedMail},
        {"Upgrades/RaiderAxes", raiderAxes},
        {"Upgrades/SlingStones", slingStones},
        {"Upgrades/ThickHides", thickHides},
        {"Commands/Stop", stop},
        {"Commands/Hold", hold},
    };
    for (const auto& [name, paint] : icons)
        out.save(std::string("Textures/Icons/") + name + ".tga", paint(), 4);
}

}  // namespace texgen
