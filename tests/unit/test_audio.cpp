// The music without a sound card: SDL's disk driver writes the mixed stream
// to a file, faster than real time, so the test can listen to it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "app/music.h"
#include "tests/support/helpers.h"
#include "tests/support/temp_dir.h"

namespace {

// Stereo signed 16-bit at 44100 Hz: the format playMusic opens the device with.
constexpr std::uintmax_t bytesPerSecond = 44100 * 2 * 2;
constexpr double trackSeconds = 25.6;  // eight bars at 75 beats per minute

TEST(Music, TheGameMusicPlaysAtOnceAndLoopsPastItsEnd) {
    TempDir dir;
    const std::string raw = dir.path("out.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);  // milliseconds per buffer: far faster than real time
    playMusic("Audio/ffxiii.WAV");

    // A second of the third lap: if the music did not loop, it would be silence.
    const auto offset = static_cast<std::uintmax_t>(2.5 * trackSeconds) * bytesPerSecond;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::error_code error;
    while ((std::filesystem::file_size(raw, error) < offset + bytesPerSecond || error) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stopMusic();
    unsetenv("SDL_AUDIODRIVER");

    std::vector<int16_t> samples(bytesPerSecond / 2);
    std::ifstream in(raw, std::ios::binary);
    in.seekg(std::streamoff(offset));
    ASSERT_TRUE(in.read(reinterpret_cast<char*>(samples.data()), std::streamsize(bytesPerSecond))) << "too little written";
    int loud = 0;
    for (int16_t s : samples) loud += std::abs(s) > 200;
    EXPECT_GT(loud, 1000);
}

// Two lines each: what failed, then the path tried and why; for a missing
// file also where the game looked.
TEST(Music, AMissingOrBrokenFileIsReportedAndTheGamePlaysOnInSilence) {
    TempDir dir;
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // a device that plays into nothing
    const std::string missing = dir.path("none.wav"), broken = dir.write("broken.wav", "RIFF, but not music\n");
    const std::pair<std::string, std::string> cases[] = {
        {missing, ": cannot be opened; looked for the game's folders "}, {broken, ": Bad WAV file"}};
    for (const auto& [path, reason] : cases) {
        ::testing::internal::CaptureStderr();
        playMusic(path.c_str());
        const std::string err = ::testing::internal::GetCapturedStderr();
        const std::string headline = "Failed to load music: " + path + "\n", detail = "  " + path + reason;
        EXPECT_EQ(err.rfind(headline + detail, 0), 0u) << err;
        EXPECT_EQ(countOf(err, "\n"), 2) << "two lines";
        stopMusic();
    }
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
