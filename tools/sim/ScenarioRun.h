// ScenarioRun: plays a scenario on a game of its own, as the host, in the
// current folder (the game folder: Data/ and Maps/ are read from it), in
// frames of 10 ms of game clock, and prints its summaries.
#pragma once

#include "Scenario.h"

#include <ostream>

// Loads the definitions, checks every name the scenario uses, then plays it.
// The summaries go to out, mistakes to err. 0 when played; 2 when the
// scenario has mistakes (nothing is played then).
int PlayScenario(const Scenario& scenario, std::ostream& out, std::ostream& err);
