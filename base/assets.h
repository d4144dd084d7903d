// Where the game's asset folders (Objekte/, Textur/, Shader/, Audio/) are.
//
// The game names every file relative to them ("Shader/normals.vert"). One
// folder holding all four is chosen at start-up, the first of: the working
// directory; share/kivo beside the folder of the executable, so an installed
// tree works from wherever it was moved (the build tree lays out bin/kivo and
// share/kivo the same way); and share/games/kivo, where Debian keeps the
// files of a game in /usr/games. Where none holds them, the working directory
// stands, and each file that cannot be used is reported where it is loaded,
// with reportAssetFailure().
#pragma once

#include <string>
#include <vector>

// The folders the game reads its files from, as the build installs them.
constexpr const char* assetFolders[] = {"Objekte", "Textur", "Shader", "Audio"};

// The candidate folders in the order they are tried, for this executable.
std::vector<std::string> assetFolderCandidates();

// The first of `candidates` that holds all four asset folders; the first
// candidate when none does.
std::string chooseAssetFolder(const std::vector<std::string>& candidates);

// Chooses the asset folder among assetFolderCandidates(). Until it runs,
// files are read relative to the working directory.
void locateAssets();

// `relative` within the chosen folder. Relative to the working directory it
// stays as given, so messages read as they always have.
std::string assetPath(const std::string& relative);

// Whether the asset `relative` is there and can be opened for reading.
bool assetReadable(const std::string& relative);

// Reports an asset the game goes without, in the one form every loader uses,
// on stderr: `headline` (what failed, naming the file as the game names it),
// then an indented line with the path tried and `reason`, and for a file that
// cannot be opened at all the folders that were searched:
//   Failed to load texture: Textur/coin.jpg
//     /home/me/kivo/Textur/coin.jpg: cannot be opened; looked for the game's folders ... in ...
void reportAssetFailure(const std::string& headline, const std::string& relative, const std::string& reason);
