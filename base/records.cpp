#include "base/records.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

#include "base/course.h"
#include "base/storage.h"

using Json = nlohmann::ordered_json;

namespace {

constexpr size_t recordsLimit = 16 * 1024 * 1024;  // bytes: an hour of way is about 3 MB

bool finiteNumber(const Json& value) { return value.is_number() && std::isfinite(value.get<double>()); }

// The run in `best`, or none with `problem` set.
std::optional<Record> parseRun(const Json& best, std::string& problem) {
    auto fail = [&problem](const std::string& what) {
        problem = what;
        return std::nullopt;
    };
    if (!best.is_object()) return fail("\"best\" must be an object");
    Record run;
    const Json& score = best.value("score", Json());
    const Json& time = best.value("time", Json());
    const Json& coins = best.value("coins", Json());
    const Json& date = best.value("date", Json());
    if (!finiteNumber(score)) return fail("the best run's score must be a number");
    if (!finiteNumber(time) || time.get<double>() < 0.0) return fail("the best run's time must be a number of seconds, 0 or more");
    if (!coins.is_number_integer() || coins.get<long long>() < 0 || coins.get<long long>() > coinsPerLayout)
        return fail("the best run's coins must be a whole number from 0 to " + std::to_string(coinsPerLayout));
    if (!date.is_string() || date.get<std::string>().size() > 32) return fail("the best run's date must be a short text");
    run.score = score.get<double>();
    run.time = time.get<double>();
    run.coins = static_cast<int>(coins.get<long long>());
    run.date = date.get<std::string>();

    const Json& ghost = best.value("ghost", Json());
    if (!ghost.is_object()) return fail("the best run has no ghost");
    const Json& rate = ghost.value("sampleRate", Json());
    const Json& count = ghost.value("sampleCount", Json());
    const Json& samples = ghost.value("samples", Json());
    if (!finiteNumber(rate) || rate.get<double>() < 1.0 || rate.get<double>() > 1000.0)
        return fail("the ghost's sample rate must be 1 to 1000 a second");
    if (!count.is_number_integer() || count.get<long long>() < 0 || count.get<unsigned long long>() > maxGhostSamples)
        return fail("the ghost's sample count must be a whole number from 0 to " + std::to_string(maxGhostSamples));
    // The declared count is only compared with what the file holds, never
    // used to make room before that.
    if (!samples.is_array() || samples.size() != 3 * count.get<size_t>())
        return fail("the ghost declares " + count.dump() + " samples but holds " +
                    (samples.is_array() ? std::to_string(samples.size()) + " numbers" : "none"));
    run.way.sampleRate = rate.get<double>();
    run.way.samples.reserve(samples.size() / 3);
    for (size_t i = 0; i < samples.size(); i += 3) {
        if (!finiteNumber(samples[i]) || !finiteNumber(samples[i + 1]) || !finiteNumber(samples[i + 2]))
            return fail("the ghost's samples must be numbers");
        run.way.samples.emplace_back(samples[i].get<float>(), samples[i + 1].get<float>(), samples[i + 2].get<float>());
    }
    return run;
}

// A millimetre is precision enough for a way, and keeps the file a third as large.
double toMillimetres(float coordinate) { return std::round(double(coordinate) * 1000.0) / 1000.0; }

}  // namespace

double GhostWay::duration() const {
    return samples.size() < 2 ? 0.0 : double(samples.size() - 1) / sampleRate;
}

glm::vec3 GhostWay::at(double seconds) const {
    const double position = seconds * sampleRate;
    if (!(position > 0.0)) return samples.front();
    const size_t before = static_cast<size_t>(position);
    if (before + 1 >= samples.size()) return samples.back();
    const float along = static_cast<float>(position - double(before));
    return glm::mix(samples[before], samples[before + 1], along);
}

bool parseRecords(const std::string& text, std::optional<Record>& best, std::string& problem) {
    best.reset();
    const Json file = Json::parse(text, nullptr, false);
    if (file.is_discarded() || !file.is_object()) {
        problem = "not a JSON object";
        return false;
    }
    const auto version = file.find("version");
    if (version == file.end() || !version->is_number_integer()) {
        problem = "no format version";
        return false;
    }
    if (version->get<long long>() != recordsVersion) {
        problem = "format version " + version->dump() + ", which this game cannot read";
        return false;
    }
    const auto found = file.find("best");
    if (found == file.end()) return true;
    best = parseRun(*found, problem);
    return best.has_value();
}

std::string recordsText(const std::optional<Record>& best) {
    Json file;
    file["version"] = recordsVersion;
    if (best) {
        Json samples = Json::array();
        for (const glm::vec3& p : best->way.samples) {
            samples.push_back(toMillimetres(p.x));
            samples.push_back(toMillimetres(p.y));
            samples.push_back(toMillimetres(p.z));
        }
        Json ghost;
        ghost["sampleRate"] = best->way.sampleRate;
        ghost["sampleCount"] = best->way.samples.size();
        ghost["samples"] = std::move(samples);
        Json run;
        run["score"] = best->score;
        run["time"] = best->time;
        run["coins"] = best->coins;
        run["date"] = best->date;
        run["ghost"] = std::move(ghost);
        file["best"] = std::move(run);
    }
    return file.dump(2) + "\n";
}

const Record& betterRecord(const Record& kept, const Record& challenger) {
    return challenger.score < kept.score ? challenger : kept;
}

std::string todaysDate() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &utc);
    return text;
}

namespace {

// The best run the file at `path` keeps; a file that cannot be read is set aside.
std::optional<Record> readRecords(const std::string& path) {
    std::string text, problem;
    std::optional<Record> best;
    switch (readBounded(path, recordsLimit, text, problem)) {
        case ReadOutcome::missing: return std::nullopt;
        case ReadOutcome::tooLarge: problem = "larger than " + std::to_string(recordsLimit >> 20) + " MiB"; break;
        case ReadOutcome::failed: break;
        case ReadOutcome::read:
            if (parseRecords(text, best, problem)) return best;
            break;
    }
    setAside(path, problem, "playing on without the records");
    return std::nullopt;
}

}  // namespace

std::optional<Record> loadRecords() {
    const std::optional<std::string> path = recordsPath();
    if (!path) {
        reportOnce("records", "kivo: neither XDG_DATA_HOME nor HOME names a folder: records are not kept");
        return std::nullopt;
    }
    return readRecords(*path);
}

Record keepRecord(const Record& run, bool& runKept) {
    runKept = true;
    const std::optional<std::string> path = recordsPath();
    if (!path) return run;  // said when they were loaded
    const FileLock lock(*path);
    const std::optional<Record> kept = readRecords(*path);
    if (kept && &betterRecord(*kept, run) == &*kept) {
        runKept = false;
        return *kept;
    }
    std::string problem;
    if (!writeAtomically(*path, recordsText(run), problem))
        reportOnce(*path, "kivo: cannot save " + *path + ": " + problem + "; playing on without saving records");
    return run;
}
