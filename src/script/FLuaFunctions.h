// FLuaFunctions: the native functions that interface scripts call, and the
// one table that names them in registration order. createState registers
// the table; every function survives any argument a script can pass.
#pragma once

#include <functional>
#include <string>

// What the script functions need from the window and the shell, set by the
// client at start-up. Unset (a tool or a test without a window), GetClipBoard
// gives an empty text and Quit does nothing.
struct TOptions;

struct TSystemHooks {
    std::function<std::string()> clipboardText;  // Latin-1
    std::function<void()> quit;
    // Puts stored options into effect where the window allows it at once.
    std::function<void(const TOptions&)> applyOptions;
};
extern TSystemHooks SystemHooks;

// Stores every script function that exists as a global of the current state,
// and points the console line and the lobby's callbacks at the scripts.
void registerScriptFunctions();
// The names of the registration table, in order, built or not.
int scriptFunctionCount();
const char* scriptFunctionName(int index);
// The game functions for modders, in Markdown, made from the table: a
// heading and a table of calls and results per theme (README's copy is
// checked against it).
std::string gameFunctionReference();
