#include "shell/FScreenshot.h"

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Png.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"

#include <cstdio>

namespace {

bool requested = false;

}  // namespace

void requestScreenshot()
{
    requested = true;
}

std::string screenshotPath()
{
    const platform::LocalTime t = platform::localTime();
    char name[64];
    std::snprintf(name, sizeof name, "Screenshots/Vrax-%04d%02d%02d-%02d%02d%02d-%03d.png", t.date.tm_year + 1900,
                  t.date.tm_mon + 1, t.date.tm_mday, t.date.tm_hour, t.date.tm_min, t.date.tm_sec, t.millis);
    return name;
}

void takeRequestedScreenshot(int width, int height)
{
    if (!requested)
        return;
    requested = false;
    const std::string path = screenshotPath();
    // The frame's alpha is whatever blending left behind; a picture is opaque.
    std::vector<std::uint8_t> pixels = readFramePixels(width, height);
    for (std::size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;
    if (platform::createDirectory("Screenshots") && platform::writePng(path, width, height, pixels))
        log("Screenshot saved to " + path, LogDebug);
    else
        log("Could not save the screenshot " + path, LogWarning);
}
