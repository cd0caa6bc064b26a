// A fixture with one of the shipped interfaces (menu or game) loaded from
// build/game/ into a scratch folder, in a real offscreen GL context, with a
// way to read Lua values back.
#pragma once

#include "assets/FTextures.h"
#include "interface/FFonts.h"
#include "interface/FXMLLoader.h"
#include "script/FLua.h"
#include "shell/FLogs.h"

#include "OffscreenContext.h"
#include "TestSupport.h"

#include <lua.hpp>

#include <filesystem>
#include <string>

class ShippedInterface : public OffscreenContext {
protected:
    testing_support::ScratchDir dir;

    void loadShipped(const std::string& interfacePath)
    {
        namespace fs = std::filesystem;
        for (const char* folder : {"Interface", "Fonts", "Textures"})
            fs::copy(std::string(VRAX_BINARY_DIR) + "/game/" + folder, folder, fs::copy_options::recursive);
        startLog();
        InitTextures();
        initFonts();
        loadInterface(interfacePath);
        ASSERT_TRUE(InterfaceReady);
    }
    void TearDown() override
    {
        unloadInterface();
        initFonts();
        OffscreenContext::TearDown();
    }
    // The Lua expression's value as text ("nil" when it has none).
    static std::string eval(const std::string& expression)
    {
        runString("Result = tostring(" + expression + ")");
        getGlobal("Result");
        const char* text = lua_tostring(luaState(), -1);
        std::string value = text ? text : "nil";
        lua_pop(luaState(), 1);
        return value;
    }
};
