// Music playback without a sound card: SDL's disk driver writes the mixed
// stream to a file in (accelerated) real time, so the test can hear it.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "app/music.h"

namespace fs = std::filesystem;

namespace {

void writeLittleEndian(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(char((value >> (8 * i)) & 0xFF));
}

// A mono 16-bit WAV of `seconds` of a 440 Hz tone at 44100 Hz.
void writeToneWav(const fs::path& path, double seconds) {
    const uint32_t rate = 44100, frames = uint32_t(seconds * rate);
    std::ofstream out(path, std::ios::binary);
    out << "RIFF";
    writeLittleEndian(out, 36 + frames * 2, 4);
    out << "WAVEfmt ";
    writeLittleEndian(out, 16, 4);
    writeLittleEndian(out, 1, 2);  // PCM
    writeLittleEndian(out, 1, 2);  // mono
    writeLittleEndian(out, rate, 4);
    writeLittleEndian(out, rate * 2, 4);
    writeLittleEndian(out, 2, 2);
    writeLittleEndian(out, 16, 2);
    out << "data";
    writeLittleEndian(out, frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i)
        writeLittleEndian(out, uint16_t(int16_t(8000 * std::sin(2 * M_PI * 440 * i / rate))), 2);
}

struct DiskAudio : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("kivo_music_" + std::to_string(::getpid()));
    fs::path raw = dir / "out.raw";
    void SetUp() override {
        fs::create_directories(dir);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);  // milliseconds per buffer: far faster than real time
    }
    void TearDown() override {
        stopMusic();
        unsetenv("SDL_AUDIODRIVER");
        fs::remove_all(dir);
    }
    // Waits until the driver has written at least `bytes`, or gives up after 60 s.
    bool waitForOutput(uintmax_t bytes) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            std::error_code error;
            if (fs::file_size(raw, error) >= bytes && !error) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
};

// Stereo signed 16-bit at 44100 Hz: the format playMusic opens the device with.
constexpr uintmax_t bytesPerSecond = 44100 * 2 * 2;

}  // namespace

TEST_F(DiskAudio, PlaybackStartsAtOnceAndLoopsPastTheEndOfTheTrack) {
    const fs::path wav = dir / "tone.wav";
    writeToneWav(wav, 0.5);
    playMusic(wav.c_str());

    // Three track lengths: if the music did not loop, the third would be silence.
    const uintmax_t track = bytesPerSecond / 2;
    ASSERT_TRUE(waitForOutput(3 * track + bytesPerSecond / 10)) << "the disk driver wrote nothing";
    stopMusic();

    std::ifstream in(raw, std::ios::binary);
    std::vector<int16_t> samples(track / 2);
    in.seekg(std::streamoff(2 * track));
    in.read(reinterpret_cast<char*>(samples.data()), std::streamsize(track));
    int loud = 0;
    for (int16_t s : samples) loud += std::abs(s) > 1000;
    EXPECT_GT(loud, int(samples.size()) / 4) << "the third track length is silent: no loop";
}

TEST_F(DiskAudio, TheGameMusicPlays) {
    playMusic("Audio/ffxiii.WAV");
    ASSERT_TRUE(waitForOutput(bytesPerSecond));
    stopMusic();
    std::ifstream in(raw, std::ios::binary);
    std::vector<int16_t> samples(bytesPerSecond / 2);
    in.read(reinterpret_cast<char*>(samples.data()), std::streamsize(bytesPerSecond));
    int loud = 0;
    for (int16_t s : samples) loud += std::abs(s) > 200;
    EXPECT_GT(loud, 1000) << "the first second of the music is silent";
}

TEST_F(DiskAudio, MissingFileIsIgnored) {
    playMusic((dir / "missing.wav").c_str());
    stopMusic();
    SUCCEED() << "returned without crashing";
}

TEST(Music, NoAudioDeviceIsIgnored) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    playMusic("Audio/ffxiii.WAV");
    stopMusic();
    unsetenv("SDL_AUDIODRIVER");
}
