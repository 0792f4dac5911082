// One thread feeds the analysis object as the acquisition thread does while another reads
// it as the window timers do. Run under ThreadSanitizer in CI.

#include "analysis/Hrv.h"
#include "tests/common/SyntheticPulse.h"
#include "tests/common/TestInputs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

std::unique_ptr<CHrv> MakeTestHrv() {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachRateDisplay();
    hrv->AttachRateChart(300);
    hrv->AttachPulseRing();
    hrv->AttachLfHfChart();
    hrv->ResetMeasurement();
    return hrv;
}

void FeedInReports(CHrv& hrv, const std::vector<uint8_t>& bytes) {
    for (size_t pos = 0; pos < bytes.size(); pos += 63) {
        int n = static_cast<int>(std::min<size_t>(63, bytes.size() - pos));
        hrv.FeedBytes(bytes.data() + pos, n);
    }
}

} // namespace

TEST(Concurrency, ReadersDuringFeedSeeConsistentDataAndChangeNothing) {
    std::vector<int16_t> samples = SyntheticPulse(160, 200 * 70);
    std::vector<uint8_t> bytes = Groups(std::vector<int>(samples.begin(), samples.end()));

    auto reference = MakeTestHrv();
    FeedInReports(*reference, bytes);

    auto hrv = MakeTestHrv();
    std::atomic<bool> done{false};
    std::atomic<bool> readerStarted{false};
    std::thread feeder([&] {
        while (!readerStarted) // the feed must overlap the reads
            std::this_thread::yield();
        hrv->SetThreadRun(true);
        FeedInReports(*hrv, bytes);
        hrv->SetThreadRun(false);
        done = true;
    });

    std::vector<double> tail(850);
    while (!done) {
        int total = 0;
        double extent = 0;
        int n = hrv->CopySeriesTail(CHrv::Series::ApgDiff2, tail.data(), 850, &total, &extent);
        ASSERT_LE(n, total);
        hrv->CopySeriesTail(CHrv::Series::Signal, tail.data(), 850);
        int lo = 0;
        int hi = 0;
        hrv->PulseRingRange(&lo, &hi);
        RateDisplay display = hrv->CopyRateDisplay();
        ASSERT_TRUE(display.rateBpm == 0 || display.rateBpm >= 30);
        double minRate = 0;
        double maxRate = 0;
        hrv->TimelineStats(&minRate, &maxRate);
        hrv->CopyTimeline();
        hrv->CopyLfHistory();
        hrv->BeatCount();
        hrv->Running();
        readerStarted = true;
    }
    feeder.join();

    EXPECT_EQ(hrv->CopyRates(), reference->CopyRates());
    EXPECT_EQ(hrv->CopyTimeline(), reference->CopyTimeline());
    EXPECT_EQ(hrv->BeatCount(), reference->BeatCount());
    ApgSummary a = hrv->SummariseApg(40, 1);
    ApgSummary b = reference->SummariseApg(40, 1);
    EXPECT_EQ(a.qualified, b.qualified);
    EXPECT_EQ(a.ca, b.ca);
    EXPECT_EQ(a.wellnessIndex, b.wellnessIndex);
    EXPECT_TRUE(hrv->Running());
}
