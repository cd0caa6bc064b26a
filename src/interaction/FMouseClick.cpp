#include "interaction/FMouseClick.h"

#include "game/FGame.h"
#include "game/FUnitLoad.h"
#include "interaction/FCamera.h"
#include "interaction/FCommands.h"
#include "interaction/FKeys.h"
#include "interaction/FSelection.h"
#include "interface/FCursor.h"
#include "platform/KeyState.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <cstdio>
#include <string>

namespace {

TGame* game()
{
    // Set at the game start; the menu has none.
    return CurrentGame;
}

// The left button went down on the minimap and is still held: the camera
// follows the pointer across the map until it is let go.
bool minimapHeld = false;

bool overMinimap()
{
    return OnMinimap(Mouse.interfaceX, Mouse.interfaceY);
}

bool shiftHeld()
{
    return platform::isKeyDown(platform::vk::Shift);
}

// The selection as the debug log shows it after the player changed it:
// each unit's number, type, cell and hit points.
void logSelection(const TGame& g)
{
    std::string text = "Selection:";
    for (const TUnit* unit : g.selection.members) {
        text += " #" + std::to_string(unit->unitNumber) + " " + (unit->unitType ? unit->unitType->name : "?") + " (" +
                std::to_string(unit->cellX) + ", " + std::to_string(unit->cellY) + ") " +
                std::to_string(static_cast<long>(unit->hp)) + "/" + std::to_string(unit->maxHp) + " hp";
        if (unit->underConstruction) {
            char built[32];
            std::snprintf(built, sizeof built, " %.1f%% built", unit->buildProgress * 100);
            text += built;
        }
        text += ";";
    }
    log(text, LogDebug);
}

}  // namespace

void GameLeftPress()
{
    TGame* g = game();
    if (!g)
        return;
    // The minimap is a map of the world, not a window onto it: no drag, no target.
    if (overMinimap()) {
        minimapHeld = true;
        CentreOnMinimap(Camera, Mouse.interfaceX, Mouse.interfaceY);
        return;
    }
    if (Mouse.pendingCommand)
        CommandClick(*g, Mouse, shiftHeld());
    else
        LeftButtonDown(Mouse);
}

void GameLeftRelease()
{
    TGame* g = game();
    if (!g)
        return;
    if (minimapHeld) {
        minimapHeld = false;
        return;
    }
    const bool selecting = Mouse.dragging && Mouse.hitFlag;
    LeftButtonUp(*g, Mouse, shiftHeld(), platform::isKeyDown(platform::vk::Control),
                 static_cast<double>(FrameClock.totalTime));
    if (selecting)
        logSelection(*g);
}

void GameRightPress()
{
    if (TGame* g = game(); g && !overMinimap())
        RightButtonDown(*g, Mouse, shiftHeld());
}

void GameWheel(int delta)
{
    if (game())
        ZoomCamera(Camera, delta);
}

void GameMouseMove(double dx, double dy, int buttons)
{
    if (!game())
        return;
    if ((buttons & 1) && minimapHeld)
        CentreOnMinimap(Camera, Mouse.interfaceX, Mouse.interfaceY);
    else if (buttons & 4)
        DragCamera(Camera, dx, dy);
    else
        UpdateEye(Camera);
}

void GameKey(int virtualKey)
{
    TGame* g = game();
    if (!g)
        return;
    const std::size_t before = g->selection.members.size();
    const TUnit* first = FirstMember(g->selection);
    GameKeyDown(*g, Mouse, virtualKey, shiftHeld(), platform::isKeyDown(platform::vk::LControl));
    if (virtualKey >= '0' && virtualKey <= '9' && (g->selection.members.size() != before || FirstMember(g->selection) != first))
        logSelection(*g);
}
