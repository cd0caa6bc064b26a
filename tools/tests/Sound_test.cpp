// The generated sound as the game will hear it: the music is not silence and
// loops without a click, in the synthesiser's own output and in the encoded
// files the build wrote; every voice the script lists exists as a 44100 Hz
// WAV with something in it, every unit has its set, and the voices differ the
// way the races and ranks should.
#include "Synth.h"
#include "TestSupport.h"
#include "Themes.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

const std::string Game = VRAX_GAME_CONTENT "/";

double rms(const std::vector<float>& x, std::size_t from = 0, std::size_t count = SIZE_MAX)
{
    const std::size_t end = std::min(x.size(), from + std::min(count, x.size()));
    double sum = 0.0;
    for (std::size_t i = from; i < end; ++i)
        sum += double(x[i]) * x[i];
    return end > from ? std::sqrt(sum / double(end - from)) : 0.0;
}

// How far the wave jumps between neighbouring samples, typically.
double stepRms(const std::vector<float>& x)
{
    double sum = 0.0;
    for (std::size_t i = 1; i < x.size(); ++i)
        sum += double(x[i] - x[i - 1]) * (x[i] - x[i - 1]);
    return std::sqrt(sum / double(x.size() - 1));
}

// The loop's seam (last sample to first) is an ordinary step of the wave,
// and no second of it is silent.
void expectLoopable(const std::vector<float>& x, const std::string& what)
{
    ASSERT_GT(x.size(), 44100u * 50) << what;
    EXPECT_GT(rms(x), 0.05) << what;
    for (std::size_t second = 0; second + 44100 <= x.size(); second += 44100)
        EXPECT_GT(rms(x, second, 44100), 0.01) << what << " is silent at " << second / 44100 << " s";
    const double seam = std::abs(x.back() - x.front());
    EXPECT_LT(seam, 4.0 * stepRms(x) + 0.002) << what << ": a click where the loop starts again";
}

void expectAThemeThatLoops(const music::Track& track, const std::string& name)
{
    EXPECT_EQ(track.frames(), 64 * music::Rate) << name;
    float peak = 0.0f;
    for (std::size_t i = 0; i < track.left.size(); ++i)
        peak = std::max({peak, std::abs(track.left[i]), std::abs(track.right[i])});
    EXPECT_LE(peak, 0.81f) << name << " leaves no room before clipping";
    expectLoopable(track.left, name + " left");
    expectLoopable(track.right, name + " right");
}

TEST(Music, TheSynthesisersMenuThemeSoundsThroughoutAndJoinsEndToStart)
{
    expectAThemeThatLoops(music::menuTheme(), "menu");
}

TEST(Music, TheSynthesisersGameThemeSoundsThroughoutAndJoinsEndToStart)
{
    expectAThemeThatLoops(music::gameTheme(), "game");
}

TEST(Music, TheEncodedGameThemeDecodesWholeAndJoinsEndToStart)
{
    OggVorbis_File file;
    ASSERT_EQ(ov_fopen((Game + "Sounds/stream/GameTheme.ogg").c_str(), &file), 0);
    const vorbis_info* info = ov_info(&file, -1);
    EXPECT_EQ(info->rate, 44100);
    ASSERT_EQ(info->channels, 2);
    std::vector<float> left, right;
    int section = 0;
    float** pcm = nullptr;
    long got = 0;
    while ((got = ov_read_float(&file, &pcm, 4096, &section)) > 0) {
        left.insert(left.end(), pcm[0], pcm[0] + got);
        right.insert(right.end(), pcm[1], pcm[1] + got);
    }
    ov_clear(&file);
    // Vorbis keeps the exact length, so the decoded loop is the composed one.
    EXPECT_EQ(left.size(), 64u * 44100u);
    expectLoopable(left, "decoded game theme, left");
    expectLoopable(right, "decoded game theme, right");
}

TEST(Music, TheMenuThemeIsAnMp3WithItsGaplessTag)
{
    std::ifstream in(Game + "Sounds/stream/MenuTheme.mp3", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(bytes.size(), 200000u);
    EXPECT_EQ(std::uint8_t(bytes[0]), 0xff);  // a frame header, no ID3 block
    EXPECT_EQ(std::uint8_t(bytes[1]) & 0xe0, 0xe0);
    // The Info/Xing frame carries the encoder delay and padding for players that skip them.
    const std::string head = bytes.substr(0, 400);
    EXPECT_TRUE(head.find("Xing") != std::string::npos || head.find("Info") != std::string::npos);
    EXPECT_NE(head.find("LAME"), std::string::npos);
}

struct Wav {
    int rate = 0;
    int channels = 0;
    int bits = 0;
    std::vector<float> samples;
};

Wav readWav(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto u32 = [&](std::size_t at) {
        return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
               std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
    };
    auto u16 = [&](std::size_t at) { return int(std::uint8_t(b[at])) | int(std::uint8_t(b[at + 1])) << 8; };
    Wav wav;
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0)
        return wav;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        const std::size_t size = u32(at + 4);
        if (id == "fmt ") {
            wav.channels = u16(at + 10);
            wav.rate = int(u32(at + 12));
            wav.bits = u16(at + 22);
        } else if (id == "data" && wav.bits == 16) {
            std::vector<std::int16_t> pcm(std::min(size, b.size() - at - 8) / 2);
            std::memcpy(pcm.data(), b.data() + at + 8, pcm.size() * 2);  // little-endian, like the machine
            for (std::int16_t sample : pcm)
                wav.samples.push_back(float(sample) / 32768.0f);
        }
        at += 8 + size + (size & 1);
    }
    return wav;
}

// The median pitch of the voiced 40 ms frames, by autocorrelation between
// 50 and 400 Hz, on the voice taken down to 11025 Hz (plenty for a pitch).
double medianPitch(const std::vector<float>& voice)
{
    std::vector<float> x;
    for (std::size_t i = 0; i + 4 <= voice.size(); i += 4)
        x.push_back((voice[i] + voice[i + 1] + voice[i + 2] + voice[i + 3]) / 4.0f);
    const std::size_t frame = 441, shortestLag = 27, longestLag = 220;
    std::vector<double> pitches;
    for (std::size_t at = 0; at + frame + longestLag < x.size(); at += frame) {
        if (rms(x, at, frame) < 0.05)
            continue;
        double bestScore = 0.0;
        std::size_t bestLag = 0;
        for (std::size_t lag = shortestLag; lag <= longestLag; ++lag) {
            double dot = 0.0, e1 = 0.0, e2 = 0.0;
            for (std::size_t i = 0; i < frame; ++i) {
                dot += double(x[at + i]) * x[at + i + lag];
                e1 += double(x[at + i]) * x[at + i];
                e2 += double(x[at + i + lag]) * x[at + i + lag];
            }
            const double score = dot / std::sqrt(e1 * e2 + 1e-12);
            if (score > bestScore) {
                bestScore = score;
                bestLag = lag;
            }
        }
        if (bestScore > 0.6)
            pitches.push_back(11025.0 / double(bestLag));
    }
    if (pitches.empty())
        return 0.0;
    std::nth_element(pitches.begin(), pitches.begin() + long(pitches.size() / 2), pitches.end());
    return pitches[pitches.size() / 2];
}

class Voices : public ::testing::Test {
protected:
    static std::vector<std::string> listed()
    {
        std::stringstream in(testing_support::capture("bash '" VRAX_SOURCE_DIR "/tools/voices/make-voices.sh' list"));
        std::vector<std::string> files;
        for (std::string line; std::getline(in, line);)
            files.push_back(line);
        return files;
    }
};

TEST_F(Voices, EveryListedFileIsASpokenWavAt44100HzAndNothingElseIsThere)
{
    const std::vector<std::string> files = listed();
    ASSERT_GT(files.size(), 150u);
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Game + "Sounds/Units"))
        if (entry.is_regular_file())
            present.insert(std::filesystem::relative(entry.path(), Game).string());
    EXPECT_EQ(present, std::set<std::string>(files.begin(), files.end()));
    for (const std::string& file : files) {
        const Wav wav = readWav(Game + file);
        EXPECT_EQ(wav.rate, 44100) << file;
        EXPECT_EQ(wav.channels, 1) << file;
        EXPECT_GT(wav.samples.size(), 44100u / 5) << file;
        EXPECT_GT(rms(wav.samples), 0.03) << file;
    }
}

TEST_F(Voices, EachUnitHasItsSetAndTheWorkersCarryTheAdvisor)
{
    std::map<std::string, std::set<std::string>> kinds;  // unit -> kinds with a file 1
    for (const std::string& file : listed()) {
        const std::string unit = file.substr(13, file.find('/', 13) - 13);
        const std::string name = std::filesystem::path(file).stem().string().substr(unit.size());
        if (name.back() == '1')
            kinds[unit].insert(name.substr(0, name.size() - 1));
    }
    const std::set<std::string> people = {"attack", "death", "listen", "move", "ok", "ready"};
    const std::set<std::string> advisor = {"building", "gold", "under", "wood"};
    for (const char* unit : {"Serf", "Spearman", "Bowman", "Warden", "Acolyte", "Drudge", "Raider", "Slinger",
                             "Warlord", "Shaman"})
        for (const std::string& kind : people)
            EXPECT_TRUE(kinds[unit].count(kind)) << unit << " has no " << kind;
    for (const char* unit : {"Keep", "Barracks", "MineShaft", "Forge", "Chapel", "GreatHall", "WarCamp", "Burrow",
                             "Totem"})
        for (const char* kind : {"ready", "listen", "death"})
            EXPECT_TRUE(kinds[unit].count(kind)) << unit << " has no " << kind;
    EXPECT_TRUE(kinds["StandingStone"].count("listen"));
    for (const char* worker : {"Serf", "Drudge"})
        for (const std::string& kind : advisor)
            EXPECT_TRUE(kinds[worker].count(kind)) << worker << " has no advisor line " << kind;
    EXPECT_EQ(kinds.size(), 20u);
}

TEST_F(Voices, TheClansSpeakLowerThanTheKingdomAndHeroesLowestOfAll)
{
    auto pitch = [](const std::string& unit) {
        std::vector<float> all;
        for (const char* kind : {"ready", "listen"})
            for (int n = 1; n <= 3; ++n) {
                const std::string path = Game + "Sounds/Units/" + unit + "/" + unit + kind + std::to_string(n) + ".wav";
                if (std::filesystem::exists(path)) {
                    const Wav wav = readWav(path);
                    all.insert(all.end(), wav.samples.begin(), wav.samples.end());
                }
            }
        return medianPitch(all);
    };
    std::map<std::string, double> hz;
    for (const char* unit : {"Serf", "Spearman", "Bowman", "Warden", "Acolyte", "Drudge", "Raider", "Slinger",
                             "Warlord", "Shaman"})
        hz[unit] = pitch(unit);
    for (auto [kingdom, clan] : {std::pair{"Serf", "Drudge"}, {"Spearman", "Raider"}, {"Bowman", "Slinger"},
                                 {"Warden", "Warlord"}, {"Acolyte", "Shaman"}})
        EXPECT_LT(hz[clan], hz[kingdom] * 0.9) << clan << " " << hz[clan] << " Hz, " << kingdom << " " << hz[kingdom];
    for (const char* soldier : {"Spearman", "Bowman"})
        EXPECT_LT(hz["Warden"], hz[soldier]) << "Warden " << hz["Warden"] << " Hz, " << soldier << " " << hz[soldier];
    for (const char* soldier : {"Raider", "Slinger"})
        EXPECT_LT(hz["Warlord"], hz[soldier]) << "Warlord " << hz["Warlord"] << " Hz, " << soldier << " "
                                              << hz[soldier];
}

}  // namespace
