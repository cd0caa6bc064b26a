// vrax-preview: draws content the way the game draws it, on the CPU, and saves
// a PNG, so artists and modders can judge textures and fonts without running
// the game. It repeats the game's texture-coordinate mappings exactly: TGA
// rows go to the texture in file order (the first row at t = 0), interface
// textures run t from 1 at the top to 0 at the bottom, borders are built from
// straight and turned quads, text from glyph quads with a shadow and a
// doubled stroke, and the cursor from its atlas cells.
//
//   vrax-preview scene GAME_FOLDER OUT.png [WIDTH HEIGHT]   a mock menu
//   vrax-preview text GAME_FOLDER FONT TEXT OUT.png           one line of text
//   vrax-preview tga FILE.tga OUT.png                         a TGA as viewers show it
#include "GlfFile.h"
#include "ImageFile.h"
#include "Noise.h"
#include "Raster.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

using namespace raster;

namespace {

// A texture as OpenGL holds it: row 0 is t = 0, repeat wrapping, linear filter.
struct Texture {
    int width = 0;
    int height = 0;
    std::vector<Rgba> texels;

    Rgba texel(int x, int y) const
    {
        x %= width;
        y %= height;
        return texels[static_cast<std::size_t>(y < 0 ? y + height : y) * width + (x < 0 ? x + width : x)];
    }
    Rgba sample(float s, float t) const
    {
        const float x = s * width - 0.5f;
        const float y = t * height - 0.5f;
        const int ix = static_cast<int>(std::floor(x));
        const int iy = static_cast<int>(std::floor(y));
        const float fx = x - ix, fy = y - iy;
        return mix(mix(texel(ix, iy), texel(ix + 1, iy), fx), mix(texel(ix, iy + 1), texel(ix + 1, iy + 1), fx), fy);
    }
};

struct TexCoord {
    float s, t;
};

// The game's TGA reader hands rows over in file order whatever the origin bit says.
bool loadTga(const std::string& path, Texture& texture)
{
    imagefile::Image image;
    imagefile::TgaRows rows;
    if (!imagefile::readTga(path, image, &rows)) {
        std::fprintf(stderr, "vrax-preview: cannot read %s\n", path.c_str());
        return false;
    }
    texture.width = image.width;
    texture.height = image.height;
    texture.texels.resize(static_cast<std::size_t>(image.width) * image.height);
    for (int fileRow = 0; fileRow < image.height; ++fileRow) {
        const int y = rows == imagefile::TgaRows::TopDown ? fileRow : image.height - 1 - fileRow;
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.at(x, y);
            texture.texels[static_cast<std::size_t>(fileRow) * image.width + x] = {
                p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, image.channels == 4 ? p[3] / 255.0f : 1.0f};
        }
    }
    return true;
}

class Screen {
public:
    Screen(int width, int height, float scale) : canvas(width, height, {0, 0, 0, 1}), scale_(scale) {}
    Canvas canvas;
    float scale() const { return scale_; }

    // A quad over the axis-aligned rectangle (x, y, w, h) in interface units;
    // coordinates given for its top-left, top-right, bottom-right, bottom-left.
    void quad(float x, float y, float w, float h, const TexCoord (&tc)[4], const Texture& tex, const Rgba& colour)
    {
        const float x0 = x * scale_, y0 = y * scale_, x1 = (x + w) * scale_, y1 = (y + h) * scale_;
        for (int py = static_cast<int>(std::floor(y0)); py < static_cast<int>(std::ceil(y1)); ++py)
            for (int px = static_cast<int>(std::floor(x0)); px < static_cast<int>(std::ceil(x1)); ++px) {
                const float cx = px + 0.5f, cy = py + 0.5f;
                if (cx < x0 || cx >= x1 || cy < y0 || cy >= y1)
                    continue;
                const float u = (cx - x0) / (x1 - x0), v = (cy - y0) / (y1 - y0);
                const float s = (1 - v) * ((1 - u) * tc[0].s + u * tc[1].s) + v * ((1 - u) * tc[3].s + u * tc[2].s);
                const float t = (1 - v) * ((1 - u) * tc[0].t + u * tc[1].t) + v * ((1 - u) * tc[3].t + u * tc[2].t);
                const Rgba texel = tex.sample(s, t);
                canvas.blend(px, py, {texel.r * colour.r, texel.g * colour.g, texel.b * colour.b, texel.a * colour.a});
            }
    }

private:
    float scale_;
};

// A texture element with the default coordinates: the whole image upright.
void drawTexture(Screen& screen, const Texture& tex, float x, float y, float w, float h, Rgba colour = {1, 1, 1, 1})
{
    const float left = 0, right = 1, top = 0, bottom = 1;
    screen.quad(x, y, w, h, {{left, 1 - top}, {right, 1 - top}, {right, 1 - bottom}, {left, 1 - bottom}}, tex, colour);
}

void straight(Screen& screen, const Texture& tex, float x, float y, float w, float h, float u, float v, float tw,
              float th)
{
    screen.quad(x, y, w, h, {{u, v + th}, {u + tw, v + th}, {u + tw, v}, {u, v}}, tex, {1, 1, 1, 1});
}

void turned(Screen& screen, const Texture& tex, float x, float y, float w, float h, float u, float v, float tw,
            float th)
{
    screen.quad(x, y, w, h, {{u + tw, v + th}, {u + tw, v}, {u, v}, {u, v + th}}, tex, {1, 1, 1, 1});
}

// A frame's background and border, as the interface draws them.
void drawFrame(Screen& screen, const Texture* background, const Texture* border, float X, float Y, float W, float H,
               float B)
{
    if (background)
        straight(screen, *background, X + B / 2 - 2, Y + B / 2 - 2, W - B + 5, H - B + 5, 0, 0, (W - B) / B / 10,
                 (H - B) / B / 10);
    if (!border)
        return;
    const float n = static_cast<float>(static_cast<int>(W) / static_cast<int>(B) - 2);
    const float m = static_cast<float>(static_cast<int>(H) / static_cast<int>(B) - 2);
    turned(screen, *border, X + B, Y, W - 2 * B, B, 0.25f, 0, 0.125f, n);
    turned(screen, *border, X + B, Y + H - B, W - 2 * B, B, 0.375f, 0, 0.125f, n);
    straight(screen, *border, X, Y + B, B, H - 2 * B, 0, 0, 0.125f, m);
    straight(screen, *border, X + W - B, Y + B, B, H - 2 * B, 0.125f, 0, 0.125f, m);
    straight(screen, *border, X, Y, B, B, 0.5f, 0, 0.125f, 1);
    straight(screen, *border, X + W - B, Y, B, B, 0.625f, 0, 0.125f, 1);
    straight(screen, *border, X, Y + H - B, B, B, 0.75f, 0, 0.125f, 1);
    straight(screen, *border, X + W - B, Y + H - B, B, B, 0.875f, 0, 0.125f, 1);
}

struct Font {
    glf::Font file;
    Texture atlas;
};

bool loadFont(const std::string& path, Font& font)
{
    std::string error;
    if (!glf::read(path, font.file, error)) {
        std::fprintf(stderr, "vrax-preview: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    font.atlas.width = font.file.textureWidth;
    font.atlas.height = font.file.textureHeight;
    for (std::size_t i = 0; i < font.file.texels.size(); i += 2) {
        const float l = font.file.texels[i] / 255.0f;
        font.atlas.texels.push_back({l, l, l, font.file.texels[i + 1] / 255.0f});
    }
    return true;
}

const glf::Glyph* glyphOf(const Font& font, unsigned char c)
{
    if (c < font.file.firstChar || c > font.file.lastChar)
        return nullptr;
    return &font.file.glyphs[c - font.file.firstChar];
}

float textWidth(const Font& font, const std::string& text)
{
    float width = 0;
    for (unsigned char c : text)
        if (const glf::Glyph* g = glyphOf(font, c))
            width += font.file.textureWidth * g->dx;
    return std::round(width);
}

// drawText: glyph quads side by side from the origin, tops on the origin line,
// drawn as a black shadow at (2, 2) and twice in colour half a unit apart.
void drawText(Screen& screen, const Font& font, const std::string& text, float x, float y, Rgba colour)
{
    const float offsets[3][2] = {{2, 2}, {0.5f, 0.5f}, {0, 0.5f}};
    for (int pass = 0; pass < 3; ++pass) {
        float pen = 0;
        for (unsigned char c : text) {
            const glf::Glyph* g = glyphOf(font, c);
            if (!g)
                continue;
            const float w = font.file.textureWidth * g->dx;
            const float h = font.file.textureHeight * g->dy;
            screen.quad(x + pen + offsets[pass][0], y + offsets[pass][1], w, h,
                        {{g->tx1, g->ty1}, {g->tx2, g->ty1}, {g->tx2, g->ty2}, {g->tx1, g->ty2}}, font.atlas,
                        pass == 0 ? Rgba{0, 0, 0, 1} : colour);
            pen += w;
        }
    }
}

// One cursor cell the way drawCursor maps it (no turn): 32 window pixels,
// whatever the interface scale, offset (dx, dy) pixels from the hot spot (x, y).
void drawCursorCell(Screen& screen, const Texture& atlas, int column, int row, float x, float y, float dx, float dy,
                    Rgba tint)
{
    const float s0 = column / 8.0f, s1 = (column + 1) / 8.0f;
    const float tTop = (3 - row) / 4.0f, tBottom = (4 - row) / 4.0f;
    const float unit = 1 / screen.scale();
    screen.quad(x + dx * unit, y + dy * unit, 32 * unit, 32 * unit, {{s0, tTop}, {s1, tTop}, {s1, tBottom}, {s0, tBottom}},
                atlas, tint);
}

// The ground as the terrain builds it, seen from above with world y down the picture.
void drawGround(Screen& screen, const Texture& atlas, float x, float y, int columns, int rows, float size)
{
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            const int a = static_cast<int>(hash01(i, j, 5) * 23);
            const int b = static_cast<int>(hash01(i, j, 6) * 4);
            const int c = a < 21 ? 4 : a - 16;
            const float s0 = c / 8.0f, s1 = (c + 1) / 8.0f, t0 = b / 4.0f, t1 = (b + 1) / 4.0f;
            // Vertices (x0, y1), (x1, y1), (x1, y0), (x0, y0) carry t1, t1, t0, t0.
            screen.quad(x + i * size, y + j * size, size, size, {{s0, t0}, {s1, t0}, {s1, t1}, {s0, t1}}, atlas,
                        {1, 1, 1, 1});
        }
}

// Latin-1 bytes from the UTF-8 command line, as the engine's text is.
std::string latin1(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            out += static_cast<char>(((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F));
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int scene(const std::string& game, const std::string& out, int width, int height)
{
    std::map<std::string, Texture> tex;
    const char* names[] = {"Backgrounds/DarkStone",  "Backgrounds/Parchment",  "Backgrounds/WoodPanel",
                           "Backgrounds/Leather",    "Borders/GoldTrim",       "Borders/IronBand",
                           "Borders/ThinGold",       "Buttons/Button",         "Buttons/ButtonHighlight",
                           "Buttons/ButtonPushed",   "Buttons/ButtonDisabled", "Buttons/SquareButton",
                           "Buttons/SquareButtonHighlight", "Buttons/SquareButtonPushed", "Buttons/IconFrame",
                           "Buttons/IconHighlight",  "Widgets/EditBox",        "Widgets/ListBox",
                           "Widgets/ListHighlight",  "Widgets/ProgressBar",    "Widgets/ProgressFill",
                           "Title/Banner"};
    for (const char* name : names)
        if (!loadTga(game + "/Textures/Interface/" + name + ".tga", tex[name]))
            return 1;
    Texture cursor, ground, circle;
    Font body, title, small;
    if (!loadTga(game + "/Textures/Cursor/HumanCursor.tga", cursor) ||
        !loadTga(game + "/Textures/Terrain/Ashen_Grass.tga", ground) ||
        !loadTga(game + "/Textures/Shared/Circle.tga", circle) || !loadFont(game + "/Fonts/Thorndale18.glf", body) ||
        !loadFont(game + "/Fonts/ThorndaleBold24.glf", title) || !loadFont(game + "/Fonts/Thorndale14.glf", small))
        return 1;

    Screen screen(width, height, width / 1600.0f);
    const Rgba gold = {1, 0.85f, 0.5f, 1};
    const Rgba pale = {0.95f, 0.92f, 0.85f, 1};
    drawFrame(screen, &tex["Backgrounds/DarkStone"], nullptr, 0, 0, 1600, 1200, 32);
    drawTexture(screen, tex["Title/Banner"], 500, 30, 600, 150);

    drawFrame(screen, &tex["Backgrounds/Leather"], &tex["Borders/GoldTrim"], 80, 220, 560, 640, 32);
    drawText(screen, title, "Main Menu", 360 - textWidth(title, "Main Menu") / 2, 270, gold);
    const char* labels[] = {"Host a Game", "Find Games", "Options", "Quit"};
    const char* states[] = {"Buttons/Button", "Buttons/ButtonHighlight", "Buttons/ButtonPushed",
                            "Buttons/ButtonDisabled"};
    for (int i = 0; i < 4; ++i) {
        const float y = 340 + i * 110;
        drawTexture(screen, tex[states[i]], 140, y, 440, 90);
        drawText(screen, body, labels[i], 360 - textWidth(body, labels[i]) / 2, y + 35 + (i == 2 ? 2 : 0),
                 i == 3 ? Rgba{0.6f, 0.6f, 0.6f, 1} : pale);
    }

    drawFrame(screen, &tex["Backgrounds/Parchment"], &tex["Borders/IronBand"], 700, 220, 820, 420, 24);
    drawText(screen, title, "Lobby", 740, 255, {0.25f, 0.12f, 0.05f, 1});
    drawText(screen, small, "Nickname:", 740, 310, {0.2f, 0.1f, 0.05f, 1});
    drawTexture(screen, tex["Widgets/EditBox"], 860, 300, 400, 40);
    drawText(screen, small, "Sir Galahad_", 872, 310, pale);
    drawTexture(screen, tex["Widgets/ListBox"], 740, 360, 520, 240);
    const char* players[] = {"1. Galahad (host)", "2. Mordred", "3. Percival", "4. Tristan - Wörter ÄÖÜ àéî"};
    drawTexture(screen, tex["Widgets/ListHighlight"], 750, 400, 500, 34);
    for (int i = 0; i < 4; ++i)
        drawText(screen, small, latin1(players[i]), 760, 372 + i * 36, i == 1 ? gold : pale);
    drawTexture(screen, tex["Widgets/ProgressBar"], 740, 608, 520, 24);
    drawTexture(screen, tex["Widgets/ProgressFill"], 744, 612, 300, 16);
    for (int i = 0; i < 3; ++i)
        drawTexture(screen, tex[i == 0 ? "Buttons/SquareButton"
                                : i == 1 ? "Buttons/SquareButtonHighlight"
                                         : "Buttons/SquareButtonPushed"],
                    1290 + i * 74, 370, 64, 64);
    drawTexture(screen, tex["Buttons/IconFrame"], 1290, 450, 64, 64);
    drawTexture(screen, tex["Buttons/IconHighlight"], 1364, 450, 64, 64);
    drawTexture(screen, circle, 1440, 450, 64, 64, {0.3f, 1, 0.3f, 1});

    drawFrame(screen, &tex["Backgrounds/WoodPanel"], &tex["Borders/ThinGold"], 700, 680, 400, 180, 16);
    drawText(screen, body, "The quick brown fox jumps", 730, 720, pale);
    drawText(screen, small, "over the lazy dog. 0123456789 !?", 730, 760, pale);
    drawText(screen, small, "Not enough Gold.", 730, 800, {1, 0.3f, 0.2f, 1});

    drawGround(screen, ground, 80, 900, 12, 3, 96);
    drawFrame(screen, nullptr, &tex["Borders/GoldTrim"], 1200, 680, 320, 200, 32);

    // Cursor cells, each with its hot spot on a small marker.
    const float cx = 1250, cy = 950;
    const struct {
        int column, row;
        float dx, dy;
        Rgba tint;
    } cells[] = {{3, 0, 0, 0, {1, 1, 1, 1}},       {3, 0, 0, 0, {0, 1, 1, 1}},       {1, 0, -16, -16, {0, 1, 0, 1}},
                 {5, 0, -32, -16, {1, 1, 1, 1}},   {6, 0, -32, -16, {1, 1, 1, 1}},   {7, 0, -32, -16, {1, 1, 1, 1}},
                 {0, 1, -16, -16, {1, 1, 1, 1}},   {2, 1, -16, -16, {0, 1, 1, 1}},   {4, 1, -16, -16, {1, 0, 0, 1}},
                 {6, 1, -16, -16, {1, 1, 1, 1}}};
    int i = 0;
    for (const auto& c : cells) {
        const float x = cx + (i % 5) * 64 + 32, y = cy + (i / 5) * 64 + 32;
        fillRect(screen.canvas, static_cast<int>(x * width / 1600.0f) - 1, static_cast<int>(y * width / 1600.0f) - 1,
                 static_cast<int>(x * width / 1600.0f) + 1, static_cast<int>(y * width / 1600.0f) + 1, {1, 0, 1, 1});
        drawCursorCell(screen, cursor, c.column, c.row, x, y, c.dx, c.dy, c.tint);
        ++i;
    }
    return imagefile::writePng(out, screen.canvas.toImage(3)) ? 0 : 1;
}

int text(const std::string& game, const std::string& fontName, const std::string& line, const std::string& out)
{
    Font font;
    if (!loadFont(game + "/Fonts/" + fontName + ".glf", font))
        return 1;
    const float height = font.file.textureHeight * font.file.glyphs[0].dy;
    Screen screen(static_cast<int>(textWidth(font, line)) + 16, static_cast<int>(height) + 16, 1.0f);
    fillRect(screen.canvas, 0, 0, screen.canvas.width(), screen.canvas.height(), {0.2f, 0.22f, 0.3f, 1});
    drawText(screen, font, line, 6, 6, {1, 1, 1, 1});
    return imagefile::writePng(out, screen.canvas.toImage(3)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "scene" && (argc == 4 || argc == 6))
        return scene(argv[2], argv[3], argc == 6 ? std::atoi(argv[4]) : 1024, argc == 6 ? std::atoi(argv[5]) : 768);
    if (command == "text" && argc == 6)
        return text(argv[2], argv[3], latin1(argv[4]), argv[5]);
    if (command == "tga" && argc == 4) {
        imagefile::Image image;
        if (!imagefile::readTga(argv[2], image))
            return 1;
        return imagefile::writePng(argv[3], image) ? 0 : 1;
    }
    std::fprintf(stderr,
                 "usage: vrax-preview scene GAME_FOLDER OUT.png [WIDTH HEIGHT]\n"
                 "       vrax-preview text GAME_FOLDER FONT TEXT OUT.png\n"
                 "       vrax-preview tga FILE.tga OUT.png\n");
    return 2;
}
