// The review's records: their values, the recordings that cannot be read, and stopping a
// load. Which files are a user's: UserRecordings_test; the points shown: DlgReview_gui_test.

#include "records/ReviewRecords.h"

#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"

#include "UserFiles.h"

#include "tests/common/ReviewFiles.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace reviewfiles;

namespace {

constexpr int kBirthYear = 1960; // 64 in 2024
constexpr int kHeaderSex = 2;    // the recordings were made for a woman ...
constexpr int kUserSex = 1;      // ... and are reviewed for a man

class ReviewRecordsTest : public TempFolderTest {
protected:
    std::vector<std::string> FileNames(const std::vector<CLinkList>& list) const {
        std::vector<std::string> names;
        for (const CLinkList& entry : list)
            names.push_back(entry.fileName);
        return names;
    }
};

std::string Name(const std::string& user, int n, const char* extension) {
    return user + "_" + Stamp(n) + extension;
}

} // namespace

// A pulse recording's values as the test computed them: the mean pulse, and the wellness
// index for the age of the test year and the sex in the recording's header (not the user's).
TEST_F(ReviewRecordsTest, PulseValuesAreTheAnalysisOfTheRecording) {
    ASSERT_TRUE(SavePulseRecording(m_folder, "Kim", 3, kBirthYear, kHeaderSex));
    const ReviewRecords records = LoadReviewRecords(m_folder, "Kim", kUserSex);
    ASSERT_EQ(records.wellness.size(), 1u);

    auto replay = std::make_unique<CHrv>();
    replay->AttachApg();
    replay->AttachRateChart(300);
    replay->AttachPulseRing();
    RecordingHeader header;
    ASSERT_EQ(replay->LoadPulseFile(&header, (m_folder / Name("Kim", 3, ".ppg")).string()),
              FileStatus::Ok);
    double minRate = 0;
    double maxRate = 0;
    const double meanPulse = std::trunc(replay->TimelineStats(&minRate, &maxRate));
    const double wellness = std::trunc(replay->SummariseApg(2024 - kBirthYear, 2).wellnessIndex);
    EXPECT_GT(meanPulse, 40);
    EXPECT_GT(wellness, 0);
    EXPECT_EQ(records.meanPulse[0].value, meanPulse);
    EXPECT_EQ(records.wellness[0].value, wellness);
    EXPECT_NE(wellness, std::trunc(replay->SummariseApg(2024 - kBirthYear, 1).wellnessIndex));
}

TEST_F(ReviewRecordsTest, UnreadableRecordingsGiveNoPointAndAreCounted) {
    ASSERT_TRUE(SavePulseRecording(m_folder, "Kim", 0, kBirthYear, kHeaderSex));
    ASSERT_TRUE(SaveRateRecording(m_folder, "Kim", 0, kBirthYear, kHeaderSex));
    ASSERT_TRUE(SavePulseRecording(m_folder, "Kim", 9, kBirthYear, kHeaderSex));
    ASSERT_TRUE(SaveRateRecording(m_folder, "Kim", 9, kBirthYear, kHeaderSex));

    std::mt19937 random(7);
    std::string garbage(24264, '\0');
    for (char& byte : garbage)
        byte = static_cast<char>(random());
    const std::string good = Name("Kim", 0, ".ppg");
    auto cut = [&](const std::string& from, const std::string& to, uintmax_t size) {
        fs::copy_file(m_folder / from, m_folder / to);
        fs::resize_file(m_folder / to, size);
    };
    cut(good, Name("Kim", 1, ".ppg"), 100);           // shorter than its header
    cut(good, Name("Kim", 2, ".ppg"), 8 + 256 + 600); // 300 samples: no rate
    cut(good, Name("Kim", 3, ".ppg"), 0);
    userfiles::WriteText(m_folder / Name("Kim", 4, ".ppg"), garbage);
    userfiles::WriteText(m_folder / Name("Kim", 5, ".ppg"), "not a recording at all");
    cut(Name("Kim", 0, ".hrv"), Name("Kim", 6, ".hrv"), 8 + 256 + 16); // too short for HRV
    userfiles::WriteText(m_folder / Name("Kim", 7, ".hrv"), garbage);
    fs::create_directory(m_folder / Name("Kim", 8, ".ppg")); // not a file: not listed

    const ReviewRecords records = LoadReviewRecords(m_folder, "Kim", kUserSex);
    const std::vector<std::string> pulses = {Name("Kim", 0, ".ppg"), Name("Kim", 9, ".ppg")};
    EXPECT_EQ(FileNames(records.meanPulse), pulses);
    EXPECT_EQ(FileNames(records.wellness), pulses);
    EXPECT_EQ(FileNames(records.stress),
              (std::vector<std::string>{Name("Kim", 0, ".hrv"), Name("Kim", 9, ".hrv")}));
    EXPECT_EQ(records.unreadable, 7);
    EXPECT_EQ(records.wellness[1].number, 2);
}

TEST_F(ReviewRecordsTest, ProgressCountsAndAStoppedLoadTakesNoFurtherRecording) {
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(SavePulseRecording(m_folder, "Kim", n, kBirthYear, kHeaderSex));
        ASSERT_TRUE(SaveRateRecording(m_folder, "Kim", n, kBirthYear, kHeaderSex));
    }
    ReviewLoadProgress progress;
    const ReviewRecords all = LoadReviewRecords(m_folder, "Kim", kUserSex, {}, &progress);
    EXPECT_EQ(progress.total, 6);
    EXPECT_EQ(progress.done, 6);
    EXPECT_EQ(all.stress.size(), 3u);

    std::stop_source stop;
    stop.request_stop();
    const ReviewRecords stopped =
        LoadReviewRecords(m_folder, "Kim", kUserSex, stop.get_token(), &progress);
    EXPECT_EQ(progress.total, 6);
    EXPECT_EQ(progress.done, 0);
    EXPECT_TRUE(stopped.meanPulse.empty() && stopped.stress.empty());
    EXPECT_EQ(stopped.unreadable, 0);
}
