#include "app/audio.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <string>

#include "base/assets.h"
#include "base/globals.h"
#include "base/sound.h"
#include "base/wave_file.h"

namespace {

bool audioOpen = false;
Mix_Music* music = nullptr;
Mix_Chunk* effects[int(Sound::count)] = {};

const char* const effectFiles[int(Sound::count)] = {"Audio/coin.wav", "Audio/hit.wav", "Audio/finish.wav",
                                                    "Audio/best.wav"};

// A burst of coins takes what channels there are; a hit, the finish and a
// new best are heard all the same, each on a channel of its own that
// Mix_PlayChannel(-1) never takes.
constexpr int mixerChannels = 16;
constexpr int ownChannel[int(Sound::count)] = {-1, 0, 1, 2};  // coin, hit, finish, newBest
constexpr int reservedChannels = 3;

int mixerVolume(int percent) { return percent * MIX_MAX_VOLUME / 100; }

struct MixerOutput final : SoundOutput {
    void play(Sound sound) override {
        if (Mix_Chunk* chunk = effects[int(sound)]) Mix_PlayChannel(ownChannel[int(sound)], chunk, 0);
    }
    void setVolumes(int musicPercent, int effectsPercent) override {
        Mix_VolumeMusic(mixerVolume(musicPercent));
        Mix_Volume(-1, mixerVolume(effectsPercent));
    }
};
MixerOutput mixer;

bool openAudio() {
    if (audioOpen) return true;
    if (soundOff) return false;
    // SDL would otherwise turn SIGINT and SIGTERM into quit events that this
    // game never reads, and the process could no longer be stopped that way.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    // A fixed format (no allowed changes) so the mixed stream is predictable.
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 2048, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(mixerChannels);
    Mix_ReserveChannels(reservedChannels);
    audioOpen = true;
    mixer.setVolumes(musicVolume, effectsVolume);
    setSoundOutput(&mixer);
    return true;
}

}  // namespace

bool soundOff = false;

void playMusic(const char* path) {
    if (music) return;
    const bool readable = assetReadable(path);
    if (!readable) reportAssetFailure(std::string("Failed to load music: ") + path, path, "cannot be opened");
    if (!openAudio() || !readable) return;
    // Only an open device can decode, so a broken file shows here.
    const std::string problem = waveFileProblem(assetPath(path));
    music = problem.empty() ? Mix_LoadMUS(assetPath(path).c_str()) : nullptr;
    if (!music) {
        reportAssetFailure(std::string("Failed to load music: ") + path, path, problem.empty() ? Mix_GetError() : problem);
        return;
    }
    Mix_PlayMusic(music, -1);
}

void loadSoundEffects() {
    for (int sound = 0; sound < int(Sound::count); ++sound) {
        const std::string path = effectFiles[sound];
        if (effects[sound]) continue;
        if (!assetReadable(path)) {
            reportAssetFailure("Failed to load sound: " + path, path, "cannot be opened");
            continue;
        }
        if (!openAudio()) return;
        const std::string problem = waveFileProblem(assetPath(path));
        effects[sound] = problem.empty() ? Mix_LoadWAV(assetPath(path).c_str()) : nullptr;
        if (!effects[sound])
            reportAssetFailure("Failed to load sound: " + path, path, problem.empty() ? Mix_GetError() : problem);
    }
}

void stopMusic() {
    if (!audioOpen) return;
    setSoundOutput(nullptr);
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    for (Mix_Chunk*& chunk : effects) {
        if (chunk) Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    if (music) Mix_FreeMusic(music);
    music = nullptr;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_Quit();
    audioOpen = false;
}
