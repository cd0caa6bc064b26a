#include "interaction/FPicking.h"

#include "assets/FDisplay.h"
#include "assets/FModel.h"
#include "game/FGame.h"
#include "interaction/FSelection.h"
#include "interface/FCursor.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int SelectionBufferSize = 1024;

}  // namespace

void PickPass(TGame& game, TMouse& mouse)
{
    if (mouse.pendingCommand && mouse.pendingCommand->kind == 7) {
        mouse.hitFlag = 0;
        return;
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    static std::array<GLuint, SelectionBufferSize> buffer;
    glSelectBuffer(SelectionBufferSize, buffer.data());
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    glLoadIdentity();

    const bool rectangle = IsRectangle(mouse);
    double cx = mouse.cursorX, cy = mouse.cursorY, w = 1, h = 1;
    if (mouse.dragging) {
        cx = (mouse.dragStartX + mouse.cursorX) / 2;
        cy = (mouse.dragStartY + mouse.cursorY) / 2;
        w = std::abs(mouse.cursorX - mouse.dragStartX) + 1;
        h = std::abs(mouse.cursorY - mouse.dragStartY) + 1;
    }
    gluPickMatrix(cx, viewport[3] - cy, w, h, viewport);
    gluPerspective(30.0, viewport[3] > 0 ? static_cast<double>(viewport[2]) / viewport[3] : 1.0, 0.0001, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    // Cull against the pick region itself: only the units under it are skinned
    // again. The scene takes the camera's own frustum back right after.
    ExtractFrustum();
    PickName = 0;
    DrawUnits(game, mouse, true);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    const GLint hits = glRenderMode(GL_RENDER);
    // A full buffer reports -1: read what fits.
    const int count = hits < 0 ? SelectionBufferSize / 4 : std::min<int>(hits, SelectionBufferSize / 4);
    std::vector<std::int32_t> names;
    names.reserve(static_cast<std::size_t>(count));
    // Each record is: name count (always 1 here), depth min, depth max, the name.
    for (int k = 0; k < count; ++k)
        names.push_back(static_cast<std::int32_t>(buffer[static_cast<std::size_t>(k) * 4 + 3]));
    ChoosePicked(game, mouse, names, rectangle);
}

void UpdateGroundPoint(TMouse& mouse)
{
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double wy = viewport[3] - mouse.cursorY;
    double nearPoint[3], farPoint[3];
    if (gluUnProject(mouse.cursorX, wy, 0, modelview, projection, viewport, &nearPoint[0], &nearPoint[1],
                     &nearPoint[2]) != GL_TRUE ||
        gluUnProject(mouse.cursorX, wy, 1, modelview, projection, viewport, &farPoint[0], &farPoint[1],
                     &farPoint[2]) != GL_TRUE)
        return;
    GroundIntersection(nearPoint, farPoint, mouse.groundX, mouse.groundY);
}
