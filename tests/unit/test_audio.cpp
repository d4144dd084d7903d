// The game's sound without a sound card: SDL's disk driver writes the mixed
// stream to a file, faster than real time, so the tests can listen to it.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "app/audio.h"
#include "base/globals.h"
#include "base/sound.h"
#include "tests/support/helpers.h"
#include "tests/support/temp_dir.h"

namespace {

// Stereo signed 16-bit at 44100 Hz: the format the device is opened with.
constexpr std::uintmax_t bytesPerSecond = 44100 * 2 * 2;

// How long the game's music lasts, read off the asset itself.
double trackSeconds() {
    SDL_AudioSpec format;
    Uint8* samples = nullptr;
    Uint32 bytes = 0;
    if (!SDL_LoadWAV("Audio/ffxiii.WAV", &format, &samples, &bytes)) return 0.0;
    SDL_FreeWAV(samples);
    return double(bytes) / (format.freq * format.channels * (SDL_AUDIO_BITSIZE(format.format) / 8));
}

// The mixed stream goes to a file for as long as the object lives.
class DiskAudio {
public:
    DiskAudio() : raw_(dir_.path("out.raw")) {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", raw_.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);  // milliseconds per buffer: far faster than real time
    }
    ~DiskAudio() {
        stopMusic();
        unsetenv("SDL_AUDIODRIVER");
    }

    std::uintmax_t written() const {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(raw_, error);
        return error ? 0 : size;
    }
    // Waits (bounded) until `bytes` have been mixed.
    void waitFor(std::uintmax_t bytes) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (written() < bytes && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // How many samples of the second that starts at byte `from` are clearly audible.
    int loudSamples(std::uintmax_t from) const {
        waitFor(from + bytesPerSecond);
        std::vector<int16_t> samples(bytesPerSecond / 2);
        std::ifstream in(raw_, std::ios::binary);
        in.seekg(std::streamoff(from));
        if (!in.read(reinterpret_cast<char*>(samples.data()), std::streamsize(bytesPerSecond))) return -1;
        int loud = 0;
        for (int16_t s : samples) loud += std::abs(s) > 200;
        return loud;
    }

private:
    TempDir dir_;
    std::string raw_;
};

TEST(Audio, TheGameMusicPlaysAtOnceAndLoopsPastItsEnd) {
    const double seconds = trackSeconds();
    ASSERT_GT(seconds, 1.0);
    DiskAudio audio;
    playMusic("Audio/ffxiii.WAV");
    // A second of the third lap: if the music did not loop, it would be silence.
    EXPECT_GT(audio.loudSamples(static_cast<std::uintmax_t>(2.5 * seconds) * bytesPerSecond), 1000);
}

// Each kind of sound has its own volume: the effects are heard over muted
// music, and muted effects are not heard at all.
TEST(Audio, EachSoundIsHeardOverTheMusicAtTheEffectsVolume) {
    const struct {
        int music, effects;
        bool heard;
    } cases[] = {{0, 100, true}, {0, 0, false}};
    for (const Sound sound : {Sound::coin, Sound::hit, Sound::finish, Sound::newBest})
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "sound " << int(sound) << ", effects at " << c.effects);
            musicVolume = c.music, effectsVolume = c.effects;
            DiskAudio audio;
            playMusic("Audio/ffxiii.WAV");
            loadSoundEffects();
            const std::uintmax_t before = audio.written();
            EXPECT_EQ(audio.loudSamples(before), 0) << "the music was muted";
            const std::uintmax_t at = audio.written();
            playSound(sound);
            // The sound starts within the next few buffers of the stream.
            EXPECT_EQ(audio.loudSamples(at) > 500, c.heard);
        }
    musicVolume = 100, effectsVolume = 100;
}

// However many coins ring at once, the finish and a new best are heard: by
// 0.6 s after a burst the coins have rung out, and these two still ring.
TEST(Audio, TheFinishAndANewBestAreHeardOverABurstOfCoins) {
    musicVolume = 0;
    for (const Sound sound : {Sound::finish, Sound::newBest}) {
        DiskAudio audio;
        playMusic("Audio/ffxiii.WAV");
        loadSoundEffects();
        const std::uintmax_t at = audio.written();
        for (int coin = 0; coin < 20; ++coin) playSound(Sound::coin);
        playSound(sound);
        EXPECT_GT(audio.loudSamples(at + std::uintmax_t(0.6 * bytesPerSecond)), 500) << int(sound);
    }
    musicVolume = 100;
}

// Two lines each: what failed, then the path tried and why; for a missing
// file also where the game looked.
TEST(Audio, AMissingOrBrokenMusicFileIsReportedAndTheGamePlaysOnInSilence) {
    TempDir dir;
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // a device that plays into nothing
    const std::string missing = dir.path("none.wav"), broken = dir.write("broken.wav", "RIFF, but not music\n");
    const std::string found = std::filesystem::absolute("tests/fuzz/regressions/sound/").string();
    const std::pair<std::string, std::string> cases[] = {
        {missing, ": cannot be opened; looked for the game's folders "},
        {broken, ": not a WAV file"},
        {found + "no-channels.wav", ": 0 channels"},  // the mixer divided by zero
        {found + "data-of-4-gigabytes.wav", ": cut short: a chunk of 4294967104 bytes"}};
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

// A sound that cannot be loaded is named once; the others still play, and
// playing the missing one is silence, not a crash.
TEST(Audio, MissingAndBrokenSoundsAreNamedOnceAndTheRestPlay) {
    TempDir game;
    game.write("Audio/hit.wav", "RIFF, but not a sound\n");
    for (const char* name : {"finish.wav", "best.wav"})
        std::filesystem::copy_file(std::string("Audio/") + name, game.path(std::string("Audio/") + name));
    const std::filesystem::path source = std::filesystem::current_path();
    std::filesystem::current_path(game.root());
    {
        DiskAudio audio;
        ::testing::internal::CaptureStderr();
        loadSoundEffects();
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(countOf(err, "Failed to load sound:"), 2) << err;
        playSound(Sound::coin);
        playSound(Sound::hit);
        const std::uintmax_t at = audio.written();
        playSound(Sound::finish);
        EXPECT_GT(audio.loudSamples(at), 500);
    }
    std::filesystem::current_path(source);
}

}  // namespace
