#include "TgaWriter.h"

#include <fstream>

bool saveTga(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba)
{
    std::vector<std::uint8_t> out(18, 0);
    out[2] = 2;
    out[12] = static_cast<std::uint8_t>(width);
    out[13] = static_cast<std::uint8_t>(width >> 8);
    out[14] = static_cast<std::uint8_t>(height);
    out[15] = static_cast<std::uint8_t>(height >> 8);
    out[16] = 32;
    out[17] = 0x28;  // eight alpha bits, first row at the top (as the game reads it)
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
        out.push_back(rgba[i + 2]);
        out.push_back(rgba[i + 1]);
        out.push_back(rgba[i]);
        out.push_back(rgba[i + 3]);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}
