#include "app/music.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <string>

#include "base/assets.h"

namespace {
bool audioOpen = false;
Mix_Music* music = nullptr;

void reportMusicFailure(const std::string& path, const std::string& reason) {
    reportAssetFailure("Failed to load music: " + path, path, reason);
}
}  // namespace

void playMusic(const char* path) {
    if (audioOpen) return;
    if (!assetReadable(path)) {
        reportMusicFailure(path, "cannot be opened");
        return;
    }
    // SDL would otherwise turn SIGINT and SIGTERM into quit events that this
    // game never reads, and the process could no longer be stopped that way.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    // A fixed format (no allowed changes) so the mixed stream is predictable.
    // No device, no music: that needs no word, the game is the same in silence.
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 2048, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    audioOpen = true;
    // Only an open device can decode, so a broken file shows here.
    music = Mix_LoadMUS(assetPath(path).c_str());
    if (!music) {
        reportMusicFailure(path, Mix_GetError());
        return;
    }
    Mix_PlayMusic(music, -1);
}

void stopMusic() {
    if (!audioOpen) return;
    Mix_HaltMusic();
    if (music) Mix_FreeMusic(music);
    music = nullptr;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_Quit();
    audioOpen = false;
}
