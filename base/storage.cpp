#include "base/storage.h"

#include "base/console.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string systemError() { return std::strerror(errno); }


std::string sizeText(size_t bytes) {
    return bytes % (1 << 20) == 0 ? std::to_string(bytes >> 20) + " MiB" : std::to_string(bytes >> 10) + " KiB";
}

// The files this start leaves as they are: never written, moved or saved over.
std::set<std::string> leftAlone;

// ---- Reading -------------------------------------------------------------------

// The file `path` names once symlinks are followed: the one a save replaces.
// A link to nowhere names the file it points at.
std::string followLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error) return path;
        path = target.is_absolute() ? target.string() : (fs::path(path).parent_path() / target).string();
    }
    return path;  // a loop: opening it says ELOOP
}

}  // namespace

ReadOutcome readBounded(const std::string& path, size_t limit, std::string& content, std::string& problem) {
    content.clear();
    // Without blocking: a named pipe in the file's place would hang the start.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT) return ReadOutcome::missing;
        problem = systemError();
        return ReadOutcome::failed;
    }
    struct stat status {};
    ReadOutcome outcome = ReadOutcome::read;
    if (::fstat(descriptor, &status) != 0) {
        problem = systemError();
        outcome = ReadOutcome::failed;
    } else if (!S_ISREG(status.st_mode)) {
        outcome = ReadOutcome::notAFile;
    } else if (static_cast<unsigned long long>(status.st_size) > limit) {
        outcome = ReadOutcome::tooLarge;
    } else {
        // The file may grow while it is read: what lies beyond the bound is never taken.
        content.resize(static_cast<size_t>(status.st_size));
        size_t done = 0;
        while (done < content.size()) {
            const ssize_t got = ::read(descriptor, content.data() + done, content.size() - done);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                problem = systemError();
                outcome = ReadOutcome::failed;
            }
            if (got <= 0) break;
            done += static_cast<size_t>(got);
        }
        content.resize(done);
    }
    ::close(descriptor);
    return outcome;
}

namespace {

// How deep arrays and objects lie within each other in `text`, counted
// outside strings; for any prefix the JSON parser accepts, exactly the depth
// of what it would build. Deeper than `bound` stops the count.
int nestingOf(const std::string& text, int bound) {
    int depth = 0, deepest = 0;
    bool inString = false, escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
            if (deepest > bound) break;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

// ---- Writing -------------------------------------------------------------------

// Makes `folder` and every missing folder above it, 0700 as the XDG rules ask.
bool makeFolders(const fs::path& folder, std::string& problem) {
    struct stat status {};
    if (folder.empty() || ::stat(folder.c_str(), &status) == 0) return true;
    if (folder.has_relative_path() && !makeFolders(folder.parent_path(), problem)) return false;
    if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) return true;
    problem = systemError();
    return false;
}

// Writes all of `content` to `descriptor`, through short writes and signals.
bool writeAll(int descriptor, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = ::write(descriptor, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = EIO;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// A temporary file is ".NAME.PID.tmp": one a killed game left behind names a
// process that is gone, and is removed by the next save.
std::string temporaryName(const fs::path& target, long pid) {
    return "." + target.filename().string() + "." + std::to_string(pid) + ".tmp";
}

void removeLeftovers(const fs::path& target) {
    std::error_code error;
    const std::string prefix = "." + target.filename().string() + ".";
    for (const fs::directory_entry& entry : fs::directory_iterator(target.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || std::string(end) != ".tmp" || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) fs::remove(entry.path(), error);
    }
}

// Replaces the file `target` with `content` atomically, with the old file's
// mode. False with `problem` set when it cannot: the old file is then
// untouched and no temporary file is left. True with `problem` set when the
// new file is in place but its folder could not be flushed.
bool writeAtomically(const std::string& target, const std::string& content, std::string& problem) {
    const fs::path file(target), folder = file.parent_path();
    if (!makeFolders(folder, problem)) return false;
    removeLeftovers(file);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    const std::string temporary = (folder / temporaryName(file, ::getpid())).string();
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        problem = systemError();
        return false;
    }
    bool ok = (!replacing || ::fchmod(descriptor, old.st_mode & 07777) == 0) && writeAll(descriptor, content) &&
              ::fsync(descriptor) == 0;
    if (!ok) problem = systemError();
    if (::close(descriptor) != 0 && ok) ok = false, problem = systemError();
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) ok = false, problem = systemError();
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself is only sure once the folder is on the disk; a folder
    // that cannot be opened, or flushed on a file system that has no such
    // thing, is no trouble to tell of.
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        if (::fsync(folderDescriptor) != 0 && errno != EINVAL) problem = systemError();
        ::close(folderDescriptor);
    }
    return true;
}

// Renames `from` to `to` unless `to` exists.
bool renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without it: a hard link is never made over a name either.
    return ::link(from.c_str(), to.c_str()) == 0 && ::unlink(from.c_str()) == 0;
}

// Moves `file` to the first free name of NAME.bad, NAME.bad.2 ... NAME.bad.99.
std::optional<std::string> moveAside(const std::string& file, std::string& problem) {
    for (int n = 1; n < 100; ++n) {
        const std::string aside = file + ".bad" + (n == 1 ? "" : "." + std::to_string(n));
        if (renameNoReplace(file, aside)) return aside;
        if (errno != EEXIST) {
            problem = systemError();
            return std::nullopt;
        }
    }
    problem = "NAME.bad to NAME.bad.99 are all there";
    return std::nullopt;
}

// ---- Judging a file ------------------------------------------------------------

// What the file at `file` is, and the lines that say so: a broken file is
// set aside, one the game cannot judge is left alone from now on.
Loaded judge(const std::string& path, const std::string& file, const KeptFormat& format, UnknownKeys& unknown,
             const TakeKeys& take) {
    std::string text, problem;
    bool broken = true;  // else it is not the game's to judge, and stays as it is
    switch (readBounded(file, format.limit, text, problem)) {
        case ReadOutcome::missing: return Loaded::nothing;
        case ReadOutcome::tooLarge: problem = "larger than " + sizeText(format.limit); break;
        case ReadOutcome::notAFile: problem = "not a plain file", broken = false; break;
        case ReadOutcome::failed: problem = "cannot be read (" + problem + ")", broken = false; break;
        case ReadOutcome::read: {
            const Verdict verdict = parseKept(text, format, unknown, problem, take);
            if (verdict == Verdict::taken) return Loaded::taken;
            broken = verdict == Verdict::broken;
        }
    }
    unknown.clear();
    if (broken) {
        std::string why;
        if (const std::optional<std::string> aside = moveAside(file, why)) {
            report(path + ": " + problem + "; kept as " + *aside + ", " + format.without);
            return Loaded::setAside;
        }
        problem += "; it could not be set aside (" + why + ")";
    }
    leftAlone.insert(file);
    reportOnce(file, path + ": " + problem + "; left as it is and not saved over, " + format.without);
    return Loaded::leftAlone;
}

}  // namespace

// ---- Where ---------------------------------------------------------------------

namespace {

std::optional<std::string> keptFile(const char* variable, const char* fallback, const char* name) {
    const std::optional<std::string> folder = xdgFolder(std::getenv(variable), std::getenv("HOME"), fallback);
    if (!folder) return std::nullopt;
    return (fs::path(*folder) / "kivo" / name).string();
}

}  // namespace

std::optional<std::string> xdgFolder(const char* value, const char* home, const char* fallback) {
    if (value && value[0] == '/') return std::string(value);
    if (home && home[0] == '/') return (fs::path(home) / fallback).string();
    return std::nullopt;
}

std::optional<std::string> picturesFolder() {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return std::nullopt;
    std::string folder = (fs::path(home) / "Pictures").string();
    const std::optional<std::string> config = xdgFolder(std::getenv("XDG_CONFIG_HOME"), home, ".config");
    std::string dirs, problem;
    if (config && readBounded((fs::path(*config) / "user-dirs.dirs").string(), 64 * 1024, dirs, problem) ==
                      ReadOutcome::read) {
        // Lines of the form XDG_PICTURES_DIR="$HOME/Pictures" or ="/absolute/path".
        const std::string key = "XDG_PICTURES_DIR=\"";
        for (size_t at = dirs.find(key); at != std::string::npos; at = dirs.find(key, at + 1)) {
            if (at != 0 && dirs[at - 1] != '\n') continue;
            const size_t start = at + key.size(), end = dirs.find('"', start);
            if (end == std::string::npos) break;
            std::string value = dirs.substr(start, end - start);
            if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
            if (!value.empty() && value[0] == '/') folder = value;
        }
    }
    return (fs::path(folder) / "kivo").string();
}

std::string pictureName(const std::tm& when, int take) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "kivo-%Y-%m-%d_%H-%M-%S", &when);
    return std::string(stamp) + (take > 1 ? "-" + std::to_string(take) : "") + ".png";
}

std::optional<std::string> writeNewPicture(const std::string& folder, const std::tm& when, const std::string& content,
                                           std::string& problem) {
    problem.clear();
    if (!makeFolders(folder, problem)) return std::nullopt;
    constexpr int maxTakes = 1000;  // a second of pictures, and more than a frame loop can take
    for (int take = 1; take <= maxTakes; ++take) {
        const std::string path = (fs::path(folder) / pictureName(when, take)).string();
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (descriptor < 0 && errno == EEXIST) continue;
        if (descriptor < 0) {
            problem = systemError();
            return std::nullopt;
        }
        const bool written = writeAll(descriptor, content) && ::fsync(descriptor) == 0;
        if (!written) problem = systemError();
        if (::close(descriptor) != 0 && written) problem = systemError();
        if (!problem.empty()) {
            ::unlink(path.c_str());  // no half a picture left behind
            return std::nullopt;
        }
        return path;
    }
    problem = "every name of this second is taken";
    return std::nullopt;
}

std::optional<std::string> settingsPath() { return keptFile("XDG_CONFIG_HOME", ".config", "settings.json"); }
std::optional<std::string> recordsPath() { return keptFile("XDG_DATA_HOME", ".local/share", "records.json"); }

// ---- Formats -------------------------------------------------------------------

Verdict parseKept(const std::string& text, const KeptFormat& format, UnknownKeys& unknown, std::string& problem,
                  const TakeKeys& take) {
    unknown.clear();
    if (nestingOf(text, maxKeptNesting) > maxKeptNesting) {
        problem = "nested deeper than " + std::to_string(maxKeptNesting) + " levels";
        return Verdict::broken;
    }
    const Json file = Json::parse(text, nullptr, false);
    if (file.is_discarded() || !file.is_object()) {
        problem = "not a JSON object";
        return Verdict::broken;
    }
    const auto version = file.find("version");
    if (version == file.end() || !version->is_number_integer()) {
        problem = "no format version";
        return Verdict::broken;
    }
    if (version->get<long long>() < 1) {
        problem = "format version " + version->dump() + ", which no game writes";
        return Verdict::broken;
    }
    if (version->get<long long>() > format.version) {
        problem = "format version " + version->dump() + ", a later game's";
        return Verdict::later;
    }
    if (!take(file, problem)) return Verdict::broken;
    for (const auto& [key, value] : file.items())
        if (key != "version" && std::find(format.keys.begin(), format.keys.end(), key) == format.keys.end())
            unknown.emplace_back(key, value.dump());
    return Verdict::taken;
}

std::string keptText(const Json& known, const UnknownKeys& unknown) {
    std::string text = known.dump(2);
    if (unknown.empty()) return text + "\n";
    text.erase(text.size() - 2);  // the closing "\n}"
    for (const auto& [key, value] : unknown) text += ",\n  " + Json(key).dump() + ": " + value;
    return text + "\n}\n";
}

Loaded loadKept(const std::string& path, const KeptFormat& format, UnknownKeys& unknown, const TakeKeys& take) {
    const std::string file = followLinks(path);
    const Loaded loaded = judge(path, file, format, unknown, take);
    if (loaded == Loaded::taken && !unknown.empty()) {
        std::string names;
        for (const auto& entry : unknown) names += (names.empty() ? "'" : ", '") + entry.first + "'";
        reportOnce(file + " unknown",
                   path + ": keeping " + format.what + " this game does not know as they are: " + names);
    }
    return loaded;
}

bool keepingFiles = true;

bool saveKept(const std::string& path, const KeptFormat& format, const std::string& text) {
    if (!keepingFiles) return true;
    const std::string file = followLinks(path);
    // Another game may have written it since: a later one's file stays.
    UnknownKeys ignored;
    if (leftAlone.count(file) || judge(path, file, format, ignored, [](const Json&, std::string&) { return true; }) ==
                                     Loaded::leftAlone)
        return false;
    std::string problem;
    if (text.size() > format.limit) {
        problem = "it would be larger than " + sizeText(format.limit) + ", more than the game reads back";
    } else if (writeAtomically(file, text, problem)) {
        if (!problem.empty())
            reportOnce(file, path + ": saved, but its folder could not be flushed (" + problem +
                                 "): a crash of the system may still undo the save");
        return true;
    }
    reportOnce(file, "cannot save " + path + ": " + problem + "; " + format.unsaved);
    return false;
}

void reportOnce(const std::string& key, const std::string& line) {
    static std::set<std::string> reported;
    if (reported.insert(key).second) report(line);
}

// ---- Taking turns --------------------------------------------------------------

FileLock::FileLock(const std::string& path, double patience) {
    if (!keepingFiles) {  // nothing is written, so there is nothing to guard
        state_ = State::held;
        return;
    }
    const std::string lock = followLinks(path) + ".lock";
    if (!makeFolders(fs::path(lock).parent_path(), problem_)) {
        problem_ = "cannot make " + lock + ": " + problem_;
        return;
    }
    descriptor_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (descriptor_ < 0) {
        problem_ = "cannot make " + lock + ": " + systemError();
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(patience);
    while (::flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            problem_ = "cannot lock " + lock + ": " + systemError();
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            state_ = State::busy;
            problem_ = "another game holds " + lock;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    state_ = State::held;
}

FileLock::~FileLock() {
    if (descriptor_ >= 0) ::close(descriptor_);  // closing releases the lock
}
