// Drawing with a real OpenGL context from Mesa, no X server needed.
#include "../support/OffscreenContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>



TEST_F(OffscreenContext, SurfaceHasTheClientSizeAndADepthBuffer)
{
    EXPECT_EQ(SurfaceWidth, 1024);
    EXPECT_EQ(SurfaceHeight, 764);
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);
}

TEST_F(OffscreenContext, InterfaceProjectionPutsTheOriginTopLeft)
{
    renderFrame();  // a whole frame first: it must leave the picture black
    setInterfaceProjection(SurfaceWidth, SurfaceHeight);
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex2i(100, 50);
    glVertex2i(200, 50);
    glVertex2i(200, 150);
    glVertex2i(100, 150);
    glEnd();
    std::vector<std::uint8_t> pixels = readFramePixels(SurfaceWidth, SurfaceHeight);
    const std::uint8_t* inside = at(pixels, 150, 100);
    EXPECT_EQ(inside[0], 255);
    EXPECT_EQ(inside[1], 0);
    const std::uint8_t* mirrored = at(pixels, 150, SurfaceHeight - 100);
    EXPECT_EQ(mirrored[0], 0) << "y must grow downwards";
    const std::uint8_t* outside = at(pixels, 300, 100);
    EXPECT_EQ(outside[0] + outside[1] + outside[2], 0);
}
