// FLuaFunctions: the native functions that interface scripts call, and the
// one table that names them in registration order. createState registers
// the table; every function survives any argument a script can pass.
#pragma once

// Stores every script function that exists as a global of the current state.
void registerScriptFunctions();
// The names of the registration table, in order, built or not.
int scriptFunctionCount();
const char* scriptFunctionName(int index);
