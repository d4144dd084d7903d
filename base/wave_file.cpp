#include "base/wave_file.h"

#include <cstdint>
#include <cstring>
#include <fstream>

namespace {

uint32_t little(const unsigned char* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

std::string formatProblem(const unsigned char* fmt) {
    const uint32_t tag = little(fmt, 2), channels = little(fmt + 2, 2), rate = little(fmt + 4, 4);
    const uint32_t byteRate = little(fmt + 8, 4), block = little(fmt + 12, 2), bits = little(fmt + 14, 2);
    if (tag != 1 && tag != 3) return "samples of kind " + std::to_string(tag) + ", not integer or float";
    if (channels < 1 || channels > 8) return std::to_string(channels) + " channels";
    if (rate < 1 || rate > 384000) return std::to_string(rate) + " samples a second";
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::to_string(bits) + " bits a sample";
    if (block != channels * bits / 8 || byteRate != rate * block) return "a block or byte rate its format does not make";
    return {};
}

}  // namespace

std::string waveFileProblem(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return "cannot be opened";
    const std::streamoff size = file.tellg();
    unsigned char header[16];
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(header), 12) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return "not a WAV file";
    bool format = false, samples = false;
    for (int chunk = 0; chunk < 64; ++chunk) {
        if (!file.read(reinterpret_cast<char*>(header), 8)) {
            if (!samples) return format ? "cut short: no samples" : "cut short: no format";
            return {};
        }
        const std::streamoff length = little(header + 4, 4), at = file.tellg();
        if (length > size - at) return "cut short: a chunk of " + std::to_string(length) + " bytes where " +
                                       std::to_string(size - at) + " are left";
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (format || length < 16 || !file.read(reinterpret_cast<char*>(header), 16)) return "a broken format";
            const std::string problem = formatProblem(header);
            if (!problem.empty()) return problem;
            format = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!format) return "samples before their format";
            samples = true;
        }
        file.seekg(at + length + (length & 1));
    }
    return "more than 64 chunks";
}
