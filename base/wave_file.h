// What the game checks of a sound file before SDL_mixer reads it.
//
// The game's sounds and its music are WAV files of plain samples. The mixer
// reads many more kinds, and a few bytes of nonsense have crashed its
// readers (a WAV of no channels divides by zero), so a file is handed to it
// only when it is a RIFF WAVE of integer or float samples: 1 to 8 channels,
// 1 to 384000 samples a second, 8, 16, 24 or 32 bits, its block and byte
// rate as those make them, every chunk within the file and at most 64 of them.
#pragma once

#include <string>

// Empty for a WAV the mixer may read; else why not ("cut short: ...").
std::string waveFileProblem(const std::string& path);
