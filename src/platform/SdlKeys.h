// SdlKeys: the window library's key codes in the Windows virtual-key codes
// of KeyState. Only the window layer translates.
#pragma once

#include <cstdint>

namespace platform {

// The virtual-key code of an SDL key code, 0 for keys Windows has no code for.
int virtualKeyFromSdl(std::int32_t sdlKey);
// For Shift, Control and Alt the side-specific code (LShift...) of an SDL key, else 0.
int sidedVirtualKeyFromSdl(std::int32_t sdlKey);

}  // namespace platform
