// A calm loop in A minor at 75 beats per minute: eight bars of
// Am(add9) - Fmaj7 - C(add9) - G6 - Dm7 - Am7 - Fmaj7 - Esus4/E, played as
// plucked sixteenth-note arpeggios over a soft pad and a bass, with a bell-like
// melody on top and an echo. Every voice is rendered into a circular buffer of
// exactly eight bars, so whatever sounds past the end wraps to the beginning.
#include "music.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <sndfile.h>
#include <vector>

namespace assetgen {
namespace {

constexpr int kSampleRate = 44100;
constexpr int kSixteenth = kSampleRate / 5;  // 0.2 s: 75 beats per minute
constexpr int kBar = 16 * kSixteenth;
constexpr int kBars = 8;
constexpr int kLoopLength = kBars * kBar;
constexpr double kTwoPi = 6.283185307179586;

double midiToHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// MIDI note names used below.
enum : int { E2 = 40, F2 = 41, G2 = 43, A2 = 45, C3 = 48, D3 = 50 };

struct Chord {
    int bass;          // MIDI note of the bass
    int tones[5];      // arpeggio notes, low to high
    int pad[3];        // sustained pad notes
};

// One chord per bar; the last bar turns from Esus4 to E halfway.
const Chord kChords[kBars + 1] = {
    {A2, {57, 64, 69, 71, 72}, {57, 60, 64}},  // Am(add9)
    {F2, {53, 60, 64, 65, 69}, {57, 60, 64}},  // Fmaj7
    {C3, {48, 55, 62, 64, 67}, {55, 60, 64}},  // C(add9)
    {G2, {55, 62, 64, 67, 71}, {55, 59, 62}},  // G6
    {D3, {50, 57, 60, 65, 69}, {57, 60, 65}},  // Dm7
    {A2, {57, 64, 67, 69, 72}, {55, 60, 64}},  // Am7
    {F2, {53, 60, 64, 65, 69}, {57, 60, 64}},  // Fmaj7
    {E2, {52, 59, 64, 69, 71}, {57, 59, 64}},  // Esus4
    {E2, {52, 59, 64, 68, 71}, {56, 59, 64}},  // E (second half of bar 8)
};

// Sixteenth-note order of the five chord tones through one bar.
const int kArpeggio[16] = {0, 1, 2, 3, 4, 3, 2, 1, 0, 2, 3, 4, 3, 4, 2, 1};

struct MelodyNote {
    int note;      // MIDI
    int start;     // in sixteenths from the loop start
    int length;    // in sixteenths
};

const MelodyNote kMelody[] = {
    {76, 0, 8},   {74, 8, 4},   {72, 12, 4},                 // bar 1
    {72, 16, 8},  {69, 24, 8},                                // bar 2
    {67, 32, 4},  {72, 36, 4},  {76, 40, 8},                  // bar 3
    {74, 48, 12}, {71, 60, 4},                                // bar 4
    {69, 64, 8},  {72, 72, 4},  {74, 76, 4},                  // bar 5
    {76, 80, 8},  {79, 88, 4},  {76, 92, 4},                  // bar 6
    {77, 96, 8},  {76, 104, 4}, {72, 108, 4},                 // bar 7
    {71, 112, 8}, {68, 120, 8},                               // bar 8
};

// Adds `value` at sample `index` of the loop, wrapping past the end.
void addLooped(std::vector<float>& loop, long index, float value) {
    loop[static_cast<size_t>(((index % kLoopLength) + kLoopLength) % kLoopLength)] += value;
}

// Plucked tone: harmonics that die away faster the higher they are.
void pluck(std::vector<float>& loop, int start, int note, float gain) {
    const double f = midiToHz(note);
    const int length = static_cast<int>(1.6 * kSampleRate);
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double attack = std::min(1.0, t / 0.006);
        double s = 0.0;
        for (int h = 1; h <= 9; ++h) {
            const double decay = std::exp(-t * (2.2 + 1.8 * h));
            s += std::sin(kTwoPi * f * h * t) * decay / std::pow(static_cast<double>(h), 1.3);
        }
        addLooped(loop, start + i, static_cast<float>(gain * attack * s));
    }
}

// Soft pad: two slightly detuned voices, slow swell in and out.
void padNote(std::vector<float>& loop, int start, int length, int note, float gain) {
    const double f = midiToHz(note);
    const int release = static_cast<int>(1.2 * kSampleRate);
    for (int i = 0; i < length + release; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double swellIn = std::min(1.0, t / 0.9);
        const double fadeOut = i < length ? 1.0 : std::exp(-3.5 * (i - length) / static_cast<double>(kSampleRate));
        double s = 0.0;
        for (double detune : {0.9985, 1.0015}) {
            const double ph = kTwoPi * f * detune * t;
            s += std::sin(ph) + 0.25 * std::sin(2 * ph) + 0.08 * std::sin(3 * ph);
        }
        addLooped(loop, start + i, static_cast<float>(gain * swellIn * fadeOut * s));
    }
}

// Round bass: fundamental with a little second harmonic and a gentle decay.
void bassNote(std::vector<float>& loop, int start, int length, int note, float gain) {
    const double f = midiToHz(note);
    const int tail = static_cast<int>(0.25 * kSampleRate);
    for (int i = 0; i < length + tail; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double attack = std::min(1.0, t / 0.02);
        const double body = std::exp(-0.7 * t);
        const double release = i < length ? 1.0 : 1.0 - static_cast<double>(i - length) / tail;
        const double ph = kTwoPi * f * t;
        const double s = std::sin(ph) + 0.3 * std::sin(2 * ph) + 0.05 * std::sin(3 * ph);
        addLooped(loop, start + i, static_cast<float>(gain * attack * body * release * s));
    }
}

// Bell-like melody voice with a gentle vibrato.
void bellNote(std::vector<float>& loop, int start, int length, int note, float gain) {
    const double f = midiToHz(note);
    const int total = length + static_cast<int>(1.5 * kSampleRate);
    for (int i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double attack = std::min(1.0, t / 0.015);
        const double held = i < length ? 1.0 : std::exp(-3.0 * (i - length) / static_cast<double>(kSampleRate));
        // Frequency f * (1 + 0.003 sin(2 pi 5 t)), integrated into the phase.
        const double vibrato = -(f * 0.003 / 5.0) * std::cos(kTwoPi * 5.0 * t);
        const double ph = kTwoPi * f * t + vibrato;
        const double s = std::sin(ph) * std::exp(-0.6 * t) + 0.35 * std::sin(2.0 * ph) * std::exp(-2.0 * t) +
                         0.12 * std::sin(3.01 * ph) * std::exp(-4.0 * t);
        addLooped(loop, start + i, static_cast<float>(gain * attack * held * s));
    }
}

// Feedback echo applied around the loop: two laps let the echoes of the end
// settle into the start, the second lap is kept.
std::vector<float> echo(const std::vector<float>& dry, int delay, float feedback, float wet) {
    std::vector<float> line(dry.size(), 0.0f);
    for (int lap = 0; lap < 2; ++lap)
        for (size_t i = 0; i < dry.size(); ++i) {
            const size_t from = (i + dry.size() - delay) % dry.size();
            line[i] = dry[from] + feedback * line[from];
        }
    std::vector<float> out(dry.size());
    for (size_t i = 0; i < dry.size(); ++i) out[i] = dry[i] + wet * line[i];
    return out;
}

}  // namespace

bool writeMonoWav(const std::string& path, const std::vector<int16_t>& samples) {
    SF_INFO format{};
    format.samplerate = kSampleRate;
    format.channels = 1;
    format.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &format);
    if (!file) return false;
    const auto frames = static_cast<sf_count_t>(samples.size());
    const bool written = sf_writef_short(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

bool writeMusic(const std::string& path) {
    std::vector<float> arp(kLoopLength, 0.0f), rest(kLoopLength, 0.0f);
    for (int bar = 0; bar < kBars; ++bar) {
        const int barStart = bar * kBar;
        for (int step = 0; step < 16; ++step) {
            const Chord& chord = kChords[bar == kBars - 1 && step >= 8 ? kBars : bar];
            const float accent = step % 4 == 0 ? 1.0f : 0.75f;
            pluck(arp, barStart + step * kSixteenth, chord.tones[kArpeggio[step]], 0.16f * accent);
        }
        for (int half = 0; half < 2; ++half) {
            const Chord& chord = kChords[bar == kBars - 1 && half == 1 ? kBars : bar];
            const int start = barStart + half * 8 * kSixteenth;
            bassNote(rest, start, 8 * kSixteenth - kSixteenth / 2, chord.bass, half == 0 ? 0.30f : 0.22f);
            for (int note : chord.pad) padNote(rest, start, 8 * kSixteenth, note, 0.035f);
        }
    }
    for (const MelodyNote& m : kMelody)
        bellNote(rest, m.start * kSixteenth, m.length * kSixteenth, m.note, 0.11f);

    // Dotted-eighth echo on the arpeggio only; the rest stays dry and clear.
    const std::vector<float> wetArp = echo(arp, 3 * kSixteenth, 0.35f, 0.35f);
    std::vector<float> mixed(kLoopLength);
    float peak = 0.0f;
    for (int i = 0; i < kLoopLength; ++i) {
        mixed[i] = wetArp[i] + rest[i];
        peak = std::max(peak, std::fabs(mixed[i]));
    }
    const float gain = 0.7f / peak;  // about -3 dB at the loudest moment
    std::vector<int16_t> samples(kLoopLength);
    for (int i = 0; i < kLoopLength; ++i)
        samples[i] = static_cast<int16_t>(std::lround(mixed[i] * gain * 32767.0f));
    if (!writeMonoWav(path, samples)) {
        std::fprintf(stderr, "kivo_assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace assetgen
