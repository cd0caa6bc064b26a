#include "interface/FFonts.h"

#include "platform/Files.h"
#include "shell/FLogs.h"

#include <cmath>
#include <cstring>

namespace {

std::vector<TFontEntry> fontList;

// Bounds that no real atlas reaches; they keep a damaged header from asking
// for gigabytes.
constexpr std::int32_t MaxAtlasSide = 8192;
constexpr std::int32_t MaxCharCode = 65535;

std::int32_t readInt32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                     static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

float readFloat(const std::uint8_t* p)
{
    const std::uint32_t bits = static_cast<std::uint32_t>(readInt32(p));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool sensible(const TGlyph& g)
{
    for (float v : {g.tx1, g.ty1, g.tx2, g.ty2})
        if (!std::isfinite(v) || std::fabs(v) > 1000)
            return false;
    return g.dx >= 0 && g.dx <= 1 && g.dy >= 0 && g.dy <= 1;
}

}  // namespace

std::optional<TFont> decodeGlf(const std::uint8_t* data, std::size_t size, std::string* error)
{
    constexpr std::size_t HeaderSize = 24;
    constexpr std::size_t GlyphSize = 24;
    if (size < HeaderSize) {
        *error = "truncated header";
        return std::nullopt;
    }
    TFont font;
    font.textureWidth = readInt32(data + 4);
    font.textureHeight = readInt32(data + 8);
    font.firstChar = readInt32(data + 12);
    font.lastChar = readInt32(data + 16);
    if (font.textureWidth <= 0 || font.textureHeight <= 0 || font.textureWidth > MaxAtlasSide ||
        font.textureHeight > MaxAtlasSide) {
        *error = "bad atlas size " + std::to_string(font.textureWidth) + " x " + std::to_string(font.textureHeight);
        return std::nullopt;
    }
    if (font.firstChar < 0 || font.lastChar < font.firstChar || font.lastChar > MaxCharCode) {
        *error = "bad character range " + std::to_string(font.firstChar) + ".." + std::to_string(font.lastChar);
        return std::nullopt;
    }
    const std::size_t glyphCount = static_cast<std::size_t>(font.lastChar - font.firstChar) + 1;
    const std::size_t texelBytes = 2 * static_cast<std::size_t>(font.textureWidth) * font.textureHeight;
    if (size - HeaderSize < glyphCount * GlyphSize + texelBytes) {
        *error = "truncated file";
        return std::nullopt;
    }
    font.glyphs.resize(glyphCount);
    const std::uint8_t* p = data + HeaderSize;
    for (TGlyph& g : font.glyphs) {
        g = {readFloat(p), readFloat(p + 4), readFloat(p + 8), readFloat(p + 12), readFloat(p + 16), readFloat(p + 20)};
        if (!sensible(g)) {
            *error = "bad glyph record";
            return std::nullopt;
        }
        p += GlyphSize;
    }
    font.texels.assign(p, p + texelBytes);
    return font;
}

void initFonts()
{
    fontList.clear();
}

int fontIndexOf(const std::string& name)
{
    if (name.empty())
        return 0;
    return fontIndexOfFile("Fonts/" + name + ".glf");
}

int fontIndexOfFile(const std::string& path)
{
    for (std::size_t i = 0; i < fontList.size(); ++i)
        if (fontList[i].path == path)
            return static_cast<int>(i);

    // A level-2 log line raises EngineError: the operation that wanted the font ends here.
    const std::string file = platform::contentPath(path);
    std::optional<std::vector<std::uint8_t>> bytes;
    if (platform::fileExists(file))
        bytes = platform::readBinaryFile(file);
    if (!bytes)
        log("Font file `" + path + "` cannot be read", LogError);
    std::string error;
    std::optional<TFont> font = decodeGlf(bytes->data(), bytes->size(), &error);
    if (!font)
        log("Font file `" + path + "`: " + error, LogError);
    fontList.push_back({path, std::move(*font)});
    return static_cast<int>(fontList.size()) - 1;
}

TFont* fontAt(int index)
{
    if (index < 0 || index >= static_cast<int>(fontList.size()))
        return nullptr;
    return &fontList[static_cast<std::size_t>(index)].font;
}

int fontCount()
{
    return static_cast<int>(fontList.size());
}
