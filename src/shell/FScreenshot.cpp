#include "shell/FScreenshot.h"

#include "platform/Files.h"
#include "platform/Png.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

bool requested = false;

}  // namespace

void requestScreenshot()
{
    requested = true;
}

std::string screenshotPath()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const long millis = static_cast<long>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char name[64];
    std::snprintf(name, sizeof name, "Screenshots/Vrax-%04d%02d%02d-%02d%02d%02d-%03ld.png", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, millis);
    return name;
}

void takeRequestedScreenshot(int width, int height)
{
    if (!requested)
        return;
    requested = false;
    const std::string path = screenshotPath();
    if (platform::createDirectory("Screenshots") && platform::writePng(path, width, height, readFramePixels(width, height)))
        log("Screenshot saved to " + path, LogDebug);
    else
        log("Could not save the screenshot " + path, LogWarning);
}
