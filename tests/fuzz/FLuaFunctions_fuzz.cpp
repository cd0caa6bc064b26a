// Any Lua text run in a live interface state where every script function is
// registered, so the functions meet every argument a script can pass: wrong
// types, missing and extra arguments, unknown frame names, huge numbers. The
// network runs on a stand-in endpoint that swallows what is sent, so no
// fuzzed script can send a datagram, and Quit only counts.
#include "interface/FFonts.h"
#include "interface/FFrameWalk.h"
#include "interface/FXMLLoader.h"
#include "net/FNetwork.h"
#include "script/FLua.h"
#include "script/FLuaFunctions.h"
#include "shell/FConfig.h"
#include "shell/FLogs.h"

#include "../support/TestFont.h"
#include "FuzzLog.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

// One of each kind of element, with handlers, so the functions have real targets.
const char* const Interface = R"(<Ui>
  <Frame name="Panel" width="400" height="300" EnableKeyboard="true">
    <Anchor x="10" y="20"/>
    <Texture name="$parentBack" path="Textures\Shared\Blank.blp" width="10" height="10"/>
    <FontString name="$parentText" font="Thorndale14" text="Hello"/>
    <OnLoad>Loaded = (Loaded or 0) + 1</OnLoad>
    <OnEvent>LastEvent = event</OnEvent>
    <OnKeyDown>LastKey = arg1</OnKeyDown>
    <OnUpdate>Updates = (Updates or 0) + 1</OnUpdate>
  </Frame>
  <Frame name="Hidden" hidden="true"/>
</Ui>)";

// Hears nothing; whatever the lobby sends is dropped on the floor.
class SilentEndpoint : public TNetwork {
public:
    long receive(std::uint8_t*, std::string&) override { return -1; }
    void sendTo(const std::string&, const void*, std::size_t) override {}
    void broadcast(const void*, std::size_t) override {}
    void close() override { open_ = false; }
    bool open() const override { return open_; }
    std::uint16_t port() const override { return NetPort; }

private:
    bool open_ = true;
};

bool setUp()
{
    std::filesystem::create_directories("Fonts");
    std::ofstream("Fonts/Thorndale14.glf", std::ios::binary) << testing_support::testFontBytes();
    std::ofstream("fuzz-interface.xml") << Interface;
    setScriptInstructionLimit(200000);
    initFonts();
    startLog();
    SystemHooks.quit = [] {};
    SystemHooks.clipboardText = [] { return std::string("pasted"); };
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = setUp();
    (void)ready;
    fuzzing::keepLogSmall();
    // A fresh lobby and interface for every input, so what one script hid or resized
    // cannot hide the next input's effect. Fonts stay cached: scripts only read them.
    networkStart(TConfig(std::string("Vrax.cfg")), std::make_unique<SilentEndpoint>());
    try {
        loadInterface("fuzz-interface.xml");
    } catch (const EngineError&) {
        __builtin_trap();  // our own interface always loads
    }
    if (!InterfaceReady)
        __builtin_trap();
    runString(std::string(reinterpret_cast<const char*>(data), size));
    // What the script changed is laid out and its handlers run, as in a frame.
    walkFrame(0, TFramePainter{});
    broadcastEvent(1);
    keyPressed('a');
    keyDown(13);
    networkFrame();
    unloadInterface();
    networkStop();
    return 0;
}
