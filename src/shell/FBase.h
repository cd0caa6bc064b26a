// FBase: the window mode. Applied at start-up and on every activation,
// undone on every deactivation and at shutdown, from the settings that the
// configuration file gave at start-up.
#pragma once

#include "shell/FConfig.h"

extern TWindowSettings WindowSettings;

void applyWindowMode();
void restoreWindowMode();
// Whether the settings ask for an exclusive display-mode change.
bool changesDisplayMode(const TWindowSettings& settings);
