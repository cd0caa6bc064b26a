#include "Snapshot.h"

#include "ImageFile.h"
#include "platform/Png.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

void drawModelView(TModel& model, int width, int height, float yaw)
{
    const MdxModel& m = model.model();
    const TExtent& e = m.extent;
    const float radius = std::max(e.boundsRadius / 1.5f, 1.0f);
    const TVec3 centre{(e.minimum.x + e.maximum.x) / 2, (e.minimum.y + e.maximum.y) / 2,
                       (e.minimum.z + e.maximum.z) / 2};
    glViewport(0, 0, width, height);
    glClearColor(0.11f, 0.13f, 0.17f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30, static_cast<double>(width) / height, radius * 0.1, radius * 20);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // From the front right, a little above: the way the game's camera sees units.
    const double distance = radius * 3.6;
    gluLookAt(centre.x + distance * 0.8, centre.y - distance * 0.45, centre.z + distance * 0.55, centre.x, centre.y,
              centre.z, 0, 0, 1);
    glRotatef(yaw, 0, 0, 1);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    model.DrawGeosets(false);
}

std::vector<std::uint8_t> grabFrame(int width, int height, int shrink)
{
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    const int w = width / shrink, h = height / shrink;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (int dy = 0; dy < shrink; ++dy)
                    for (int dx = 0; dx < shrink; ++dx) {
                        const int sy = height - 1 - (y * shrink + dy);  // GL rows start at the bottom
                        sum += raw[(static_cast<std::size_t>(sy) * width + x * shrink + dx) * 4 + c];
                    }
                out[(static_cast<std::size_t>(y) * w + x) * 4 + c] = static_cast<std::uint8_t>(sum / (shrink * shrink));
            }
    return out;
}


bool saveImage(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba)
{
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".tga") == 0) {
        imagefile::Image image(width, height, 4);
        image.pixels = rgba;
        return imagefile::writeTga(path, image, imagefile::TgaRows::TopDown);
    }
    return platform::writePng(path, width, height, rgba);
}
