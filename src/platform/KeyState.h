// KeyState: keys by Windows virtual-key code, the codes that scripts and the
// game speak (arrows 37-40, digits 48-57, letters 65-90, Escape 27...), and
// what is held down as of the last window event. The window layer translates
// its own key codes (SdlKeys) and records them here; the rest of the engine
// only reads.
#pragma once

#include <cstdint>

namespace platform {

namespace vk {
constexpr int LButton = 1, RButton = 2, MButton = 4;
constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Pause = 19, Capital = 20;
constexpr int Escape = 27, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36;
constexpr int Left = 37, Up = 38, Right = 39, Down = 40;
constexpr int Snapshot = 44, Insert = 45, Delete = 46;
constexpr int LWin = 91, RWin = 92, Apps = 93;
constexpr int Numpad0 = 96, Multiply = 106, Add = 107, Subtract = 109, Decimal = 110, Divide = 111;
constexpr int F1 = 112, F12 = 123, NumLock = 144, Scroll = 145;
constexpr int LShift = 160, RShift = 161, LControl = 162, RControl = 163, LMenu = 164, RMenu = 165;
}  // namespace vk

void setKeyDown(int virtualKey, bool down);
bool isKeyDown(int virtualKey);
void releaseAllKeys();

}  // namespace platform
