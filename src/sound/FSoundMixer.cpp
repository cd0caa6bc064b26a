// The sound's start on the real sound card: the one part of the sound module
// that needs the mixer library, so the rest runs headless.
#include "sound/FSound.h"

#include "platform/AudioMixer.h"
#include "shell/FConfig.h"
#include "shell/FLogs.h"

void soundStart(const TConfig& config)
{
    std::string why;
    std::unique_ptr<platform::AudioDevice> device = platform::openMixerDevice(&why);
    if (!device)
        log("Sound is off: no audio device (" + why + ")", LogWarning);
    soundStart(std::move(device), config.readEffectsVolume(), config.readMusicVolume());
}
