// The engine started where no OpenGL context can be made (here: no window
// at all): the start goes on, the menu's scripts hear the mouse, the lobby
// hosts and launches, and the game interface comes up, with nothing drawn.
#include "interface/FCursor.h"
#include "interface/FXMLLoader.h"
#include "net/FNetwork.h"
#include "platform/Window.h"
#include "script/FLua.h"
#include "shell/FOpenGL.h"
#include "shell/FView.h"

#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace testing_support;

namespace {

// This process in a network of its own with only loopback, for the game's
// port; back home when done.
class OwnNetwork {
public:
    OwnNetwork() : home_(open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC))
    {
        ok_ = home_ >= 0 && unshare(CLONE_NEWNET) == 0 && run("ip link set lo up") == 0;
    }
    ~OwnNetwork()
    {
        if (ok_)
            setns(home_, CLONE_NEWNET);
        if (home_ >= 0)
            close(home_);
    }
    bool ok() const { return ok_; }

private:
    int home_;
    bool ok_ = false;
};

class NoContext : public ::testing::Test {
protected:
    ScratchDir dir;
    OwnNetwork network;

    void TearDown() override
    {
        shutdown();
        unloadInterface();
        Terminated = false;
        EngineMode = ModeMenu;
    }
    std::string log() const { return readFile("Logs/log.txt"); }
    bool logged(const std::string& text, std::size_t from = 0) const
    {
        return log().find(text, from) != std::string::npos;
    }
    // Frames until `done`, at most `seconds`.
    template <typename Done>
    bool framesUntil(Done done, double seconds = 20)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            frameStep();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
    // Presses and releases the left button over the frame `name` as laid out.
    void click(const std::string& name)
    {
        frameStep();
        const int i = findFrame(name);
        ASSERT_GE(i, 0) << name;
        const FrameType& f = *frames[static_cast<std::size_t>(i)];
        cursorMoved((f.x + f.effectiveWidth / 2) * SurfaceWidth / 1600.0,
                    (f.y + f.effectiveHeight / 2) * SurfaceHeight / 1200.0, SurfaceWidth, SurfaceHeight);
        frameStep();
        buttonEvent(1);
        frameStep();
        buttonEvent(-1);
        frameStep();
        EXPECT_TRUE(logged("Debug: Clicked " + name)) << log();
    }
};

}  // namespace

TEST_F(NoContext, TheMenuItsScriptsAndTheLobbyWorkAndTheGameStartsWithNothingDrawn)
{
    if (!network.ok())
        GTEST_SKIP() << "needs a network namespace of its own (root)";
    namespace fs = std::filesystem;
    for (const char* folder : {"Interface", "Fonts", "Textures", "Sounds", "Data", "Maps", "Models"})
        fs::copy(std::string(VRAX_BINARY_DIR) + "/game/" + folder, folder, fs::copy_options::recursive);

    // Sound into nothing, as the game copies of the other tests have it: the
    // only warning this start may give is the missing context.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    start(ModeMenu);
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_FALSE(platform::hasGlContext());
    EXPECT_TRUE(logged("Warning: Cannot create the OpenGL rendering context\r\n"));
    ASSERT_TRUE(InterfaceReady) << log();
    ASSERT_TRUE(Network);
    // What a window that could not get its context would still report.
    SurfaceWidth = 1024;
    SurfaceHeight = 764;

    click("HostButton");
    click("CreateButton");
    click("LaunchButton");
    ASSERT_TRUE(framesUntil([] { return EngineMode == ModeGame && InterfaceReady; })) << log();
    const std::size_t launched = log().find("Loading Interface/Game/Interface.xml");
    ASSERT_NE(launched, std::string::npos);
    EXPECT_TRUE(logged("Interface Loaded", launched));
    EXPECT_TRUE(logged("Mediane des pings"));

    // The game's own scripts run every frame too: a chat line goes round the host.
    runString("SendChatMessage('still here')");
    EXPECT_TRUE(framesUntil([this] { return logged("says : still here"); }, 5)) << log();
    // The context is the one thing missing.
    const std::string text = log();
    EXPECT_EQ(text.find("Warning:"), text.rfind("Warning:")) << text;
}
