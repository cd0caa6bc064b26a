#include "interface/FCursor.h"

#include <cmath>

TMouse Mouse;

namespace {

const int DesignWidth = 1600;
const int DesignHeight = 1200;

std::int32_t state = CursorPointer;
TScrollFlags scroll;

bool anyFlag(TScrollFlags f)
{
    return f.left || f.right || f.down || f.up;
}

float arrowAngle(TScrollFlags f)
{
    if (f.up && f.left) return -135;
    if (f.up && f.right) return -45;
    if (f.up) return -90;
    if (f.down && f.left) return 135;
    if (f.down && f.right) return 45;
    if (f.down) return 90;
    if (f.left) return 180;
    return 0;
}

}  // namespace

void cursorMoved(double x, double y, int surfaceWidth, int surfaceHeight)
{
    Mouse.cursorX = x;
    Mouse.cursorY = y;
    if (surfaceWidth > 0)
        Mouse.interfaceX = static_cast<std::int32_t>(std::lround(x * DesignWidth / surfaceWidth));
    if (surfaceHeight > 0)
        Mouse.interfaceY = static_cast<std::int32_t>(std::lround(y * DesignHeight / surfaceHeight));
}

void buttonEvent(std::int32_t code)
{
    Mouse.buttonCode = code;
}

void setCursorState(std::int32_t newState, bool left, bool right, bool down, bool up)
{
    state = newState;
    Mouse.cursorShape = newState;
    if (left || right || down || up) {
        scroll.left |= left;
        scroll.right |= right;
        scroll.down |= down;
        scroll.up |= up;
    } else {
        scroll = TScrollFlags{};
    }
}

std::int32_t cursorState()
{
    return state;
}

TScrollFlags cursorScrollFlags()
{
    return scroll;
}

TCursorLook cursorLook(std::int32_t stored, TScrollFlags flags, std::int64_t totalTime,
                       const std::optional<TCursorTarget>& target, bool dragging, bool placingBuilding)
{
    TCursorLook look;
    if (placingBuilding) {
        look.visible = false;  // the building itself follows the mouse
        return look;
    }
    std::int32_t c = anyFlag(flags) ? CursorScroll : stored;

    const float p = static_cast<float>(std::fabs(((totalTime / 10) % 100) / 100.0 - 0.5) + 0.5);
    if (target && !dragging && c == CursorPointer) {
        if (target->alive)
            look.tint = target->ownedByLocalPlayer ? std::array<float, 3>{0, p, p} : std::array<float, 3>{p, 0, 0};
    } else if (target && !dragging && c == CursorTargeting) {
        look.tint = target->ownedByLocalPlayer ? std::array<float, 3>{0, 1, 1} : std::array<float, 3>{1, 0, 0};
    } else if (c == CursorTargeting) {
        look.tint = std::array<float, 3>{0, 1, 0};
        c = CursorGroundTarget;
    }

    const int cells = c == CursorScroll ? 3 : c == CursorTargeting ? 8 : 1;
    const int k = static_cast<int>((totalTime / 75) % cells) + c - 1;
    look.column = k % 8;
    look.row = k / 8;

    if (c == CursorGroundTarget || c == CursorTargeting) {
        look.offsetX = -16;
        look.offsetY = -16;
    } else if (c == CursorScroll) {
        look.angle = arrowAngle(flags);
        look.offsetX = -32;
        look.offsetY = -16;
    }
    return look;
}
