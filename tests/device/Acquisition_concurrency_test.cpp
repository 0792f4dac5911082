#include "analysis/Hrv.h"
#include "device/Acquisition.h"
#include "device/ReplaySource.h"
#include "device/SensorLink.h"
#include "device/SimulatedSensor.h"
#include "device/SyntheticPulseSource.h"
#include "tests/common/TestInputs.h"
#include "tests/device/FakeHidPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <thread>

namespace {

using namespace std::chrono_literals;

// The whole chain under load: simulated sensor, link, acquisition thread and analysis, a
// window-like reader copying series at the same time, and the sensor pulled out and plugged
// in again in the middle. The sensor replays a synthetic pulse, so beats, APG waves and rates
// are computed while the reader reads.
TEST(AcquisitionConcurrency, ReaderAndReplugDuringAcquisitionLoseNoSample) {
    std::vector<int16_t> pulse;
    SyntheticPulseSource synthetic;
    for (int i = 0; i < 2000; ++i)
        pulse.push_back(synthetic.Next());

    auto platform = std::make_unique<SimulatedSensor>(std::make_unique<ReplaySource>(pulse), 8);
    SimulatedSensor* sensor = platform.get();
    SensorLink link(std::move(platform), 200ms);
    link.StartUp({}); // the link handles the changes on the thread that unplugs and plugs in
    ASSERT_TRUE(link.SensorConnected());

    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachPulseRing();
    hrv->AttachRateChart(300);
    hrv->AttachRateDisplay();
    hrv->ResetMeasurement();

    std::atomic<bool> reading{true};
    std::atomic<int> copies{0};
    std::thread reader([&] {
        std::vector<double> buffer(1000);
        while (reading) {
            hrv->CopySeriesTail(CHrv::Series::Signal, buffer.data(), 1000);
            hrv->CopySeriesTail(CHrv::Series::ApgDiff2, buffer.data(), 500);
            RateDisplay display = hrv->CopyRateDisplay();
            if (display.rateBpm >= 0)
                ++copies;
            std::this_thread::sleep_for(1ms);
        }
    });

    {
        CAcquisition acquisition(link, *hrv, AcquisitionKind::Stress);
        ASSERT_EQ(acquisition.Start(), 1);
        ASSERT_TRUE(Eventually([&] { return hrv->Count(CHrv::Series::Raw) >= 3000; }));
        sensor->Unplug();
        EXPECT_FALSE(link.SensorConnected());
        sensor->PlugIn();
        EXPECT_TRUE(link.SensorConnected());
        ASSERT_TRUE(Eventually([&] { return hrv->Count(CHrv::Series::Raw) >= 6000; }));
        acquisition.Stop();
    }
    reading = false;
    reader.join();

    std::vector<double> raw(CHrv::kSeriesCapacity);
    int count = hrv->CopySeriesTail(CHrv::Series::Raw, raw.data(), CHrv::kSeriesCapacity);
    ASSERT_GE(count, 6000);
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(raw[static_cast<size_t>(i)], pulse[static_cast<size_t>(i) % pulse.size()])
            << "sample " << i;
    EXPECT_GT(copies.load(), 0);
    EXPECT_GT(hrv->BeatCount(), 20);
    EXPECT_TRUE(link.DeviceOpen());
}

std::vector<double> RawSamples(const CHrv& hrv) {
    std::vector<double> raw(CHrv::kSeriesCapacity);
    raw.resize(static_cast<size_t>(
        hrv.CopySeriesTail(CHrv::Series::Raw, raw.data(), CHrv::kSeriesCapacity)));
    return raw;
}

// Two windows share the link: one stops its test and the other starts at once, while the
// first loop is still in its last cycle, again and again. The sensor numbers its answers:
// every answer must reach exactly one analysis object, in order, and a start must be refused
// while the other window's loop runs.
TEST(AcquisitionConcurrency, StartWhileAnotherWindowsLoopFinishesLosesAndDuplicatesNothing) {
    auto platform = std::make_unique<FakeHidPlatform>();
    FakeHidPlatform* fake = platform.get();
    fake->SetInterfaces({FakeHidPlatform::Sensor("/dev/hidraw0")});
    fake->SetAnswering(true);
    SensorLink link(std::move(platform), std::chrono::hours(1));
    link.StartUp({});

    std::unique_ptr<CHrv> hrv[2] = {std::make_unique<CHrv>(), std::make_unique<CHrv>()};
    CAcquisition apg(link, *hrv[0], AcquisitionKind::Apg);
    CAcquisition stress(link, *hrv[1], AcquisitionKind::Stress);
    CAcquisition* window[2] = {&apg, &stress};
    int refused = 0;
    for (int round = 0; round < 60; ++round) {
        const int now = round % 2;
        const int before = hrv[now]->Count(CHrv::Series::Raw);
        ASSERT_EQ(window[now]->Start(), 1) << "round " << round;
        refused += window[1 - now]->Start() == 0;
        ASSERT_TRUE(Eventually([&] { return hrv[now]->Count(CHrv::Series::Raw) >= before + 2; }));
        window[now]->Stop();
    }
    window[0]->Stop();
    window[1]->Stop();
    EXPECT_EQ(refused, 60);

    std::vector<double> all;
    for (const auto& one : hrv) {
        std::vector<double> raw = RawSamples(*one);
        EXPECT_TRUE(std::is_sorted(raw.begin(), raw.end()));
        all.insert(all.end(), raw.begin(), raw.end());
    }
    std::sort(all.begin(), all.end());
    std::vector<double> expected(all.size());
    std::iota(expected.begin(), expected.end(), 0.0);
    EXPECT_EQ(all, expected); // answers 0, 1, 2, ... each once
}

} // namespace
