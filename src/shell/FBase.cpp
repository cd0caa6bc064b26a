#include "shell/FBase.h"

#include "platform/Window.h"

TWindowSettings WindowSettings;

bool changesDisplayMode(const TWindowSettings& settings)
{
    return settings.fullscreen && !settings.windowed;
}

void applyWindowMode()
{
    if (!WindowSettings.fullscreen) {
        platform::setBorderSizeable(true);
        platform::setMaximised(false);
        return;
    }
    platform::setBorderSizeable(false);
    platform::setMaximised(true);
    if (changesDisplayMode(WindowSettings))
        platform::switchDisplayMode(WindowSettings.width, WindowSettings.height, 32);
}

void applyOptions(const TOptions& options)
{
    if (!WindowSettings.fullscreen && !options.fullscreen)
        platform::setWindowSize(options.windowWidth, options.windowHeight);
}

void restoreWindowMode()
{
    if (changesDisplayMode(WindowSettings))
        platform::restoreDisplayMode();
}
