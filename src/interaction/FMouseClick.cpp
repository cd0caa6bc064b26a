#include "interaction/FMouseClick.h"

#include "game/FGame.h"
#include "interaction/FCamera.h"
#include "interaction/FSelection.h"
#include "interface/FCursor.h"
#include "platform/KeyState.h"
#include "shell/FFPS.h"

namespace {

TGame* game()
{
    // Set at the game start; the menu has none.
    return CurrentGame;
}

}  // namespace

void GameLeftPress()
{
    if (!game())
        return;
    // Targeted commands are not given here yet: the click only starts a drag without one.
    if (!Mouse.pendingCommand)
        LeftButtonDown(Mouse);
}

void GameLeftRelease()
{
    if (TGame* g = game())
        LeftButtonUp(*g, Mouse, platform::isKeyDown(platform::vk::Shift),
                     platform::isKeyDown(platform::vk::Control), static_cast<double>(FrameClock.totalTime));
}

void GameWheel(int delta)
{
    if (game())
        ZoomCamera(Camera, delta);
}

void GameMouseMove(double x, double y, int buttons)
{
    if (!game())
        return;
    if (buttons & 4)
        DragCamera(Camera, x - Mouse.cursorX, y - Mouse.cursorY);
    else
        UpdateEye(Camera);
}
