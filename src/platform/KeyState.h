// KeyState: keys by Windows virtual-key code, the codes that scripts and the
// game speak (arrows 37-40, digits 48-57, letters 65-90, Escape 27...), and
// what is held down as of the last window event. The window layer translates
// its own key codes (SdlKeys) and records them here; the rest of the engine
// only reads.
//
// A key gets the code Windows would give it: F13-F24 and the ISO key beside
// the left Shift by their place on the keyboard, as Windows does on every
// layout; letters, digits and the US punctuation by what the layout types;
// any other key of the main block (the umlauts and sharp s, + # ^ and the
// dead keys of a German keyboard) by its place, with the German layout's codes.
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
constexpr int F1 = 112, F12 = 123, F13 = 124, F24 = 135, NumLock = 144, Scroll = 145;
constexpr int LShift = 160, RShift = 161, LControl = 162, RControl = 163, LMenu = 164, RMenu = 165;
constexpr int Oem102 = 226;  // the ISO key between the left Shift and Z (<> on a German keyboard)
}  // namespace vk

void setKeyDown(int virtualKey, bool down);
bool isKeyDown(int virtualKey);
void releaseAllKeys();

}  // namespace platform
