// FView: the engine's modes and frame. start(0) brings the menu up when the
// window is first shown, frameStep runs once per idle cycle, start(2) enters
// the game when the host launches it, shutdown ends the process. Also the
// console-line entry points used by chat and diagnostics.
#pragma once

#include <cstdint>
#include <string>

enum : std::uint8_t { ModeMenu = 0, ModeGame = 2 };

extern std::uint8_t EngineMode;
extern bool GameStartRequest;   // set by the launch message, taken by the interface pass
extern bool InterfaceReady;     // set once an interface has finished loading
extern int SurfaceWidth;        // drawing panel, pixels
extern int SurfaceHeight;
extern bool Terminated;         // the window loop ends after the current event

void start(std::uint8_t mode);
void frameStep();
void shutdown();

// "Addline : " + text to the log, then to the script function AddLine once an interface is ready.
void addLine(const std::string& text);
