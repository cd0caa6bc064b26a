#include "platform/SdlKeys.h"

#include "platform/KeyState.h"

#include <SDL_keycode.h>

namespace platform {

namespace {

struct KeyPair {
    SDL_Keycode sdl;
    int virtualKey;
};

constexpr KeyPair namedKeys[] = {
    {SDLK_BACKSPACE, vk::Back},     {SDLK_TAB, vk::Tab},           {SDLK_RETURN, vk::Return},
    {SDLK_KP_ENTER, vk::Return},    {SDLK_LSHIFT, vk::Shift},      {SDLK_RSHIFT, vk::Shift},
    {SDLK_LCTRL, vk::Control},      {SDLK_RCTRL, vk::Control},     {SDLK_LALT, vk::Menu},
    {SDLK_RALT, vk::Menu},          {SDLK_PAUSE, vk::Pause},       {SDLK_CAPSLOCK, vk::Capital},
    {SDLK_ESCAPE, vk::Escape},      {SDLK_SPACE, vk::Space},       {SDLK_PAGEUP, vk::Prior},
    {SDLK_PAGEDOWN, vk::Next},      {SDLK_END, vk::End},           {SDLK_HOME, vk::Home},
    {SDLK_LEFT, vk::Left},          {SDLK_UP, vk::Up},             {SDLK_RIGHT, vk::Right},
    {SDLK_DOWN, vk::Down},          {SDLK_PRINTSCREEN, vk::Snapshot}, {SDLK_INSERT, vk::Insert},
    {SDLK_DELETE, vk::Delete},      {SDLK_LGUI, vk::LWin},         {SDLK_RGUI, vk::RWin},
    {SDLK_APPLICATION, vk::Apps},   {SDLK_KP_MULTIPLY, vk::Multiply}, {SDLK_KP_PLUS, vk::Add},
    {SDLK_KP_MINUS, vk::Subtract},  {SDLK_KP_PERIOD, vk::Decimal}, {SDLK_KP_DIVIDE, vk::Divide},
    {SDLK_NUMLOCKCLEAR, vk::NumLock}, {SDLK_SCROLLLOCK, vk::Scroll},
    // The punctuation codes of a US keyboard (VK_OEM_*).
    {SDLK_SEMICOLON, 186},          {SDLK_EQUALS, 187},            {SDLK_COMMA, 188},
    {SDLK_MINUS, 189},              {SDLK_PERIOD, 190},            {SDLK_SLASH, 191},
    {SDLK_BACKQUOTE, 192},          {SDLK_LEFTBRACKET, 219},       {SDLK_BACKSLASH, 220},
    {SDLK_RIGHTBRACKET, 221},       {SDLK_QUOTE, 222},
};

constexpr SDL_Keycode keypadDigits[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                        SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
constexpr SDL_Keycode functionKeys[] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4,  SDLK_F5,  SDLK_F6,
                                        SDLK_F7, SDLK_F8, SDLK_F9, SDLK_F10, SDLK_F11, SDLK_F12};

}  // namespace

int virtualKeyFromSdl(std::int32_t sdlKey)
{
    if (sdlKey >= SDLK_a && sdlKey <= SDLK_z)
        return 'A' + (sdlKey - SDLK_a);
    if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9)
        return '0' + (sdlKey - SDLK_0);
    for (int i = 0; i < 10; ++i)
        if (keypadDigits[i] == sdlKey)
            return vk::Numpad0 + i;
    for (int i = 0; i < 12; ++i)
        if (functionKeys[i] == sdlKey)
            return vk::F1 + i;
    for (const KeyPair& pair : namedKeys)
        if (pair.sdl == sdlKey)
            return pair.virtualKey;
    return 0;
}

int sidedVirtualKeyFromSdl(std::int32_t sdlKey)
{
    switch (sdlKey) {
    case SDLK_LSHIFT: return vk::LShift;
    case SDLK_RSHIFT: return vk::RShift;
    case SDLK_LCTRL: return vk::LControl;
    case SDLK_RCTRL: return vk::RControl;
    case SDLK_LALT: return vk::LMenu;
    case SDLK_RALT: return vk::RMenu;
    default: return 0;
    }
}

}  // namespace platform
