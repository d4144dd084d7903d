// The sounds of what happens in a run: a coin taken, a slab hit, the finish
// crossed and a new best, synthesised in code like the music.
#pragma once

#include <string>

namespace assetgen {

// Writes coin.wav, hit.wav, finish.wav and best.wav (16-bit PCM mono, 44100
// Hz) into `audioDir`. Returns false (message on stderr) when one cannot be
// written.
bool writeSounds(const std::string& audioDir);

}  // namespace assetgen
