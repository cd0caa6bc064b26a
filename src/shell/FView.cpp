#include "shell/FView.h"

#include "assets/FLoader.h"
#include "game/FGame.h"
#include "game/FMD5.h"
#include "game/FUnitLoad.h"
#include "interaction/FCamera.h"
#include "interaction/FCommands.h"
#include "assets/FTextures.h"
#include "interface/FCursor.h"
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "game/FReports.h"
#include "net/FNetGame.h"
#include "net/FNetwork.h"
#include "net/FServer.h"
#include "net/FUdpNetwork.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/Window.h"
#include "script/FLua.h"
#include "script/FLuaFunctions.h"
#include "shell/FBase.h"
#include "shell/FConfig.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"
#include "shell/FMissingInterface.h"
#include "shell/FOpenGL.h"
#include "shell/FProbe.h"
#include "sound/FSound.h"
#include "world/FLoadMap.h"
#include "world/FTerrain.h"

#include <chrono>
#include <memory>
#include <thread>

std::uint8_t EngineMode = ModeMenu;
bool Terminated = false;

namespace {

const char* const MenuInterface = "Interface/Menu/Interface.xml";
const char* const GameInterface = "Interface/Game/Interface.xml";

// Set by the launch message, taken at the end of the frame that received it.
bool gameStartRequest = false;

// What the modules below the shell may ask of it, through their hooks.
void installShellHooks()
{
    LaunchHooks.inGame = [] { return EngineMode == ModeGame; };
    LaunchHooks.requestGameStart = [] { gameStartRequest = true; };
    SystemHooks.clipboardText = [] { return platform::clipboardText(); };
    SystemHooks.quit = [] { shutdown(); };
    SystemHooks.applyOptions = [](const TOptions& options) { applyOptions(options); };
}

void startMenu()
{
    startLog();
    probeStart();
    installShellHooks();
    WindowSettings = readStartupConfig(TConfig());
    applyWindowMode();
    resetFrameClock(platform::milliseconds());
    // The menu, its scripts and the lobby still work with nothing drawn.
    if (!createRenderingContext())
        log("Cannot create the OpenGL rendering context", LogWarning);
    platform::drawableSize(&SurfaceWidth, &SurfaceHeight);
    InitTextures();
    initCursor();
    initFonts();
    soundStart(TConfig());
    networkStart(TConfig(), std::make_unique<TUdpNetwork>());
    unloadInterface();
    if (!loadInterface(MenuInterface))
        reportMissingInterface(MenuInterface);
}

// The machine's own game, alive from the game start to the end of the process.
std::unique_ptr<TGame> OwnGame;

// Everything mode 0 made stays; the game brings its own interface and Lua state.
void startGame()
{
    ResetDefinitions();
    if (!LoadDefinitions("Data"))
        log("Some definitions could not be read", LogWarning);
    OwnGame = std::make_unique<TGame>();
    InitGame(*OwnGame, OwnPlayerNumber > 0 ? OwnPlayerNumber : 1, isHosting());
    CheckDataFiles();
    OwnGame->totalTime = FrameClock.totalTime;
    OwnGame->hooks.raiseEvent = [](InterfaceEvent event, int arg1) {
        if (!InterfaceReady)
            return;
        setGlobalNumber("arg1", arg1);
        broadcastEvent(event);
    };
    // The host plays race 0, every joiner race 1.
    const int localRace = isHosting() ? 0 : 1;
    OwnGame->hooks.unitSound = [](const TUnit& unit, SoundKind kind) {
        unitSound(*unit.unitType, unit.owner == CurrentGame->localPlayer, kind);
    };
    OwnGame->hooks.advisorSound = [localRace](SoundKind kind) {
        advisorSound(kind, localRace);
    };
    OwnGame->hooks.formationKeyHeld = [] { return platform::isKeyDown(platform::vk::LControl); };
    OwnGame->hooks.aimCancelled = [] { ClearPendingCommand(*OwnGame, Mouse); };
    CurrentGame = OwnGame.get();
    ResetCamera(Camera);
    resetModelCache();
    InitTerrain();
    soundEnterGame();
    unloadInterface();
    if (!loadInterface(GameInterface))
        reportMissingInterface(GameInterface);
    // The map's own units here at once; this player's starting units asked of the host.
    NetGameStart(*OwnGame);
    LoadMapFile(*OwnGame, "Maps/Welcome.vrax");
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
    if (EngineMode == ModeGame && CurrentGame)
        BroadcastUnitStates(*CurrentGame, FrameClock.totalTime);
    if (probeDraws())
        renderFrame();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(1));  // a machine that only plays leaves the others the cores
    if (EngineMode == ModeGame && CurrentGame)
        UpdateGame(*CurrentGame, FrameClock.totalTime, FrameClock.elapsed);
    probeFrame(EngineMode == ModeGame ? CurrentGame : nullptr, platform::milliseconds());
    // The frame that heard the launch is shown as it was drawn; the next one is the game's.
    if (gameStartRequest) {
        gameStartRequest = false;
        start(ModeGame);
    }
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
