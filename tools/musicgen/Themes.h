// Themes: the two pieces of the game's music, written for the synthesiser.
// The menu theme is calm (harp, strings and flute in D minor, 60 beats a
// minute); the game theme is livelier (drums, bass, strings, horn and lute in
// A minor, 120 beats a minute). Each is 64 seconds and loops seamlessly.
#pragma once

#include "Synth.h"

namespace music {

Track menuTheme();
Track gameTheme();

}  // namespace music
