// A user's recordings: which files belong to a user, and deleting exactly those.

#include "records/UserRecordings.h"

#include "UserFiles.h"

#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

class UserRecordingsDeletion : public TempFolderTest {
protected:
    // Creates the files; returns their names.
    std::set<std::string> Create(std::initializer_list<const char*> names) {
        for (const char* name : names)
            userfiles::WriteText(m_folder / name, "x");
        return {names.begin(), names.end()};
    }

    std::set<std::string> Remaining() const {
        std::vector<std::string> names = Entries();
        return {names.begin(), names.end()};
    }
};

} // namespace

TEST_F(UserRecordingsDeletion, DeletesOnlyTheUsersRecordings) {
    std::set<std::string> kept = Create(
        {"Kimberly_20130101_101010.ppg", "Kimberly_20130101_101010.hrv", "Kim2_20130101_101010.ppg",
         "Kim_x_20130101_101010.ppg", "kim_20130101_101010.ppg", "Kim_20130101_101010.PPG",
         "Kim_20130101_101010.txt", "Kim_20130101_101010.ppg.bak", "Kim_2013.ppg", "Kim.ppg"});
    Create({"Kim_20130101_101010.ppg", "Kim_20130101_101010.hrv", "Kim_20140202_090000.ppg"});
    fs::create_directory(m_folder / "Kim_20150101_101010.ppg");
    kept.insert("Kim_20150101_101010.ppg");

    EXPECT_EQ(DeleteUserRecordings(m_folder, "Kim"), 3);
    EXPECT_EQ(Remaining(), kept);
}

TEST_F(UserRecordingsDeletion, NameIsTakenLiterally) {
    Create({"a.b_20130101_101010.ppg", "axb_20130101_101010.ppg", "a*_20130101_101010.ppg"});
    EXPECT_EQ(DeleteUserRecordings(m_folder, "a.b"), 1);
    EXPECT_EQ(DeleteUserRecordings(m_folder, "a*"), 1);
    EXPECT_EQ(Remaining(), std::set<std::string>{"axb_20130101_101010.ppg"});
}

TEST_F(UserRecordingsDeletion, MissingFolderDeletesNothing) {
    EXPECT_EQ(DeleteUserRecordings(m_folder / "missing", "Kim"), 0);
}

TEST_F(UserRecordingsDeletion, OneRecordingOnlyWhenItIsTheUsers) {
    Create({"Kim_20130101_101010.ppg", "Kim_20130101_101010.hrv", "Kimberly_20130101_101010.ppg",
            "Kim_notes.txt"});
    const struct {
        const char* file;
        bool deleted;
    } cases[] = {{"Kimberly_20130101_101010.ppg", false}, {"Kim_notes.txt", false},
                 {"../Kim_20130101_101010.ppg", false},   {"Kim_20130101_101010.ppg", true},
                 {"Kim_20130101_101010.ppg", false}, // gone already
                 {"Kim_20130101_101010.hrv", true}};
    for (const auto& c : cases)
        EXPECT_EQ(DeleteUserRecording(m_folder, "Kim", c.file), c.deleted) << c.file;
    EXPECT_EQ(Remaining(),
              (std::set<std::string>{"Kimberly_20130101_101010.ppg", "Kim_notes.txt"}));
}

TEST_F(UserRecordingsDeletion, ListsTheUsersRecordingsOfOneKindInNameOrder) {
    Create({"Kim_20140202_090000.ppg", "Kim_20130101_101010.hrv", "Kim_20130101_101010.ppg",
            "Kimberly_20120101_101010.ppg", "Kim_20120101_101010.PPG"});
    EXPECT_EQ(ListUserRecordings(m_folder, "Kim", ".ppg"),
              (std::vector<std::string>{"Kim_20130101_101010.ppg", "Kim_20140202_090000.ppg"}));
    EXPECT_EQ(ListUserRecordings(m_folder, "Kim", ".hrv"),
              std::vector<std::string>{"Kim_20130101_101010.hrv"});
    EXPECT_TRUE(ListUserRecordings(m_folder / "missing", "Kim", ".ppg").empty());
}

TEST(UserRecordingsNaming, RecognisesTheRecordingPattern) {
    EXPECT_TRUE(IsRecordingOf("Kim_20130101_101010.ppg", "Kim"));
    EXPECT_TRUE(IsRecordingOf("Kim_20130101_101010.hrv", "Kim"));
    EXPECT_TRUE(IsRecordingOf("김철수_20240131_093005.ppg", "김철수"));
    EXPECT_FALSE(IsRecordingOf("Kimberly_20130101_101010.ppg", "Kim"));
    EXPECT_FALSE(IsRecordingOf("Kim_2013010a_101010.ppg", "Kim"));
    EXPECT_FALSE(IsRecordingOf("Kim_20130101_10101x.ppg", "Kim"));
    EXPECT_FALSE(IsRecordingOf("Kim_20130101-101010.ppg", "Kim"));
    EXPECT_FALSE(IsRecordingOf("Kim-20130101_101010.ppg", "Kim"));
    EXPECT_FALSE(IsRecordingOf("Kim_20130101_101010.ppx", "Kim"));
    EXPECT_FALSE(IsRecordingOf("Kim_20130101_101010.ppg", "kim"));
    EXPECT_FALSE(IsRecordingOf("_20130101_101010.ppg", "Kim"));
}
