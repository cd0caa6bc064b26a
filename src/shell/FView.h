// FView: the engine's modes and frame. start(ModeMenu) brings the menu up
// when the window is first shown, frameStep runs once per idle cycle,
// start(ModeGame) enters the game once the host has launched it, shutdown
// ends the process. The top of the shell: only the window module reaches it;
// everything below hears from it through the hooks it installs.
#pragma once

#include <cstdint>

enum : std::uint8_t { ModeMenu = 0, ModeGame = 2 };

extern std::uint8_t EngineMode;
extern bool Terminated;  // the window loop ends after the current event

void start(std::uint8_t mode);
void frameStep();
void shutdown();
