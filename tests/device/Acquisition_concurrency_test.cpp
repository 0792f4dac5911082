#include "analysis/Hrv.h"
#include "device/Acquisition.h"
#include "device/ReplaySource.h"
#include "device/SensorLink.h"
#include "device/SimulatedSensor.h"
#include "device/SyntheticPulseSource.h"
#include "tests/common/TestInputs.h"

#include <gtest/gtest.h>

#include <atomic>
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
    // The test thread plays the window thread: it handles the changes it is told about.
    link.StartUp([&link](const DeviceChange& change) { link.HandleDeviceChange(change); });
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

} // namespace
