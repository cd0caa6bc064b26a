// FSound: unit voices, the advisor and the two music tracks. The shell starts
// it with the engine (menu track), switches the track when a game starts and
// closes it at shutdown; game events call unitSound and advisorSound. Voices
// obey one rule: no unit or advisor sound starts before the previous one has
// ended. Without an audio device every call is silent.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "game/FGameCodes.h"
#include "platform/Audio.h"

class TConfig;
struct TUnitAttributes;

// The kinds are the rules' SoundKind; their numbers are part of the file
// names' contract (`<prefix><name><N>.wav`).
using TSoundKind = SoundKind;

// The two tracks, relative to the game folder.
extern const char* const MenuMusicFile;
extern const char* const GameMusicFile;

struct TSound {
    std::unique_ptr<platform::AudioDevice> device;  // none: silent
    std::map<std::string, int> samples;             // file name -> sample, -1 when it would not decode
    int effectsVolume = 100;
    int chosenEffectsVolume = 100;  // what Ctrl+S brings back
    int musicVolume = 80;
    std::int64_t voiceEndTime = 0;  // game clock, ms
    int lastFileNumber = -1;
    int music[2] = {-1, -1};        // menu, game
    // A number from 0 to bound - 1; replaceable so tests can seed it.
    std::function<int(int bound)> random;
};

extern TSound Sound;

// Engine start: opens the sound card (or logs once why there is none and
// stays silent), takes the volumes from the configuration, opens both tracks
// and plays the menu track.
void soundStart(const TConfig& config);
// The same on a given device (nothing: silent) with the given volumes.
void soundStart(std::unique_ptr<platform::AudioDevice> device, int effectsVolume, int musicVolume);
// Game start: the menu track stops and the game track plays.
void soundEnterGame();
// Frees every sample and track and closes the device.
void soundShutdown();

// Ctrl+S: effects volume to 0, or back to the chosen volume.
void toggleEffectsVolume();

// A unit's voice: units of other players only sound the kinds 0 to 4.
void unitSound(const TUnitAttributes& definition, bool localOwner, TSoundKind kind);
// The advisor of the local race: the sound set of definition 1 (race 0) or 11.
void advisorSound(TSoundKind kind, int localRace);
// One of the definition's files for the kind, if the voice is free. The
// definition is a record of UnitTypes, which keeps its file counts; any other
// record plays nothing.
void definitionSound(const TUnitAttributes& definition, TSoundKind kind);
