#include "assets/FTga.h"

#include "platform/Files.h"
#include "shell/FLogs.h"

#include <utility>

namespace {

const std::size_t HeaderSize = 18;

void refuse(const std::string& path, const char* why)
{
    log("Couldn't load \"" + path + "\". " + why, LogDebug);
}

}  // namespace

std::optional<TTgaImage> decodeTga(const std::uint8_t* data, std::size_t size, const std::string& path)
{
    if (size < HeaderSize) {
        log("Couldn't read file \"" + path + "\".", LogDebug);
        return std::nullopt;
    }
    const int colourMapType = data[1];
    const int imageType = data[2];
    const int width = data[12] | (data[13] << 8);
    const int height = data[14] | (data[15] << 8);
    const int depth = data[16];

    if (imageType != 2) {
        refuse(path, "Compressed TGA files not supported.");
        return std::nullopt;
    }
    if (colourMapType != 0) {
        refuse(path, "Colormapped TGA files not supported.");
        return std::nullopt;
    }
    // Only 24 and 32 bits have a pixel layout we know; other depths are refused alike.
    if (depth != 24 && depth != 32) {
        refuse(path, "Only 24 bit TGA files supported.");
        return std::nullopt;
    }

    const std::size_t bytesPerPixel = static_cast<std::size_t>(depth / 8);
    const std::size_t needed = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * bytesPerPixel;
    // An empty image cannot be uploaded; treat it like a file that ends early.
    if (needed == 0 || size - HeaderSize < needed) {
        log("Couldn't read file \"" + path + "\".", LogDebug);
        return std::nullopt;
    }

    TTgaImage image;
    image.width = width;
    image.height = height;
    image.hasAlpha = depth == 32;
    image.pixels.assign(data + HeaderSize, data + HeaderSize + needed);
    for (std::size_t i = 0; i < needed; i += bytesPerPixel)
        std::swap(image.pixels[i], image.pixels[i + 2]);  // blue-green-red to red-green-blue
    return image;
}

std::optional<TTgaImage> readTga(const std::string& path)
{
    const std::string file = platform::contentPath(path);
    if (!platform::fileExists(file)) {
        log("Error: File not found `" + path + "`", LogDebug);
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> bytes = platform::readBinaryFile(file);
    if (!bytes) {
        log("Couldn't read file \"" + path + "\".", LogDebug);
        return std::nullopt;
    }
    return decodeTga(bytes->data(), bytes->size(), path);
}
