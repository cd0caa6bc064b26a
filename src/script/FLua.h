// FLua: the one Lua state of the interface, how handler texts and script
// files run in it, the globals self, event and arg1 through which the engine
// hands context to a handler, the broadcast of interface events and keys to
// the frames, and the registration of the engine's script functions.
// The interface loader creates the state; the shell closes it at the end.
#pragma once

#include "game/FGameCodes.h"

#include <string>
#include <variant>
#include <vector>

struct lua_State;
typedef int (*lua_CFunction)(lua_State*);

// Opens a new state (closing any previous one) with the base, table, string
// and math libraries, then registers every script function.
void createState();
void closeState();
// The current state, null when none is open.
lua_State* luaState();

// Pops the value on top of the stack into the global `name`.
void setGlobal(const std::string& name);
// Pushes the value of the global `name`.
void getGlobal(const std::string& name);
// Whether the global `name` holds anything but nil and false.
bool globalIsSet(const std::string& name);
void setGlobalNumber(const std::string& name, double value);
void setGlobalString(const std::string& name, const std::string& value);

// Runs a handler text as the chunk "line"; errors are logged at Warning.
void runString(const std::string& text);
// Runs a Lua file; a missing file or an error is logged at Warning.
void runFile(const std::string& path);
// Calls the script global function `name` with the given arguments, expecting
// no result; a missing function or an error is logged at Warning.
using ScriptArgument = std::variant<double, std::string>;
void callFunction(const std::string& name, const std::vector<ScriptArgument>& arguments);

void registerFunction(lua_CFunction function, const std::string& name);

// Sets `event` and runs OnEvent of every frame that is neither hidden nor
// virtual, nor below one that is, parent before children. Any code a caller
// passes is raised as it is.
void broadcastEvent(int code);
inline void broadcastEvent(InterfaceEvent event)
{
    broadcastEvent(static_cast<int>(event));
}
// Runs OnKeyDown with the current arg1 on the same frames, where EnableKeyboard is set.
void broadcastKey();
// A typed character: arg1 = its code 0..255, then broadcastKey.
void keyPressed(unsigned char character);
// A key pressed down: arg1 = - virtual key code, then broadcastKey.
void keyDown(int virtualKey);

// Stops any single script call after this many Lua instructions (0 = never).
// For tools that run untrusted input unattended, such as the fuzz targets.
void setScriptInstructionLimit(int instructions);
