// FGlWindow: the main window "Vrax" and its handlers. Runs the message loop:
// window events are routed to the interface and the game, and every idle
// cycle runs one frame. An EngineError ends only the event that raised it.
#pragma once

// Creates the window, runs until shutdown, returns the process exit status.
int runApplication();
