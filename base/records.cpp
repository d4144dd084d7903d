#include "base/records.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

#include "base/console.h"
#include "base/course.h"

namespace {

const KeptFormat recordsFormat{"records", "playing on without the records",
                               "trying again at the next finish and at exit",
                               16 * 1024 * 1024,  // bytes: an hour of way is about 3 MB
                               recordsVersion, {"best"}};

constexpr double lockPatience = 2.0;  // seconds another game may hold the records before a run waits for later

// A run a finish could not save: saved at the next finish or at exit.
std::optional<Record> pending;

// The value of `key` in `object`, null when it is left out; never a copy.
const Json& member(const Json& object, const char* key) {
    static const Json none;
    const auto found = object.find(key);
    return found == object.end() ? none : *found;
}

bool finiteNumber(const Json& value) { return value.is_number() && std::isfinite(value.get<double>()); }

// A coordinate a float holds, to the millimetre the file keeps; beyond what
// a float holds at all, the cast would be undefined.
bool coordinate(const Json& value) { return finiteNumber(value) && std::abs(value.get<double>()) <= 1e9; }

// The run in `best` into `run`, or false with `problem` set.
bool takeRun(const Json& best, Record& run, std::string& problem) {
    auto fail = [&problem](const std::string& what) {
        problem = what;
        return false;
    };
    if (!best.is_object()) return fail("\"best\" must be an object");
    const Json& score = member(best, "score");
    const Json& time = member(best, "time");
    const Json& coins = member(best, "coins");
    const Json& date = member(best, "date");
    if (!finiteNumber(score)) return fail("the best run's score must be a number");
    if (!time.is_null() && (!finiteNumber(time) || time.get<double>() < 0.0))
        return fail("the best run's time must be a number of seconds, 0 or more");
    if (!coins.is_null() &&
        (!coins.is_number_integer() || coins.get<long long>() < 0 || coins.get<long long>() > coinsPerLayout))
        return fail("the best run's coins must be a whole number from 0 to " + std::to_string(coinsPerLayout));
    if (!date.is_null() && (!date.is_string() || date.get<std::string>().size() > 32))
        return fail("the best run's date must be a short text");
    run.score = score.get<double>();
    run.time = time.is_null() ? 0.0 : time.get<double>();
    run.coins = coins.is_null() ? 0 : static_cast<int>(coins.get<long long>());
    run.date = date.is_null() ? "" : date.get<std::string>();

    const Json& ghost = member(best, "ghost");
    if (ghost.is_null()) return true;  // a run without its way: no ghost races
    if (!ghost.is_object()) return fail("the best run's ghost must be an object");
    const Json& rate = member(ghost, "sampleRate");
    const Json& count = member(ghost, "sampleCount");
    const Json& samples = member(ghost, "samples");
    if (!rate.is_null() && (!finiteNumber(rate) || rate.get<double>() < 1.0 || rate.get<double>() > 1000.0))
        return fail("the ghost's sample rate must be 1 to 1000 a second");
    if (!samples.is_null() && (!samples.is_array() || samples.size() % 3 != 0))
        return fail("the ghost's samples must be a list of x, y, z");
    if (samples.size() / 3 > maxGhostSamples)
        return fail("the ghost holds more than " + std::to_string(maxGhostSamples) + " samples");
    // The declared count is only compared with what the file holds, never
    // used to make room.
    if (!count.is_null() && (!count.is_number_integer() || count.get<long long>() < 0 ||
                             count.get<unsigned long long>() != samples.size() / 3))
        return fail("the ghost declares " + count.dump() + " samples but holds " + std::to_string(samples.size()) +
                    " numbers");
    if (!rate.is_null()) run.way.sampleRate = rate.get<double>();
    if (samples.is_null()) return true;
    run.way.samples.reserve(samples.size() / 3);
    for (size_t i = 0; i < samples.size(); i += 3) {
        if (!coordinate(samples[i]) || !coordinate(samples[i + 1]) || !coordinate(samples[i + 2]))
            return fail("the ghost's samples must be numbers from -1e9 to 1e9");
        run.way.samples.emplace_back(samples[i].get<float>(), samples[i + 1].get<float>(), samples[i + 2].get<float>());
    }
    return true;
}

bool takeRecords(const Json& file, Records& records, std::string& problem) {
    const Json& best = member(file, "best");
    if (best.is_null()) return true;
    records.best.emplace();
    return takeRun(best, *records.best, problem);
}

// A millimetre is precision enough for a way, and keeps the file a third as large.
double toMillimetres(float coordinate) { return std::round(double(coordinate) * 1000.0) / 1000.0; }

// The records file at `path`, read into `records`.
Loaded readRecords(const std::string& path, Records& records) {
    records = Records{};
    const Loaded loaded = loadKept(path, recordsFormat, records.unknown, [&](const Json& file, std::string& problem) {
        return takeRecords(file, records, problem);
    });
    if (loaded != Loaded::taken) records = Records{};
    return loaded;
}

// Saves `run` as the best unless the file, read again under the lock, holds a
// better one, which `better` then is. False when the run could not be saved
// now: another game holds the lock, or the disk refuses.
bool saveRun(const std::string& path, const Record& run, std::optional<Record>& better) {
    const FileLock lock(path, lockPatience);
    if (lock.state() == FileLock::State::busy) {
        reportOnce(path + ".lock", path + ": " + lock.problem() + "; trying again at the next finish and at exit");
        return false;
    }
    Records kept;
    if (readRecords(path, kept) == Loaded::leftAlone) return true;  // said; never saved over
    if (kept.best && &betterRecord(*kept.best, run) == &*kept.best) {
        better = std::move(kept.best);
        return true;
    }
    kept.best = run;
    if (!saveKept(path, recordsFormat, recordsText(kept))) return false;
    if (lock.state() == FileLock::State::unavailable)
        reportOnce(path + ".lock", path + ": saved without the lock (" + lock.problem() +
                             "): a game finishing at the same moment could keep the worse run");
    return true;
}

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

Verdict parseRecords(const std::string& text, Records& records, std::string& problem) {
    records = Records{};
    const Verdict verdict = parseKept(text, recordsFormat, records.unknown, problem, [&](const Json& file, std::string& why) {
        return takeRecords(file, records, why);
    });
    if (verdict != Verdict::taken) records = Records{};
    return verdict;
}

std::string recordsText(const Records& records) {
    Json file;
    file["version"] = recordsVersion;
    if (const std::optional<Record>& best = records.best) {
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
    return keptText(file, records.unknown);
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

std::optional<Record> loadRecords() {
    const std::optional<std::string> path = recordsPath();
    if (!path) {
        reportOnce("records", "neither XDG_DATA_HOME nor HOME names a folder: records are not kept");
        return std::nullopt;
    }
    Records records;
    readRecords(*path, records);
    return records.best;
}

Record keepRecord(const Record& run, bool& runKept) {
    runKept = true;
    const std::optional<std::string> path = recordsPath();
    if (!path) return run;  // said when they were loaded
    // A run that waits to be saved goes first, unless this one beats it.
    runKept = !pending || &betterRecord(*pending, run) == &run;
    const Record candidate = runKept ? run : *pending;
    std::optional<Record> better;
    if (saveRun(*path, candidate, better)) {
        pending.reset();
    } else {
        pending = candidate;
    }
    if (!better) return candidate;
    runKept = false;
    return *better;
}

void savePendingRecords() {
    const std::optional<std::string> path = recordsPath();
    if (!pending || !path) return;
    std::optional<Record> better;
    if (saveRun(*path, *pending, better)) {
        pending.reset();
        return;
    }
    char score[32];
    std::snprintf(score, sizeof score, "%.2f", pending->score);
    report(*path + ": the run of score " + score + " could not be kept");
    pending.reset();
}
