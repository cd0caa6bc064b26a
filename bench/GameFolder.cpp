#include "GameFolder.h"

#include "interface/FXMLLoader.h"
#include "platform/Window.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"

#include <cstdlib>

namespace fs = std::filesystem;

BenchGameFolder::BenchGameFolder(const char* name)
    : previous_(fs::current_path()), dir_(fs::temp_directory_path() / name)
{
    const fs::path game = VRAX_BINARY_DIR "/game";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    for (const char* part : {"Interface", "Fonts", "Textures", "Data", "Maps", "Models"})
        if (fs::exists(game / part))
            fs::create_directory_symlink(game / part, dir_ / part);
    fs::current_path(dir_);
    startLog();
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    ok = fs::exists("Fonts/Thorndale14.glf") && platform::createWindow("Vrax", 1024, 764) && createRenderingContext();
    if (ok)
        platform::drawableSize(&SurfaceWidth, &SurfaceHeight);
}

BenchGameFolder::~BenchGameFolder()
{
    unloadInterface();
    releaseRenderingContext();
    platform::destroyWindow();
    fs::current_path(previous_);
    fs::remove_all(dir_);
}
