// Short, distinct sounds that sit over the calm music: a bright chime for a
// coin, a dull thud with a rattle for a hit, a rising arpeggio at the finish
// and a fuller fanfare for a new best. Each starts at once (a few
// milliseconds of attack) and dies away on its own; noise comes from a fixed
// seed, so the files are the same on every run.
#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "music.h"

namespace assetgen {
namespace {

constexpr int kSampleRate = 44100;
constexpr double kTwoPi = 6.283185307179586;

double midiToHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// A bell-like tone starting at `start` seconds: a few inharmonic partials,
// the higher ones dying faster, faded out over its last 50 ms so it ends
// without a click.
void bell(std::vector<float>& out, double start, int note, double seconds, float gain) {
    const double f = midiToHz(note);
    const int from = static_cast<int>(start * kSampleRate);
    const int length = static_cast<int>(seconds * kSampleRate);
    for (int i = 0; i < length && from + i < int(out.size()); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double attack = std::min(1.0, t / 0.004) * std::min(1.0, (length - i) / (0.05 * kSampleRate));
        const double s = std::sin(kTwoPi * f * t) * std::exp(-5.0 * t) +
                         0.5 * std::sin(kTwoPi * f * 2.76 * t) * std::exp(-11.0 * t) +
                         0.25 * std::sin(kTwoPi * f * 5.4 * t) * std::exp(-20.0 * t);
        out[from + i] += static_cast<float>(gain * attack * s);
    }
}

// A brassy note: odd and even harmonics under a swell and a slow fade.
void horn(std::vector<float>& out, double start, int note, double seconds, float gain) {
    const double f = midiToHz(note);
    const int from = static_cast<int>(start * kSampleRate);
    const int length = static_cast<int>(seconds * kSampleRate);
    for (int i = 0; i < length && from + i < int(out.size()); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double envelope = std::min(1.0, t / 0.03) * std::min(1.0, (length - i) / (0.25 * kSampleRate));
        double s = 0.0;
        for (int h = 1; h <= 6; ++h) s += std::sin(kTwoPi * f * h * t) / (h * h * 0.6 + 0.4);
        out[from + i] += static_cast<float>(gain * envelope * s);
    }
}

std::vector<float> coinSound() {
    std::vector<float> out(static_cast<size_t>(0.45 * kSampleRate));
    bell(out, 0.0, 88, 0.4, 0.5f);   // E6
    bell(out, 0.07, 95, 0.38, 0.5f);  // B6
    return out;
}

std::vector<float> hitSound() {
    std::vector<float> out(static_cast<size_t>(0.5 * kSampleRate));
    uint32_t seed = 12345;
    float rattle = 0.0f;
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        // A thud falling from 110 Hz to 45 Hz, and a low-passed burst of noise.
        phase += kTwoPi * (45.0 + 65.0 * std::exp(-12.0 * t)) / kSampleRate;
        seed = seed * 1664525u + 1013904223u;
        const float noise = static_cast<float>(seed >> 8) / float(1u << 24) * 2.0f - 1.0f;
        rattle += 0.12f * (noise - rattle);
        out[i] = static_cast<float>(std::min(1.0, t / 0.003) *
                                    (0.9 * std::sin(phase) * std::exp(-7.0 * t) + 1.6 * rattle * std::exp(-18.0 * t)));
    }
    return out;
}

std::vector<float> finishSound() {
    std::vector<float> out(static_cast<size_t>(1.2 * kSampleRate));
    const int notes[] = {72, 76, 79, 84};  // C5 E5 G5 C6
    for (int k = 0; k < 4; ++k) bell(out, 0.09 * k, notes[k], 1.0, 0.38f);
    return out;
}

std::vector<float> bestSound() {
    std::vector<float> out(static_cast<size_t>(1.8 * kSampleRate));
    horn(out, 0.0, 67, 0.18, 0.16f);   // G4, a pick-up
    horn(out, 0.18, 72, 1.4, 0.16f);   // then C5 E5 G5 together
    horn(out, 0.18, 76, 1.4, 0.13f);
    horn(out, 0.18, 79, 1.4, 0.13f);
    for (int k = 0; k < 5; ++k) bell(out, 0.25 + 0.11 * k, 84 + 4 * (k % 3), 0.6, 0.12f);  // sparkle
    return out;
}

bool writeSound(const std::string& path, const std::vector<float>& sound) {
    float peak = 0.0f;
    for (float s : sound) peak = std::max(peak, std::fabs(s));
    const float gain = 0.8f / peak;  // every sound at the same loudest moment, under the ceiling
    std::vector<int16_t> samples(sound.size());
    for (size_t i = 0; i < sound.size(); ++i) samples[i] = static_cast<int16_t>(std::lround(sound[i] * gain * 32767.0f));
    if (writeMonoWav(path, samples)) return true;
    std::fprintf(stderr, "kivo_assetgen: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

bool writeSounds(const std::string& audioDir) {
    return writeSound(audioDir + "/coin.wav", coinSound()) && writeSound(audioDir + "/hit.wav", hitSound()) &&
           writeSound(audioDir + "/finish.wav", finishSound()) && writeSound(audioDir + "/best.wav", bestSound());
}

}  // namespace assetgen
