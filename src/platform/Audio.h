// Audio: the sound card behind one small interface. The sound module talks
// to an AudioDevice only, so it can run against the mixer (SDL2_mixer, made
// by openMixerDevice in AudioMixer) or against a recording stand-in in tests. Volumes are
// on the 0..255 scale the game's settings use; handles are small integers,
// -1 for none.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // A WAV file decoded whole; -1 (and a reason in `why`) when it cannot be read.
    virtual int loadSample(const std::string& path, std::string* why) = 0;
    // Length in sample frames at 44100 Hz, whatever rate the card took.
    virtual std::int64_t sampleFrames(int sample) const = 0;
    // Plays once on a free channel; the channel, or -1 when all are busy.
    virtual int playSample(int sample, int volume) = 0;

    // A streamed track (OGG or MP3); -1 (and a reason) when it cannot be opened.
    virtual int openMusic(const std::string& path, std::string* why) = 0;
    // Starts a track from its beginning, looping for ever; replaces any playing track.
    virtual void playMusic(int music, int volume) = 0;
    virtual void setMusicVolume(int volume) = 0;
    virtual void haltMusic() = 0;
};

}  // namespace platform
