#include "base/records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

#include "base/console.h"
#include "base/course.h"
#include "base/splits.h"

namespace {

const KeptFormat recordsFormat{"records", "playing on without the records",
                               "trying again at the next finish and at exit",
                               16 * 1024 * 1024,  // bytes: an hour of way is about 3 MB
                               recordsVersion, {"best", "table", "bestSegments", "lastGhost"}};

constexpr double lockPatience = 2.0;  // seconds another game may hold the records before a run waits for later

// Runs finishes could not save: saved at the next finish or at exit.
std::vector<Record> pending;
// The records as this start last knew them, to merge into while the file
// cannot be had.
Records known;

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

const char* const runKeys[] = {"score", "time", "coins", "date", "ghost"};

// The way in `ghost` into `way`, or false with `problem` set.
bool takeWay(const Json& ghost, GhostWay& way, std::string& problem) {
    auto fail = [&problem](const std::string& what) {
        problem = what;
        return false;
    };
    if (!ghost.is_object()) return fail("a ghost must be an object");
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
    if (!rate.is_null()) way.sampleRate = rate.get<double>();
    if (samples.is_null()) return true;
    way.samples.reserve(samples.size() / 3);
    for (size_t i = 0; i < samples.size(); i += 3) {
        if (!coordinate(samples[i]) || !coordinate(samples[i + 1]) || !coordinate(samples[i + 2]))
            return fail("the ghost's samples must be numbers from -1e9 to 1e9");
        way.samples.emplace_back(samples[i].get<float>(), samples[i + 1].get<float>(), samples[i + 2].get<float>());
    }
    return true;
}

// The run in `best` into `run`, or false with `problem` set; `which` names
// it in the problem: "the best run".
bool takeRun(const Json& best, Record& run, const std::string& which, std::string& problem) {
    auto fail = [&problem](const std::string& what) {
        problem = what;
        return false;
    };
    if (!best.is_object()) return fail(which + " must be an object");
    const Json& score = member(best, "score");
    const Json& time = member(best, "time");
    const Json& coins = member(best, "coins");
    const Json& date = member(best, "date");
    if (!finiteNumber(score)) return fail(which + "'s score must be a number");
    if (!time.is_null() && (!finiteNumber(time) || time.get<double>() < 0.0))
        return fail(which + "'s time must be a number of seconds, 0 or more");
    if (!coins.is_null() &&
        (!coins.is_number_integer() || coins.get<long long>() < 0 || coins.get<long long>() > coinsPerLayout))
        return fail(which + "'s coins must be a whole number from 0 to " + std::to_string(coinsPerLayout));
    if (!date.is_null() && (!date.is_string() || date.get<std::string>().size() > 32))
        return fail(which + "'s date must be a short text");
    run.score = score.get<double>();
    run.time = time.is_null() ? 0.0 : time.get<double>();
    run.coins = coins.is_null() ? 0 : static_cast<int>(coins.get<long long>());
    run.date = date.is_null() ? "" : date.get<std::string>();
    for (const auto& [key, value] : best.items())
        if (std::find(std::begin(runKeys), std::end(runKeys), key) == std::end(runKeys))
            run.unknown.emplace_back(key, value.dump());

    const Json& ghost = member(best, "ghost");
    if (ghost.is_null()) return true;  // a run without its way: no ghost races
    return takeWay(ghost, run.way, problem);
}

bool takeRecords(const Json& file, Records& records, std::string& problem) {
    const Json& best = member(file, "best");
    if (!best.is_null()) {
        records.best.emplace();
        if (!takeRun(best, *records.best, "the best run", problem)) return false;
    }
    if (file["version"].get<long long>() < 2) {
        // The first format kept the best run alone: it is the whole table,
        // and its way tells its segments.
        if (records.best) {
            Record row = *records.best;
            row.way = GhostWay{};
            row.unknown.clear();
            records.table.push_back(std::move(row));
            keepBestSegments(records.bestSegments, segmentsOf(splitsOfWay(records.best->way, records.best->time)));
        }
        return true;
    }
    const Json& table = member(file, "table");
    if (!table.is_null() && (!table.is_array() || table.size() > bestRunsKept))
        return problem = "the table must be a list of at most " + std::to_string(bestRunsKept) + " runs", false;
    for (const Json& row : table) {
        Record run;
        if (!takeRun(row, run, "a run of the table", problem)) return false;
        if (!run.way.samples.empty()) return problem = "a run of the table keeps no ghost", false;
        if (!records.table.empty() && run.score < records.table.back().score)
            return problem = "the table must hold the best run first", false;
        records.table.push_back(std::move(run));
    }
    const Json& segments = member(file, "bestSegments");
    if (!segments.is_null() && (!segments.is_array() || segments.size() > size_t(checkpointCount)))
        return problem = "the best segments must be a list of at most " + std::to_string(checkpointCount) + " times", false;
    for (const Json& segment : segments) {
        if (!finiteNumber(segment) || segment.get<double>() < 0.0)
            return problem = "the best segments must be seconds, 0 or more", false;
        records.bestSegments.push_back(segment.get<double>());
    }
    const Json& last = member(file, "lastGhost");
    return last.is_null() || takeWay(last, records.lastWay, problem);
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

void noteRun(Records& records, const Record& run, KeptRun& kept);

// Merges `runs` into the file, read again under the lock, and saves it; the
// records then kept are `merged`, and `last` tells where the last run went.
// False when they could not be saved now: another game holds the lock, or
// the disk refuses.
bool saveRuns(const std::string& path, const std::vector<Record>& runs, Records& merged, KeptRun& last) {
    const FileLock lock(path, lockPatience);
    if (lock.state() == FileLock::State::busy) {
        reportOnce(path + ".lock", path + ": " + lock.problem() + "; trying again at the next finish and at exit");
        return false;
    }
    const Loaded loaded = readRecords(path, merged);
    for (const Record& run : runs) noteRun(merged, run, last);
    if (loaded == Loaded::leftAlone) return true;  // said; never saved over
    if (!saveKept(path, recordsFormat, recordsText(merged))) return false;
    if (lock.state() == FileLock::State::unavailable)
        reportOnce(path + ".lock", path + ": saved without the lock (" + lock.problem() +
                             "): a game finishing at the same moment could lose its run");
    return true;
}

}  // namespace

int mergeRun(Records& records, const Record& run) {
    if (!records.best || &betterRecord(*records.best, run) == &run) records.best = run;
    Record row = run;
    row.way = GhostWay{};
    std::vector<Record>& table = records.table;
    const auto at = std::upper_bound(table.begin(), table.end(), row.score,
                                     [](double score, const Record& kept) { return score < kept.score; });
    int place = int(at - table.begin());
    table.insert(at, std::move(row));
    if (table.size() > bestRunsKept) table.resize(bestRunsKept);
    if (place >= int(bestRunsKept)) place = -1;
    keepBestSegments(records.bestSegments, segmentsOf(splitsOfWay(run.way, run.time)));
    records.lastWay = run.way;
    return place;
}

namespace {

// mergeRun(), telling `kept` where the run went.
void noteRun(Records& records, const Record& run, KeptRun& kept) {
    kept.best = !records.best || &betterRecord(*records.best, run) == &run;
    kept.row = mergeRun(records, run);
}

Json wayJson(const GhostWay& way) {
    Json samples = Json::array();
    for (const glm::vec3& p : way.samples) {
        samples.push_back(toMillimetres(p.x));
        samples.push_back(toMillimetres(p.y));
        samples.push_back(toMillimetres(p.z));
    }
    Json ghost;
    ghost["sampleRate"] = way.sampleRate;
    ghost["sampleCount"] = way.samples.size();
    ghost["samples"] = std::move(samples);
    return ghost;
}

Json runJson(const Record& run, bool withWay) {
    Json json;
    json["score"] = run.score;
    json["time"] = run.time;
    json["coins"] = run.coins;
    json["date"] = run.date;
    if (withWay) json["ghost"] = wayJson(run.way);
    for (const auto& [key, value] : run.unknown) json[key] = Json::parse(value);
    return json;
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
    if (records.best) file["best"] = runJson(*records.best, true);
    file["table"] = Json::array();
    for (const Record& row : records.table) file["table"].push_back(runJson(row, false));
    file["bestSegments"] = records.bestSegments;
    if (!records.lastWay.samples.empty()) file["lastGhost"] = wayJson(records.lastWay);
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

Records loadAllRecords() {
    const std::optional<std::string> path = recordsPath();
    if (!path) {
        reportOnce("records", "neither XDG_DATA_HOME nor HOME names a folder: records are not kept");
        return Records{};
    }
    readRecords(*path, known);
    return known;
}

std::optional<Record> loadRecords() { return loadAllRecords().best; }

KeptRun keepRun(const Record& run) {
    std::vector<Record> runs = pending;
    runs.push_back(run);
    KeptRun kept;
    Records merged;
    const std::optional<std::string> path = recordsPath();
    if (path && saveRuns(*path, runs, merged, kept)) {
        pending.clear();
        known = std::move(merged);
    } else {
        // Kept for this start all the same, and saved later where there is a file.
        if (path) pending = std::move(runs);
        noteRun(known, run, kept);
    }
    kept.records = known;
    return kept;
}

Record keepRecord(const Record& run, bool& runKept) {
    const KeptRun kept = keepRun(run);
    runKept = kept.best;
    return *kept.records.best;
}

void savePendingRecords() {
    const std::optional<std::string> path = recordsPath();
    if (pending.empty() || !path) return;
    Records merged;
    KeptRun last;
    if (!saveRuns(*path, pending, merged, last))
        for (const Record& run : pending) {
            char score[32];
            std::snprintf(score, sizeof score, "%.2f", run.score);
            report(*path + ": the run of score " + score + " could not be kept");
        }
    pending.clear();
}
