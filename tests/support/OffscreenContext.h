// A test fixture with a real OpenGL context from Mesa on SDL's offscreen
// driver: no X server, the same drawing as a window.
#pragma once

#include "platform/Window.h"
#include "shell/FOpenGL.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

class OffscreenContext : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        ASSERT_TRUE(platform::createWindow("Vrax", 1024, 764));
        ASSERT_TRUE(createRenderingContext());
        platform::drawableSize(&SurfaceWidth, &SurfaceHeight);
    }
    void TearDown() override
    {
        releaseRenderingContext();
        platform::destroyWindow();
    }

    // RGBA of the pixel at (x, y) from the top-left of a readFramePixels picture.
    static const std::uint8_t* at(const std::vector<std::uint8_t>& p, int x, int y)
    {
        return &p[(static_cast<std::size_t>(y) * SurfaceWidth + x) * 4];
    }
};
