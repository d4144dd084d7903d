#include "base/settings.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "base/storage.h"

using Json = nlohmann::ordered_json;

namespace {

constexpr size_t settingsLimit = 64 * 1024;  // bytes: a settings file is a few hundred

const char* const knownKeys[] = {"version", "quality", "ghost", "mouseSensitivity", "invertY", "musicVolume",
                                 "effectsVolume"};

bool known(const std::string& key) {
    for (const char* name : knownKeys)
        if (key == name) return true;
    return false;
}

// Reads the key `name` of `file`, if there, into `value` through `take`,
// which returns false for a value of the wrong kind; `expected` says which.
template <typename Take>
bool readKey(const Json& file, const char* name, const char* expected, std::string& problem, Take take) {
    const auto found = file.find(name);
    if (found == file.end() || take(*found)) return true;
    problem = std::string("\"") + name + "\" must be " + expected;
    return false;
}

bool wholePercent(const Json& value, int& percent) {
    if (!value.is_number()) return false;
    const double number = value.get<double>();
    if (!(number >= 0.0 && number <= 100.0) || number != std::floor(number)) return false;
    percent = static_cast<int>(number);
    return true;
}

}  // namespace

std::optional<Settings> parseSettings(const std::string& text, std::string& problem) {
    const Json file = Json::parse(text, nullptr, false);
    if (file.is_discarded() || !file.is_object()) {
        problem = "not a JSON object";
        return std::nullopt;
    }
    const auto version = file.find("version");
    if (version == file.end() || !version->is_number_integer()) {
        problem = "no format version";
        return std::nullopt;
    }
    if (version->get<long long>() != settingsVersion) {
        problem = "format version " + version->dump() + ", which this game cannot read";
        return std::nullopt;
    }
    Settings settings;
    const bool valid =
        readKey(file, "quality", "one of \"auto\", \"full\", \"balanced\", \"low\"", problem,
                [&](const Json& v) {
                    const std::optional<QualitySetting> quality =
                        v.is_string() ? parseQualitySetting(v.get<std::string>()) : std::nullopt;
                    if (quality) settings.quality = *quality;
                    return quality.has_value();
                }) &&
        readKey(file, "ghost", "true or false", problem,
                [&](const Json& v) { return v.is_boolean() && (settings.ghost = v.get<bool>(), true); }) &&
        readKey(file, "mouseSensitivity", "a number from 0.1 to 10", problem,
                [&](const Json& v) {
                    if (!v.is_number()) return false;
                    const double factor = v.get<double>();
                    if (!(factor >= minMouseSensitivity && factor <= maxMouseSensitivity)) return false;
                    settings.mouseSensitivity = static_cast<float>(factor);
                    return true;
                }) &&
        readKey(file, "invertY", "true or false", problem,
                [&](const Json& v) { return v.is_boolean() && (settings.invertY = v.get<bool>(), true); }) &&
        readKey(file, "musicVolume", "a whole percentage, 0 to 100", problem,
                [&](const Json& v) { return wholePercent(v, settings.musicVolume); }) &&
        readKey(file, "effectsVolume", "a whole percentage, 0 to 100", problem,
                [&](const Json& v) { return wholePercent(v, settings.effectsVolume); });
    if (!valid) return std::nullopt;
    for (const auto& [key, value] : file.items())
        if (!known(key)) settings.unknown.emplace_back(key, value.dump());
    return settings;
}

std::string settingsText(const Settings& settings) {
    Json file;
    file["version"] = settingsVersion;
    file["quality"] = qualityName(settings.quality);
    file["ghost"] = settings.ghost;
    // Rounded to what a person would write: 1.2, not 1.2000000476837158.
    file["mouseSensitivity"] = std::round(double(settings.mouseSensitivity) * 100.0) / 100.0;
    file["invertY"] = settings.invertY;
    file["musicVolume"] = settings.musicVolume;
    file["effectsVolume"] = settings.effectsVolume;
    for (const auto& [key, value] : settings.unknown) file[key] = Json::parse(value, nullptr, false);
    return file.dump(2) + "\n";
}

Settings loadSettings() {
    const std::optional<std::string> path = settingsPath();
    if (!path) {
        reportOnce("settings", "kivo: neither XDG_CONFIG_HOME nor HOME names a folder: settings are not kept");
        return {};
    }
    std::string text, problem;
    switch (readBounded(*path, settingsLimit, text, problem)) {
        case ReadOutcome::missing: return {};
        case ReadOutcome::tooLarge: problem = "larger than " + std::to_string(settingsLimit / 1024) + " KiB"; break;
        case ReadOutcome::failed: break;
        case ReadOutcome::read:
            if (std::optional<Settings> settings = parseSettings(text, problem)) {
                std::string names;
                for (const auto& entry : settings->unknown) names += (names.empty() ? "'" : ", '") + entry.first + "'";
                if (!names.empty())
                    std::fprintf(stderr, "kivo: %s: keeping settings this game does not know as they are: %s\n",
                                 path->c_str(), names.c_str());
                return *settings;
            }
            break;
    }
    setAside(*path, problem, "playing on with the default settings");
    return {};
}

void saveSettings(const Settings& settings) {
    const std::optional<std::string> path = settingsPath();
    if (!path) return;  // said when they were loaded
    std::string problem;
    if (!writeAtomically(*path, settingsText(settings), problem))
        reportOnce(*path, "kivo: cannot save " + *path + ": " + problem + "; playing on without saving settings");
}
