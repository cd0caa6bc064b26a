// The sound module heard through a recording device (which file plays, when,
// how loud, which track), and the mixer itself on SDL's disk driver: samples
// and both stream formats load and play with no sound card, and a machine
// with no usable audio device starts silent with one line saying why.
#include "sound/FSound.h"

#include "Encode.h"
#include "../support/TestSupport.h"
#include "game/FUnitLoad.h"
#include "shell/FConfig.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <cstdlib>
#include <random>

namespace {

using testing_support::readLines;
using testing_support::ScratchDir;
using testing_support::writeFile;

struct Heard {
    std::vector<std::string> loads;                     // every file read
    std::vector<std::pair<std::string, int>> voices;    // file, volume
    std::vector<std::string> music;                     // "open F", "play F V", "halt"
};

// Stands for the sound card: remembers what it was asked to do. A file whose
// text is "noise" does not decode; every sample lasts one second.
class RecordingDevice : public platform::AudioDevice {
public:
    explicit RecordingDevice(std::shared_ptr<Heard> heard) : heard_(std::move(heard)) {}

    int loadSample(const std::string& path, std::string* why) override
    {
        heard_->loads.push_back(path);
        if (testing_support::readFile(path) == "noise") {
            *why = "Unrecognized audio format";
            return -1;
        }
        files_.push_back(path);
        return static_cast<int>(files_.size()) - 1;
    }
    std::int64_t sampleFrames(int) const override { return 44100; }
    int playSample(int sample, int volume) override
    {
        heard_->voices.emplace_back(files_.at(static_cast<std::size_t>(sample)), volume);
        return 0;
    }
    int openMusic(const std::string& path, std::string* why) override
    {
        if (!std::filesystem::exists(path)) {
            *why = "no such file";
            return -1;
        }
        tracks_.push_back(path);
        heard_->music.push_back("open " + path);
        return static_cast<int>(tracks_.size()) - 1;
    }
    void playMusic(int music, int volume) override
    {
        heard_->music.push_back("play " + tracks_.at(static_cast<std::size_t>(music)) + " " + std::to_string(volume));
    }
    void setMusicVolume(int volume) override { heard_->music.push_back("volume " + std::to_string(volume)); }
    void haltMusic() override { heard_->music.push_back("halt"); }

private:
    std::shared_ptr<Heard> heard_;
    std::vector<std::string> files_;
    std::vector<std::string> tracks_;
};

int logCount(const std::string& text)
{
    int count = 0;
    for (const std::string& line : readLines("Logs/log.txt"))
        count += line.find(text) != std::string::npos;
    return count;
}

class Sounds : public ::testing::Test {
protected:
    ScratchDir dir;
    std::shared_ptr<Heard> heard = std::make_shared<Heard>();

    void SetUp() override
    {
        startLog();
        ResetDefinitions();
        FrameClock.totalTime = 10000;
        Sound.random = nullptr;
    }
    void TearDown() override
    {
        soundShutdown();
        Sound.random = nullptr;
        ResetDefinitions();
    }

    // A definition whose sound set is Sounds/Units/<file>/<file>, written as the data files do.
    const TUnitAttributes& define(const std::string& name, std::int32_t id, const std::string& file)
    {
        TUnitAttributes& type = UnitTypes.emplace_back();
        type.name = name;
        type.id = id;
        type.sound = "Sounds\\Units\\" + file + "\\" + file;
        return type;
    }
    void files(const std::string& file, const std::string& kind, int count, const std::string& text = "RIFF")
    {
        for (int n = 1; n <= count; ++n)
            writeFile("Sounds/Units/" + file + "/" + file + kind + std::to_string(n) + ".wav", text);
    }
    void startRecording(int effects = 100, int music = 80)
    {
        soundStart(std::make_unique<RecordingDevice>(heard), effects, music);
    }
    // The file number of every voice heard so far.
    std::vector<int> numbers() const
    {
        std::vector<int> out;
        for (const auto& [file, volume] : heard->voices)
            out.push_back(file[file.size() - 5] - '0');
        return out;
    }
    void later() { FrameClock.totalTime = Sound.voiceEndTime; }
};

TEST_F(Sounds, EachKindPlaysItsOwnFileFromTheDefinitionsPrefix)
{
    const TUnitAttributes& serf = define("Serf", 1, "Serf");
    const std::vector<std::string> names = {"building", "gold",  "search", "under", "wood", "attack",
                                            "death",    "listen", "mana",  "move",  "ok",   "ready"};
    for (const std::string& kind : names)
        files("Serf", kind, 1);
    startRecording();
    for (int kind = 0; kind < 12; ++kind) {
        definitionSound(serf, static_cast<TSoundKind>(kind));
        later();
        ASSERT_EQ(heard->voices.size(), static_cast<std::size_t>(kind + 1));
        EXPECT_EQ(heard->voices.back().first, "Sounds/Units/Serf/Serf" + names[kind] + "1.wav");
        EXPECT_EQ(SoundKindName(static_cast<TSoundKind>(kind)), names[kind]);
    }
    definitionSound(serf, static_cast<TSoundKind>(12));
    definitionSound(serf, static_cast<TSoundKind>(-1));
    EXPECT_EQ(heard->voices.size(), 12u) << "kinds outside 0 to 11 play nothing";
    EXPECT_EQ(serf.soundVariants[static_cast<int>(TSoundKind::Move)], 1);
}

TEST_F(Sounds, ThreeFilesPlayOneOrTwoAndTheThirdOnlyWhenThePickRepeats)
{
    const TUnitAttributes& spearman = define("Spearman", 2, "Spearman");
    files("Spearman", "move", 3);
    startRecording();
    std::vector<int> picks;
    auto engine = std::make_shared<std::mt19937>(42);
    Sound.random = [engine, &picks](int bound) {
        picks.push_back(std::uniform_int_distribution<int>(0, bound - 1)(*engine));
        return picks.back();
    };
    for (int i = 0; i < 60; ++i) {
        definitionSound(spearman, TSoundKind::Move);
        later();
    }
    const std::vector<int> played = numbers();
    ASSERT_EQ(played.size(), 60u);
    int last = -1;
    int thirds = 0;
    for (std::size_t i = 0; i < played.size(); ++i) {
        ASSERT_TRUE(picks[i] == 0 || picks[i] == 1) << "a pick from 0 to count - 2";
        const int pick = picks[i] + 1;
        EXPECT_EQ(played[i], pick == last ? 3 : pick) << "play " << i;
        thirds += played[i] == 3;
        last = played[i];
    }
    EXPECT_GT(thirds, 0);
    EXPECT_LT(thirds, 60);
    EXPECT_EQ(heard->loads.size(), 3u) << "each file is read once and kept";
}

TEST_F(Sounds, TwoUnitsSelectedInOneFrameGiveOneVoiceUntilItEnds)
{
    const TUnitAttributes& serf = define("Serf", 1, "Serf");
    const TUnitAttributes& bowman = define("Bowman", 3, "Bowman");
    files("Serf", "listen", 1);
    files("Bowman", "listen", 1);
    startRecording();
    unitSound(serf, true, TSoundKind::Listen);
    unitSound(bowman, true, TSoundKind::Listen);
    ASSERT_EQ(heard->voices.size(), 1u);
    EXPECT_EQ(heard->voices[0].first, "Sounds/Units/Serf/Serflisten1.wav");
    // One second of sample at 0.022 ms a frame: 970 ms.
    EXPECT_EQ(Sound.voiceEndTime, 10000 + 970);
    FrameClock.totalTime = 10969;
    unitSound(bowman, true, TSoundKind::Listen);
    EXPECT_EQ(heard->voices.size(), 1u) << "skipped, not delayed";
    FrameClock.totalTime = 10970;
    unitSound(bowman, true, TSoundKind::Listen);
    ASSERT_EQ(heard->voices.size(), 2u);
    EXPECT_EQ(heard->voices[1].first, "Sounds/Units/Bowman/Bowmanlisten1.wav");
}

TEST_F(Sounds, CtrlSSilencesVoicesThatStillHoldTheVoiceAndBringsBackTheChosenVolume)
{
    const TUnitAttributes& serf = define("Serf", 1, "Serf");
    files("Serf", "ok", 1);
    startRecording(180, 80);
    toggleEffectsVolume();
    unitSound(serf, true, TSoundKind::Ok);
    ASSERT_EQ(heard->voices.size(), 1u);
    EXPECT_EQ(heard->voices[0].second, 0);
    EXPECT_EQ(Sound.voiceEndTime, 10970) << "a silenced voice still holds the next one back";
    unitSound(serf, true, TSoundKind::Ok);
    EXPECT_EQ(heard->voices.size(), 1u);
    toggleEffectsVolume();
    later();
    unitSound(serf, true, TSoundKind::Ok);
    ASSERT_EQ(heard->voices.size(), 2u);
    EXPECT_EQ(heard->voices[1].second, 180);
}

TEST_F(Sounds, AnotherPlayersUnitsOnlySoundTheAdvisorKinds)
{
    const TUnitAttributes& raider = define("Raider", 13, "Raider");
    for (const char* kind : {"death", "move", "under"})
        files("Raider", kind, 1);
    startRecording();
    unitSound(raider, false, TSoundKind::Death);
    unitSound(raider, false, TSoundKind::Move);
    EXPECT_TRUE(heard->voices.empty()) << "another player's unit dying plays nothing here";
    unitSound(raider, false, TSoundKind::Under);
    ASSERT_EQ(heard->voices.size(), 1u);
    later();
    unitSound(raider, true, TSoundKind::Death);
    ASSERT_EQ(heard->voices.size(), 2u);
    EXPECT_EQ(heard->voices[1].first, "Sounds/Units/Raider/Raiderdeath1.wav");
}

TEST_F(Sounds, TheAdvisorSpeaksFromTheLocalRacesWorker)
{
    define("Serf", 1, "Serf");
    files("Serf", "gold", 1);
    files("Drudge", "gold", 1);
    startRecording();
    advisorSound(TSoundKind::Gold, 0);
    later();
    advisorSound(TSoundKind::Gold, 1);
    ASSERT_EQ(heard->voices.size(), 1u);
    EXPECT_EQ(heard->voices[0].first, "Sounds/Units/Serf/Serfgold1.wav");
    EXPECT_EQ(logCount("Unit id `11` does not exist, can't play sound"), 1);
    advisorSound(TSoundKind::Gold, 1);
    EXPECT_EQ(logCount("Unit id `11` does not exist, can't play sound"), 2) << "logged each time";
    define("Drudge", 11, "Drudge");
    advisorSound(TSoundKind::Gold, 1);
    ASSERT_EQ(heard->voices.size(), 2u);
    EXPECT_EQ(heard->voices[1].first, "Sounds/Units/Drudge/Drudgegold1.wav");
}

TEST_F(Sounds, MissingAndUndecodableFilesAreReportedOnceAndStaySilent)
{
    const TUnitAttributes& forge = define("Forge", 7, "Forge");
    files("Forge", "ready", 2, "noise");
    files("Forge", "listen", 1);
    startRecording();
    for (int i = 0; i < 3; ++i) {
        definitionSound(forge, TSoundKind::Death);
        definitionSound(forge, TSoundKind::Ready);
    }
    EXPECT_EQ(logCount("Sound `Sounds\\Units\\Forge\\Forgedeath` not found for `Forge`"), 1);
    EXPECT_EQ(logCount("Sound `Sounds\\Units\\Forge\\Forgeready1.wav` cannot be played for `Forge`: "
                       "Unrecognized audio format"),
              1);
    EXPECT_EQ(heard->loads.size(), 1u) << "an undecodable file is not read again";
    EXPECT_TRUE(heard->voices.empty());
    EXPECT_EQ(Sound.voiceEndTime, 0) << "nothing played, nothing held back";
    definitionSound(forge, TSoundKind::Listen);
    EXPECT_EQ(heard->voices.size(), 1u) << "the other kinds still play";
}

TEST_F(Sounds, TheMenuTrackPlaysFromTheStartAndTheGameTrackFromTheGamesStart)
{
    writeFile(MenuMusicFile, "mp3");
    writeFile(GameMusicFile, "ogg");
    startRecording(100, 60);
    EXPECT_EQ(heard->music, (std::vector<std::string>{"open Sounds/stream/MenuTheme.mp3",
                                                      "open Sounds/stream/GameTheme.ogg",
                                                      "play Sounds/stream/MenuTheme.mp3 60"}));
    soundEnterGame();
    EXPECT_EQ(heard->music, (std::vector<std::string>{"open Sounds/stream/MenuTheme.mp3",
                                                      "open Sounds/stream/GameTheme.ogg",
                                                      "play Sounds/stream/MenuTheme.mp3 60", "halt",
                                                      "play Sounds/stream/GameTheme.ogg 60"}));
}

TEST_F(Sounds, AMissingTrackIsLoggedAndTheRestGoesOn)
{
    writeFile(GameMusicFile, "ogg");
    startRecording();
    EXPECT_EQ(logCount("Music `Sounds/stream/MenuTheme.mp3` cannot be played: no such file"), 1);
    EXPECT_EQ(heard->music, std::vector<std::string>{"open Sounds/stream/GameTheme.ogg"});
    soundEnterGame();
    EXPECT_EQ(heard->music.back(), "play Sounds/stream/GameTheme.ogg 80");
}

TEST_F(Sounds, EveryShippedUnitTypeAnswersAndEachRacesAdvisorSpeaks)
{
    std::filesystem::create_directory_symlink(VRAX_GAME_CONTENT "/Sounds", "Sounds");
    ASSERT_TRUE(LoadUnitTypes(VRAX_SOURCE_DIR "/content/Data/units.xml"));
    ASSERT_EQ(UnitTypes.size(), 20u);
    startRecording();
    for (const TUnitAttributes& type : UnitTypes) {
        const std::size_t before = heard->voices.size();
        unitSound(type, true, TSoundKind::Listen);
        later();
        EXPECT_EQ(heard->voices.size(), before + 1) << type.name << " is silent when selected";
    }
    for (int race : {0, 1})
        for (TSoundKind kind : {TSoundKind::Building, TSoundKind::Gold, TSoundKind::Wood, TSoundKind::Under}) {
            advisorSound(kind, race);
            later();
            ASSERT_FALSE(heard->voices.empty());
            EXPECT_NE(heard->voices.back().first.find(race == 0 ? "/Serf/Serf" : "/Drudge/Drudge"), std::string::npos)
                << heard->voices.back().first;
            EXPECT_NE(heard->voices.back().first.find(SoundKindName(kind)), std::string::npos);
        }
    EXPECT_EQ(heard->voices.size(), 28u);
    EXPECT_EQ(logCount("not found for"), 0);
}

// The real mixer with SDL's audio driver chosen for the test.
class Mixer : public Sounds {
protected:
    void useDriver(const char* driver)
    {
        setenv("SDL_AUDIODRIVER", driver, 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);
    }
    void TearDown() override
    {
        Sounds::TearDown();
        unsetenv("SDL_AUDIODRIVER");
    }
    // A two-second chord, written as the game's files are.
    static music::Track tone()
    {
        music::Track track(2 * music::Rate);
        for (std::int64_t i = 0; i < track.frames(); ++i) {
            const double t = static_cast<double>(i) / music::Rate;
            track.left[static_cast<std::size_t>(i)] = static_cast<float>(0.3 * std::sin(2 * M_PI * 440 * t));
            track.right[static_cast<std::size_t>(i)] = static_cast<float>(0.3 * std::sin(2 * M_PI * 660 * t));
        }
        return track;
    }
};

TEST_F(Mixer, WithoutAUsableAudioDeviceTheGameStartsSilentAndSaysWhyOnce)
{
    useDriver("no-such-card");
    const TUnitAttributes& serf = define("Serf", 1, "Serf");
    files("Serf", "ready", 1);
    soundStart(TConfig(dir.path() + "/Vrax.cfg"));
    EXPECT_EQ(Sound.device, nullptr);
    EXPECT_EQ(logCount("Sound is off: no audio device ("), 1);
    unitSound(serf, true, TSoundKind::Ready);
    advisorSound(TSoundKind::Gold, 0);
    soundEnterGame();
    toggleEffectsVolume();
    soundShutdown();
    EXPECT_EQ(logCount("Sound"), 1) << "one line, and nothing more";
}

TEST_F(Mixer, TheDiskDriverPlaysSamplesAndBothTrackFormatsWithTheConfiguredVolumes)
{
    useDriver("disk");
    const music::Track chord = tone();
    std::filesystem::create_directories("Sounds/stream");
    std::filesystem::create_directories("Sounds/Units/Serf");
    ASSERT_TRUE(music::writeMp3(MenuMusicFile, chord));
    ASSERT_TRUE(music::writeOgg(GameMusicFile, chord, "test"));
    ASSERT_TRUE(music::writeWav("Sounds/Units/Serf/Serfready1.wav", chord));
    writeFile("Sounds/Units/Serf/Serfmove1.wav", "RIFF, but no more");
    const TConfig config(dir.path() + "/Vrax.cfg");
    TOptions options;
    options.effectsVolume = 60;
    options.musicVolume = 40;
    ASSERT_TRUE(config.writeOptions(options));

    soundStart(config);
    ASSERT_NE(Sound.device, nullptr) << "SDL's disk driver needs no sound card";
    EXPECT_EQ(Sound.effectsVolume, 60);
    EXPECT_EQ(Sound.musicVolume, 40);
    EXPECT_GE(Sound.music[0], 0);
    EXPECT_GE(Sound.music[1], 0);

    const TUnitAttributes& serf = define("Serf", 1, "Serf");
    unitSound(serf, true, TSoundKind::Ready);
    EXPECT_EQ(Sound.voiceEndTime, 10000 + std::llround(2 * 44100 * 0.022)) << "two seconds of sample";
    later();
    unitSound(serf, true, TSoundKind::Move);
    EXPECT_EQ(logCount("Sound `Sounds\\Units\\Serf\\Serfmove1.wav` cannot be played for `Serf`"), 1);
    soundEnterGame();
    soundShutdown();
    EXPECT_EQ(Sound.device, nullptr);
}

}  // namespace
