// The cursor's drawing half: the atlas and the quad of the current look.
#include "interface/FCursor.h"

#include "assets/FTextures.h"
#include "platform/Window.h"
#include "shell/FFPS.h"

#include <GL/gl.h>

namespace {

const char* const AtlasPath = "Textures\\Cursor\\HumanCursor.tga";
unsigned atlas = 0;

}  // namespace

void initCursor()
{
    platform::showSystemCursor(false);
    setCursorState(CursorPointer, false, false, false, false);
    atlas = LoadTexture(AtlasPath);
}

void drawCursor()
{
    // No units exist in the menu: nothing can be under the cursor yet.
    const bool placing = Mouse.pendingCommand && Mouse.pendingCommand->kind == 7 && Mouse.pendingCommand->building;
    const TCursorLook look = cursorLook(cursorState(), cursorScrollFlags(), FrameClock.totalTime, std::nullopt,
                                        Mouse.dragging != 0, placing);
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
