#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"
#include "device/ReplaySource.h"
#include "device/SensorLink.h"
#include "device/SimulatedSensor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace std::chrono_literals;

std::vector<int16_t> Ramp(int count) {
    std::vector<int16_t> samples;
    for (int i = 0; i < count; ++i)
        samples.push_back(static_cast<int16_t>(i * 37 - 9000)); // negative and positive
    return samples;
}

// A simulated sensor replaying a ramp behind a link, with a clock so fast that every answer
// has a backlog to send.
class SimulatedSensorTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto platform =
            std::make_unique<SimulatedSensor>(std::make_unique<ReplaySource>(m_ramp), 1e6);
        sensor = platform.get();
        link = std::make_unique<SensorLink>(std::move(platform), 20ms);
        link->StartUp([this](const DeviceChange& change) { events.push_back(change); });
        ASSERT_TRUE(link->SensorConnected());
    }

    // One request and answer; checks the answer's layout and appends its samples.
    void Cycle() {
        uint8_t report[SensorLink::kReportBufferBytes];
        const int bytes = link->ExchangeReports(report, cancel);
        if (bytes == 0)
            return;
        ASSERT_EQ(bytes, SimulatedSensor::kReportLength);
        int groups = static_cast<int8_t>(report[1]);
        ASSERT_GE(groups, 0);
        ASSERT_LE(groups, SimulatedSensor::kMaxGroups);
        maxGroups = std::max(maxGroups, groups);
        for (int i = 0; i < groups; ++i) {
            const uint8_t* group = report + 2 + 3 * i;
            ASSERT_TRUE(group[0] == 0xFF || group[0] == 0xFE);
            received.push_back(static_cast<int16_t>(group[1] << 8 | group[2]));
        }
    }

    void ExpectRampPrefix() const {
        ASSERT_FALSE(received.empty());
        for (size_t i = 0; i < received.size(); ++i)
            ASSERT_EQ(received[i], m_ramp[i % m_ramp.size()]) << "sample " << i;
    }

    std::vector<int16_t> m_ramp = Ramp(100);
    SimulatedSensor* sensor = nullptr;
    std::unique_ptr<SensorLink> link;
    std::vector<DeviceChange> events;
    ReadCancel cancel;
    std::vector<int16_t> received;
    int maxGroups = 0;
};

TEST_F(SimulatedSensorTest, AnswersCarryAtMost21GroupsAndTheBacklogFollows) {
    for (int i = 0; i < 20; ++i)
        Cycle();
    EXPECT_EQ(maxGroups, SimulatedSensor::kMaxGroups);
    EXPECT_GT(received.size(), m_ramp.size()); // the replay loops
    ExpectRampPrefix();
}

TEST(SimulatedSensorHandles, NoRequestNoAnswerAndNoDataHandleWhenInaccessible) {
    SimulatedSensor sensor(std::make_unique<ReplaySource>(std::vector<int16_t>{1, 2, 3}));
    const auto read = sensor.Open(SimulatedSensor::kPath, HidPlatform::Access::Read);
    uint8_t report[SimulatedSensor::kReportLength];
    int received = -1;
    ReadCancel cancel;
    EXPECT_EQ(sensor.Read(read, report, SimulatedSensor::kReportLength, &received, 20ms, cancel),
              HidPlatform::ReadStatus::Timeout);
    EXPECT_EQ(received, 0);

    sensor.SetAccessible(false);
    EXPECT_NE(sensor.Open(SimulatedSensor::kPath, HidPlatform::Access::Query),
              HidPlatform::kInvalidHandle);
    EXPECT_EQ(sensor.Open(SimulatedSensor::kPath, HidPlatform::Access::Write),
              HidPlatform::kInvalidHandle);
    EXPECT_EQ(sensor.Open(SimulatedSensor::kPath, HidPlatform::Access::Read),
              HidPlatform::kInvalidHandle);
}

TEST_F(SimulatedSensorTest, SensorThatStopsAnsweringTimesOutUntilReopened) {
    Cycle();
    sensor->SetAnswering(false);
    Cycle();
    EXPECT_FALSE(link->DeviceOpen());
    sensor->SetAnswering(true);
    ASSERT_TRUE(link->OpenSensor());
    Cycle();
    Cycle();
    ExpectRampPrefix();
}

TEST_F(SimulatedSensorTest, UnplugAndReplugReportTheInterfaceAndLoseNoSample) {
    Cycle();
    sensor->Unplug();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].event, DeviceChange::kRemoveComplete);
    EXPECT_EQ(events[0].path, SimulatedSensor::kPath);
    EXPECT_FALSE(link->SensorConnected());
    Cycle(); // the old handles fail for good
    EXPECT_FALSE(link->DeviceOpen());

    sensor->PlugIn();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].event, DeviceChange::kArrival);
    EXPECT_TRUE(link->SensorConnected());
    for (int i = 0; i < 10; ++i)
        Cycle();
    EXPECT_TRUE(link->DeviceOpen());
    ExpectRampPrefix();
}

class LoadReplay : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text) {
        std::string path = (std::filesystem::path(::testing::TempDir()) / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::vector<int16_t> samples;
    std::string error;
};

TEST_F(LoadReplay, ReadsACsvOrAPulseRecording) {
    ASSERT_TRUE(LoadReplaySamples(Write("replay.csv", "time_s,raw\r\n0.000,1024\r\n0.005,-7\r\n"),
                                  &samples, &error))
        << error;
    EXPECT_EQ(samples, (std::vector<int16_t>{1024, -7}));

    // The pulse recording of a pulse file.
    auto hrv = std::make_unique<CHrv>();
    std::vector<int16_t> pulse = Ramp(500);
    hrv->AddSamples(pulse.data(), static_cast<int>(pulse.size()));
    RecordingHeader header;
    std::string path =
        (std::filesystem::path(::testing::TempDir()) / "Kim_20240101_101010.ppg").string();
    ASSERT_EQ(hrv->SavePulseFile(path, &header), FileStatus::Ok);
    ASSERT_TRUE(LoadReplaySamples(path, &samples, &error)) << error;
    EXPECT_EQ(samples, pulse);
}

TEST_F(LoadReplay, RefusalNamesTheFileAndTheLine) {
    // The grammar itself is the .csv reader's (tests/analysis/SampleCsv_test.cpp).
    EXPECT_FALSE(LoadReplaySamples(Write("big.csv", "raw\n1\n32768\n"), &samples, &error));
    EXPECT_TRUE(error.ends_with("big.csv: line 3: \"32768\" is outside -32768..32767")) << error;
    EXPECT_FALSE(LoadReplaySamples(Write("missing-dir/x.csv", ""), &samples, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

} // namespace
