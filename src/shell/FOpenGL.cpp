#include "shell/FOpenGL.h"

#include "assets/FDisplay.h"
#include "assets/FModel.h"
#include "assets/FTextures.h"
#include "game/FGame.h"
#include "game/FUnitLoad.h"
#include "interaction/FCamera.h"
#include "interaction/FPicking.h"
#include "interaction/FSelection.h"
#include "interface/FCursor.h"
#include "interface/FDrawFrame.h"
#include "interface/FFrameWalk.h"
#include "interface/FInputRouting.h"
#include "interface/FXMLLoader.h"
#include "platform/KeyState.h"
#include "platform/Window.h"
#include "shell/FFPS.h"
#include "shell/FScreenshot.h"
#include "world/FTerrain.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

int SurfaceWidth = 1024;
int SurfaceHeight = 764;

bool createRenderingContext()
{
    if (!platform::createGlContext())
        return false;
    platform::makeContextCurrent();
    // Nothing clears the colour buffer during a frame: start both buffers black.
    glClearColor(0, 0, 0, 1);
    for (int i = 0; i < 2; ++i) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        platform::swapBuffers();
    }
    return true;
}

void releaseRenderingContext()
{
    platform::releaseGlContext();
}

void setScenePerspective(int surfaceWidth, int surfaceHeight)
{
    glViewport(0, 0, surfaceWidth, surfaceHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, surfaceHeight > 0 ? static_cast<double>(surfaceWidth) / surfaceHeight : 1.0, 1.0, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void setInterfaceProjection(int surfaceWidth, int surfaceHeight)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, surfaceWidth, surfaceHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}

void setGameCamera(const TCamera& camera)
{
    setScenePerspective(SurfaceWidth, SurfaceHeight);
    gluLookAt(camera.eyeX, camera.eyeY, camera.height, camera.targetX, camera.targetY, 0,
              camera.targetX - camera.eyeX, camera.targetY - camera.eyeY, 1);
}

namespace {

// The game start makes this machine's game; the menu has none.
bool inGame()
{
    return CurrentGame != nullptr;
}

// Arrows and screen edges slide the camera, except while the player drags a
// rectangle or the camera itself; an edge shows the scroll cursor.
void edgeScrollStep()
{
    if (Mouse.dragging || platform::isKeyDown(platform::vk::MButton))
        return;
    // Off the edges the cursor says again what a click will do.
    setCursorState(Mouse.pendingCommand ? CursorTargeting : CursorPointer, false, false, false, false);
    const TScrollKeys keys{platform::isKeyDown(platform::vk::Left), platform::isKeyDown(platform::vk::Right),
                           platform::isKeyDown(platform::vk::Up), platform::isKeyDown(platform::vk::Down)};
    const TEdgeScroll s =
        EdgeScroll(Camera, Mouse.cursorX, Mouse.cursorY, SurfaceWidth, SurfaceHeight, keys, FrameClock.elapsed);
    if (s.cursorLeft || s.cursorRight || s.cursorUp || s.cursorDown)
        setCursorState(CursorScroll, s.cursorLeft, s.cursorRight, s.cursorDown, s.cursorUp);
}

void drawDragRectangle()
{
    const float sx = static_cast<float>(Mouse.dragStartX), sy = static_cast<float>(Mouse.dragStartY);
    const float cx = static_cast<float>(Mouse.cursorX), cy = static_cast<float>(Mouse.cursorY);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0.5f, 1, 0.3f);
    glBegin(GL_QUADS);
    glVertex3f(sx, sy, -1);
    glVertex3f(cx, sy, -1);
    glVertex3f(cx, cy, -1);
    glVertex3f(sx, cy, -1);
    glEnd();
    glDisable(GL_BLEND);
    glBegin(GL_LINES);
    glVertex3f(sx, sy, -1);
    glVertex3f(cx, sy, -1);
    glVertex3f(cx + 1, sy, -1);
    glVertex3f(cx + 1, cy, -1);
    glVertex3f(cx, cy, -1);
    glVertex3f(sx, cy, -1);
    glVertex3f(sx, cy, -1);
    glVertex3f(sx, sy, -1);
    glEnd();
    glColor4f(1, 1, 1, 1);
}

// The whole map on the plate at the bottom left (design units), world y
// upwards: every live unit as its footprint, then the camera's view.
void drawMinimap(const TGame& game)
{
    constexpr float x0 = MinimapLeft, y0 = MinimapTop, side = MinimapSide, world = MinimapWorld;
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (const std::unique_ptr<TUnit>& unit : game.units) {
        if (!unit->alive || !unit->unitType)
            continue;
        glColor3f(static_cast<float>(unit->teamColor[0]) / 10000.0f, static_cast<float>(unit->teamColor[1]) / 10000.0f,
                  static_cast<float>(unit->teamColor[2]) / 10000.0f);
        const float wx = static_cast<float>(unit->position[0] / 10000), wy = static_cast<float>(unit->position[1] / 10000);
        const int s = unit->unitType->size, h = s * 8;
        const float left = x0 + side * (wx - h) / world, top = y0 + side - side * (wy + h) / world;
        const float edge = side * s / 480;
        BindTexture(unit->unitType->isBuilding ? BlankTexture : CircleTexture);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 1);
        glVertex2f(left, top);
        glTexCoord2f(1, 1);
        glVertex2f(left + edge, top);
        glTexCoord2f(1, 0);
        glVertex2f(left + edge, top + edge);
        glTexCoord2f(0, 0);
        glVertex2f(left, top + edge);
        glEnd();
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    const float cx = static_cast<float>(Camera.targetX), cy = static_cast<float>(Camera.targetY);
    const float corners[4][2] = {{cx - 600, cy - 600}, {cx + 600, cy - 600}, {cx + 1200, cy + 1200}, {cx - 1200, cy + 1200}};
    glColor3f(1, 1, 1);
    glBegin(GL_LINE_STRIP);
    for (int k = 0; k <= 4; ++k)
        glVertex2f(x0 + side * corners[k % 4][0] / world, y0 + side - side * corners[k % 4][1] / world);
    glEnd();
    glColor3f(1, 1, 1);
}

}  // namespace

void drawGameScene(TGame& game)
{
    setGameCamera(Camera);
    ExtractFrustum();
    UpdateGroundPoint(Mouse);
    glEnable(GL_DEPTH_TEST);
    PickName = 0;
    DrawTerrain();
    DrawUnits(game, Mouse, false);
}

void interfacePass()
{
    const bool drawing = platform::hasGlContext();
    if (drawing) {
        setInterfaceProjection(SurfaceWidth, SurfaceHeight);
        if (inGame() && Mouse.dragging)
            drawDragRectangle();
    }
    if (!frames.empty()) {
        // The root's size is the design area, stretched over the whole
        // surface. A script may set it to 0 or -1: nothing can be drawn to
        // that scale, but the handlers still hear every frame and the mouse.
        const FrameType& root = *frames[0];
        if (drawing && root.width > 0 && root.height > 0) {
            glPushMatrix();
            glScalef(static_cast<float>(SurfaceWidth) / root.width, static_cast<float>(SurfaceHeight) / root.height, 1);
            drawFrame(0);
            glPopMatrix();
        } else {
            walkFrame(0, TFramePainter());
        }
    }
    deliverButtonEvent();
}

void renderFrame()
{
    clearPick();
    // Without a context nothing is drawn, but the interface still runs its
    // handlers, delivers the button and enters the game.
    if (!platform::hasGlContext()) {
        interfacePass();
        return;
    }
    platform::makeContextCurrent();
    glClear(GL_DEPTH_BUFFER_BIT);
    if (inGame()) {
        edgeScrollStep();
        setGameCamera(Camera);
        PickPass(*CurrentGame, Mouse);
        drawGameScene(*CurrentGame);
    } else {
        setScenePerspective(SurfaceWidth, SurfaceHeight);
        glEnable(GL_DEPTH_TEST);
    }
    interfacePass();
    if (inGame() && !frames.empty() && frames[0]->width > 0 && frames[0]->height > 0) {
        glPushMatrix();
        glScalef(static_cast<float>(SurfaceWidth) / frames[0]->width,
                 static_cast<float>(SurfaceHeight) / frames[0]->height, 1);
        drawMinimap(*CurrentGame);
        glPopMatrix();
    }
    drawCursor();
    takeRequestedScreenshot(SurfaceWidth, SurfaceHeight);
    glFlush();
    platform::swapBuffers();
}

std::vector<std::uint8_t> readFramePixels(int width, int height)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    if (pixels.empty())
        return pixels;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // GL rows run bottom-up; callers want the picture as it is seen.
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> swap(row);
    for (int y = 0; y < height / 2; ++y) {
        std::uint8_t* top = pixels.data() + row * y;
        std::uint8_t* bottom = pixels.data() + row * (height - 1 - y);
        std::memcpy(swap.data(), top, row);
        std::memcpy(top, bottom, row);
        std::memcpy(bottom, swap.data(), row);
    }
    return pixels;
}
