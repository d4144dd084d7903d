// Where the game keeps files between starts, and how it keeps them safe.
//
// Settings live in the XDG config folder, records in the XDG data folder,
// each in a kivo/ folder of its own, made when first needed with every
// missing folder above it (0700, as the XDG rules ask). Both files are JSON
// objects with a format version, and both pass through the same two doors,
// loadKept() and saveKept(); base/settings.h and base/records.h only say
// what their keys mean.
//
// A save never leaves a torn file: the new content is written to a temporary
// file beside the old one, flushed to the disk, renamed over it, and the
// folder flushed, so a crash at any moment leaves the old file or the new
// one. A symlink (a dotfile manager's, a synced folder's) stays: its target
// is what is replaced, and the new file keeps the old one's mode.
//
// A read never takes more than a bound: a larger file is not read at all,
// nesting deeper than maxKeptNesting is not parsed, and a named pipe or any
// other thing that is not a plain file is never opened for waiting on. A file
// that breaks its format is set aside as NAME.bad (NAME.bad.2 and on when an
// earlier one is there, never over it), where the player can still find it,
// and the game goes on without it. A file the game cannot judge (of a later
// format version, not a plain file, or one that cannot be read) is left as it
// is and never saved over during this start. Every trouble is one line on
// stderr: each setting aside says where the file went, since each is a file
// of its own for the player to find; any other trouble is said once per file
// and start.
#pragma once

#include <ctime>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using Json = nlohmann::ordered_json;

// The folder an XDG base-directory variable names: `value` when it is an
// absolute path, else `fallback` below `home` (an absolute HOME), else none.
// A relative path in either is no path at all, as the XDG rules say.
std::optional<std::string> xdgFolder(const char* value, const char* home, const char* fallback);

// Where screenshots go: the pictures folder the XDG user-dirs file
// ($XDG_CONFIG_HOME/user-dirs.dirs, as `xdg-user-dir PICTURES` reads it)
// names, else ~/Pictures, with a kivo/ folder of the game's own; none without
// a usable HOME.
std::optional<std::string> picturesFolder();

// "kivo-YYYY-MM-DD_HH-MM-SS.png" for `when`; the `take`th of that second
// (from 2 on) ends "-2.png", "-3.png".
std::string pictureName(const std::tm& when, int take);

// Writes `content` into a new file in `folder` (made when missing), named by
// pictureName() with the first take that is not there yet: an existing file
// is never opened. Returns its path; none with `problem` saying why.
std::optional<std::string> writeNewPicture(const std::string& folder, const std::tm& when, const std::string& content,
                                           std::string& problem);

// $XDG_CONFIG_HOME/kivo/settings.json (~/.config/kivo/settings.json when the
// variable is unset) and $XDG_DATA_HOME/kivo/records.json
// (~/.local/share/kivo/records.json); none without a usable folder.
std::optional<std::string> settingsPath();
std::optional<std::string> recordsPath();

// Keys of a kept file that this game does not know, each with its value as
// compact JSON text, in file order: written back as they came.
using UnknownKeys = std::vector<std::pair<std::string, std::string>>;

// One kind of kept file.
struct KeptFormat {
    const char* what;               // "settings": in "keeping settings this game does not know"
    const char* without;            // how the game goes on without the file: "playing on with the default settings"
    const char* unsaved;            // how it goes on when a save fails: "playing on without saving settings"
    size_t limit;                   // bytes: the game reads no larger file and writes none
    int version;                    // the format version it reads and writes; a later one is left alone
    std::vector<std::string> keys;  // the top-level keys it knows, besides "version"
};

constexpr int maxKeptNesting = 64;  // arrays and objects within each other

enum class Verdict {
    taken,   // a file of this version, taken
    later,   // a later format version: nothing read from it
    broken,  // not a file of this format; `problem` says why
};

// Takes the known keys of `file`, a JSON object of the format's version;
// false with `problem` set where a value breaks the format.
using TakeKeys = std::function<bool(const Json& file, std::string& problem)>;

// Reads `text` as a file of `format` and hands it to `take`: a JSON object,
// nested no deeper than maxKeptNesting, with a whole "version" from 1 up.
// `unknown` gets the top-level keys the format does not know.
Verdict parseKept(const std::string& text, const KeptFormat& format, UnknownKeys& unknown, std::string& problem,
                  const TakeKeys& take);

// A file's text: the keys of `known` (an object, "version" first) indented
// for a person to read, then `unknown`, each on a line of its own as it came.
std::string keptText(const Json& known, const UnknownKeys& unknown);

enum class Loaded {
    nothing,    // no file yet
    taken,      // `take` took it
    setAside,   // it broke the format: moved aside, said
    leftAlone,  // later, not a plain file, unreadable, or nowhere to set it aside: untouched, said, never saved over
};

// Reads the file at `path` (at most format.limit bytes) through parseKept()
// and deals with what it is. Only `taken` leaves anything in `unknown` and
// whatever `take` filled.
Loaded loadKept(const std::string& path, const KeptFormat& format, UnknownKeys& unknown, const TakeKeys& take);

// Replaces the file at `path` with `text`, unless this start left that file
// alone or it now holds a later version; a broken file there is set aside
// first. Text larger than format.limit is refused, so whatever the game
// writes it can read. Returns whether `text` is now the file; a failure is
// said once on stderr, and the old file is then untouched.
bool saveKept(const std::string& path, const KeptFormat& format, const std::string& text);

// False: saveKept() writes nothing and reports the text as kept, and a
// FileLock is held without a lock file, for a start whose runs and
// choices are no player's (kivo --benchmark). True by default.
extern bool keepingFiles;

enum class ReadOutcome {
    read,      // `content` holds the whole file
    missing,   // there is no such file
    tooLarge,  // larger than the bound; nothing was read
    notAFile,  // a folder, a named pipe or a device: never waited on
    failed,    // it could not be read; `problem` says why
};

// Reads the whole file at `path` into `content` unless it is larger than
// `limit` bytes; its size is taken from the open file before anything is
// read, and the open never blocks.
ReadOutcome readBounded(const std::string& path, size_t limit, std::string& content, std::string& problem);

// One line on stderr, "kivo: " and `line`, the first time this start meets
// trouble of the kind `key` names (a file, say): later ones stay quiet.
void reportOnce(const std::string& key, const std::string& line);

// Holds an exclusive lock on `path`.lock while it lives, so two games change
// the file one after the other. Another game holding it is waited for
// `patience` seconds at most: a hung game never freezes this one.
class FileLock {
public:
    enum class State { held, busy, unavailable };

    FileLock(const std::string& path, double patience);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    State state() const { return state_; }
    // Why it is not held: "cannot make PATH.lock: Permission denied".
    const std::string& problem() const { return problem_; }

private:
    int descriptor_ = -1;
    State state_ = State::unavailable;
    std::string problem_;
};
