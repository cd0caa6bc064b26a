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
