#include "analysis/Hrv.h"
#include "device/Acquisition.h"
#include "device/SensorLink.h"
#include "tests/common/TestInputs.h"
#include "tests/device/FakeHidPlatform.h"

#include <gtest/gtest.h>

#include <future>
#include <numeric>
#include <set>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

// An input report as the sensor sends it: report ID, count byte, then the given bytes.
Bytes Report(uint8_t countByte, Bytes bytes) {
    bytes.insert(bytes.begin(), {0, countByte});
    return bytes;
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
    }

    // Runs one loop over the reports on a fresh analysis object and stops it once it waits
    // for the next one.
    void RunReports(const std::vector<Bytes>& reports,
                    AcquisitionKind kind = AcquisitionKind::Apg) {
        hrv = std::make_unique<CHrv>();
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
    std::unique_ptr<CHrv> hrv = std::make_unique<CHrv>();
};

using ReportIntake = AcquisitionTest;

TEST_F(ReportIntake, CountByteSelectsTheSampleBytesThatArrived) {
    std::vector<int> full(21);
    std::iota(full.begin(), full.end(), 1000);
    // Three groups and the first two bytes of a fourth arrived, though the count says 21:
    // the unfinished group must wait for its low byte instead of taking a cleared byte.
    Bytes cut = Groups({1000, 1001, 1002});
    cut.insert(cut.end(), {0xFF, 0x03});
    struct Case {
        const char* what;
        std::vector<Bytes> reports;
        std::vector<int> samples;
        std::vector<int> lengths; // traced per cycle, the stopped read last (when given)
    };
    const Case cases[] = {{"count 0", {Report(0, Groups({1000, 1001}))}, {}, {0, 0}},
                          {"count from 0x80",
                           {Report(0x80, Groups({1000})), Report(0xFF, Groups({1002}))},
                           {},
                           {0, 0, 0}},
                          {"full report", {Report(21, Groups(full))}, full, {63, 0}},
                          {"count beyond the received bytes",
                           {Report(21, cut), Report(1, {0xEB, 0xFE, 0x03})},
                           {1000, 1001, 1002, 1003},
                           {}},
                          {"junk between groups",
                           {Report(3, {0x12, 0xFF, 0x03, 0xE8, 0x00, 0x34, 0xFE, 0x03, 0xE9})},
                           {1000, 1001},
                           {}},
                          {"group split across reports",
                           {Report(2, {0x7F, 0xFF, 0x03, 0xE8, 0xFF, 0x03}),
                            Report(1, {0xE9, 0xFE, 0x03}), Report(1, {0xEA, 0x00, 0x00})},
                           {1000, 1001, 1002},
                           {}}};
    for (const Case& c : cases) {
        trace.Clear();
        RunReports(c.reports);
        EXPECT_EQ(Raw(), std::vector<double>(c.samples.begin(), c.samples.end())) << c.what;
        if (!c.lengths.empty()) {
            std::vector<std::string> lines;
            for (const std::string& line : trace.Lines()) {
                if (line.find("input length") != std::string::npos)
                    lines.push_back(line);
            }
            std::vector<std::string> expected;
            for (int length : c.lengths)
                expected.push_back("input length : " + std::to_string(length) + ":\n");
            EXPECT_EQ(lines, expected) << c.what;
        }
        if (c.samples == full) {
            EXPECT_TRUE(hrv->Running());
        }
    }
}

TEST_F(ReportIntake, StressLoopWritesItsOwnLengthLines) {
    RunReports({Report(2, Groups({1000, 1001}))}, AcquisitionKind::Stress);
    EXPECT_EQ(trace.Count("STRESS input length : 6:\n"), 1);
    EXPECT_EQ(trace.Count("APG Thread Start success !!! \n"), 0);
    EXPECT_EQ(Raw().size(), 2u);
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

// Another window's loop: refused while it runs; once it is stopped, a start waits for its last
// cycle (its read is cancelled) and then reads alone.
TEST_F(StartStop, SecondWindowsLoopIsRefusedWhileTheFirstRunsAndFollowsItsEnd) {
    CHrv other;
    CAcquisition first(*link, *hrv, AcquisitionKind::Apg);
    CAcquisition second(*link, other, AcquisitionKind::Stress);
    ASSERT_EQ(first.Start(), 1);
    ASSERT_TRUE(Eventually([&] { return fake->ReadBlocked(); }));
    EXPECT_EQ(second.Start(), 0);
    EXPECT_FALSE(other.ThreadRun());
    first.Stop();
    ASSERT_EQ(second.Start(), 1); // the read limit is an hour: the first loop was cancelled
    EXPECT_EQ(trace.Count("APG Thread exit success \n"), 1);
    fake->QueueReport(Report(1, Groups({1234})));
    ASSERT_TRUE(Eventually([&] { return other.Count(CHrv::Series::Raw) == 1; }));
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 0);
    second.Stop();
}

} // namespace
