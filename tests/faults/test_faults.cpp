// A save that fails at any step, on a disk that is full, over its quota or
// failing, or in a folder that cannot be written: the old file stays whole, no temporary file is left, one line is
// said, and the game plays on and saves once it can. The calls fail through
// fault_shim.c, linked in; the full disk is a real one.
#include <gtest/gtest.h>

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "base/records.h"
#include "base/settings.h"
#include "base/storage.h"
#include "tests/support/helpers.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int temporaryFiles(const std::string& folder) {
    std::error_code error;
    int count = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, error)) count += e.path().extension() == ".tmp";
    return count;
}

Record aRun(double score, size_t samples = 3) {
    Record run;
    run.score = score;
    for (size_t i = 0; i < samples; ++i) run.way.samples.emplace_back(0.0f, 5.0f, -200.0f - float(i));
    return run;
}

// One kept file, its old content and a save of new content.
struct Kept {
    bool records;
    std::string file;
    void point(const std::string& home) {
        setenv(records ? "XDG_DATA_HOME" : "XDG_CONFIG_HOME", home.c_str(), 1);
        file = home + (records ? "/kivo/records.json" : "/kivo/settings.json");
    }
    void saveOld() const {
        bool kept;
        records ? (void)keepRecord(aRun(20.0), kept) : saveSettings(Settings{});
    }
    void saveNew(size_t samples = 3) const {
        bool kept;
        Settings low;
        low.quality = QualitySetting::low;
        records ? (void)keepRecord(aRun(10.0, samples), kept) : saveSettings(low);
    }
    bool holdsNew() const { return records ? loadRecords() && loadRecords()->score == 10.0 : loadSettings().quality == QualitySetting::low; }
    void saveLater() const { records ? savePendingRecords() : saveNew(); }
};

TEST(Faults, ASaveThatFailsAtAnyStepLosesNothing) {
    enum Left { oldFile, newFile, noFile };
    const struct Step {
        const char* name;
        const char* said;
        Left left;
        bool savesLater;  // once the fault is gone, in the same start
    } steps[] = {
        {"mkdir", "cannot save", noFile, true},
        {"create", "cannot save", oldFile, true},
        {"write", "cannot save", oldFile, true},
        {"fsync", "cannot save", oldFile, true},
        {"close", "cannot save", oldFile, true},
        {"rename", "cannot save", oldFile, true},
        {"syncdir", "saved, but its folder could not be flushed", newFile, true},
        {"lock", "saved without the lock", newFile, true},
        {"read", "left as it is and not saved over", oldFile, false},
    };
    for (const Step& step : steps)
        for (const int error : {ENOSPC, EIO, EDQUOT, EACCES})  // the last: a folder that cannot be written
            for (Kept kept : {Kept{false, ""}, Kept{true, ""}}) {
                if (!kept.records && std::string(step.name) == "lock") continue;  // settings take no lock
                SCOPED_TRACE(testing::Message() << step.name << " failing with " << std::strerror(error) << ", "
                                                << (kept.records ? "records" : "settings"));
                TempDir dir;
                kept.point(dir.path("home"));
                if (step.left != noFile) kept.saveOld();
                const std::string before = read(kept.file);
                setenv("KIVO_FAULT", (std::string(step.name) + " " + std::to_string(error)).c_str(), 1);
                ::testing::internal::CaptureStderr();
                kept.saveNew();
                kept.saveNew();
                const std::string err = ::testing::internal::GetCapturedStderr();
                unsetenv("KIVO_FAULT");
                EXPECT_EQ(countOf(err, "\n"), 1) << err;
                EXPECT_NE(err.find(kept.file), std::string::npos) << err;
                EXPECT_NE(err.find(step.said), std::string::npos) << err;
                EXPECT_NE(err.find(std::strerror(error)), std::string::npos) << err;
                if (step.left == oldFile) {
                    EXPECT_EQ(read(kept.file), before);
                }
                EXPECT_EQ(fs::exists(kept.file), step.left != noFile);
                EXPECT_EQ(step.left == newFile, kept.holdsNew());
                EXPECT_EQ(temporaryFiles(dir.path("home/kivo")), 0);
                kept.saveLater();
                EXPECT_EQ(kept.holdsNew(), step.left == newFile || step.savesLater);
            }
}

// A small disk of its own, filled up: every save meets ENOSPC for real, a
// screenshot leaves no half a picture, and once there is room again the
// same start saves.
TEST(Faults, AFullDiskLosesNothing) {
    TempDir dir;
    const std::string disk = dir.path("disk");
    fs::create_directories(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=256k") != 0) GTEST_SKIP() << "cannot mount a tmpfs here";
    Kept kept[] = {{false, ""}, {true, ""}};
    for (Kept& k : kept) {
        k.point(disk + (k.records ? "/data" : "/config"));
        k.saveOld();
    }
    const std::string before[] = {read(kept[0].file), read(kept[1].file)};
    const std::string shots = disk + "/Pictures/kivo";
    fs::create_directories(shots);
    {
        std::ofstream filler(disk + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    ::testing::internal::CaptureStderr();
    for (const Kept& k : kept) k.saveNew(3000);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(countOf(err, "No space left on device"), 2) << err;
    EXPECT_EQ(countOf(err, "\n"), 2) << err;
    std::string problem;
    EXPECT_FALSE(writeNewPicture(shots, std::tm{}, std::string(64 * 1024, 'p'), problem));
    EXPECT_NE(problem.find("No space left on device"), std::string::npos) << problem;
    EXPECT_TRUE(fs::is_empty(shots));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(read(kept[i].file), before[i]);
        EXPECT_EQ(temporaryFiles(fs::path(kept[i].file).parent_path()), 0);
    }
    fs::remove(disk + "/filler");
    for (const Kept& k : kept) {
        k.saveLater();
        EXPECT_TRUE(k.holdsNew()) << k.file;
    }
    ::umount2(disk.c_str(), MNT_DETACH);
}

}  // namespace
