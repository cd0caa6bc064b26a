#include "Themes.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace music {

namespace {

struct Chord {
    int root;    // MIDI note of the bass, octave 2
    bool minor;
};

// "Dm", "Bb", "C#m": the chord whose bass is that note in octave 2.
Chord chordNamed(const std::string& name)
{
    static const int steps[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    int note = steps[name[0] - 'A'];
    std::size_t i = 1;
    if (i < name.size() && (name[i] == 'b' || name[i] == '#'))
        note += name[i++] == '#' ? 1 : -1;
    return {36 + (note + 12) % 12, i < name.size() && name[i] == 'm'};
}

struct Note {
    double beat;    // from the start of the piece
    double length;  // beats
    int midi;       // -1: rest
};

// "A4:1.5 C5:.5 r:1 ...": a line of notes one after another, from `beat`.
std::vector<Note> melody(const std::string& text, double beat = 0.0)
{
    static const int steps[7] = {9, 11, 0, 2, 4, 5, 7};
    std::vector<Note> notes;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        const std::size_t colon = word.find(':');
        const double length = std::atof(word.c_str() + colon + 1);
        int midi = -1;
        if (word[0] != 'r') {
            std::size_t i = 1;
            int note = steps[word[0] - 'A'];
            if (word[i] == 'b' || word[i] == '#')
                note += word[i++] == '#' ? 1 : -1;
            midi = 12 * (std::atoi(word.c_str() + i) + 1) + note;
        }
        notes.push_back({beat, length, midi});
        beat += length;
    }
    return notes;
}

class Score {
public:
    Score(double beatsPerMinute, int bars) : beat_(60.0 / beatsPerMinute), track_(frameAt(bars * 4.0)) {}

    double seconds(double beats) const { return beats * beat_; }
    std::int64_t frameAt(double beats) const { return static_cast<std::int64_t>(seconds(beats) * Rate + 0.5); }

    void place(double beat, const std::vector<float>& sound, float gain, float pan)
    {
        track_.mix(frameAt(beat), sound, gain, pan);
    }

    Track take() { return std::move(track_); }

private:
    double beat_;
    Track track_;
};

int third(const Chord& c) { return c.minor ? 3 : 4; }

using Instrument = std::vector<float> (*)(double frequency, double seconds);

// A melody on one instrument, each note slightly detached.
void playLine(Score& score, const std::vector<Note>& notes, Instrument instrument, int transpose, float gain)
{
    for (const Note& note : notes)
        if (note.midi >= 0)
            score.place(note.beat, instrument(noteFrequency(note.midi + transpose), score.seconds(note.length) * 0.92),
                        gain, -0.1f);
}

}  // namespace

Track menuTheme()
{
    const char* const bars[16] = {"Dm", "Bb", "F", "C", "Dm", "Gm", "Bb", "A",
                                  "Dm", "Bb", "F", "C", "Gm", "Bb", "Gm", "A"};
    Score score(60.0, 16);
    std::uint32_t seed = 1;
    for (int bar = 0; bar < 16; ++bar) {
        const Chord chord = chordNamed(bars[bar]);
        const double start = bar * 4.0;
        // Strings hold the chord around middle C.
        for (int tone : {12, 12 + third(chord), 19})
            score.place(start, pad(noteFrequency(chord.root + tone + 12), score.seconds(4.0)), 0.07f, 0.0f);
        // A soft bass on the first and third beats.
        score.place(start, bass(noteFrequency(chord.root + 12), score.seconds(1.8)), 0.22f, 0.0f);
        score.place(start + 2, bass(noteFrequency(chord.root + 12), score.seconds(1.8)), 0.16f, 0.0f);
        // The harp rises and falls through the chord in eighths.
        const int arpeggio[8] = {12, 19, 24, 24 + third(chord), 31, 24 + third(chord), 24, 19};
        for (int step = 0; step < 8; ++step) {
            const double at = start + step * 0.5;
            score.place(at, pluck(noteFrequency(chord.root + arpeggio[step]), score.seconds(1.0), 0.5, seed++),
                        0.32f, step % 2 ? 0.35f : -0.35f);
        }
    }
    const std::string tune =
        "A4:2 D5:1 E5:1 F5:3 D5:1 C5:2 A4:1 C5:1 E5:3 r:1 "
        "D5:1 E5:1 F5:1 A5:1 G5:2 F5:1 D5:1 F5:2 D5:1 Bb4:1 C#5:3 r:1 "
        "A5:2 G5:1 F5:1 D5:3 F5:1 C5:2 A4:1 C5:1 G5:2 E5:2 "
        "D5:1 Bb4:1 G4:1 Bb4:1 D5:2 F5:2 G5:2 F5:1 E5:1 C#5:2 E5:1 A4:1";
    playLine(score, melody(tune), flute, 0, 0.16f);
    Track track = score.take();
    reverb(track, 0.35f);
    normalise(track, 0.7f);
    return track;
}

Track gameTheme()
{
    const char* const phraseA[8] = {"Am", "F", "C", "G", "Am", "F", "G", "E"};
    const char* const phraseC[8] = {"Dm", "Am", "F", "E", "Dm", "Am", "F", "E"};
    const char* const* phrases[4] = {phraseA, phraseA, phraseC, phraseA};
    Score score(120.0, 32);
    std::uint32_t seed = 7;
    for (int bar = 0; bar < 32; ++bar) {
        const Chord chord = chordNamed(phrases[bar / 8][bar % 8]);
        const double start = bar * 4.0;
        for (int tone : {12, 12 + third(chord), 19})
            score.place(start, pad(noteFrequency(chord.root + tone + 12), score.seconds(3.8)), 0.05f, 0.0f);
        // Driving bass in eighths, jumping to the octave on the off-beats.
        for (int step = 0; step < 8; ++step)
            score.place(start + step * 0.5,
                        bass(noteFrequency(chord.root + (step % 2 ? 12 : 0)), score.seconds(0.4)), 0.2f, 0.0f);
        // Drums: big drum on one and three (and the last eighth), hand drum on two and four, hats in eighths.
        for (double beat : {0.0, 2.0, 3.5})
            score.place(start + beat, kick(), 0.55f, 0.0f);
        for (double beat : {1.0, 3.0})
            score.place(start + beat, handDrum(seed++), 0.35f, 0.1f);
        for (int step = 0; step < 8; ++step)
            score.place(start + step * 0.5, hat(seed++), step % 2 ? 0.12f : 0.07f, -0.3f);
        // From the second phrase on, a lute picks the chord in sixteenths.
        if (bar >= 8) {
            const int pattern[4] = {24, 24 + third(chord), 31, 24 + third(chord)};
            for (int step = 0; step < 16; ++step)
                score.place(start + step * 0.25,
                            pluck(noteFrequency(chord.root + pattern[step % 4]), score.seconds(0.2), 0.7, seed++),
                            0.12f, 0.4f);
        }
    }
    const std::string tuneA =
        "A4:1.5 C5:.5 E5:1 A5:1 G5:1 F5:1 E5:1 C5:1 E5:1.5 D5:.5 C5:1 G4:1 B4:2 D5:2 "
        "A4:1.5 C5:.5 E5:1 A5:1 C6:1 A5:1 F5:1 A5:1 G5:1.5 F5:.5 D5:1 B4:1 E5:3 G#4:1";
    const std::string tuneC =
        "D5:1 F5:1 A5:2 E5:1 C5:1 A4:2 F5:1 A5:1 C6:1 A5:1 G#5:2 B5:1 G#5:1 "
        "A5:1.5 G5:.5 F5:1 D5:1 E5:1.5 D5:.5 C5:1 A4:1 C5:1 D5:1 E5:1 F5:1 E5:2 B4:1 G#4:1";
    // The horn leads; the flute takes the second phrase an octave up.
    playLine(score, melody(tuneA, 0.0), brass, 0, 0.18f);
    playLine(score, melody(tuneA, 32.0), flute, 12, 0.13f);
    playLine(score, melody(tuneC, 64.0), brass, 0, 0.18f);
    playLine(score, melody(tuneA, 96.0), brass, 0, 0.18f);
    Track track = score.take();
    reverb(track, 0.2f);
    normalise(track, 0.8f);
    return track;
}

}  // namespace music
