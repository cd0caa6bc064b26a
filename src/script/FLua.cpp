#include "script/FLua.h"

#include "interface/FXMLLoader.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "script/FLuaFunctions.h"
#include "shell/FLogs.h"

#include <lua.hpp>

#include <optional>

namespace {

lua_State* state = nullptr;
int instructionLimit = 0;

void onInstructionLimit(lua_State* L, lua_Debug*)
{
    luaL_error(L, "script stopped after %d instructions", instructionLimit);
}

// Restarts the instruction count, so the limit holds per call.
void armInstructionLimit()
{
    if (instructionLimit > 0)
        lua_sethook(state, onInstructionLimit, LUA_MASKCOUNT, instructionLimit);
}

void openLibrary(lua_CFunction opener, const char* name)
{
    lua_pushcfunction(state, opener);
    lua_pushstring(state, name);
    lua_call(state, 1, 0);
}

// The error on top of the stack, which a script may have made any value.
std::string popError()
{
    std::string message;
    if (const char* text = lua_tostring(state, -1))
        message = text;
    else
        message = std::string("(error object is a ") + luaL_typename(state, -1) + " value)";
    lua_pop(state, 1);
    return message;
}

// Runs the chunk on top of the stack (or the load error there) and logs a failure.
void callLoaded(int loadStatus)
{
    if (loadStatus == 0) {
        armInstructionLimit();
        if (lua_pcall(state, 0, 0, 0) == 0)
            return;
    }
    log(popError(), LogWarning);
}

bool walkable(const FrameType& frame)
{
    return !frame.hidden && !frame.isVirtual;
}

// Visits `index` and its subtree, parent first. Indices are re-checked at
// every step: a handler may run anything, including a nested broadcast.
template <typename Visit>
void walkFrames(std::size_t index, int depth, const Visit& visit)
{
    if (index >= frames.size() || depth > MaxFrameDepth + 1 || !walkable(*frames[index]))
        return;
    visit(index);
    for (std::size_t i = 0; index < frames.size() && i < frames[index]->children.size(); ++i)
        walkFrames(static_cast<std::size_t>(frames[index]->children[i]), depth + 1, visit);
}

}  // namespace

void createState()
{
    closeState();
    state = luaL_newstate();
    if (!state) {
        log("Cannot create the Lua state", LogError);
        return;
    }
    // io and the library loader stay closed: an interface downloaded with a
    // mod must not reach the machine's files or load native code.
    openLibrary(luaopen_base, "");
    openLibrary(luaopen_table, LUA_TABLIBNAME);
    openLibrary(luaopen_string, LUA_STRLIBNAME);
    openLibrary(luaopen_math, LUA_MATHLIBNAME);
    // Scripts run further Lua through include, which logs what it loads.
    for (const char* name : {"dofile", "loadfile"}) {
        lua_pushnil(state);
        lua_setfield(state, LUA_GLOBALSINDEX, name);
    }
    registerScriptFunctions();
}

void closeState()
{
    if (state)
        lua_close(state);
    state = nullptr;
}

lua_State* luaState()
{
    return state;
}

void setGlobal(const std::string& name)
{
    if (state)
        lua_setfield(state, LUA_GLOBALSINDEX, name.c_str());
}

void getGlobal(const std::string& name)
{
    if (state)
        lua_getfield(state, LUA_GLOBALSINDEX, name.c_str());
}

bool globalIsSet(const std::string& name)
{
    if (!state)
        return false;
    lua_getfield(state, LUA_GLOBALSINDEX, name.c_str());
    const bool set = lua_toboolean(state, -1) != 0;
    lua_pop(state, 1);
    return set;
}

void setGlobalNumber(const std::string& name, double value)
{
    if (!state)
        return;
    lua_pushnumber(state, value);
    setGlobal(name);
}

void setGlobalString(const std::string& name, const std::string& value)
{
    if (!state)
        return;
    lua_pushlstring(state, value.data(), value.size());
    setGlobal(name);
}

void runString(const std::string& text)
{
    if (text.empty() || !state)
        return;
    callLoaded(luaL_loadbuffer(state, text.data(), text.size(), "line"));
}

void runFile(const std::string& path)
{
    log("Loading " + path, LogDebug);
    const std::string file = platform::contentPath(path);
    std::optional<std::string> source = platform::fileExists(file) ? platform::readTextFile(file) : std::nullopt;
    if (!source) {
        log("File `" + path + "` does not exist", LogWarning);
        return;
    }
    if (!state)
        return;
    // Lua files are UTF-8 like the XML; the engine's strings are Latin-1.
    if (platform::isValidUtf8(*source))
        source = platform::utf8ToLatin1(*source);
    const std::string chunk = "@" + path;
    callLoaded(luaL_loadbuffer(state, source->data(), source->size(), chunk.c_str()));
}

void callFunction(const std::string& name, const std::vector<ScriptArgument>& arguments)
{
    if (!state)
        return;
    lua_getfield(state, LUA_GLOBALSINDEX, name.c_str());
    for (const ScriptArgument& argument : arguments) {
        if (const double* number = std::get_if<double>(&argument))
            lua_pushnumber(state, *number);
        else {
            const std::string& text = std::get<std::string>(argument);
            lua_pushlstring(state, text.data(), text.size());
        }
    }
    armInstructionLimit();
    if (lua_pcall(state, static_cast<int>(arguments.size()), 0, 0) != 0)
        log(popError(), LogWarning);
}

void registerFunction(lua_CFunction function, const std::string& name)
{
    if (!state)
        return;
    lua_pushcclosure(state, function, 0);
    setGlobal(name);
}

void broadcastEvent(int code)
{
    setGlobalNumber("event", code);
    walkFrames(0, 1, [](std::size_t index) {
        setGlobalString("self", frames[index]->name);
        const std::string handler = frames[index]->scripts.OnEvent;
        runString(handler);
    });
}

void broadcastKey()
{
    walkFrames(0, 1, [](std::size_t index) {
        const FrameType& frame = *frames[index];
        if (!frame.enableKeyboard || frame.scripts.OnKeyDown.empty())
            return;
        setGlobalString("self", frame.name);
        const std::string handler = frame.scripts.OnKeyDown;
        runString(handler);
    });
}

void keyPressed(unsigned char character)
{
    setGlobalNumber("arg1", character);
    broadcastKey();
}

void keyDown(int virtualKey)
{
    setGlobalNumber("arg1", -virtualKey);
    broadcastKey();
}

void setScriptInstructionLimit(int instructions)
{
    instructionLimit = instructions > 0 ? instructions : 0;
}
