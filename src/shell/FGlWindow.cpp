#include "shell/FGlWindow.h"

#include "interaction/FMouseClick.h"
#include "interface/FCursor.h"
#include "interface/FXMLLoader.h"
#include "platform/KeyState.h"
#include "platform/Window.h"
#include "script/FLua.h"
#include "shell/FBase.h"
#include "shell/FConfig.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"
#include "shell/FScreenshot.h"
#include "shell/FView.h"
#include "sound/FSound.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>

namespace {

// The error report never waits for anyone: a run without a person at the
// screen must go on.
void report(const std::exception& error)
{
    std::fprintf(stderr, "Vrax: %s\n", error.what());
}

// The interface hears every key before the game acts on it.
void onKeyDown(int virtualKey)
{
    keyDown(virtualKey);
    if (virtualKey == platform::vk::Snapshot || virtualKey == platform::vk::F12)
        requestScreenshot();
    if (virtualKey == platform::vk::Escape)
        shutdown();
    // Ctrl+S silences the voices in the game (and brings them back).
    if (EngineMode == ModeGame && virtualKey == 'S' && platform::isKeyDown(platform::vk::Control))
        toggleEffectsVolume();
    // While a text field has the keyboard (the widgets keep it in FocusedField)
    // letters and digits are the player's words, not orders to the army.
    if (!globalIsSet("FocusedField"))
        GameKey(virtualKey);
}

void route(const platform::WindowEvent& e)
{
    using platform::WindowEvent;
    switch (e.kind) {
    case WindowEvent::Activate:
        applyWindowMode();
        break;
    case WindowEvent::Deactivate:
        restoreWindowMode();
        break;
    case WindowEvent::KeyDown:
        onKeyDown(e.key);
        break;
    case WindowEvent::KeyPress:
        keyPressed(static_cast<unsigned char>(e.key));
        break;
    case WindowEvent::Resize:
        SurfaceWidth = e.x;
        SurfaceHeight = e.y;
        break;
    case WindowEvent::Wheel:
        GameWheel(e.delta);
        break;
    case WindowEvent::MouseDown:
        if (e.button == 1)
            GameLeftPress();
        else if (e.button == 2)
            GameRightPress();
        buttonEvent(e.button);
        break;
    case WindowEvent::MouseUp:
        if (e.button == 1)
            GameLeftRelease();
        buttonEvent(-e.button);
        break;
    case WindowEvent::MouseMove: {
        const double dx = e.x - Mouse.cursorX, dy = e.y - Mouse.cursorY;
        cursorMoved(e.x, e.y, SurfaceWidth, SurfaceHeight);
        GameMouseMove(dx, dy, e.buttons);
        break;
    }
    case WindowEvent::Close:
        shutdown();
        break;
    default:
        break;
    }
}

}  // namespace

int runApplication()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    InterfaceReady = false;
    // The size the Options screen stored (1024 x 764 until then); start(0) reads the rest.
    const TConfig config;
    if (!platform::createWindow("Vrax", config.readWindowWidth(), config.readWindowHeight())) {
        std::fprintf(stderr, "Vrax: cannot create the main window\n");
        return 1;
    }
    // The window is shown as it is created: the menu starts at once.
    try {
        start(ModeMenu);
    } catch (const std::exception& error) {
        report(error);
    }
    while (!Terminated) {
        platform::WindowEvent event;
        while (!Terminated && platform::pollEvent(&event)) {
            try {
                route(event);
            } catch (const std::exception& error) {
                report(error);
            }
        }
        if (Terminated)
            continue;
        try {
            frameStep();
        } catch (const std::exception& error) {
            report(error);
        }
    }
    closeState();
    platform::destroyWindow();
    return 0;
}
