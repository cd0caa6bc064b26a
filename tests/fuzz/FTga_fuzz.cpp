// Any bytes given to the TGA reader: refused with a log line or decoded, never a crash.
#include "assets/FTga.h"
#include "FuzzLog.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::keepLogSmall();
    std::optional<TTgaImage> image = decodeTga(data, size, "fuzz.tga");
    if (image) {
        const std::size_t channels = image->hasAlpha ? 4 : 3;
        if (image->pixels.size() != static_cast<std::size_t>(image->width) * image->height * channels)
            __builtin_trap();
    }
    return 0;
}
