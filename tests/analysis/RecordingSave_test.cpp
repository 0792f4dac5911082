// Saving recordings safely: refused names, failures that must be reported, the durability
// hook, and a saver killed at random moments. Uses POSIX fork, kill and setrlimit.

#include "analysis/RecordingFile.h"
#include "tests/analysis/RecordingTestFiles.h"
#include "tests/common/SyntheticPulse.h"

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<CHrv> HrvWithPulse(int period, int count) {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachRateChart(300);
    std::vector<int16_t> pulse = SyntheticPulse(period, count);
    hrv->AddSamples(pulse.data(), count);
    return hrv;
}

RecordingHeader Record() {
    RecordingHeader h;
    h.SetName("Kim");
    h.SetBirthYear(1960);
    h.SetSex(1);
    return h;
}

// Saves the pulse in a child process after prepare() (exit 77 when that fails); the child's
// exit code is 0 when the save reported `expected`, else 10 + the status it reported.
template <class Prepare>
int SaveInChild(CHrv& hrv, const std::string& path, FileStatus expected, Prepare prepare) {
    RecordingHeader record = Record();
    pid_t pid = fork();
    if (pid == 0) {
        if (!prepare())
            _exit(77);
        FileStatus status = hrv.SavePulseFile(path, &record);
        _exit(status == expected ? 0 : 10 + static_cast<int>(status));
    }
    int wstatus = 0;
    if (pid < 0 || waitpid(pid, &wstatus, 0) != pid || !WIFEXITED(wstatus))
        return -1;
    return WEXITSTATUS(wstatus);
}

} // namespace

// --- Names ------------------------------------------------------------------------------

using UnsafeNames = RecordingFolder;

TEST_F(UnsafeNames, NamesThatCouldEscapeOrAreInvalidAreRefused) {
    auto hrv = HrvWithPulse(200, 1000);
    RecordingHeader record = Record();
    for (std::string name :
         {"Kim..x.ppg", "..", ".", "", "Ki\\m.ppg", "Ki:m.ppg", "Ki*m.ppg", "Ki?m.ppg", "Ki\"m.ppg",
          "Ki<m.ppg", "Ki>m.ppg", "Ki|m.ppg", "Kim\x01.ppg", "Kim\n.ppg", "Kim\x7F.ppg"}) {
        const std::string path = m_folder.string() + "/" + name;
        EXPECT_FALSE(IsSafeFileName(path)) << name;
        EXPECT_EQ(hrv->SavePulseFile(path, &record), FileStatus::UnsafeName) << name;
        EXPECT_EQ(hrv->SaveRateFile(&record, path), FileStatus::UnsafeName) << name;
    }
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(hrv->Identity().dateTimeText, "");
}

TEST_F(UnsafeNames, OnlyTheNamePartIsChecked) {
    EXPECT_TRUE(IsSafeFileName("../work/Kim_20240131_093005.ppg"));
    EXPECT_TRUE(IsSafeFileName("../work/김민수_20240131_093005.hrv"));
    EXPECT_TRUE(IsSafeFileName("Kim_20240131_093005.ppg"));
    EXPECT_FALSE(IsSafeFileName("../work/"));
    EXPECT_FALSE(IsSafeFileName("../work/../"));
}

// --- Failures are reported ----------------------------------------------------------------

using SaveFailure = RecordingFolder;

TEST_F(SaveFailure, MissingFolderOrFolderThatIsAFileCannotBeWritten) {
    WriteAll(PathOf("work"), Bytes{1});
    auto hrv = HrvWithPulse(200, 1000);
    RecordingHeader record = Record();
    for (const char* folder : {"work", "missing"}) {
        const std::string path = PathOf(std::string(folder) + "/Kim_20240131_093005");
        EXPECT_EQ(hrv->SavePulseFile(path + ".ppg", &record), FileStatus::CannotOpen) << folder;
        EXPECT_EQ(hrv->SaveRateFile(&record, path + ".hrv"), FileStatus::CannotOpen) << folder;
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"work"}));
    EXPECT_EQ(hrv->Identity().dateTimeText, "");
}

TEST_F(SaveFailure, ReadOnlyFolderCannotBeWritten) {
    fs::create_directory(m_folder / "work");
    fs::permissions(m_folder / "work", fs::perms::owner_read | fs::perms::owner_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(m_folder, fs::perms::others_exec, fs::perm_options::add);
    auto hrv = HrvWithPulse(200, 1000);
    // Root writes into read-only folders: then the save runs in a child that has given up
    // its privileges (user "nobody").
    const int exit =
        SaveInChild(*hrv, PathOf("work/Kim_20240131_093005.ppg"), FileStatus::CannotOpen,
                    [] { return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0); });
    if (exit == 77)
        GTEST_SKIP() << "running as root and cannot drop privileges: permissions do not stop "
                        "writes; MissingFolderOrFolderThatIsAFileCannotBeWritten covers the "
                        "failure";
    EXPECT_EQ(exit, 0) << "10 + the status the save reported";
    EXPECT_TRUE(fs::is_empty(m_folder / "work"));
}

TEST_F(SaveFailure, FailedReplaceKeepsTheTargetAndLeavesNoTemporaryFile) {
    fs::create_directories(m_folder / "Kim_20240131_093005.ppg" / "occupied");
    auto hrv = HrvWithPulse(200, 1000);
    RecordingHeader record = Record();
    EXPECT_EQ(hrv->SavePulseFile(PathOf("Kim_20240131_093005.ppg"), &record),
              FileStatus::WriteFailed);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Kim_20240131_093005.ppg"}));
    EXPECT_TRUE(fs::is_directory(m_folder / "Kim_20240131_093005.ppg" / "occupied"));
    EXPECT_EQ(hrv->Identity().dateTimeText, "");
}

TEST_F(SaveFailure, FullDiskIsReportedAndTheOldFileStays) {
    const std::string path = PathOf("Kim_20240131_093005.ppg");
    WriteAll(path, Bytes{9, 9, 9});
    auto hrv = HrvWithPulse(200, 12000); // 24264 bytes
    // The file-size limit makes every write past 4 kB fail as on a full disk.
    const int exit = SaveInChild(*hrv, path, FileStatus::WriteFailed, [] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    EXPECT_EQ(exit, 0) << "10 + the status the save reported";
    EXPECT_EQ(ReadAll(path), (Bytes{9, 9, 9}));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Kim_20240131_093005.ppg"}));
}

// --- Replacing and syncing ------------------------------------------------------------------

class FileSyncHook : public RecordingFolder {
protected:
    void SetUp() override {
        RecordingFolder::SetUp();
        s_calls.clear();
        s_target = m_folder / "Kim_20240131_093005.ppg";
        SetFileSync(&FileSyncHook::Capture);
    }
    void TearDown() override {
        SetFileSync(nullptr);
        RecordingFolder::TearDown();
    }
    struct Call {
        fs::path path;
        uintmax_t size = 0;
        bool targetExisted = false;
    };
    static inline std::vector<Call> s_calls;
    static inline fs::path s_target;
    static inline bool s_result = true;       // of syncing a file
    static inline bool s_folderResult = true; // of syncing a folder
    static bool Capture(const fs::path& path) {
        std::error_code ec;
        Call call{path, fs::is_regular_file(path, ec) ? fs::file_size(path, ec) : 0,
                  fs::exists(s_target, ec)};
        s_calls.push_back(call);
        return fs::is_directory(path, ec) ? s_folderResult : s_result;
    }
};

TEST_F(FileSyncHook, CompleteTemporaryIsSyncedBeforeTheRenameThenTheFolder) {
    s_result = true;
    auto hrv = HrvWithPulse(200, 12000);
    RecordingHeader record = Record();
    ASSERT_EQ(hrv->SavePulseFile(s_target.string(), &record), FileStatus::Ok);

    ASSERT_EQ(s_calls.size(), 2u);
    EXPECT_EQ(s_calls[0].path.parent_path(), m_folder);
    EXPECT_TRUE(s_calls[0].path.filename().string().ends_with(".tmp"));
    EXPECT_EQ(s_calls[0].size, 24264u);
    EXPECT_FALSE(s_calls[0].targetExisted);
    EXPECT_EQ(s_calls[1].path, m_folder);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Kim_20240131_093005.ppg"}));
}

// A file that cannot be synced is not put in place; once the complete file is in place, a
// folder that cannot be synced leaves the save successful.
TEST_F(FileSyncHook, FailedSyncOfTheFileFailsTheSaveButOfTheFolderDoesNot) {
    struct Case {
        bool fileSynced;
        bool folderSynced;
        FileStatus status;
        uintmax_t size; // of the target afterwards
    };
    const Case cases[] = {{false, true, FileStatus::WriteFailed, 2},
                          {true, false, FileStatus::Ok, 8 + 256 + 4000}};
    for (const Case& c : cases) {
        s_result = c.fileSynced;
        s_folderResult = c.folderSynced;
        WriteAll(s_target.string(), Bytes{1, 2});
        auto hrv = HrvWithPulse(200, 2000);
        RecordingHeader record = Record();
        EXPECT_EQ(hrv->SavePulseFile(s_target.string(), &record), c.status);
        EXPECT_EQ(fs::file_size(s_target), c.size);
        EXPECT_EQ(Entries(), (std::vector<std::string>{"Kim_20240131_093005.ppg"}));
    }
    s_folderResult = true;
}

// --- Leftovers of interrupted saves ---------------------------------------------------------

using Leftovers = RecordingFolder;

TEST_F(Leftovers, NextSaveRemovesOnlyStaleTemporaryFilesOfItsOwnPattern) {
    struct Case {
        const char* name;
        int ageSeconds;
        bool removed;
    };
    const Case cases[] = {
        {"Kim_20240131_093005.ppg.3f2a9c01002a.tmp", 120, true},
        {"Lee_20240131_093005.hrv.0123456789ab.tmp", 3600, true},
        {"notes.csv.00000000ffff.tmp", 61 * 60, true},
        {"Kim_20240131_093005.ppg.3f2a9c01002b.tmp", 10, false},  // a save may be in progress
        {"Kim_20240131_093005.ppg.3F2A9C01002A.tmp", 120, false}, // not our digits
        {"Kim_20240131_093005.ppg.3f2a9c01002.tmp", 120, false},  // 11 digits
        {"Kim_20240131_093005.ppg3f2a9c01002a.tmp", 120, false},  // no dot before them
        {".3f2a9c01002a.tmp", 120, false},                        // no file name before them
        {"draft.tmp", 120, false},
        {"Kim_20240131_093005.ppg", 120, false},
    };
    const auto now = fs::file_time_type::clock::now();
    for (const Case& c : cases) {
        WriteAll(PathOf(c.name), Bytes{1});
        fs::last_write_time(PathOf(c.name), now - std::chrono::seconds(c.ageSeconds));
    }
    fs::create_directory(m_folder / "old.ppg.0123456789ab.tmp"); // a folder is never removed
    fs::last_write_time(m_folder / "old.ppg.0123456789ab.tmp", now - std::chrono::hours(1));

    auto hrv = HrvWithPulse(200, 1000);
    RecordingHeader record = Record();
    ASSERT_EQ(hrv->SavePulseFile(PathOf("Ann_20240201_100000.ppg"), &record), FileStatus::Ok);
    for (const Case& c : cases)
        EXPECT_EQ(fs::exists(PathOf(c.name)), !c.removed) << c.name;
    EXPECT_TRUE(fs::is_directory(m_folder / "old.ppg.0123456789ab.tmp"));
    EXPECT_TRUE(fs::exists(PathOf("Ann_20240201_100000.ppg")));
}

// --- Crash safety ---------------------------------------------------------------------------

using CrashSafety = RecordingFolder;

TEST_F(CrashSafety, KilledSaverLeavesEveryRecordingAbsentOrComplete) {
    auto a = HrvWithPulse(200, 12000);
    auto b = HrvWithPulse(150, 7000);
    for (int i = 0; i < 300; ++i) {
        a->AddRate(false, i % 2 ? -1.0 : 60.0);
        b->AddRate(false, i % 3 ? -1.0 : 80.0);
    }
    RecordingHeader record = Record();

    // The two possible contents of each file, written once without interference.
    fs::create_directory(m_folder / "ref");
    const std::string ref = (m_folder / "ref").string();
    ASSERT_EQ(a->SavePulseFile(ref + "/a_1_1.ppg", &record), FileStatus::Ok);
    ASSERT_EQ(b->SavePulseFile(ref + "/b_1_1.ppg", &record), FileStatus::Ok);
    ASSERT_EQ(a->SaveRateFile(&record, ref + "/a_1_1.hrv"), FileStatus::Ok);
    ASSERT_EQ(b->SaveRateFile(&record, ref + "/b_1_1.hrv"), FileStatus::Ok);
    const Bytes pulseA = ReadAll(ref + "/a_1_1.ppg"), pulseB = ReadAll(ref + "/b_1_1.ppg");
    const Bytes rateA = ReadAll(ref + "/a_1_1.hrv"), rateB = ReadAll(ref + "/b_1_1.hrv");
    fs::remove_all(m_folder / "ref");

    const std::string pulsePath = PathOf("Kim_20240131_093005.ppg");
    const std::string ratePath = PathOf("Kim_20240131_093005.hrv");
    std::mt19937 random(20240131);
    int found = 0;
    int leftovers = 0; // temporary files of saves that were killed: they accumulate
    // Rounds go on until a kill has hit a save in progress (at least 60, at most 400): on a
    // busy machine a child may be killed before it has saved anything.
    for (int round = 0; round < 400 && (round < 60 || leftovers == 0); ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(ready[0]);
            for (int i = 0;; ++i) {
                CHrv& hrv = i % 2 ? *a : *b;
                hrv.SavePulseFile(pulsePath, &record);
                hrv.SaveRateFile(&record, ratePath);
                if (i == 0) {
                    char done = 1;
                    (void)!write(ready[1], &done, 1);
                }
            }
        }
        close(ready[1]);
        char done = 0;
        ASSERT_EQ(read(ready[0], &done, 1), 1) << "the saver never completed a save";
        close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
        kill(pid, SIGKILL);
        ASSERT_EQ(waitpid(pid, nullptr, 0), pid);

        leftovers = 0;
        for (const std::string& name : Entries()) {
            if (name.ends_with(".ppg") || name.ends_with(".hrv")) {
                const bool pulse = name.ends_with(".ppg");
                const Bytes bytes = ReadAll(PathOf(name));
                EXPECT_TRUE(bytes == (pulse ? pulseA : rateA) || bytes == (pulse ? pulseB : rateB))
                    << "round " << round << ": " << name << ", " << bytes.size() << " bytes";
                ++found;
            } else {
                EXPECT_TRUE(name.ends_with(".tmp")) << name;
                ++leftovers;
            }
        }
    }
    EXPECT_GT(found, 60) << "the saver must have completed files in most rounds";
    EXPECT_GT(leftovers, 0) << "some kill must have hit a save in progress";
    RecordProperty("killsDuringASave", leftovers);

    // A minute later the next save clears what the kills left.
    for (const std::string& name : Entries())
        fs::last_write_time(PathOf(name),
                            fs::file_time_type::clock::now() - std::chrono::minutes(2));
    ASSERT_EQ(a->SaveRateFile(&record, ratePath), FileStatus::Ok);
    for (const std::string& name : Entries())
        EXPECT_FALSE(name.ends_with(".tmp")) << name;
}
