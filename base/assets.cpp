#include "base/assets.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string chosenFolder = ".";

bool holdsAssets(const std::string& folder) {
    std::error_code error;
    for (const char* name : {"Objekte", "Textur", "Shader", "Audio"})
        if (!fs::is_directory(fs::path(folder) / name, error)) return false;
    return true;
}

// A folder as the player should read it: absolute, without "." or a trailing slash.
std::string shown(const std::string& folder) {
    std::error_code error;
    std::string text = fs::absolute(folder, error).lexically_normal().string();
    if (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace

std::vector<std::string> assetFolderCandidates() {
    std::vector<std::string> candidates{"."};
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) return candidates;
    const fs::path prefix = executable.parent_path().parent_path();
    candidates.push_back((prefix / "share" / "kivo").string());
    candidates.push_back((prefix / "share" / "games" / "kivo").string());
    return candidates;
}

std::string chooseAssetFolder(const std::vector<std::string>& candidates) {
    for (const std::string& folder : candidates)
        if (holdsAssets(folder)) return folder;
    return candidates.empty() ? "." : candidates.front();
}

void locateAssets() { chosenFolder = chooseAssetFolder(assetFolderCandidates()); }

std::string assetPath(const std::string& relative) {
    if (chosenFolder == ".") return relative;
    return (fs::path(chosenFolder) / relative).string();
}

bool assetReadable(const std::string& relative) { return std::ifstream(assetPath(relative)).good(); }

void reportAssetFailure(const std::string& headline, const std::string& relative, const std::string& reason) {
    std::string detail = "  " + shown(assetPath(relative)) + ": " + reason;
    if (!assetReadable(relative)) {
        detail += "; looked for the game's folders Objekte, Textur, Shader and Audio in";
        const std::vector<std::string> candidates = assetFolderCandidates();
        for (size_t i = 0; i < candidates.size(); ++i) {
            detail += i == 0 ? " " : i + 1 == candidates.size() ? " and " : ", ";
            detail += shown(candidates[i]);
        }
    }
    std::fprintf(stderr, "%s\n%s\n", headline.c_str(), detail.c_str());
}
