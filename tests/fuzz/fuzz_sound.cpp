// Any bytes as a sound file, read as the game reads its sounds and its
// music (app/audio.cpp: checked, then handed to the mixer) on a device of
// the game's format that plays into nothing: never a crash.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include "base/wave_file.h"
#include "tests/fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool opened = setenv("SDL_AUDIODRIVER", "dummy", 1) == 0 && SDL_Init(SDL_INIT_AUDIO) == 0 &&
                               Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 2048, nullptr, 0) == 0;
    if (!opened) std::abort();
    const std::string path = inputAsFile("sound.wav", data, size);
    if (!waveFileProblem(path).empty()) return 0;
    if (Mix_Chunk* effect = Mix_LoadWAV(path.c_str())) Mix_FreeChunk(effect);
    if (Mix_Music* music = Mix_LoadMUS(path.c_str())) Mix_FreeMusic(music);
    return 0;
}
