// A small ".glf" font made by the tests: a 64 x 16 atlas with glyphs from
// firstChar to lastChar (space to 'z' by default), where glyph c is
// 4 + c % 5 texels wide and 10 + c % 3 high, and the space 5 wide and 12 high.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace testing_support {

constexpr int TestFontWidth = 64, TestFontHeight = 16;

inline int testGlyphWidth(int c) { return c == ' ' ? 5 : 4 + c % 5; }
inline int testGlyphHeight(int c) { return c == ' ' ? 12 : 10 + c % 3; }

inline std::string testFontBytes(int firstChar = 32, int lastChar = 122)
{
    std::string bytes;
    auto int32 = [&](std::int32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xff));
    };
    auto real = [&](float f) {
        std::int32_t v;
        std::memcpy(&v, &f, 4);
        int32(v);
    };
    int32(0);
    int32(TestFontWidth);
    int32(TestFontHeight);
    int32(firstChar);
    int32(lastChar);
    int32(0);
    for (int c = firstChar; c <= lastChar; ++c) {
        const float dx = static_cast<float>(testGlyphWidth(c)) / TestFontWidth;
        const float dy = static_cast<float>(testGlyphHeight(c)) / TestFontHeight;
        real(dx);
        real(dy);
        real(0);
        real(0);
        real(dx);
        real(dy);
    }
    for (int i = 0; i < TestFontWidth * TestFontHeight; ++i) {
        bytes.push_back(static_cast<char>(0xff));
        bytes.push_back(static_cast<char>(i % 2 ? 0xff : 0));
    }
    return bytes;
}

}  // namespace testing_support
