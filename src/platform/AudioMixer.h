// AudioMixer: the sound card through SDL2_mixer, as an AudioDevice.
#pragma once

#include "platform/Audio.h"

#include <memory>
#include <string>

namespace platform {

// Opens the default output at 44100 Hz stereo with 32 channels. Nothing, with
// the library's reason in `why`, when there is no usable audio device.
std::unique_ptr<AudioDevice> openMixerDevice(std::string* why);

}  // namespace platform
