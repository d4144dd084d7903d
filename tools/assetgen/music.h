// The background music: a short piece synthesised in code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// Writes a 16-bit PCM mono WAV at 44100 Hz that loops without a seam: notes
// and echoes that ring past the end continue at the start. Returns false
// (message on stderr) when the file cannot be written.
bool writeMusic(const std::string& path);

// Writes `samples` as a 16-bit PCM mono WAV at 44100 Hz.
bool writeMonoWav(const std::string& path, const std::vector<int16_t>& samples);

}  // namespace assetgen
