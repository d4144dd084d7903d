// Where the game keeps files between starts, and how it keeps them safe.
//
// Settings live in the XDG config folder, records in the XDG data folder,
// each in a kivo/ folder of its own made when first needed. A save never
// leaves a torn file: the new content is written to a temporary file beside
// the old one, flushed to the disk, renamed over it, and the folder flushed,
// so a crash at any moment leaves the old file or the new one. A read never
// takes more than a bound: a larger file is not read at all. A file that
// cannot be read is set aside as NAME.bad, where the player can still find
// it, and the game goes on without it. Every trouble is one line on stderr,
// said once per file and start.
#pragma once

#include <optional>
#include <string>

// The folder an XDG base-directory variable names: `value` when it is an
// absolute path, else `fallback` below `home` (an absolute HOME), else none.
// A relative path in either is no path at all, as the XDG rules say.
std::optional<std::string> xdgFolder(const char* value, const char* home, const char* fallback);

// $XDG_CONFIG_HOME/kivo/settings.json (~/.config/kivo/settings.json when the
// variable is unset) and $XDG_DATA_HOME/kivo/records.json
// (~/.local/share/kivo/records.json); none without a usable folder.
std::optional<std::string> settingsPath();
std::optional<std::string> recordsPath();

enum class ReadOutcome {
    read,      // `content` holds the whole file
    missing,   // there is no such file: nothing kept yet
    tooLarge,  // larger than the bound; nothing was read
    failed,    // it could not be read; `problem` says why
};

// Reads the whole file at `path` into `content` unless it is larger than
// `limit` bytes; its size is taken from the open file before anything is read.
ReadOutcome readBounded(const std::string& path, size_t limit, std::string& content, std::string& problem);

// Replaces the file at `path` with `content` atomically, making its folder
// first if needed. Returns false with `problem` set when it cannot; the old
// file is then untouched.
bool writeAtomically(const std::string& path, const std::string& content, std::string& problem);

// Moves the file at `path` aside to `path`.bad (over an older one) and says
// so on stderr in one line naming the file and `problem`; the game then goes
// on as `goingOn` says ("playing on with the default settings").
void setAside(const std::string& path, const std::string& problem, const std::string& goingOn);

// One line on stderr, the first time this start meets trouble with `path`:
// later troubles with it stay quiet.
void reportOnce(const std::string& path, const std::string& line);

// Holds an exclusive lock on `path`.lock while it lives, so two games change
// the file one after the other. Without the lock (no folder, say) it holds
// nothing and the save goes ahead: the rename still keeps the file whole.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int descriptor_ = -1;
};
