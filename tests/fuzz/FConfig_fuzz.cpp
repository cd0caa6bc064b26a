// Any bytes as the configuration file: read at start-up and for the player's
// names, then written and read again. Whatever the file held, the game
// starts with usable settings and a value it writes is the value it reads.
#include "shell/FConfig.h"

#include "FuzzLog.h"

#include <cstddef>
#include <cstdint>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::keepLogSmall();
    {
        std::ofstream out("Vrax.cfg", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const TConfig config(std::string("Vrax.cfg"));
    const TWindowSettings settings = readStartupConfig(config);
    (void)settings;
    (void)config.readNickname();
    (void)config.readDefaultServerName();

    config.writeResolution(800, 600);
    config.writeWindowed(false);
    config.writeNickname("Brave Fox");
    if (config.readWidth() != 800 || config.readHeight() != 600 || config.readWindowed() ||
        config.readNickname() != "Brave Fox")
        __builtin_trap();
    return 0;
}
