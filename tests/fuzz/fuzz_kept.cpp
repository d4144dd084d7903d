// The settings or the records parser (KIVO_FUZZ_RECORDS) on any text: never
// a crash, and a file it takes comes back the same from what the game
// writes for it.
#include <cstdint>

#include "base/records.h"
#include "base/settings.h"

#if KIVO_FUZZ_RECORDS
using Kept = Records;
Verdict parse(const std::string& text, Kept& kept, std::string& problem) { return parseRecords(text, kept, problem); }
std::string textOf(const Kept& kept) { return recordsText(kept); }
#else
using Kept = Settings;
Verdict parse(const std::string& text, Kept& kept, std::string& problem) { return parseSettings(text, kept, problem); }
std::string textOf(const Kept& kept) { return settingsText(kept); }
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Kept kept, again;
    std::string problem;
    if (parse(std::string(reinterpret_cast<const char*>(data), size), kept, problem) != Verdict::taken) return 0;
    const std::string written = textOf(kept);
    if (parse(written, again, problem) != Verdict::taken || textOf(again) != written) __builtin_trap();
    return 0;
}
