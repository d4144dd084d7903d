// What the fuzz targets share: the input as a file where the game would read
// one, and the game's own lines about bad files kept off the console, where
// they would drown libFuzzer's (the sanitizers write to the descriptor, not
// to the stream, and still show).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// Writes `size` bytes of `data` to NAME in a folder of this process's own,
// and returns its path.
inline std::string inputAsFile(const char* name, const uint8_t* data, size_t size) {
    static const std::string folder = [] {
        std::string pattern = "/tmp/kivo-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        stderr = std::fopen("/dev/null", "w");
        static const std::string made = pattern;
        std::atexit([] { std::filesystem::remove_all(made); });
        return pattern;
    }();
    const std::string path = folder + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
    return path;
}
