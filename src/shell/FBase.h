// FBase: the window mode. Applied at start-up and on every activation,
// undone on every deactivation and at shutdown, from the settings that the
// configuration file gave at start-up.
#pragma once

#include "shell/FConfig.h"

extern TWindowSettings WindowSettings;

void applyWindowMode();
void restoreWindowMode();
// The Options screen's choices that the running window can take at once:
// its size, while it is not full screen. The rest waits for the next start.
void applyOptions(const TOptions& options);
// Whether the settings ask for an exclusive display-mode change.
bool changesDisplayMode(const TWindowSettings& settings);
