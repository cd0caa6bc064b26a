// Pictures for the tests that look at the screen: read a screenshot, cut a
// rectangle out of it, halve it, and compare two pictures with a tolerance
// so that a different Mesa rounding passes and a misplaced widget does not.
#pragma once

#include "platform/Png.h"

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace testing_support {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // rows from the top
    const std::uint8_t* at(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

// An empty picture when the file is missing or not a PNG.
inline Picture readPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return picture;
    image.format = PNG_FORMAT_RGBA;
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return Picture();
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    return picture;
}

inline bool writePicture(const std::string& path, const Picture& p)
{
    return platform::writePng(path, p.width, p.height, p.rgba);
}

// The part of `p` inside the rectangle, clipped to the picture.
inline Picture crop(const Picture& p, int x, int y, int w, int h)
{
    Picture out;
    const int x0 = std::clamp(x, 0, p.width), y0 = std::clamp(y, 0, p.height);
    out.width = std::clamp(x + w, 0, p.width) - x0;
    out.height = std::clamp(y + h, 0, p.height) - y0;
    for (int row = 0; row < out.height; ++row)
        out.rgba.insert(out.rgba.end(), p.at(x0, y0 + row), p.at(x0, y0 + row) + out.width * 4);
    return out;
}

// Half the size, each pixel the mean of four: small references, less noise.
inline Picture halve(const Picture& p)
{
    Picture out;
    out.width = p.width / 2;
    out.height = p.height / 2;
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            for (int c = 0; c < 4; ++c)
                out.rgba.push_back(static_cast<std::uint8_t>(
                    (p.at(2 * x, 2 * y)[c] + p.at(2 * x + 1, 2 * y)[c] + p.at(2 * x, 2 * y + 1)[c] + p.at(2 * x + 1, 2 * y + 1)[c] + 2) / 4));
    return out;
}

// Mean absolute difference per colour channel; 255 when the sizes differ.
inline double meanDifference(const Picture& a, const Picture& b)
{
    if (a.width != b.width || a.height != b.height || a.rgba.empty())
        return 255;
    long total = 0;
    for (std::size_t i = 0; i < a.rgba.size(); ++i)
        if (i % 4 != 3)
            total += std::abs(a.rgba[i] - b.rgba[i]);
    return static_cast<double>(total) / (a.rgba.size() / 4 * 3);
}

inline double meanBrightness(const Picture& p)
{
    long total = 0;
    for (std::size_t i = 0; i < p.rgba.size(); ++i)
        if (i % 4 != 3)
            total += p.rgba[i];
    return p.rgba.empty() ? 0 : static_cast<double>(total) / (p.rgba.size() / 4 * 3);
}

}  // namespace testing_support
