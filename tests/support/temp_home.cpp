#include "tests/support/temp_home.h"

#include <cstdlib>
#include <filesystem>

namespace {

std::string home;

void removeHome() {
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
}

}  // namespace

const std::string& useTemporaryHome() {
    if (!home.empty()) return home;
    const char* realHome = std::getenv("HOME");
    if (!std::getenv("XDG_CACHE_HOME") && realHome) setenv("XDG_CACHE_HOME", (std::string(realHome) + "/.cache").c_str(), 1);
    std::string pattern = (std::filesystem::temp_directory_path() / "kivo-home-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    home = pattern;
    std::atexit(removeHome);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    return home;
}
