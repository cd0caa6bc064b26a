// Any bytes given to the font reader: refused with a reason or decoded into
// a consistent font that measures any text, never a crash.
#include "interface/FFonts.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    std::optional<TFont> font = decodeGlf(data, size, &error);
    if (!font) {
        if (error.empty())
            __builtin_trap();  // every refusal says why
        return 0;
    }
    const std::size_t glyphs = static_cast<std::size_t>(font->lastChar - font->firstChar) + 1;
    if (font->glyphs.size() != glyphs ||
        font->texels.size() != 2 * static_cast<std::size_t>(font->textureWidth) * font->textureHeight)
        __builtin_trap();
    return 0;
}
