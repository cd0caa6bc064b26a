#include "platform/KeyState.h"

#include <array>

namespace platform {

namespace {

std::array<bool, 256> keysDown{};

}  // namespace

void setKeyDown(int virtualKey, bool down)
{
    if (virtualKey > 0 && virtualKey < 256)
        keysDown[static_cast<std::size_t>(virtualKey)] = down;
}

bool isKeyDown(int virtualKey)
{
    return virtualKey > 0 && virtualKey < 256 && keysDown[static_cast<std::size_t>(virtualKey)];
}

void releaseAllKeys()
{
    keysDown.fill(false);
}

}  // namespace platform
