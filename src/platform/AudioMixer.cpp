#include "platform/AudioMixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <vector>

namespace platform {

namespace {

constexpr int OutputRate = 44100;
constexpr int Channels = 32;

int mixerVolume(int volume)
{
    return std::clamp(volume, 0, 255) * MIX_MAX_VOLUME / 255;
}

class MixerDevice final : public AudioDevice {
public:
    MixerDevice(int bytesPerFrame, int rate) : bytesPerFrame_(bytesPerFrame), rate_(rate) {}

    ~MixerDevice() override
    {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        for (Mix_Chunk* chunk : samples_)
            Mix_FreeChunk(chunk);
        for (Mix_Music* music : music_)
            Mix_FreeMusic(music);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    int loadSample(const std::string& path, std::string* why) override
    {
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        if (!chunk) {
            *why = Mix_GetError();
            return -1;
        }
        samples_.push_back(chunk);
        return static_cast<int>(samples_.size()) - 1;
    }

    std::int64_t sampleFrames(int sample) const override
    {
        if (sample < 0 || sample >= static_cast<int>(samples_.size()))
            return 0;
        const std::int64_t frames = samples_[static_cast<std::size_t>(sample)]->alen / bytesPerFrame_;
        return frames * OutputRate / rate_;
    }

    int playSample(int sample, int volume) override
    {
        if (sample < 0 || sample >= static_cast<int>(samples_.size()))
            return -1;
        Mix_Chunk* chunk = samples_[static_cast<std::size_t>(sample)];
        // The chunk's volume is set before the mixer thread can see the
        // channel, so a silenced voice never starts with an audible blip.
        Mix_VolumeChunk(chunk, mixerVolume(volume));
        const int channel = Mix_PlayChannel(-1, chunk, 0);
        if (channel >= 0)
            Mix_Volume(channel, MIX_MAX_VOLUME);
        return channel;
    }

    int openMusic(const std::string& path, std::string* why) override
    {
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        if (!music) {
            *why = Mix_GetError();
            return -1;
        }
        music_.push_back(music);
        return static_cast<int>(music_.size()) - 1;
    }

    void playMusic(int music, int volume) override
    {
        if (music < 0 || music >= static_cast<int>(music_.size()))
            return;
        Mix_VolumeMusic(mixerVolume(volume));
        Mix_PlayMusic(music_[static_cast<std::size_t>(music)], -1);
    }

    void setMusicVolume(int volume) override { Mix_VolumeMusic(mixerVolume(volume)); }
    void haltMusic() override { Mix_HaltMusic(); }

private:
    int bytesPerFrame_;
    int rate_;
    std::vector<Mix_Chunk*> samples_;
    std::vector<Mix_Music*> music_;
};

}  // namespace

std::unique_ptr<AudioDevice> openMixerDevice(std::string* why)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *why = SDL_GetError();
        return nullptr;
    }
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3);
    if (Mix_OpenAudio(OutputRate, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        *why = Mix_GetError();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    Mix_AllocateChannels(Channels);
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    const int bytesPerFrame = std::max(1, static_cast<int>(SDL_AUDIO_BITSIZE(format)) / 8 * channels);
    return std::make_unique<MixerDevice>(bytesPerFrame, rate > 0 ? rate : OutputRate);
}

}  // namespace platform
