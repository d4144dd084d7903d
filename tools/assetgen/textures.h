// The ten surface textures of the game (everything under Textur/ but the font).
#pragma once

#include <string>

namespace assetgen {

// Writes the ten JPEG surface textures into `texturDir` (an existing folder).
// Returns false and names the file on stderr when one cannot be written.
bool writeSurfaceTextures(const std::string& texturDir);

}  // namespace assetgen
