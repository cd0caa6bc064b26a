#include "platform/KeyState.h"
#include "platform/SdlKeys.h"

#include <SDL_keycode.h>
#include <gtest/gtest.h>

using namespace platform;

TEST(KeyMapping, LettersDigitsAndArrowsUseWindowsCodes)
{
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(virtualKeyFromSdl(SDLK_a + i), 65 + i);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(virtualKeyFromSdl(SDLK_0 + i), 48 + i);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFT), 37);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UP), 38);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RIGHT), 39);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DOWN), 40);
}

TEST(KeyMapping, ControlKeysAndFunctionKeys)
{
    EXPECT_EQ(virtualKeyFromSdl(SDLK_ESCAPE), 27);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DELETE), 46);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_BACKSPACE), 8);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_TAB), 9);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RETURN), 13);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_ENTER), 13);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_SPACE), 32);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LCTRL), 17);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RCTRL), 17);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LSHIFT), 16);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RALT), 18);
    EXPECT_EQ(sidedVirtualKeyFromSdl(SDLK_RSHIFT), 161);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F1), 112);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F12), 123);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_7), 103);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PRINTSCREEN), 44);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_MUTE), 0) << "keys without a Windows code map to 0";
}

TEST(KeyMapping, KeyStateIgnoresCodesOutsideTheTable)
{
    releaseAllKeys();
    setKeyDown(65, true);
    setKeyDown(-3, true);
    setKeyDown(999, true);
    EXPECT_TRUE(isKeyDown(65));
    EXPECT_FALSE(isKeyDown(-3));
    EXPECT_FALSE(isKeyDown(999));
    releaseAllKeys();
    EXPECT_FALSE(isKeyDown(65));
}

TEST(KeyMapping, KeysBeyondTheUsTableGetTheCodesOfTheOriginalPlatform)
{
    // F13-F24 by key code or by place (X keymaps often name them otherwise).
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F13), 0x7C);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F24), 0x87);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_UNKNOWN), SDL_SCANCODE_F20), 0x83);
    // The ISO key is VK_OEM_102 whatever it types: < on a German or US keymap, \ on a British one.
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LESS, SDL_SCANCODE_NONUSBACKSLASH), 0xE2);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_BACKSLASH, SDL_SCANCODE_NONUSBACKSLASH), 0xE2);

    // A German keyboard, as SDL reports it: the character typed, and the US place.
    struct Key {
        std::int32_t sym;
        SDL_Scancode place;
        int code;
    } german[] = {
        {0xFC, SDL_SCANCODE_LEFTBRACKET, 0xBA},                                  // u-umlaut
        {0xF6, SDL_SCANCODE_SEMICOLON, 0xC0},                                    // o-umlaut
        {0xE4, SDL_SCANCODE_APOSTROPHE, 0xDE},                                   // a-umlaut
        {0xDF, SDL_SCANCODE_MINUS, 0xDB},                                        // sharp s
        {SDLK_PLUS, SDL_SCANCODE_RIGHTBRACKET, 0xBB},
        {SDLK_HASH, SDL_SCANCODE_BACKSLASH, 0xBF},
        {SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_UNKNOWN), SDL_SCANCODE_GRAVE, 0xDC},  // dead circumflex
        {SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_UNKNOWN), SDL_SCANCODE_EQUALS, 0xDD}, // dead acute
        {SDLK_MINUS, SDL_SCANCODE_SLASH, 0xBD},
        {SDLK_z, SDL_SCANCODE_Y, 'Z'},                                           // letters by what they type
        {SDLK_y, SDL_SCANCODE_Z, 'Y'},
    };
    for (const Key& k : german)
        EXPECT_EQ(virtualKeyFromSdl(k.sym, k.place), k.code) << std::hex << k.sym;
    // The US keys keep their codes from what they type.
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET), 219);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON), 186);

    releaseAllKeys();
    setKeyDown(virtualKeyFromSdl(0xF6, SDL_SCANCODE_SEMICOLON), true);
    EXPECT_TRUE(isKeyDown(0xC0));
    setKeyDown(virtualKeyFromSdl(SDLK_F24, SDL_SCANCODE_F24), true);
    EXPECT_TRUE(isKeyDown(0x87));
    releaseAllKeys();
}
