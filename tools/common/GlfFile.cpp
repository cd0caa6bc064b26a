#include "GlfFile.h"

#include "ImageFile.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace glf {

namespace {

constexpr std::size_t HeaderSize = 24;
constexpr std::size_t GlyphSize = 24;

void putInt(std::vector<std::uint8_t>& out, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void putFloat(std::vector<std::uint8_t>& out, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    putInt(out, static_cast<std::int32_t>(bits));
}

std::uint32_t getWord(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

float getFloat(const std::uint8_t* p)
{
    const std::uint32_t bits = getWord(p);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

}  // namespace

bool write(const std::string& path, const Font& font)
{
    const std::size_t count = static_cast<std::size_t>(font.lastChar - font.firstChar + 1);
    if (font.lastChar < font.firstChar || font.glyphs.size() != count ||
        font.texels.size() != 2 * static_cast<std::size_t>(font.textureWidth) * font.textureHeight)
        return false;
    std::vector<std::uint8_t> out;
    out.reserve(HeaderSize + GlyphSize * count + font.texels.size());
    putInt(out, 0);  // texture name, assigned by the game at load
    putInt(out, font.textureWidth);
    putInt(out, font.textureHeight);
    putInt(out, font.firstChar);
    putInt(out, font.lastChar);
    putInt(out, 0);  // glyph table pointer, meaningless on disk
    for (const Glyph& g : font.glyphs)
        for (float v : {g.dx, g.dy, g.tx1, g.ty1, g.tx2, g.ty2})
            putFloat(out, v);
    out.insert(out.end(), font.texels.begin(), font.texels.end());

    if (!imagefile::makeParentFolders(path))
        return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

bool read(const std::string& path, Font& font, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < HeaderSize) {
        error = "header is truncated";
        return false;
    }
    Font result;
    result.textureWidth = static_cast<std::int32_t>(getWord(&bytes[4]));
    result.textureHeight = static_cast<std::int32_t>(getWord(&bytes[8]));
    result.firstChar = static_cast<std::int32_t>(getWord(&bytes[12]));
    result.lastChar = static_cast<std::int32_t>(getWord(&bytes[16]));
    if (result.textureWidth <= 0 || result.textureHeight <= 0 || result.textureWidth > 8192 ||
        result.textureHeight > 8192 || result.firstChar < 0 || result.lastChar > 255 ||
        result.lastChar < result.firstChar) {
        error = "header values out of range";
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(result.lastChar - result.firstChar + 1);
    const std::size_t texelBytes = 2 * static_cast<std::size_t>(result.textureWidth) * result.textureHeight;
    if (bytes.size() != HeaderSize + GlyphSize * count + texelBytes) {
        error = "file size does not match the header";
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &bytes[HeaderSize + GlyphSize * i];
        result.glyphs.push_back({getFloat(p), getFloat(p + 4), getFloat(p + 8), getFloat(p + 12), getFloat(p + 16),
                                 getFloat(p + 20)});
    }
    result.texels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(HeaderSize + GlyphSize * count), bytes.end());
    font = std::move(result);
    return true;
}

}  // namespace glf
