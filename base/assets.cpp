#include "base/assets.h"

#include <filesystem>
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

// Without a build tree compiled in (a tool built on its own), there is none to test.
bool insideBuildTree(const fs::path& executable) {
#ifdef KIVO_BUILD_DIR
    const fs::path build = fs::weakly_canonical(KIVO_BUILD_DIR);
    const fs::path relative = executable.lexically_relative(build);
    return !relative.empty() && *relative.begin() != "..";
#else
    (void)executable;
    return false;
#endif
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
    candidates.push_back((executable.parent_path().parent_path() / "share" / "kivo").string());
#ifdef KIVO_SOURCE_DIR
    // Run from the source tree, it is the working directory already.
    if (insideBuildTree(executable) && !fs::equivalent(KIVO_SOURCE_DIR, ".", error))
        candidates.push_back(KIVO_SOURCE_DIR);
#endif
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

std::string assetSearchLine(const std::string& relative) {
    std::string line = "  tried " + shown(assetPath(relative)) +
                       "; looked for the game's folders Objekte, Textur, Shader and Audio in";
    const std::vector<std::string> candidates = assetFolderCandidates();
    for (size_t i = 0; i < candidates.size(); ++i) {
        line += i == 0 ? " " : i + 1 == candidates.size() ? " and " : ", ";
        line += shown(candidates[i]);
    }
    return line;
}
