#include "base/storage.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string systemError() { return std::strerror(errno); }

// Writes all of `content` to `descriptor`, through short writes and signals.
bool writeAll(int descriptor, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = ::write(descriptor, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// Flushes the folder itself, so the rename in it survives a crash too.
bool syncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
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

std::optional<std::string> settingsPath() { return keptFile("XDG_CONFIG_HOME", ".config", "settings.json"); }
std::optional<std::string> recordsPath() { return keptFile("XDG_DATA_HOME", ".local/share", "records.json"); }

ReadOutcome readBounded(const std::string& path, size_t limit, std::string& content, std::string& problem) {
    content.clear();
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT) return ReadOutcome::missing;
        problem = systemError();
        return ReadOutcome::failed;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        problem = "not a file that can be read";
        ::close(descriptor);
        return ReadOutcome::failed;
    }
    if (static_cast<unsigned long long>(status.st_size) > limit) {
        ::close(descriptor);
        return ReadOutcome::tooLarge;
    }
    // The file may grow while it is read: what lies beyond the bound is never taken.
    content.resize(static_cast<size_t>(status.st_size));
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t got = ::read(descriptor, content.data() + done, content.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            problem = systemError();
            ::close(descriptor);
            return ReadOutcome::failed;
        }
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    content.resize(done);
    ::close(descriptor);
    return ReadOutcome::read;
}

bool writeAtomically(const std::string& path, const std::string& content, std::string& problem) {
    const fs::path target(path);
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error) {
        problem = error.message();
        return false;
    }
    removeLeftovers(target);
    const fs::path temporary = target.parent_path() / temporaryName(target, ::getpid());
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        problem = systemError();
        return false;
    }
    bool ok = writeAll(descriptor, content) && ::fsync(descriptor) == 0;
    if (!ok) problem = systemError();
    if (::close(descriptor) != 0 && ok) ok = false, problem = systemError();
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) ok = false, problem = systemError();
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The new file is in place; a folder that cannot be flushed only risks
    // the rename itself after a crash, which leaves the old file whole.
    syncFolder(target.parent_path());
    return true;
}

void setAside(const std::string& path, const std::string& problem, const std::string& goingOn) {
    const std::string aside = path + ".bad";
    std::error_code error;
    fs::rename(path, aside, error);
    if (error) {
        std::fprintf(stderr, "kivo: %s: %s; it could not be set aside (%s), %s\n", path.c_str(), problem.c_str(),
                     error.message().c_str(), goingOn.c_str());
    } else {
        std::fprintf(stderr, "kivo: %s: %s; kept as %s, %s\n", path.c_str(), problem.c_str(), aside.c_str(),
                     goingOn.c_str());
    }
}

void reportOnce(const std::string& path, const std::string& line) {
    static std::set<std::string> reported;
    if (reported.insert(path).second) std::fprintf(stderr, "%s\n", line.c_str());
}

FileLock::FileLock(const std::string& path) {
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    descriptor_ = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor_ < 0) return;
    while (::flock(descriptor_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

FileLock::~FileLock() {
    if (descriptor_ >= 0) ::close(descriptor_);  // closing releases the lock
}
