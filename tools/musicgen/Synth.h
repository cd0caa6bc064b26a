// Synth: a small synthesiser for the game's music. Notes are rendered one at
// a time by a handful of instruments and mixed into a Track, a loop of stereo
// audio whose end runs straight into its beginning: whatever sounds past the
// end (a release, a reverb tail) is added at the start, so the track loops
// without a click.
#pragma once

#include <cstdint>
#include <vector>

namespace music {

constexpr int Rate = 44100;

struct Track {
    explicit Track(std::int64_t frames) : left(static_cast<std::size_t>(frames)), right(left.size()) {}
    std::int64_t frames() const { return static_cast<std::int64_t>(left.size()); }

    // Adds a mono sound from `start` (frames), wrapping around the end;
    // pan -1 is left, +1 right.
    void mix(std::int64_t start, const std::vector<float>& sound, float gain, float pan);

    std::vector<float> left;
    std::vector<float> right;
};

double noteFrequency(int midi);

// Instruments: one note held `seconds`, with its release tail after.
std::vector<float> pluck(double frequency, double seconds, double brightness, std::uint32_t seed);
std::vector<float> pad(double frequency, double seconds);
std::vector<float> flute(double frequency, double seconds);
std::vector<float> brass(double frequency, double seconds);
std::vector<float> bass(double frequency, double seconds);
std::vector<float> kick();
std::vector<float> handDrum(std::uint32_t seed);
std::vector<float> hat(std::uint32_t seed);

// A hall around the whole loop; its tail wraps like every other sound.
void reverb(Track& track, float wet);
// Scales the track so its loudest sample is `peak`.
void normalise(Track& track, float peak);

}  // namespace music
