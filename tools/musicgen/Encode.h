// Encode: a Track written as Ogg Vorbis (libvorbis) or MP3 (LAME), the two
// stream formats the game plays, and as a 16-bit WAV for listening to the
// synthesiser's own output. Each returns false when the file cannot be written.
#pragma once

#include <string>

#include "Synth.h"

namespace music {

bool writeOgg(const std::string& path, const Track& track, const std::string& title);
// The LAME tag at the front tells decoders the encoder's delay and padding.
bool writeMp3(const std::string& path, const Track& track);
bool writeWav(const std::string& path, const Track& track);

}  // namespace music
