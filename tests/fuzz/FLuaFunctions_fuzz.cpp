// Any Lua text run in a live interface state where every script function is
// registered, so the functions meet every argument a script can pass: wrong
// types, missing and extra arguments, unknown frame names, huge numbers. The
// network is never started here (its functions do nothing without it) so no
// fuzzed script can send a datagram; Quit only ends the window loop, and
// there is none.
#include "interface/FFonts.h"
#include "interface/FFrameWalk.h"
#include "interface/FXMLLoader.h"
#include "script/FLua.h"
#include "shell/FLogs.h"
#include "shell/FView.h"

#include "../support/TestFont.h"
#include "FuzzLog.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
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

bool setUp()
{
    std::filesystem::create_directories("Fonts");
    std::ofstream("Fonts/Thorndale14.glf", std::ios::binary) << testing_support::testFontBytes();
    std::ofstream("fuzz-interface.xml") << Interface;
    setScriptInstructionLimit(200000);
    initFonts();
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = setUp();
    (void)ready;
    fuzzing::keepLogSmall();
    // A fresh interface for every input, so what one script hid or resized
    // cannot hide the next input's effect. Fonts stay cached: scripts only read them.
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
    unloadInterface();
    return 0;
}
