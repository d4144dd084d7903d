#include "base/assets.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string chosenFolder = ".";

bool holdsAssets(const std::string& folder) {
    std::error_code error;
    for (const char* name : assetFolders)
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

// "a", "a and b", "a, b and c".
template <typename Names>
std::string listed(Names first, Names last) {
    std::string text;
    for (Names name = first; name != last; ++name)
        text += (name == first ? "" : std::next(name) == last ? " and " : ", ") + std::string(*name);
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
        detail += "; looked for the game's folders " + listed(std::begin(assetFolders), std::end(assetFolders)) + " in";
        std::vector<std::string> candidates = assetFolderCandidates();
        for (std::string& candidate : candidates) candidate = shown(candidate);
        detail += " " + listed(candidates.begin(), candidates.end());
    }
    std::fprintf(stderr, "%s\n%s\n", headline.c_str(), detail.c_str());
}
