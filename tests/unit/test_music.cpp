// Music playback without a sound card: SDL's disk driver writes the mixed
// stream to a file in (accelerated) real time, so the test can hear it.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "app/music.h"
#include "tests/temp_dir.h"

namespace {

// Stereo signed 16-bit at 44100 Hz: the format playMusic opens the device with.
constexpr std::uintmax_t bytesPerSecond = 44100 * 2 * 2;

// A mono 16-bit WAV of `seconds` of a 440 Hz tone at 44100 Hz.
std::string toneWav(double seconds) {
    const uint32_t rate = 44100, frames = uint32_t(seconds * rate);
    std::string wav;
    auto put = [&wav](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) wav += char((value >> (8 * i)) & 0xFF);
    };
    wav += "RIFF";
    put(36 + frames * 2, 4);
    wav += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    wav += "data";
    put(frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i) put(uint16_t(int16_t(8000 * std::sin(2 * M_PI * 440 * i / rate))), 2);
    return wav;
}

class DiskAudio : public ::testing::Test {
protected:
    TempDir dir;
    std::string raw = dir.path("out.raw");

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);  // milliseconds per buffer: far faster than real time
    }
    void TearDown() override {
        stopMusic();
        unsetenv("SDL_AUDIODRIVER");
    }

    // Waits until the driver has written `bytes` (60 s at most), stops the
    // music and counts the samples from `offset` bytes on louder than `level`.
    int loudSamples(std::uintmax_t offset, std::uintmax_t bytes, int level) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        std::error_code error;
        while (std::filesystem::file_size(raw, error) < offset + bytes || error) {
            if (std::chrono::steady_clock::now() > deadline) return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        stopMusic();
        std::vector<int16_t> samples(bytes / 2);
        std::ifstream in(raw, std::ios::binary);
        in.seekg(std::streamoff(offset));
        in.read(reinterpret_cast<char*>(samples.data()), std::streamsize(bytes));
        int loud = 0;
        for (int16_t s : samples) loud += std::abs(s) > level;
        return loud;
    }
};

TEST_F(DiskAudio, PlaybackStartsAtOnceAndLoopsPastTheEndOfTheTrack) {
    playMusic(dir.write("tone.wav", toneWav(0.5)).c_str());
    // The third track length: if the music did not loop, it would be silence.
    const std::uintmax_t track = bytesPerSecond / 2;
    EXPECT_GT(loudSamples(2 * track, track, 1000), int(track / 2) / 4) << "-1: the disk driver wrote nothing";
}

TEST_F(DiskAudio, TheGameMusicPlays) {
    playMusic("Audio/ffxiii.WAV");
    EXPECT_GT(loudSamples(0, bytesPerSecond, 200), 1000) << "the first second of the music is silent";
}

TEST(Music, AMissingFileOrNoAudioDeviceIsIgnored) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    playMusic("Audio/no-such-music.wav");
    stopMusic();
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    playMusic("Audio/ffxiii.WAV");
    stopMusic();
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
