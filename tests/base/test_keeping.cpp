// What the game keeps between starts: where, in which format, and that a bad
// file, a later game's file, a dotfile manager's link or another game at the
// same time never costs the player a record, a setting or a crash.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/debug_view.h"
#include "base/globals.h"
#include "base/records.h"
#include "base/splits.h"
#include "base/course.h"
#include "base/settings.h"
#include "base/storage.h"
#include "tests/support/helpers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/temp_home.h"

namespace fs = std::filesystem;

namespace {

// A home of the test's own, pointed at by the XDG variables while it lives;
// each `place` is a fresh one, whose files no line has named yet.
class Keeping : public ::testing::Test {
protected:
    TempDir dir;
    std::string settingsFile, recordsFile;

    void SetUp() override { place("home"); }
    void TearDown() override {
        setenv("XDG_CONFIG_HOME", (useTemporaryHome() + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (useTemporaryHome() + "/data").c_str(), 1);
    }
    void place(const std::string& name) {
        setenv("XDG_CONFIG_HOME", dir.path(name + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", dir.path(name + "/data").c_str(), 1);
        settingsFile = dir.path(name + "/config/kivo/settings.json");
        recordsFile = dir.path(name + "/data/kivo/records.json");
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void write(const std::string& path, const std::string& content) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::vector<std::string> namesIn(const std::string& folder) {
        std::vector<std::string> names;
        for (const fs::directory_entry& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

Record aRun(double score, size_t samples = 3) {
    Record run;
    run.score = score;
    run.time = score + 2.0;
    run.coins = 2;
    run.date = "2026-12-07";
    for (size_t i = 0; i < samples; ++i) run.way.samples.emplace_back(0.007f * float(i), 5.0f, -200.0f - float(i));
    return run;
}

TEST(KeptFolders, FollowTheXdgRules) {
    struct Case {
        const char *value, *home;
        std::optional<std::string> folder;
    };
    const Case cases[] = {
        {"/x/config", "/home/me", "/x/config"},
        {nullptr, "/home/me", "/home/me/.config"},
        {"", "/home/me", "/home/me/.config"},         // empty: unset
        {"relative/config", "/home/me", "/home/me/.config"},  // relative: ignored
        {nullptr, nullptr, std::nullopt},
        {nullptr, "relative", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(xdgFolder(c.value, c.home, ".config"), c.folder) << (c.value ? c.value : "(unset)");
}

TEST_F(Keeping, SettingsComeBackAsSavedWithTheKeysThisGameDoesNotKnow) {
    EXPECT_EQ(loadSettings().quality, QualitySetting::automatic) << "nothing saved: the defaults";
    Settings settings;
    settings.quality = QualitySetting::low;
    settings.ghost = false;
    settings.mouseSensitivity = minMouseSensitivity;
    settings.invertY = true;
    settings.musicVolume = 40;
    settings.effectsVolume = 0;
    settings.unknown = {{"colour", "\"green\""}, {"later", "{\"a\":[1,2]}"}};
    saveSettings(settings);
    const Settings back = loadSettings();
    EXPECT_EQ(settingsText(back), settingsText(settings));
    EXPECT_EQ(back.unknown, settings.unknown);
    const std::string text = read(settingsFile);
    EXPECT_EQ(text.rfind("{\n  \"version\": 1,\n  \"quality\": \"low\",\n", 0), 0u) << "for a person to read";
    EXPECT_NE(text.find("\n  \"later\": {\"a\":[1,2]}\n}"), std::string::npos) << "as it came: " << text;
    Settings partial;
    std::string problem;
    ASSERT_EQ(parseSettings("{\"version\": 1, \"ghost\": false}", partial, problem), Verdict::taken) << problem;
    EXPECT_TRUE(!partial.ghost && partial.quality == QualitySetting::automatic) << "a key left out keeps its default";
}

// Near the bound, keys of a later game come out as compact as they came in:
// whatever the game writes, it reads again. What could not be read back is
// not written.
TEST_F(Keeping, WhatTheGameWritesItReadsBack) {
    std::string many = "[";
    while (many.size() < 60 * 1024) many += "[1],";
    many.back() = ']';
    write(settingsFile, "{\"version\": 1, \"many\": " + many + "}");
    Settings settings = loadSettings();
    settings.quality = QualitySetting::low;
    saveSettings(settings);
    ::testing::internal::CaptureStderr();
    const Settings back = loadSettings();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "read back without a word";
    EXPECT_EQ(back.quality, QualitySetting::low);
    EXPECT_EQ(back.unknown, settings.unknown);

    settings.unknown = {{"huge", '"' + std::string(64 * 1024, 'x') + '"'}};
    ::testing::internal::CaptureStderr();
    saveSettings(settings);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("larger than 64 KiB"), std::string::npos);
    EXPECT_EQ(loadSettings().unknown, back.unknown) << "the file before stays";
}

TEST_F(Keeping, ARecordComesBackAsKeptWithItsWayAndTheKeysThisGameDoesNotKnow) {
    EXPECT_FALSE(loadRecords());
    write(recordsFile, "{\"version\": 1, \"trophies\": [1, {\"a\": 2}], \"best\": {\"score\": 30, \"horse\": 1}}");
    const std::string before = read(recordsFile);
    EXPECT_EQ(loadRecords()->score, 30.0) << "a key left out, the ghost included, keeps its default";
    bool kept = false;
    EXPECT_EQ(read(recordsFile), before) << "read as it stands, never written by a read";
    keepRecord(aRun(40.0), kept);
    EXPECT_FALSE(kept);
    EXPECT_EQ(loadAllRecords().table.size(), 2u) << "a worse run enters the table";
    EXPECT_NE(read(recordsFile).find("\"horse\": 1"), std::string::npos) << "the best run's own keys stay with it";
    const Record run = aRun(12.34, 500);
    keepRecord(run, kept);
    EXPECT_TRUE(kept);
    const std::optional<Record> back = loadRecords();
    ASSERT_TRUE(back);
    EXPECT_EQ(std::make_tuple(back->score, back->time, back->coins, back->date),
              std::make_tuple(run.score, run.time, run.coins, run.date));
    ASSERT_EQ(back->way.samples.size(), run.way.samples.size());
    for (size_t i = 0; i < run.way.samples.size(); ++i)
        ASSERT_TRUE(closeTo(back->way.samples[i], run.way.samples[i], 0.0005f)) << "sample " << i;
    EXPECT_EQ(loadAllRecords().bestSegments.size(), size_t(checkpointCount)) << "the way down the street gives its segments";
    EXPECT_NE(read(recordsFile).find("\n  \"trophies\": [1,{\"a\":2}]\n}"), std::string::npos) << read(recordsFile);
}

// Runs saved one after the other: each game reads the file again before it
// writes, so the better run survives whichever saves last.
TEST_F(Keeping, TheBetterRunSurvivesWhicheverGameSavesLast) {
    bool kept = false;
    keepRecord(aRun(20.0), kept);
    EXPECT_EQ(keepRecord(aRun(25.0), kept).score, 20.0) << "a worse run finished later";
    EXPECT_FALSE(kept);
    EXPECT_EQ(keepRecord(aRun(20.0), kept).score, 20.0);
    EXPECT_FALSE(kept) << "a tie keeps the first";
    EXPECT_EQ(keepRecord(aRun(19.99), kept).score, 19.99);
    EXPECT_TRUE(kept);
    EXPECT_EQ(loadRecords()->score, 19.99);

    // A file broken since the start, met as the run is kept: set aside, and the run kept anew.
    write(recordsFile, "{");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(keepRecord(aRun(30.0), kept).score, 30.0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(countOf(err, "\n"), 1) << err;
    EXPECT_EQ(read(recordsFile + ".bad"), "{");
    ASSERT_TRUE(loadRecords());
    EXPECT_EQ(loadRecords()->score, 30.0);
}

// Every file that breaks its format: one line naming it and what is wrong,
// the file kept beside as NAME.bad, the defaults, and the next save writes anew.
TEST_F(Keeping, ABadFileIsNamedSetAsideAndTheGameGoesOnWithDefaults) {
    Records valid1;
    valid1.best = aRun(10.0);
    const std::string valid = recordsText(valid1);
    auto deep = [](size_t levels) { return std::string(levels, '[') + std::string(levels, ']'); };
    struct Case {
        const char* what;
        bool records;
        std::string content;
        const char* named;  // in the line on stderr
    };
    const Case cases[] = {
        {"settings truncated", false, "{\"version\": 1, \"quality\": \"lo", "not a JSON object"},
        {"settings of another kind", false, "[1, 2, 3]", "not a JSON object"},
        {"a quality of the wrong type", false, "{\"version\": 1, \"quality\": 3}", "\"quality\" must be"},
        {"a sensitivity out of range", false, "{\"version\": 1, \"mouseSensitivity\": 0}", "\"mouseSensitivity\" must be"},
        {"no settings version", false, "{\"quality\": \"low\"}", "no format version"},
        {"a settings key nested 30000 deep", false, "{\"version\": 1, \"x\": " + deep(30000) + "}", "nested deeper"},
        {"records truncated", true, valid.substr(0, valid.size() / 2), "not a JSON object"},
        {"a version before the first", true, "{\"version\": 0}", "format version 0, which no game writes"},
        {"a negative time", true, "{\"version\": 1, \"best\": {\"score\": 1, \"time\": -5}}", "time must be"},
        {"a score of the wrong type", true, "{\"version\": 1, \"best\": {\"score\": \"fast\"}}", "score must be"},
        {"a score nested a hundred thousand deep", true, "{\"version\": 1, \"best\": {\"score\": " + deep(100000) + "}}",
         "nested deeper"},
        {"a ghost that declares more samples than it holds", true,
         "{\"version\": 1, \"best\": {\"score\": 1, \"ghost\": "
         "{\"sampleRate\": 30, \"sampleCount\": 100000, \"samples\": [0, 5, -200]}}}",
         "declares 100000 samples but holds 3 numbers"},
        {"a table out of order", true, "{\"version\": 2, \"table\": [{\"score\": 2}, {\"score\": 1}]}", "best run first"},
        {"a sample beyond what a float holds", true,
         "{\"version\": 1, \"best\": {\"score\": 1, \"ghost\": {\"samples\": [0, 5, -2e91]}}}", "samples must be numbers"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        place(c.what);
        const std::string& file = c.records ? recordsFile : settingsFile;
        write(file, c.content);
        ::testing::internal::CaptureStderr();
        if (c.records) {
            EXPECT_FALSE(loadRecords());
        } else {
            EXPECT_EQ(settingsText(loadSettings()), settingsText(Settings{}));
        }
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(countOf(err, "\n"), 1) << err;
        EXPECT_EQ(err.rfind("kivo: " + file + ": ", 0), 0u) << err;
        EXPECT_NE(err.find(c.named), std::string::npos) << err;
        EXPECT_EQ(read(file + ".bad"), c.content) << "kept beside";
        EXPECT_FALSE(fs::exists(file));
    }
    // A second bad file never takes the first one's place.
    for (const char* bad : {"{", "["}) {
        write(settingsFile, bad);
        ::testing::internal::CaptureStderr();
        loadSettings();
        ::testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(std::make_pair(read(settingsFile + ".bad"), read(settingsFile + ".bad.2")), std::make_pair(std::string("{"), std::string("[")));
    bool kept = false;
    keepRecord(aRun(10.0), kept);
    EXPECT_TRUE(loadRecords()) << "the next save writes anew";
}

// Every number either file keeps has a range: each end is kept, and a step
// beyond either end breaks the file.
TEST_F(Keeping, EveryRangeKeepsBothItsEndsAndNothingBeyond) {
    auto setting = [](const std::string& key, const char* value) { return "{\"version\": 1, \"" + key + "\": " + value + "}"; };
    auto run = [](const std::string& keys) { return "{\"version\": 2, \"best\": {\"score\": 1, " + keys + "}}"; };
    auto ghost = [&](const std::string& keys) { return run("\"ghost\": {" + keys + "}"); };
    auto list = [](size_t count, const std::string& item) {
        std::string items;
        for (size_t i = 0; i < count; ++i) items += (i ? ", " : "") + item;
        return "[" + items + "]";
    };
    const std::string aRow = "{\"score\": 1}";
    struct Case {
        const char* what;
        bool records;
        std::string atAnEnd, beyondIt;
    };
    const Case cases[] = {
        {"the slowest look", false, setting("mouseSensitivity", "0.1"), setting("mouseSensitivity", "0.09")},
        {"the fastest look", false, setting("mouseSensitivity", "10"), setting("mouseSensitivity", "10.01")},
        {"silent music", false, setting("musicVolume", "0"), setting("musicVolume", "-1")},
        {"the loudest music", false, setting("musicVolume", "100"), setting("musicVolume", "101")},
        {"silent effects", false, setting("effectsVolume", "0"), setting("effectsVolume", "-1")},
        {"the loudest effects", false, setting("effectsVolume", "100"), setting("effectsVolume", "101")},
        {"no time", true, run("\"time\": 0"), run("\"time\": -0.01")},
        {"no coins", true, run("\"coins\": 0"), run("\"coins\": -1")},
        {"every coin", true, run("\"coins\": " + std::to_string(coinsPerLayout)), run("\"coins\": " + std::to_string(coinsPerLayout + 1))},
        {"the longest date", true, run("\"date\": \"" + std::string(32, 'd') + "\""), run("\"date\": \"" + std::string(33, 'd') + "\"")},
        {"a sample a second", true, ghost("\"sampleRate\": 1"), ghost("\"sampleRate\": 0.99")},
        {"a thousand a second", true, ghost("\"sampleRate\": 1000"), ghost("\"sampleRate\": 1000.01")},
        {"the farthest sample", true, ghost("\"samples\": [1e9, 5, -1e9]"), ghost("\"samples\": [1.01e9, 5, -200]")},
        {"the farthest sample back", true, ghost("\"samples\": [0, 5, -1e9]"), ghost("\"samples\": [0, 5, -1.01e9]")},
        {"an hour of way", true, ghost("\"samples\": " + list(3 * maxGhostSamples, "0")),
         ghost("\"samples\": " + list(3 * maxGhostSamples + 3, "0"))},
        {"a full table", true, "{\"version\": 2, \"table\": " + list(bestRunsKept, aRow) + "}",
         "{\"version\": 2, \"table\": " + list(bestRunsKept + 1, aRow) + "}"},
        {"every segment", true, "{\"version\": 2, \"bestSegments\": " + list(size_t(checkpointCount), "0") + "}",
         "{\"version\": 2, \"bestSegments\": " + list(size_t(checkpointCount) + 1, "0") + "}"},
        {"a segment of no time", true, "{\"version\": 2, \"bestSegments\": [0]}", "{\"version\": 2, \"bestSegments\": [-0.01]}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool beyond : {false, true}) {
            place(std::string(c.what) + (beyond ? " beyond" : ""));
            const std::string& file = c.records ? recordsFile : settingsFile;
            write(file, beyond ? c.beyondIt : c.atAnEnd);
            ::testing::internal::CaptureStderr();
            if (c.records) loadRecords();
            else loadSettings();
            const std::string err = ::testing::internal::GetCapturedStderr();
            EXPECT_EQ(fs::exists(file + ".bad"), beyond) << err;
        }
    }
}

// A file the game cannot judge, a later game's or one that is no plain file,
// or a broken one it cannot set aside, is named once and left as it is: never
// read from, moved or saved over.
TEST_F(Keeping, ALaterOrStrangeFileIsLeftAsItIs) {
    const std::string laterSettings = "{\"version\": 2, \"quality\": \"ultra\"}";
    const std::string laterRecords = "{\"version\": 3, \"best\": \"ultra\"}";
    struct Case {
        const char* what;
        bool records;
        std::function<void(const std::string&)> make;
        const char* named;
    };
    const Case cases[] = {
        {"settings of a later game", false, [&](const std::string& f) { write(f, laterSettings); }, "format version 2, a later"},
        {"records of a later game", true, [&](const std::string& f) { write(f, laterRecords); }, "format version 3, a later"},
        {"a named pipe", false, [](const std::string& f) { fs::create_directories(fs::path(f).parent_path()); mkfifo(f.c_str(), 0600); },
         "not a plain file"},
        {"a folder", true, [](const std::string& f) { fs::create_directories(f); }, "not a plain file"},
        {"a broken file that cannot be set aside", false,
         [&](const std::string& f) {
             write(f, "{");
             for (int n = 1; n < 100; ++n) write(f + ".bad" + (n == 1 ? "" : "." + std::to_string(n)), "");
         },
         "could not be set aside"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        place(c.what);
        const std::string& file = c.records ? recordsFile : settingsFile;
        c.make(file);
        const fs::file_status before = fs::status(file);
        const std::string held = fs::is_regular_file(file) ? read(file) : "";
        const bool asideBefore = fs::exists(file + ".bad");
        ::testing::internal::CaptureStderr();
        bool kept = false;
        if (c.records) {
            EXPECT_FALSE(loadRecords());
            EXPECT_EQ(keepRecord(aRun(1.0), kept).score, 1.0) << "the run counts for this start";
        } else {
            EXPECT_EQ(settingsText(loadSettings()), settingsText(Settings{}));
            Settings low;
            low.quality = QualitySetting::low;
            saveSettings(low);
        }
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(countOf(err, "\n"), 1) << err;
        EXPECT_NE(err.find(c.named), std::string::npos) << err;
        EXPECT_NE(err.find("left as it is"), std::string::npos) << err;
        EXPECT_EQ(fs::status(file).type(), before.type());
        if (fs::is_regular_file(file)) {
            EXPECT_EQ(read(file), held);
        }
        EXPECT_EQ(fs::exists(file + ".bad"), asideBefore);
        EXPECT_FALSE(fs::exists(file + ".bad.100"));
    }
}

// A dotfile manager's link stays a link to the file it keeps, the file keeps
// its mode, and missing XDG folders are made for the owner alone.
TEST_F(Keeping, ASaveKeepsTheLinkTheModeAndMakesPrivateFolders) {
    const std::string kept = dir.path("dotfiles/kivo.json");
    write(kept, "{\"version\": 1}");
    chmod(kept.c_str(), 0600);
    fs::create_directories(fs::path(settingsFile).parent_path());
    fs::create_symlink("../../../dotfiles/kivo.json", settingsFile);
    Settings low;
    low.quality = QualitySetting::low;
    saveSettings(low);
    EXPECT_TRUE(fs::is_symlink(settingsFile));
    EXPECT_EQ(loadSettings().quality, QualitySetting::low);
    EXPECT_EQ(fs::status(kept).permissions(), fs::perms(0600));

    bool runKept = false;
    keepRecord(aRun(5.0), runKept);
    for (const fs::path& folder : {fs::path(recordsFile).parent_path(), fs::path(recordsFile).parent_path().parent_path()})
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms(0700)) << folder;
}

// The size is taken before anything is read: a file of gigabytes costs nothing.
TEST_F(Keeping, AHugeFileIsNotReadButSetAside) {
    write(recordsFile, "");
    fs::resize_file(recordsFile, 3ull << 30);  // sparse: three gigabytes that take no room
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(loadRecords());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("larger than 16 MiB"), std::string::npos);
    EXPECT_EQ(fs::file_size(recordsFile + ".bad"), 3ull << 30);
}

TEST_F(Keeping, NoFolderMeansNothingKeptAndOneLine) {
    unsetenv("XDG_CONFIG_HOME");
    const std::string home = std::getenv("HOME");
    unsetenv("HOME");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(settingsText(loadSettings()), settingsText(Settings{}));
    saveSettings(Settings{});
    const std::string err = ::testing::internal::GetCapturedStderr();
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(countOf(err, "\n"), 1) << err;  // said once a start, by the load and the save together
    EXPECT_NE(err.find("settings are not kept"), std::string::npos) << err;
}

// A save writes beside the file and renames: nothing is left behind, and what
// a killed game left behind goes with the next save.
TEST_F(Keeping, ASaveLeavesOnlyItsFile) {
    Settings settings;
    saveSettings(settings);
    const std::string folder = fs::path(settingsFile).parent_path();
    write(folder + "/.settings.json.999999999.tmp", "half a fi");
    write(folder + "/.settings.json.1.tmp", "another game's, still writing");
    saveSettings(settings);
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{".settings.json.1.tmp", "settings.json"}));
}

// A hung game holding the lock delays a finish by a moment, never for good:
// the run is said to wait, counts for this start, and is saved at the next
// finish or at exit, whichever comes first.
TEST_F(Keeping, ARunThatCannotHaveTheLockIsSavedLater) {
    const std::function<void()> later[] = {[] { savePendingRecords(); },
                                           [] { bool kept; EXPECT_EQ(keepRecord(aRun(50.0), kept).score, 10.0); }};
    for (const auto& saveLater : later) {
        place(std::to_string(&saveLater - later));
        bool kept = false;
        keepRecord(aRun(20.0), kept);
        // Another open file holds it, as another game's would.
        const int holder = ::open((recordsFile + ".lock").c_str(), O_RDWR);
        ASSERT_EQ(::flock(holder, LOCK_EX), 0);
        ::testing::internal::CaptureStderr();
        keepRecord(aRun(15.0), kept);  // two runs wait, not only the last
        EXPECT_EQ(keepRecord(aRun(10.0), kept).score, 10.0);
        EXPECT_TRUE(kept);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(countOf(err, "\n"), 1) << err;
        EXPECT_NE(err.find("another game holds " + recordsFile + ".lock"), std::string::npos) << err;
        EXPECT_EQ(loadRecords()->score, 20.0) << "not written past the lock";
        ::close(holder);
        saveLater();
        EXPECT_EQ(loadRecords()->score, 10.0);
        EXPECT_EQ(loadAllRecords().table.size(), &saveLater == later ? 3u : 4u);
    }
    // A lock that cannot be made is said; the save goes ahead.
    place("no lock");
    fs::create_directories(recordsFile + ".lock");
    ::testing::internal::CaptureStderr();
    bool kept = false;
    keepRecord(aRun(10.0), kept);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("saved without the lock (cannot make"), std::string::npos);
    EXPECT_EQ(loadRecords()->score, 10.0);
}

// Two real games finish at the same moment: the better run has a short way
// and is quickly written, the worse an hour's, slowly. Without the lock the
// worse reads the file before the better is in it and writes last, in about
// half the rounds.
TEST_F(Keeping, TwoGamesSavingAtOnceKeepTheBetterRun) {
    for (int round = 0; round < 10; ++round) {
        place("round " + std::to_string(round));
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        pid_t games[2];
        for (int game = 0; game < 2; ++game) {
            games[game] = ::fork();
            if (games[game] == 0) {
                const Record run = game == 0 ? aRun(10.0, 2) : aRun(30.0, maxGhostSamples);
                char go;
                ::close(start[1]);
                if (::read(start[0], &go, 1) != 0) ::_exit(1);
                bool kept;
                keepRecord(run, kept);
                savePendingRecords();  // as at exit
                ::_exit(0);
            }
        }
        ::close(start[0]);
        ::close(start[1]);  // both go
        for (const pid_t game : games) ::waitpid(game, nullptr, 0);
        ASSERT_TRUE(loadRecords());
        EXPECT_EQ(loadRecords()->score, 10.0);
        EXPECT_EQ(loadAllRecords().table.size(), 2u) << "both runs in the table";
    }
}

// A version 1 file, as the game of that format wrote it: read as it stands,
// and version 2 from the next save on, nothing lost.
TEST_F(Keeping, AVersionOneFileIsReadAsItStandsAndMovesOnAtTheNextSave) {
    const std::string v1 = read("tests/base/records-v1.json");
    ASSERT_NE(v1.find("\"version\": 1"), std::string::npos);
    write(recordsFile, v1);
    const Records old = loadAllRecords();
    ASSERT_TRUE(old.best);
    EXPECT_EQ(old.best->way.samples.size(), 671u) << "its way, the ghost";
    ASSERT_EQ(old.table.size(), 1u);
    EXPECT_EQ(std::make_tuple(old.table[0].score, old.table[0].time, old.table[0].coins, old.table[0].date),
              std::make_tuple(12.34, 22.34, 10, std::string("2026-12-07")));
    // 16 units a second: 50 units take 3.125 s; the finish is the run's time.
    ASSERT_EQ(old.bestSegments.size(), size_t(checkpointCount)) << "segments read off its way";
    EXPECT_NEAR(old.bestSegments[0], 3.125, 1e-3);
    EXPECT_NEAR(*bestPossibleTime(old.bestSegments), 22.34, 1e-9);
    EXPECT_EQ(read(recordsFile), v1) << "not written until a save";
    bool kept;
    keepRecord(aRun(30.0), kept);
    const std::string v2 = read(recordsFile);
    EXPECT_NE(v2.find("\"version\": 2"), std::string::npos);
    EXPECT_NE(v2.find("\"trophies\": [1,{\"a\":2}]"), std::string::npos) << "unknown keys kept";
    const Records now = loadAllRecords();
    EXPECT_EQ(now.best->way.samples.size(), 671u);
    ASSERT_EQ(now.table.size(), 2u);
    EXPECT_EQ(now.table[1].score, 30.0);
    EXPECT_EQ(now.lastWay.samples.size(), 3u) << "the last run's way";
}

// The table keeps the ten best, best first, a tie after the run already there.
TEST(Table, KeepsTheTenBestBestFirst) {
    Records records;
    const double scores[] = {20, 15, 25, 15, 30, 10, 11, 12, 13, 14, 16, 40};
    const int rows[] = {0, 0, 2, 1, 4, 0, 1, 2, 3, 4, 7, -1};
    for (size_t i = 0; i < std::size(scores); ++i) EXPECT_EQ(mergeRun(records, aRun(scores[i])), rows[i]) << i;
    ASSERT_EQ(records.table.size(), bestRunsKept);
    for (size_t i = 1; i < records.table.size(); ++i) EXPECT_LE(records.table[i - 1].score, records.table[i].score);
    EXPECT_EQ(records.table.back().score, 25.0) << "30 fell out, then 40 never came in";
    EXPECT_EQ(records.best->score, 10.0);
}

// A way sampled at 30 a second is followed smoothly in between its samples.
TEST(GhostWay, IsFollowedBetweenItsSamplesAndStandsStillBeyondThem) {
    GhostWay way;
    way.samples = {{0, 5, -200}, {0, 5, -201}, {3, 5, -202}};
    EXPECT_DOUBLE_EQ(way.duration(), 2.0 / 30.0);
    EXPECT_TRUE(closeTo(way.at(0.5 / 30.0), {0, 5, -200.5f}));
    EXPECT_TRUE(closeTo(way.at(1.25 / 30.0), {0.75f, 5, -201.25f}));
    EXPECT_TRUE(closeTo(way.at(-1.0), {0, 5, -200}));
    EXPECT_TRUE(closeTo(way.at(10.0), {3, 5, -202}));
}

}  // namespace

TEST(DebugViews, F7CyclesThroughEveryViewBackToOffAndFreezesTheCullingCamera) {
    const DebugView order[] = {DebugView::shadowMap, DebugView::sceneDepth, DebugView::blurMotion,
                               DebugView::culling, DebugView::off};
    const char* names[] = {"View: shadow map", "View: scene depth", "View: blur motion", "View: culling", ""};
    debugView = DebugView::off;
    frozenCamera = {};
    for (int i = 0; i < 5; ++i) {
        viewMatrix = glm::mat4(float(i + 1));
        stepDebugView();
        EXPECT_EQ(debugView, order[i]);
        EXPECT_STREQ(debugViewName(debugView), names[i]);
        // Frozen on entering the culling view only, and kept after it.
        EXPECT_EQ(frozenCamera.view[0][0], i < 3 ? 1.0f : 4.0f) << i;
    }
}

TEST(Screenshots, GoToTheXdgPicturesFolderAndNeverOverAnEarlierOne) {
    TempDir dir;
    const std::string home = dir.path("home");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.path("config").c_str(), 1);
    struct Case {
        const char* dirs;  // user-dirs.dirs; null: none
        std::string folder;
    };
    const Case cases[] = {
        {nullptr, home + "/Pictures/kivo"},
        {"XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", home + "/Bilder/kivo"},
        {"XDG_DESKTOP_DIR=\"$HOME/D\"\nXDG_PICTURES_DIR=\"/srv/pics\"\n# XDG_PICTURES_DIR=\"/no\"\n", "/srv/pics/kivo"},
        {"XDG_PICTURES_DIR=\"relative\"\n", home + "/Pictures/kivo"},
    };
    for (const Case& c : cases) {
        fs::remove(dir.path("config/user-dirs.dirs"));
        if (c.dirs) dir.write("config/user-dirs.dirs", c.dirs);
        EXPECT_EQ(picturesFolder(), c.folder) << (c.dirs ? c.dirs : "(none)");
    }

    std::tm when{};
    when.tm_year = 126, when.tm_mon = 11, when.tm_mday = 9, when.tm_hour = 14, when.tm_min = 5, when.tm_sec = 7;
    const std::string folder = dir.path("shots/kivo");
    dir.write("shots/kivo/kivo-2026-12-09_14-05-07-2.png", "earlier");
    std::string problem;
    const std::vector<std::string> expected = {"kivo-2026-12-09_14-05-07.png", "kivo-2026-12-09_14-05-07-3.png"};
    for (const std::string& name : expected)
        EXPECT_EQ(writeNewPicture(folder, when, "png", problem), folder + "/" + name) << problem;
    std::ifstream earlier(folder + "/kivo-2026-12-09_14-05-07-2.png");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(earlier), {}), "earlier");

    if (geteuid() != 0) {  // root writes anywhere
        ::chmod(folder.c_str(), 0500);
        EXPECT_FALSE(writeNewPicture(folder, when, "png", problem));
        EXPECT_NE(problem.find("Permission denied"), std::string::npos) << problem;
        ::chmod(folder.c_str(), 0700);
    }
    EXPECT_FALSE(writeNewPicture(dir.write("plain", "x") + "/kivo", when, "png", problem));
    EXPECT_FALSE(problem.empty());
    setenv("HOME", useTemporaryHome().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (useTemporaryHome() + "/config").c_str(), 1);
}
