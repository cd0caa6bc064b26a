#include "shell/FView.h"

#include "assets/FLoader.h"
#include "assets/FTextures.h"
#include "interface/FCursor.h"
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "net/FServer.h"
#include "net/FUdpNetwork.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "script/FLuaFunctions.h"
#include "shell/FBase.h"
#include "shell/FConfig.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"

std::uint8_t EngineMode = ModeMenu;
bool Terminated = false;

namespace {

// Set by the launch message, taken at the end of the frame that received it.
bool gameStartRequest = false;

// What the modules below the shell may ask of it, through their hooks.
void installShellHooks()
{
    LaunchHooks.inGame = [] { return EngineMode == ModeGame; };
    LaunchHooks.requestGameStart = [] { gameStartRequest = true; };
    SystemHooks.clipboardText = [] { return platform::clipboardText(); };
    SystemHooks.quit = [] { shutdown(); };
}

void startMenu()
{
    startLog();
    installShellHooks();
    WindowSettings = readStartupConfig(TConfig());
    applyWindowMode();
    resetFrameClock(platform::milliseconds());
    if (!createRenderingContext())
        log("Cannot create the OpenGL rendering context", LogError);
    platform::drawableSize(&SurfaceWidth, &SurfaceHeight);
    InitTextures();
    initCursor();
    initFonts();
    networkStart(TConfig(), std::make_unique<TUdpNetwork>());
    unloadInterface();
    loadInterface("Interface/Menu/Interface.xml");
}

// Everything mode 0 made stays; the game brings its own interface and Lua state.
void startGame()
{
    resetModelCache();
    unloadInterface();
    loadInterface("Interface/Game/Interface.xml");
}

}  // namespace

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
    // The frame that heard the launch is shown as it was drawn; the next one is the game's.
    if (gameStartRequest) {
        gameStartRequest = false;
        start(ModeGame);
    }
}

void shutdown()
{
    networkStop();
    releaseRenderingContext();
    restoreWindowMode();
    platform::showSystemCursor(true);
    Terminated = true;
}
