// The OBJ models under Objekte/, each designed for the scale and start
// transform the game gives it.
#pragma once

#include <string>

namespace assetgen {

// Writes the eight OBJ files below `objekteDir` (its sub-folders must exist:
// cat, coin, corridor, grid, hausreihen_zusammen, mouse). Returns false
// (message on stderr) when a file cannot be written.
bool writeModels(const std::string& objekteDir);

}  // namespace assetgen
