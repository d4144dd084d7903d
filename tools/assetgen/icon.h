// The game's icon for desktop menus: the cat, a gold sphere, racing down the
// night street with its trail of embers, on a rounded tile.
#pragma once

#include <string>

namespace assetgen {

// Writes a `size` x `size` PNG with an alpha channel (transparent around the
// tile's rounded corners) to `path`. Returns false and names the file on
// stderr when it cannot be written.
bool writeIcon(const std::string& path, int size);

}  // namespace assetgen
