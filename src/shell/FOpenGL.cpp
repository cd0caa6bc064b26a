#include "shell/FOpenGL.h"

#include "interface/FCursor.h"
#include "interface/FDrawFrame.h"
#include "interface/FInputRouting.h"
#include "interface/FXMLLoader.h"
#include "platform/Window.h"
#include "shell/FScreenshot.h"

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

void interfacePass()
{
    setInterfaceProjection(SurfaceWidth, SurfaceHeight);
    // The root's size is the design area, stretched over the whole surface.
    if (!frames.empty() && frames[0]->width > 0 && frames[0]->height > 0) {
        glPushMatrix();
        glScalef(static_cast<float>(SurfaceWidth) / frames[0]->width,
                 static_cast<float>(SurfaceHeight) / frames[0]->height, 1);
        drawFrame(0);
        glPopMatrix();
    }
    deliverButtonEvent();
}

void renderFrame()
{
    platform::makeContextCurrent();
    glClear(GL_DEPTH_BUFFER_BIT);
    setScenePerspective(SurfaceWidth, SurfaceHeight);
    glEnable(GL_DEPTH_TEST);
    interfacePass();
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
