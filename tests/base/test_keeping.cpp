// What the game keeps between starts: where, in which format, and that a bad
// file, a full or read-only folder, or another game at the same time never
// costs the player a record or a crash.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/records.h"
#include "base/settings.h"
#include "base/storage.h"
#include "tests/support/helpers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/temp_home.h"

namespace fs = std::filesystem;

namespace {

// A home of the test's own, pointed at by the XDG variables while it lives.
class Keeping : public ::testing::Test {
protected:
    TempDir dir;
    std::string settingsFile, recordsFile;

    void SetUp() override {
        setenv("XDG_CONFIG_HOME", dir.path("config").c_str(), 1);
        setenv("XDG_DATA_HOME", dir.path("data").c_str(), 1);
        settingsFile = dir.path("config/kivo/settings.json");
        recordsFile = dir.path("data/kivo/records.json");
    }
    void TearDown() override {
        setenv("XDG_CONFIG_HOME", (useTemporaryHome() + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (useTemporaryHome() + "/data").c_str(), 1);
    }

    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

Record aRun(double score, size_t samples = 3) {
    Record run;
    run.score = score;
    run.time = score + 2.0;
    run.coins = 2;
    run.date = "2026-12-07";
    for (size_t i = 0; i < samples; ++i) run.way.samples.emplace_back(0.5f * float(i), 5.0f, -200.0f - float(i));
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
    settings.mouseSensitivity = 2.5f;
    settings.invertY = true;
    settings.musicVolume = 40;
    settings.effectsVolume = 0;
    settings.unknown = {{"colour", "\"green\""}, {"later", "{\"a\":[1,2]}"}};
    saveSettings(settings);
    const Settings back = loadSettings();
    EXPECT_EQ(settingsText(back), settingsText(settings));
    EXPECT_EQ(back.unknown, settings.unknown);
    EXPECT_EQ(read(settingsFile).rfind("{\n  \"version\": 1,\n  \"quality\": \"low\",\n", 0), 0u) << "for a person to read";
    std::string problem;
    const std::optional<Settings> partial = parseSettings("{\"version\": 1, \"ghost\": false}", problem);
    ASSERT_TRUE(partial) << problem;
    EXPECT_TRUE(!partial->ghost && partial->quality == QualitySetting::automatic) << "a key left out keeps its default";
}

TEST_F(Keeping, ARecordComesBackAsKeptWithItsWay) {
    EXPECT_FALSE(loadRecords());
    bool kept = false;
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
    std::string problem;
    std::optional<Record> none;
    EXPECT_TRUE(parseRecords("{\"version\": 1}", none, problem) && !none) << "a file without a run yet";
}

// Two games at once: each reads the file again under the lock before it
// writes, so the better run survives whichever saves last.
TEST_F(Keeping, TheBetterRunSurvivesWhicheverGameSavesLast) {
    bool kept = false;
    keepRecord(aRun(20.0), kept);
    EXPECT_EQ(keepRecord(aRun(25.0), kept).score, 20.0) << "a worse run finished later";
    EXPECT_FALSE(kept);
    EXPECT_EQ(loadRecords()->score, 20.0);
    EXPECT_EQ(keepRecord(aRun(20.0), kept).score, 20.0);
    EXPECT_FALSE(kept) << "a tie keeps the first";
    EXPECT_EQ(keepRecord(aRun(19.99), kept).score, 19.99);
    EXPECT_TRUE(kept);
    EXPECT_EQ(loadRecords()->score, 19.99);
}

// Every file that cannot be read: one line naming it and what is wrong, the
// file kept beside as NAME.bad, the defaults, and the next save writes anew.
TEST_F(Keeping, ABadFileIsNamedSetAsideAndTheGameGoesOnWithDefaults) {
    const std::string valid = recordsText(aRun(10.0));
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
        {"a settings version to come", false, "{\"version\": 2}", "format version 2"},
        {"no settings version", false, "{\"quality\": \"low\"}", "no format version"},
        {"records truncated", true, valid.substr(0, valid.size() / 2), "not a JSON object"},
        {"a records version to come", true, "{\"version\": 7, \"best\": {}}", "format version 7"},
        {"a negative time", true, "{\"version\": 1, \"best\": {\"score\": 1, \"time\": -5, \"coins\": 0, \"date\": \"\"}}",
         "time must be"},
        {"a score of the wrong type", true, "{\"version\": 1, \"best\": {\"score\": \"fast\"}}", "score must be"},
        {"a ghost that declares more samples than it holds", true,
         "{\"version\": 1, \"best\": {\"score\": 1, \"time\": 3, \"coins\": 2, \"date\": \"x\", \"ghost\": "
         "{\"sampleRate\": 30, \"sampleCount\": 100000, \"samples\": [0, 5, -200]}}}",
         "declares 100000 samples but holds 3 numbers"},
        {"a ghost of more samples than any run", true,
         "{\"version\": 1, \"best\": {\"score\": 1, \"time\": 3, \"coins\": 2, \"date\": \"x\", \"ghost\": "
         "{\"sampleRate\": 30, \"sampleCount\": 4000000000, \"samples\": []}}}",
         "sample count must be"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string& file = c.records ? recordsFile : settingsFile;
        dir.write(c.records ? "data/kivo/records.json" : "config/kivo/settings.json", c.content);
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
    bool kept = false;
    keepRecord(aRun(10.0), kept);
    EXPECT_TRUE(loadRecords()) << "the next save writes anew";
}

// The size is taken before anything is read: a file of gigabytes costs nothing.
TEST_F(Keeping, AHugeFileIsNotReadButSetAside) {
    fs::create_directories(fs::path(recordsFile).parent_path());
    std::ofstream(recordsFile).close();
    fs::resize_file(recordsFile, 3ull << 30);  // sparse: three gigabytes that take no room
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(loadRecords());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("larger than 16 MiB"), std::string::npos);
    EXPECT_EQ(fs::file_size(recordsFile + ".bad"), 3ull << 30);
}

// Runs `act` in a child process with stderr caught and, for root, which
// writes anywhere, as the user nobody; returns what it wrote on stderr.
template <typename Act>
std::string stderrOfUnprivileged(Act act) {
    int pipe[2];
    if (::pipe(pipe) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipe[1], 2);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(1);
        act();
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string caught;
    char buffer[256];
    for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;) caught.append(buffer, size_t(got));
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return caught;
}

// A folder that cannot be written: one line, however often the game tries,
// and the file that was there stays as it was.
TEST_F(Keeping, AReadOnlyFolderIsSaidOnceAndKeepsItsFile) {
    Settings settings;
    saveSettings(settings);
    const std::string before = read(settingsFile);
    const std::string folder = fs::path(settingsFile).parent_path();
    chmod(dir.root().c_str(), 0755);  // the way in stays open for nobody
    chmod(folder.c_str(), 0555);
    settings.quality = QualitySetting::low;
    const std::string err = stderrOfUnprivileged([&] {
        saveSettings(settings);
        saveSettings(settings);
    });
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(countOf(err, "\n"), 1) << err;
    EXPECT_NE(err.find("cannot save " + settingsFile + ": Permission denied"), std::string::npos) << err;
    EXPECT_EQ(read(settingsFile), before);
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
    EXPECT_LE(countOf(err, "\n"), 1) << err;  // said once a start
}

// A save writes beside the file and renames: nothing is left behind, and what
// a killed game left behind goes with the next save.
TEST_F(Keeping, ASaveLeavesOnlyItsFile) {
    Settings settings;
    saveSettings(settings);
    const std::string folder = fs::path(settingsFile).parent_path();
    const std::string leftover = folder + "/.settings.json.999999999.tmp", live = folder + "/.settings.json.1.tmp";
    dir.write("config/kivo/.settings.json.999999999.tmp", "half a fi");
    dir.write("config/kivo/.settings.json.1.tmp", "another game's, still writing");
    saveSettings(settings);
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".settings.json.1.tmp", "settings.json"}));
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
