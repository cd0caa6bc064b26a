#include "interface/FCursor.h"

#include "assets/FTextures.h"
#include "platform/Window.h"
#include "shell/FFPS.h"
#include "shell/FView.h"

#include <GL/gl.h>

#include <cmath>

TMouse Mouse;

namespace {

const int DesignWidth = 1600;
const int DesignHeight = 1200;
const char* const AtlasPath = "Textures\\Cursor\\HumanCursor.tga";

std::int32_t state = CursorPointer;
TScrollFlags scroll;
unsigned atlas = 0;

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

void cursorMoved(double x, double y)
{
    Mouse.cursorX = x;
    Mouse.cursorY = y;
    if (SurfaceWidth > 0)
        Mouse.interfaceX = static_cast<std::int32_t>(std::lround(x * DesignWidth / SurfaceWidth));
    if (SurfaceHeight > 0)
        Mouse.interfaceY = static_cast<std::int32_t>(std::lround(y * DesignHeight / SurfaceHeight));
}

void buttonEvent(std::int32_t code)
{
    Mouse.buttonCode = code;
}

void clearPick()
{
    Mouse.hitFlag = 0;
    Mouse.pickedUnits.clear();
    Mouse.hoverUnit.reset();
}

void initCursor()
{
    platform::showSystemCursor(false);
    setCursorState(CursorPointer, false, false, false, false);
    atlas = LoadTexture(AtlasPath);
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

TCursorLook currentCursorLook()
{
    const bool placing = Mouse.pendingCommand && Mouse.pendingCommand->kind == 7 && Mouse.pendingCommand->building;
    const std::optional<TCursorTarget> target = Mouse.hitFlag ? Mouse.hoverUnit : std::nullopt;
    return cursorLook(state, scroll, FrameClock.totalTime, target, Mouse.dragging != 0, placing);
}

void drawCursor()
{
    const TCursorLook look = currentCursorLook();
    if (!look.visible)
        return;
    if (look.tint)
        glColor3f((*look.tint)[0], (*look.tint)[1], (*look.tint)[2]);

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    BindTexture(atlas);
    glPushMatrix();
    glTranslated(Mouse.cursorX, Mouse.cursorY, 0);
    glRotatef(look.angle, 0, 0, 1);
    glTranslatef(look.offsetX, look.offsetY, 0);
    const float s0 = look.column / 8.0f, s1 = (look.column + 1) / 8.0f;
    const float tTop = (3 - look.row) / 4.0f, tBottom = (4 - look.row) / 4.0f;
    glBegin(GL_QUAD_STRIP);
    glTexCoord2f(s0, tTop);    glVertex2f(0, 0);
    glTexCoord2f(s1, tTop);    glVertex2f(32, 0);
    glTexCoord2f(s0, tBottom); glVertex2f(0, 32);
    glTexCoord2f(s1, tBottom); glVertex2f(32, 32);
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor3f(1, 1, 1);
}
