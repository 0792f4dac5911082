// The list of known users, rebuilt from the headers of the pulse files of a folder.

#include "records/UserList.h"

#include "UserFiles.h"

#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using userfiles::WriteRecording;
using userfiles::WriteText;

namespace {

class UserListRebuild : public TempFolderTest {
protected:
    // The names of the rebuilt list, in order.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const CUserList& user : RebuildUserList(m_folder))
            names.push_back(user.name);
        return names;
    }
};

using NameList = std::vector<std::string>;

} // namespace

TEST_F(UserListRebuild, OneRowPerUserAndTheRateFileIsNeverRead) {
    WriteRecording(m_folder / "NAME_20130101_101010.ppg", "NAME", 1965, 1, "010-1234");
    // Sorts before the pulse files: read, it would add a row of its own (another header name).
    WriteRecording(m_folder / "NAME_20130101_101010.hrv", "Other", 1111, 2);
    WriteRecording(m_folder / "NAME_20130202_090000.ppg", "NAME", 1965, 1, "010-1234");
    const std::vector<CUserList> users = RebuildUserList(m_folder);
    ASSERT_EQ(users.size(), 1u);
    EXPECT_EQ(users[0].name, "NAME");
    EXPECT_EQ(users[0].birthYear, 1965);
    EXPECT_EQ(users[0].sex, 1);
    EXPECT_EQ(users[0].phone, "010-1234");
}

TEST_F(UserListRebuild, NameComesFromTheFileNameAndTheRestFromTheHeader) {
    WriteRecording(m_folder / "Park_20130101_101010.ppg", "Someone", 1970, 2, "02-555");
    // Marker -20 selects the 64-byte header: the phone at offset 64 is not part of it.
    WriteRecording(m_folder / "Old_20050101_101010.ppg", "Old", 1945, 2, "0123", -20.0);
    const std::vector<CUserList> users = RebuildUserList(m_folder);
    ASSERT_EQ(users.size(), 2u);
    EXPECT_EQ(users[0].name, "Old");
    EXPECT_EQ(users[0].birthYear, 1945);
    EXPECT_EQ(users[0].phone, "");
    EXPECT_EQ(users[1].name, "Park");
    EXPECT_EQ(users[1].birthYear, 1970);
    EXPECT_EQ(users[1].sex, 2);
    EXPECT_EQ(users[1].phone, "02-555");
}

TEST_F(UserListRebuild, OnlyReadablePulseFilesWithTheLowerCaseExtensionCount) {
    WriteRecording(m_folder / "Lee_20130101_101010.PPG", "Lee", 1970, 2);
    WriteRecording(m_folder / "Lee_20130101_101011.Ppg", "Lee", 1970, 2);
    fs::create_directory(m_folder / "Dir_20130101_101010.ppg");
    WriteRecording(m_folder / "Kim_20130101_101010.ppg", "Kim", 1960, 1);
    EXPECT_EQ(Names(), NameList{"Kim"});
}

TEST_F(UserListRebuild, FileWithoutUnderscoreGivesAnEmptyName) {
    WriteRecording(m_folder / "Kim_20130101_101010.ppg", "Kim", 1960, 1);
    WriteRecording(m_folder / "zeta.ppg", "Zeta", 1980, 2);
    const std::vector<CUserList> users = RebuildUserList(m_folder);
    ASSERT_EQ(users.size(), 2u);
    EXPECT_EQ(users[0].name, "Kim");
    EXPECT_EQ(users[1].name, "");
    EXPECT_EQ(users[1].birthYear, 1980);
}

TEST_F(UserListRebuild, EmptyHeaderNameCountsOnlyAfterANamedFile) {
    WriteText(m_folder / "A_20130101_101010.ppg", "short"); // too short: an all-zero header
    WriteRecording(m_folder / "B_20130101_101010.ppg", "B", 1950, 1);
    WriteText(m_folder / "C_20130101_101010.ppg", "short");
    const std::vector<CUserList> users = RebuildUserList(m_folder);
    ASSERT_EQ(users.size(), 2u);
    EXPECT_EQ(users[0].name, "B");
    EXPECT_EQ(users[1].name, "C");
    EXPECT_EQ(users[1].birthYear, 0);
    EXPECT_EQ(users[1].sex, 0);
}

TEST_F(UserListRebuild, FilesAreReadInNameOrder) {
    // Created interleaved: in the order of the folder entries Kim's two files could be
    // separated by Park's and give Kim twice.
    WriteRecording(m_folder / "Kim_20130101_101010.ppg", "Kim", 1960, 1);
    WriteRecording(m_folder / "Park_20130101_101010.ppg", "Park", 1970, 2);
    WriteRecording(m_folder / "Kim_20140101_101010.ppg", "Kim", 1960, 1);
    WriteRecording(m_folder / "Abe_20140101_101010.ppg", "Abe", 1940, 1);
    EXPECT_EQ(Names(), (NameList{"Abe", "Kim", "Park"}));
}

TEST_F(UserListRebuild, MissingFolderGivesAnEmptyList) {
    EXPECT_TRUE(RebuildUserList(m_folder / "missing").empty());
    WriteRecording(m_folder / "notafolder.ppg", "Kim", 1960, 1);
    EXPECT_TRUE(RebuildUserList(m_folder / "notafolder.ppg").empty());
}

TEST(UserListFind, FirstExactMatchWins) {
    const std::vector<CUserList> users = {
        {"Kim", 1960, 1, "a"}, {"kim", 1961, 1, "b"}, {"Kim", 1962, 2, "c"}};
    const CUserList* found = FindUser(users, "Kim");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->phone, "a");
    EXPECT_EQ(FindUser(users, "kim")->birthYear, 1961);
    EXPECT_EQ(FindUser(users, "Ki"), nullptr);
    EXPECT_EQ(FindUser(users, "Kim "), nullptr);
}
