#include "ImageFile.h"

#include "platform/Png.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace imagefile {

namespace {

constexpr int TgaHeaderSize = 18;
constexpr std::uint8_t TgaTopLeftOrigin = 0x20;


}  // namespace

Image::Image(int w, int h, int c)
    : width(w), height(h), channels(c), pixels(static_cast<std::size_t>(w) * h * c, 0)
{
}

bool makeParentFolders(const std::string& path)
{
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty())
        return true;
    std::error_code error;
    std::filesystem::create_directories(parent, error);
    return !error;
}

bool writeTga(const std::string& path, const Image& image, TgaRows rows)
{
    if ((image.channels != 3 && image.channels != 4) || image.width <= 0 || image.height <= 0 ||
        image.width > 0xFFFF || image.height > 0xFFFF ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * image.channels)
        return false;
    if (!makeParentFolders(path))
        return false;

    std::uint8_t header[TgaHeaderSize] = {};
    header[2] = 2;  // uncompressed true-colour
    header[12] = static_cast<std::uint8_t>(image.width & 0xFF);
    header[13] = static_cast<std::uint8_t>(image.width >> 8);
    header[14] = static_cast<std::uint8_t>(image.height & 0xFF);
    header[15] = static_cast<std::uint8_t>(image.height >> 8);
    header[16] = static_cast<std::uint8_t>(image.channels * 8);
    header[17] = static_cast<std::uint8_t>((image.channels == 4 ? 8 : 0) |
                                           (rows == TgaRows::TopDown ? TgaTopLeftOrigin : 0));

    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * image.channels;
    std::vector<std::uint8_t> body(rowBytes * image.height);
    for (int y = 0; y < image.height; ++y) {
        const int source = rows == TgaRows::TopDown ? y : image.height - 1 - y;
        std::uint8_t* out = &body[rowBytes * y];
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.at(x, source);
            std::uint8_t* q = out + static_cast<std::size_t>(x) * image.channels;
            q[0] = p[2];  // TGA keeps blue, green, red (alpha)
            q[1] = p[1];
            q[2] = p[0];
            if (image.channels == 4)
                q[3] = p[3];
        }
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(header), TgaHeaderSize);
    file.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
    return static_cast<bool>(file);
}

bool readTga(const std::string& path, Image& image, TgaRows* rowsOut)
{
    std::ifstream file(path, std::ios::binary);
    std::uint8_t header[TgaHeaderSize];
    if (!file.read(reinterpret_cast<char*>(header), TgaHeaderSize))
        return false;
    const int width = header[12] | (header[13] << 8);
    const int height = header[14] | (header[15] << 8);
    const int depth = header[16];
    if (header[1] != 0 || header[2] != 2 || (depth != 24 && depth != 32) || width == 0 || height == 0)
        return false;
    file.seekg(TgaHeaderSize + header[0]);
    const TgaRows rows = (header[17] & TgaTopLeftOrigin) ? TgaRows::TopDown : TgaRows::BottomUp;

    Image result(width, height, depth / 8);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * result.channels;
    std::vector<std::uint8_t> row(rowBytes);
    for (int y = 0; y < height; ++y) {
        if (!file.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(rowBytes)))
            return false;
        const int target = rows == TgaRows::TopDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &row[static_cast<std::size_t>(x) * result.channels];
            std::uint8_t* q = result.at(x, target);
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
            if (result.channels == 4)
                q[3] = p[3];
        }
    }
    image = std::move(result);
    if (rowsOut)
        *rowsOut = rows;
    return true;
}

bool writePng(const std::string& path, const Image& image)
{
    if ((image.channels != 3 && image.channels != 4) || image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * image.channels)
        return false;
    if (!makeParentFolders(path))
        return false;
    std::vector<std::uint8_t> rgba;
    rgba.reserve(static_cast<std::size_t>(image.width) * image.height * 4);
    for (std::size_t i = 0; i < image.pixels.size(); i += static_cast<std::size_t>(image.channels)) {
        rgba.insert(rgba.end(), image.pixels.begin() + static_cast<std::ptrdiff_t>(i),
                    image.pixels.begin() + static_cast<std::ptrdiff_t>(i + 3));
        rgba.push_back(image.channels == 4 ? image.pixels[i + 3] : 255);
    }
    return platform::writePng(path, image.width, image.height, rgba);
}

}  // namespace imagefile
