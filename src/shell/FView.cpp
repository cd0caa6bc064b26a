#include "shell/FView.h"

#include "assets/FLoader.h"
#include "assets/FTextures.h"
#include "interface/FCursor.h"
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "net/FNetwork.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "shell/FBase.h"
#include "shell/FConfig.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"
#include "script/FLua.h"
#include "sound/FSound.h"

std::uint8_t EngineMode = ModeMenu;
bool GameStartRequest = false;
bool InterfaceReady = false;
int SurfaceWidth = 1024;
int SurfaceHeight = 764;
bool Terminated = false;

static void startMenu()
{
    startLog();
    WindowSettings = readStartupConfig(TConfig());
    applyWindowMode();
    resetFrameClock(platform::milliseconds());
    if (!createRenderingContext())
        log("Cannot create the OpenGL rendering context", LogError);
    platform::drawableSize(&SurfaceWidth, &SurfaceHeight);
    InitTextures();
    initCursor();
    initFonts();
    soundStart(TConfig());
    networkStart(TConfig());
    unloadInterface();
    loadInterface("Interface/Menu/Interface.xml");
}

// Everything mode 0 made stays; the game brings its own interface and Lua state.
static void startGame()
{
    resetModelCache();
    soundEnterGame();
    unloadInterface();
    loadInterface("Interface/Game/Interface.xml");
}

void start(std::uint8_t mode)
{
    EngineMode = mode;
    if (mode == ModeMenu)
        startMenu();
    else
        startGame();
}

void frameStep()
{
    updateFrameClock(platform::milliseconds());
    networkFrame();
    renderFrame();
}

void shutdown()
{
    networkStop();
    soundShutdown();
    releaseRenderingContext();
    restoreWindowMode();
    platform::showSystemCursor(true);
    Terminated = true;
}

void addLine(const std::string& text)
{
    logLine(text);
    if (InterfaceReady)
        callFunction("AddLine", {text});
}
