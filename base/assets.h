// Where the game's asset folders (Objekte/, Textur/, Shader/, Audio/) are.
//
// The game names every file relative to them ("Shader/normals.vert"). One
// folder holding all four is chosen at start-up, the first of: the working
// directory; share/kivo beside the executable's bin/ folder, so an installed
// tree works from wherever it was moved; and, for a binary inside its build
// tree, the source tree it was built from. Where none holds them, the
// working directory stands, and each file that cannot be opened says so
// where it is loaded, with the folders that were searched.
#pragma once

#include <string>
#include <vector>

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

// The line that follows a message about a file that could not be opened:
// the path tried and the folders searched for the game's assets.
std::string assetSearchLine(const std::string& relative);
