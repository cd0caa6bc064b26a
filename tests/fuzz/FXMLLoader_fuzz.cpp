// Any bytes as an interface file: the loader logs what it refuses, raises
// EngineError for a broken limit or a bad number, and never crashes. Handler
// scripts in the input run too, bounded so that a loop cannot hang the run.
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "script/FLua.h"
#include "shell/FLogs.h"

#include "../support/TestFont.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <filesystem>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startLog();
    std::filesystem::create_directories("Fonts");
    std::ofstream("Fonts/Thorndale14.glf", std::ios::binary) << testing_support::testFontBytes();
    std::ofstream("Fonts/Big.glf", std::ios::binary) << testing_support::testFontBytes(32, 90);
    std::ofstream("Fonts/Cut.glf", std::ios::binary) << testing_support::testFontBytes().substr(0, 100);
    std::ofstream("part.xml") << "<Ui><Frame name=\"Part\"><FontString name=\"$parentText\" text=\"x\"/></Frame></Ui>";
    std::ofstream("part.lua") << "Log('part ' .. tostring(self))";
    setScriptInstructionLimit(200000);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        std::ofstream out("fuzz.xml", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // Logging everything makes the log grow without end: start it afresh.
    startLog();
    initFonts();
    try {
        loadInterface("fuzz.xml");
    } catch (const EngineError&) {
        if (InterfaceReady)
            __builtin_trap();  // a failed load is never marked ready
    }
    for (const auto& f : frames)
        for (std::int32_t child : f->children)
            if (child <= 0 || static_cast<std::size_t>(child) >= frames.size())
                __builtin_trap();
    broadcastEvent(1);
    keyPressed('a');
    unloadInterface();
    return 0;
}
