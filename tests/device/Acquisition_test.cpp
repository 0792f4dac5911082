#include "analysis/Hrv.h"
#include "device/Acquisition.h"
#include "device/SensorLink.h"
#include "tests/device/FakeHidPlatform.h"

#include <gtest/gtest.h>

#include <future>
#include <set>

namespace {

using namespace std::chrono_literals;

// An input report as the sensor sends it: report ID, count byte, then the given bytes.
std::vector<uint8_t> Report(uint8_t countByte, std::vector<uint8_t> bytes) {
    bytes.insert(bytes.begin(), {0, countByte});
    return bytes;
}

std::vector<uint8_t> Groups(const std::vector<int>& samples) {
    std::vector<uint8_t> bytes;
    for (int s : samples) {
        bytes.push_back(0xFF);
        bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
        bytes.push_back(static_cast<uint8_t>(s & 0xFF));
    }
    return bytes;
}

// Wait for something another thread does, failing instead of hanging when it never happens.
template <class Condition> bool Eventually(Condition condition) {
    auto end = std::chrono::steady_clock::now() + 30s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The loop runs against a fake sensor whose reads never time out: once the queued reports
// are used up, the next read blocks until the loop is stopped.
class AcquisitionTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto platform = std::make_unique<FakeHidPlatform>();
        fake = platform.get();
        fake->SetInterfaces({FakeHidPlatform::Sensor("/dev/hidraw0")});
        link = std::make_unique<SensorLink>(std::move(platform), std::chrono::hours(1));
        link->StartUp({});
        hrv = std::make_unique<CHrv>();
    }

    // Runs one loop over the reports and stops it once it waits for the next one.
    void RunReports(const std::vector<std::vector<uint8_t>>& reports,
                    AcquisitionKind kind = AcquisitionKind::Apg) {
        for (const auto& report : reports)
            fake->QueueReport(report);
        CAcquisition acquisition(*link, *hrv, kind);
        ASSERT_EQ(acquisition.Start(), 1);
        ASSERT_TRUE(Eventually([&] { return fake->ReadBlocked(); }));
        acquisition.Stop();
    }

    std::vector<double> Raw() const {
        std::vector<double> raw(CHrv::kSeriesCapacity);
        raw.resize(static_cast<size_t>(
            hrv->CopySeriesTail(CHrv::Series::Raw, raw.data(), CHrv::kSeriesCapacity)));
        return raw;
    }

    TraceCapture trace;
    FakeHidPlatform* fake = nullptr;
    std::unique_ptr<SensorLink> link;
    std::unique_ptr<CHrv> hrv;
};

using ReportIntake = AcquisitionTest;

TEST_F(ReportIntake, CountByteZeroPassesNothing) {
    RunReports({Report(0, Groups({1000, 1001}))});
    EXPECT_TRUE(Raw().empty());
    for (const std::string& line : trace.Lines()) {
        if (line.find("input length") != std::string::npos) {
            EXPECT_EQ(line, "input length : 0:\n");
        }
    }
}

TEST_F(ReportIntake, CountByteWithTopBitSetPassesNothing) {
    RunReports({Report(0x80, Groups({1000, 1001})), Report(0xFF, Groups({1002}))});
    EXPECT_TRUE(Raw().empty());
}

TEST_F(ReportIntake, FullReportYieldsItsSamplesInOrder) {
    std::vector<int> samples;
    for (int i = 0; i < 21; ++i)
        samples.push_back(1000 + i);
    RunReports({Report(21, Groups(samples))});
    EXPECT_EQ(Raw(), std::vector<double>(samples.begin(), samples.end()));
    EXPECT_TRUE(hrv->Running());
    EXPECT_EQ(trace.Count("input length : 63:\n"), 1);
}

TEST_F(ReportIntake, CountBeyondTheReceivedBytesPassesOnlyWhatArrived) {
    // Three groups and the first two bytes of a fourth arrived, though the count says 21.
    // The unfinished group must wait for its low byte instead of taking a cleared byte.
    std::vector<uint8_t> first = Groups({1000, 1001, 1002});
    first.insert(first.end(), {0xFF, 0x03});
    RunReports({Report(21, first), Report(1, {0xEB, 0xFE, 0x03})});
    EXPECT_EQ(Raw(), (std::vector<double>{1000, 1001, 1002, 1003}));
}

TEST_F(ReportIntake, JunkBetweenGroupsIsSkipped) {
    RunReports({Report(3, {0x12, 0xFF, 0x03, 0xE8, 0x00, 0x34, 0xFE, 0x03, 0xE9})});
    EXPECT_EQ(Raw(), (std::vector<double>{1000, 1001}));
}

TEST_F(ReportIntake, GroupSplitAcrossReportsIsDecodedWhenComplete) {
    RunReports({Report(2, {0x7F, 0xFF, 0x03, 0xE8, 0xFF, 0x03}), Report(1, {0xE9, 0xFE, 0x03}),
                Report(1, {0xEA, 0x00, 0x00})});
    EXPECT_EQ(Raw(), (std::vector<double>{1000, 1001, 1002}));
}

TEST_F(ReportIntake, StressLoopWritesItsOwnLengthLines) {
    RunReports({Report(2, Groups({1000, 1001}))}, AcquisitionKind::Stress);
    EXPECT_EQ(trace.Count("STRESS input length : 6:\n"), 1);
    EXPECT_EQ(trace.Count("APG Thread Start success !!! \n"), 0);
    EXPECT_EQ(Raw().size(), 2u);
}

using StartStop = AcquisitionTest;

TEST_F(StartStop, StartWhileRunningKeepsTheOneLoop) {
    {
        CAcquisition acquisition(*link, *hrv, AcquisitionKind::Apg);
        ASSERT_EQ(acquisition.Start(), 1);
        EXPECT_EQ(acquisition.Start(), 1);
        EXPECT_TRUE(hrv->ThreadRun());
        ASSERT_TRUE(Eventually([&] { return fake->ReadBlocked(); }));
        acquisition.Stop();
        EXPECT_FALSE(hrv->ThreadRun());
        EXPECT_FALSE(acquisition.Started());
    }
    auto threads = fake->WriteThreads();
    EXPECT_EQ(std::set<std::thread::id>(threads.begin(), threads.end()).size(), 1u);
    EXPECT_EQ(trace.Count("APG Thread Start success !!! \n"), 1);
    EXPECT_EQ(trace.Count("APG Thread exit success \n"), 1);
}

TEST_F(StartStop, StopEndsABlockedReadWithoutFailingTheLink) {
    auto acquisition = std::make_unique<CAcquisition>(*link, *hrv, AcquisitionKind::Apg);
    ASSERT_EQ(acquisition->Start(), 1);
    ASSERT_TRUE(Eventually([&] { return fake->ReadBlocked(); }));
    acquisition->Stop();
    // The read limit is an hour: the thread can only end this soon because Stop cancelled it.
    auto end = std::async(std::launch::async, [&] { acquisition.reset(); });
    ASSERT_EQ(end.wait_for(30s), std::future_status::ready);
    EXPECT_EQ(fake->LastReadStatus(), HidPlatform::ReadStatus::Cancelled);
    EXPECT_TRUE(link->DeviceOpen());
    EXPECT_EQ(trace.Count("ReadFile timeout \n"), 0);
    EXPECT_EQ(trace.Count("APG Thread exit success \n"), 1);
}

TEST_F(StartStop, RestartWaitsForTheFinishingLoopAndReadsAgain) {
    CAcquisition acquisition(*link, *hrv, AcquisitionKind::Apg);
    ASSERT_EQ(acquisition.Start(), 1);
    ASSERT_TRUE(Eventually([&] { return fake->ReadBlocked(); }));
    acquisition.Stop();
    ASSERT_EQ(acquisition.Start(), 1); // right away, while the first loop may be finishing
    fake->QueueReport(Report(1, Groups({1234})));
    ASSERT_TRUE(Eventually([&] { return hrv->Count(CHrv::Series::Raw) == 1; }));
    ASSERT_TRUE(Eventually([&] { return fake->ReadBlocked(); }));
    acquisition.Stop();

    // The first loop had ended before the second began.
    std::vector<std::string> loops;
    for (const std::string& line : trace.Lines()) {
        if (line.starts_with("APG Thread"))
            loops.push_back(line);
    }
    EXPECT_EQ(loops, (std::vector<std::string>{"APG Thread Start success !!! \n",
                                               "APG Thread exit success \n",
                                               "APG Thread Start success !!! \n"}));
}

TEST(ReportSampleBytes, TakesTheSignedCountCappedByWhatArrived) {
    uint8_t report[256] = {0, 21};
    EXPECT_EQ(ReportSampleBytes(report, 65), 63);
    EXPECT_EQ(ReportSampleBytes(report, 20), 18);
    EXPECT_EQ(ReportSampleBytes(report, 1), 0);
    report[1] = 0x7F;
    EXPECT_EQ(ReportSampleBytes(report, 256), 254);
    report[1] = 0x81;
    EXPECT_EQ(ReportSampleBytes(report, 256), 0);
}

} // namespace
