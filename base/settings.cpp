#include "base/settings.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace {

const KeptFormat settingsFormat{"settings",
                                "playing on with the default settings",
                                "playing on without saving settings",
                                64 * 1024,  // bytes: a settings file is a few hundred
                                settingsVersion,
                                {"quality", "ghost", "ghostRun", "mouseSensitivity", "invertY", "musicVolume", "effectsVolume"}};

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
    const std::optional<int> kept = value.is_number() ? keptVolume(value.get<double>()) : std::nullopt;
    if (kept) percent = *kept;
    return kept.has_value();
}

bool takeSettings(const Json& file, Settings& settings, std::string& problem) {
    return readKey(file, "quality", "one of \"auto\", \"full\", \"balanced\", \"low\"", problem,
                   [&](const Json& v) {
                       const std::optional<QualitySetting> quality =
                           v.is_string() ? parseQualitySetting(v.get<std::string>()) : std::nullopt;
                       if (quality) settings.quality = *quality;
                       return quality.has_value();
                   }) &&
           readKey(file, "ghost", "true or false", problem,
                   [&](const Json& v) { return v.is_boolean() && (settings.ghost = v.get<bool>(), true); }) &&
           readKey(file, "ghostRun", "\"record\" or \"last\"", problem,
                   [&](const Json& v) {
                       const std::optional<GhostRun> run = v.is_string() ? parseGhostRun(v.get<std::string>()) : std::nullopt;
                       if (run) settings.ghostRun = *run;
                       return run.has_value();
                   }) &&
           readKey(file, "mouseSensitivity", "a number from 0.1 to 10", problem,
                   [&](const Json& v) {
                       const std::optional<float> factor =
                           v.is_number() ? keptSensitivity(v.get<double>()) : std::nullopt;
                       if (factor) settings.mouseSensitivity = *factor;
                       return factor.has_value();
                   }) &&
           readKey(file, "invertY", "true or false", problem,
                   [&](const Json& v) { return v.is_boolean() && (settings.invertY = v.get<bool>(), true); }) &&
           readKey(file, "musicVolume", "a whole percentage, 0 to 100", problem,
                   [&](const Json& v) { return wholePercent(v, settings.musicVolume); }) &&
           readKey(file, "effectsVolume", "a whole percentage, 0 to 100", problem,
                   [&](const Json& v) { return wholePercent(v, settings.effectsVolume); });
}

// Hundredths, as a person would write them: 1.2, not 1.2000000476837158.
double hundredths(double factor) { return std::round(factor * 100.0) / 100.0; }

}  // namespace

std::optional<float> keptSensitivity(double factor) {
    // In one type and at the file's precision: 0.1 is the float 0.1f's
    // neighbour in double, and the file writes hundredths.
    const double kept = hundredths(factor);
    if (!(kept >= hundredths(minMouseSensitivity) && kept <= hundredths(maxMouseSensitivity))) return std::nullopt;
    return static_cast<float>(kept);
}

std::optional<int> keptVolume(double percent) {
    if (!(percent >= 0.0 && percent <= maxVolume) || percent != std::floor(percent)) return std::nullopt;
    return static_cast<int>(percent);
}

Verdict parseSettings(const std::string& text, Settings& settings, std::string& problem) {
    settings = Settings{};
    const Verdict verdict = parseKept(text, settingsFormat, settings.unknown, problem, [&](const Json& file, std::string& why) {
        return takeSettings(file, settings, why);
    });
    if (verdict != Verdict::taken) settings = Settings{};
    return verdict;
}

std::string settingsText(const Settings& settings) {
    Json file;
    file["version"] = settingsVersion;
    file["quality"] = qualityName(settings.quality);
    file["ghost"] = settings.ghost;
    file["ghostRun"] = ghostRunName(settings.ghostRun);
    file["mouseSensitivity"] = hundredths(settings.mouseSensitivity);
    file["invertY"] = settings.invertY;
    file["musicVolume"] = settings.musicVolume;
    file["effectsVolume"] = settings.effectsVolume;
    return keptText(file, settings.unknown);
}

const char* ghostRunName(GhostRun run) { return run == GhostRun::last ? "last" : "record"; }

std::optional<GhostRun> parseGhostRun(const std::string& name) {
    if (name == "record") return GhostRun::record;
    if (name == "last") return GhostRun::last;
    return std::nullopt;
}

Settings loadSettings() {
    const std::optional<std::string> path = settingsPath();
    if (!path) {
        reportOnce("settings", "neither XDG_CONFIG_HOME nor HOME names a folder: settings are not kept");
        return {};
    }
    Settings settings;
    const Loaded loaded = loadKept(*path, settingsFormat, settings.unknown,
                                   [&](const Json& file, std::string& why) { return takeSettings(file, settings, why); });
    return loaded == Loaded::taken ? settings : Settings{};
}

void saveSettings(const Settings& settings) {
    const std::optional<std::string> path = settingsPath();
    if (path) saveKept(*path, settingsFormat, settingsText(settings));  // no path: said when they were loaded
}
