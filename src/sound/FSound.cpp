#include "sound/FSound.h"

#include <cmath>
#include <random>

#include "game/FUnitLoad.h"
#include "platform/Files.h"
#include "shell/FConfig.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

const char* const MenuMusicFile = "Sounds/stream/MenuTheme.mp3";
const char* const GameMusicFile = "Sounds/stream/GameTheme.ogg";

TSound Sound;

namespace {

constexpr int MenuSlot = 0;
constexpr int GameSlot = 1;
// The voice end time counts 0.022 ms per sample frame: 44100 frames a second.
constexpr double MillisecondsPerFrame = 0.022;
// Definitions whose sound sets hold the advisor of race 0 and of race 1.
constexpr std::int32_t AdvisorOfRace0 = 1;
constexpr std::int32_t AdvisorOfRace1 = 11;

std::function<int(int)> defaultRandom()
{
    auto engine = std::make_shared<std::minstd_rand>(std::random_device{}());
    return [engine](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(*engine); };
}

int openTrack(const char* file)
{
    std::string why;
    const int music = Sound.device->openMusic(platform::contentPath(file), &why);
    if (music < 0)
        log(std::string("Music `") + file + "` cannot be played: " + why, LogWarning);
    return music;
}

void playMusic(int slot, int percent)
{
    if (!Sound.device || Sound.music[slot] < 0)
        return;
    Sound.device->playMusic(Sound.music[slot], percent * Sound.musicVolume / 100);
    log(std::string("Playing music `") + (slot == MenuSlot ? MenuMusicFile : GameMusicFile) + "`", LogDebug);
}

bool validKind(TSoundKind kind)
{
    const int k = static_cast<int>(kind);
    return k >= 0 && k < SoundKindCount;
}

// Files are numbered from 1 without gaps; the first missing number ends the set.
int countFiles(const std::string& base)
{
    int count = 0;
    while (platform::fileExists(platform::contentPath(base + std::to_string(count + 1) + ".wav")))
        ++count;
    return count;
}

// The cached sample of a file, reading it on first use; -1 when it does not decode.
int sampleOf(const std::string& file, std::string* why)
{
    const auto found = Sound.samples.find(file);
    if (found != Sound.samples.end())
        return found->second;
    const int sample = Sound.device->loadSample(platform::contentPath(file), why);
    Sound.samples.emplace(file, sample);
    return sample;
}

}  // namespace

void soundStart(std::unique_ptr<platform::AudioDevice> device, int effectsVolume, int musicVolume)
{
    soundShutdown();
    Sound.device = std::move(device);
    Sound.effectsVolume = Sound.chosenEffectsVolume = effectsVolume;
    Sound.musicVolume = musicVolume;
    Sound.voiceEndTime = 0;
    Sound.lastFileNumber = -1;
    if (!Sound.random)
        Sound.random = defaultRandom();
    if (!Sound.device)
        return;
    Sound.music[MenuSlot] = openTrack(MenuMusicFile);
    Sound.music[GameSlot] = openTrack(GameMusicFile);
    playMusic(MenuSlot, 100);
}

void soundEnterGame()
{
    if (!Sound.device)
        return;
    Sound.device->haltMusic();
    playMusic(GameSlot, 100);
}

void soundShutdown()
{
    // The device frees its samples and tracks with itself.
    Sound.device.reset();
    Sound.samples.clear();
    Sound.music[MenuSlot] = Sound.music[GameSlot] = -1;
}

void toggleEffectsVolume()
{
    Sound.effectsVolume = Sound.effectsVolume != 0 ? 0 : (Sound.chosenEffectsVolume != 0 ? Sound.chosenEffectsVolume : 100);
    log("Effects volume " + std::to_string(Sound.effectsVolume), LogDebug);
}

void unitSound(const TUnitAttributes& definition, bool localOwner, TSoundKind kind)
{
    if (!localOwner && static_cast<int>(kind) > static_cast<int>(TSoundKind::Wood))
        return;
    definitionSound(definition, kind);
}

void advisorSound(TSoundKind kind, int localRace)
{
    const std::int32_t number = localRace != 0 ? AdvisorOfRace1 : AdvisorOfRace0;
    const TUnitAttributes* advisor = FindUnitType(number);
    if (!advisor) {
        log("Unit id `" + std::to_string(number) + "` does not exist, can't play sound", LogDebug);
        return;
    }
    definitionSound(*advisor, kind);
}

void definitionSound(const TUnitAttributes& definition, TSoundKind kind)
{
    if (!Sound.device || !validKind(kind))
        return;
    // The file counts are kept in the record itself; the tables hand out
    // read-only records, so the writable one is reached through its place.
    const int index = UnitTypeIndex(&definition);
    if (index < 0)
        return;
    TUnitAttributes& record = UnitTypes[static_cast<std::size_t>(index)];
    std::int32_t& count = record.soundVariants[static_cast<std::size_t>(kind)];
    const std::string base = record.sound + SoundKindName(kind);
    if (count < 0) {
        count = countFiles(base);
        if (count == 0)
            log("Sound `" + base + "` not found for `" + record.name + "`", LogDebug);
    }
    if (count == 0)
        return;
    if (FrameClock.totalTime < Sound.voiceEndTime)
        return;

    int number = (count > 1 ? Sound.random(count - 1) : 0) + 1;
    if (number == Sound.lastFileNumber)
        number = count;
    const std::string file = base + std::to_string(number) + ".wav";
    std::string why;
    const int sample = sampleOf(file, &why);
    if (sample < 0) {
        // A file that will not decode silences its kind like a missing one,
        // and is reported once.
        log("Sound `" + file + "` cannot be played for `" + record.name + "`: " + why, LogWarning);
        count = 0;
        return;
    }
    const std::int64_t frames = Sound.device->sampleFrames(sample);
    Sound.voiceEndTime = FrameClock.totalTime + std::llround(static_cast<double>(frames) * MillisecondsPerFrame);
    Sound.device->playSample(sample, Sound.effectsVolume);
    Sound.lastFileNumber = number;
}
