#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace music {

namespace {

constexpr double Tau = 2.0 * std::numbers::pi;

std::size_t framesOf(double seconds)
{
    return static_cast<std::size_t>(std::max(0.0, seconds) * Rate);
}

// A repeatable noise source, so every build writes the same music.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    float next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<float>(state_ >> 8) / static_cast<float>(1u << 23) - 1.0f;
    }

private:
    std::uint32_t state_;
};

// Attack, then held at 1, then an exponential release after `seconds`.
float envelope(double t, double attack, double seconds, double release)
{
    if (t < attack)
        return static_cast<float>(t / attack);
    if (t < seconds)
        return 1.0f;
    return static_cast<float>(std::exp(-(t - seconds) / release));
}

// One cycle of a wave, read by phase in cycles with linear interpolation:
// library sines for every sample of every voice cost far too much.
class Wave {
public:
    // Harmonics 1..n, each at 1/k: a soft sawtooth (n = 1 is a sine).
    explicit Wave(int harmonics) : table_(Size + 1)
    {
        for (std::size_t i = 0; i <= Size; ++i) {
            double sum = 0.0;
            for (int k = 1; k <= harmonics; ++k)
                sum += std::sin(Tau * static_cast<double>(i) / Size * k) / k;
            table_[i] = static_cast<float>(harmonics == 1 ? sum : sum * 0.6);
        }
    }

    float operator()(double cycles) const
    {
        cycles -= std::floor(cycles);
        const double at = cycles * Size;
        const std::size_t i = static_cast<std::size_t>(at);
        const float frac = static_cast<float>(at - static_cast<double>(i));
        return table_[i] + (table_[i + 1] - table_[i]) * frac;
    }

private:
    static constexpr std::size_t Size = 4096;
    std::vector<float> table_;
};

const Wave& sine()
{
    static const Wave wave(1);
    return wave;
}

const Wave& softSaw(int harmonics)
{
    static const Wave four(4), six(6), twelve(12);
    return harmonics <= 4 ? four : harmonics <= 6 ? six : twelve;
}

// Phase in cycles, kept in [0, 1) so the tables index without a floor.
void advance(double& cycles, double step)
{
    cycles += step;
    if (cycles >= 1.0)
        cycles -= 1.0;
}

}  // namespace

void Track::mix(std::int64_t start, const std::vector<float>& sound, float gain, float pan)
{
    const float leftGain = gain * std::sqrt(0.5f * (1.0f - pan));
    const float rightGain = gain * std::sqrt(0.5f * (1.0f + pan));
    const std::int64_t n = frames();
    std::int64_t at = ((start % n) + n) % n;
    for (float sample : sound) {
        left[static_cast<std::size_t>(at)] += sample * leftGain;
        right[static_cast<std::size_t>(at)] += sample * rightGain;
        if (++at == n)
            at = 0;
    }
}

double noteFrequency(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Karplus-Strong: a burst of noise circulating in a delay line, softened on each pass.
std::vector<float> pluck(double frequency, double seconds, double brightness, std::uint32_t seed)
{
    const std::size_t period = std::max<std::size_t>(2, static_cast<std::size_t>(Rate / frequency));
    std::vector<float> line(period);
    Noise noise(seed);
    float smooth = 0.0f;
    for (float& s : line) {
        // Low-passed noise makes a rounder, harp-like attack.
        smooth += static_cast<float>(brightness) * (noise.next() - smooth);
        s = smooth;
    }
    std::vector<float> out(framesOf(seconds + 0.6));
    const std::size_t damp = framesOf(seconds);
    std::size_t i = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const std::size_t next = i + 1 == period ? 0 : i + 1;
        const float decay = n < damp ? 0.4985f : 0.47f;  // a released string is damped
        const float value = line[i];
        line[i] = decay * (line[i] + line[next]);
        // Two milliseconds of attack: a string struck from silence, not a step.
        out[n] = value * static_cast<float>(std::min<std::size_t>(n, 88)) / 88.0f;
        i = next;
    }
    return out;
}

// Three detuned soft saws through a gentle low-pass: a string section.
std::vector<float> pad(double frequency, double seconds)
{
    const double release = 0.5;
    std::vector<float> out(framesOf(seconds + release * 6));
    const Wave& saw = softSaw(6);
    const double detune[3] = {0.997, 1.0, 1.004};
    double phase[3] = {0.0, 0.3, 0.6};
    float low = 0.0f;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = static_cast<double>(n) / Rate;
        float sum = 0.0f;
        for (int v = 0; v < 3; ++v) {
            advance(phase[v], frequency * detune[v] / Rate);
            sum += saw(phase[v]);
        }
        low += 0.08f * (sum / 3.0f - low);
        out[n] = low * envelope(t, 0.6, seconds, release);
    }
    return out;
}

// A sine with a touch of its octave, a slow vibrato and breath.
std::vector<float> flute(double frequency, double seconds)
{
    const double release = 0.12;
    std::vector<float> out(framesOf(seconds + release * 5));
    Noise noise(static_cast<std::uint32_t>(frequency * 10));
    const Wave& wave = sine();
    double phase = 0.0;
    float breath = 0.0f;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = static_cast<double>(n) / Rate;
        const double vibrato = 1.0 + 0.004 * wave(5.0 * t) * std::min(1.0, t / 0.4);
        advance(phase, frequency * vibrato / Rate);
        breath += 0.05f * (noise.next() - breath);
        const double tone = wave(phase) + 0.18 * wave(2.0 * phase) + 0.05 * wave(3.0 * phase);
        out[n] = static_cast<float>(tone * 0.8 + breath * 0.6) * envelope(t, 0.06, seconds, release);
    }
    return out;
}

// A bright saw whose filter opens at the attack and closes as it is held.
std::vector<float> brass(double frequency, double seconds)
{
    const double release = 0.1;
    std::vector<float> out(framesOf(seconds + release * 5));
    const Wave& saw = softSaw(12);
    double phase = 0.0;
    float low = 0.0f;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = static_cast<double>(n) / Rate;
        advance(phase, frequency * (1.0 + 0.003 * sine()(6.0 * t)) / Rate);
        const float cutoff = static_cast<float>(0.05 + 0.25 * std::exp(-t / 0.25));
        low += cutoff * (saw(phase) - low);
        out[n] = low * envelope(t, 0.03, seconds, release);
    }
    return out;
}

// A round sine with a little grit, plucked: it decays while held.
std::vector<float> bass(double frequency, double seconds)
{
    const double release = 0.06;
    std::vector<float> out(framesOf(seconds + release * 6));
    const Wave& wave = sine();
    double phase = 0.0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = static_cast<double>(n) / Rate;
        advance(phase, frequency / Rate);
        const double tone = wave(phase) + 0.25 * wave(2.0 * phase) + 0.1 * softSaw(4)(phase);
        out[n] = static_cast<float>(tone * std::exp(-t / 1.2)) * envelope(t, 0.008, seconds, release);
    }
    return out;
}

// A sine that drops in pitch: a big drum.
std::vector<float> kick()
{
    std::vector<float> out(framesOf(0.45));
    double phase = 0.0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = static_cast<double>(n) / Rate;
        phase += Tau * (45.0 + 90.0 * std::exp(-t / 0.04)) / Rate;
        out[n] = static_cast<float>(std::sin(phase) * std::exp(-t / 0.12) * std::min(1.0, t / 0.002));
    }
    return out;
}

// A short tone with a slap of noise: a hand drum.
std::vector<float> handDrum(std::uint32_t seed)
{
    std::vector<float> out(framesOf(0.3));
    Noise noise(seed);
    double phase = 0.0;
    float band = 0.0f;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = static_cast<double>(n) / Rate;
        phase += Tau * (190.0 + 40.0 * std::exp(-t / 0.02)) / Rate;
        const float white = noise.next();
        band += 0.3f * (white - band);
        out[n] = static_cast<float>((0.7 * std::sin(phase) * std::exp(-t / 0.08) +
                                     0.6 * (white - band) * std::exp(-t / 0.035)) *
                                    std::min(1.0, t / 0.001));
    }
    return out;
}

// High-passed noise, very short.
std::vector<float> hat(std::uint32_t seed)
{
    std::vector<float> out(framesOf(0.08));
    Noise noise(seed);
    float low = 0.0f;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = static_cast<double>(n) / Rate;
        const float white = noise.next();
        low += 0.5f * (white - low);
        out[n] = (white - low) * static_cast<float>(std::exp(-t / 0.018) * std::min(1.0, t / 0.001));
    }
    return out;
}

namespace {

// Schroeder's hall: four feedback combs in parallel, then two all-passes.
class Hall {
public:
    explicit Hall(int spread)
    {
        const int combs[4] = {1557, 1617, 1491, 1422};
        const int passes[2] = {556, 441};
        for (int i = 0; i < 4; ++i)
            comb_[i].assign(static_cast<std::size_t>(combs[i] + spread), 0.0f);
        for (int i = 0; i < 2; ++i)
            pass_[i].assign(static_cast<std::size_t>(passes[i] + spread), 0.0f);
    }

    float process(float in)
    {
        float sum = 0.0f;
        for (int i = 0; i < 4; ++i) {
            std::vector<float>& line = comb_[i];
            std::size_t& at = combAt_[i];
            const float out = line[at];
            damp_[i] = out * 0.75f + damp_[i] * 0.25f;
            line[at] = in + damp_[i] * 0.82f;
            if (++at == line.size())
                at = 0;
            sum += out;
        }
        float value = sum * 0.25f;
        for (int i = 0; i < 2; ++i) {
            std::vector<float>& line = pass_[i];
            std::size_t& at = passAt_[i];
            const float delayed = line[at];
            line[at] = value + delayed * 0.5f;
            value = delayed - value * 0.5f;
            if (++at == line.size())
                at = 0;
        }
        return value;
    }

private:
    std::vector<float> comb_[4];
    std::vector<float> pass_[2];
    std::size_t combAt_[4] = {};
    std::size_t passAt_[2] = {};
    float damp_[4] = {};
};

}  // namespace

void reverb(Track& track, float wet)
{
    // The hall runs over the loop twice and only the second pass is kept: by
    // then it carries the end's tail into the beginning, as a loop played
    // for ever would.
    Hall left(0);
    Hall right(23);
    const std::size_t n = track.left.size();
    std::vector<float> outLeft(n);
    std::vector<float> outRight(n);
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < n; ++i) {
            outLeft[i] = left.process(track.left[i]);
            outRight[i] = right.process(track.right[i]);
        }
    for (std::size_t i = 0; i < n; ++i) {
        track.left[i] += wet * outLeft[i];
        track.right[i] += wet * outRight[i];
    }
}

void normalise(Track& track, float peak)
{
    float loudest = 0.0f;
    for (std::size_t i = 0; i < track.left.size(); ++i)
        loudest = std::max({loudest, std::abs(track.left[i]), std::abs(track.right[i])});
    if (loudest <= 0.0f)
        return;
    const float scale = peak / loudest;
    for (std::size_t i = 0; i < track.left.size(); ++i) {
        track.left[i] *= scale;
        track.right[i] *= scale;
    }
}

}  // namespace music
