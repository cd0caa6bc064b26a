#include "shell/FView.h"

#include "assets/FLoader.h"
#include "game/FGame.h"
#include "game/FUnitLoad.h"
#include "interaction/FCamera.h"
#include "assets/FTextures.h"
#include "interface/FCursor.h"
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "net/FNetwork.h"
#include "net/FServer.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "shell/FBase.h"
#include "shell/FConfig.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"
#include "script/FLua.h"
#include "world/FLoadMap.h"
#include "world/FTerrain.h"

#include <memory>

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
    networkStart(TConfig());
    unloadInterface();
    loadInterface("Interface/Menu/Interface.xml");
}

// The machine's own game, alive from the game start to the end of the process.
static std::unique_ptr<TGame> OwnGame;

// Everything mode 0 made stays; the game brings its own interface and Lua state.
static void startGame()
{
    ResetDefinitions();
    if (!LoadDefinitions("Data"))
        log("Some definitions could not be read", LogWarning);
    OwnGame = std::make_unique<TGame>();
    InitGame(*OwnGame, OwnPlayerNumber > 0 ? OwnPlayerNumber : 1, isHosting());
    OwnGame->totalTime = FrameClock.totalTime;
    OwnGame->hooks.raiseEvent = [](int event, int arg1) {
        if (!InterfaceReady)
            return;
        setGlobalNumber("arg1", arg1);
        broadcastEvent(event);
    };
    CurrentGame = OwnGame.get();
    ResetCamera(Camera);
    resetModelCache();
    InitTerrain();
    unloadInterface();
    loadInterface("Interface/Game/Interface.xml");
    LoadMapFile(*OwnGame, "Maps/Welcome.vrax");
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
    if (EngineMode == ModeGame && CurrentGame)
        UpdateGame(*CurrentGame, FrameClock.totalTime, FrameClock.elapsed);
}

void shutdown()
{
    networkStop();
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
