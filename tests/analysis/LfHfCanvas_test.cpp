#include "analysis/Hrv.h"
#include "analysis/LfHfCanvas.h"
#include "tests/common/TestInputs.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

int HistoryAfter(const std::vector<double>& rates, LfHfCanvas& chart) {
    UpdateLfHf(rates.data(), static_cast<int>(rates.size()), chart);
    return chart.History().Count();
}

// --- History ------------------------------------------------------------------------------

TEST(LfHfHistory, SmoothsOverTheLastSixShares) {
    LfHfCanvas chart;
    EXPECT_EQ(chart.AddShare(10), 10);
    EXPECT_EQ(chart.AddShare(20), 15);
    EXPECT_EQ(chart.AddShare(30), 20);
    for (double share : {40, 50, 60})
        chart.AddShare(share);
    EXPECT_EQ(chart.AddShare(70), 45);        // 20..70
    EXPECT_EQ(chart.AddShare(70), 320.0 / 6); // 30..70, 70
    const ElementQueue<double>& history = chart.History();
    ASSERT_EQ(history.Count(), 8);
    EXPECT_EQ(history[0], 10);
    EXPECT_EQ(history[7], 320.0 / 6);
}

TEST(LfHfHistory, ScrollsPastTheSpanGrowsTo3600ThenDropsTheOldestUntilReset) {
    LfHfCanvas chart;
    for (int i = 0; i < 150; ++i)
        chart.AddShare(50);
    EXPECT_EQ(chart.ScrollPosition(), 0);
    chart.AddShare(50);
    EXPECT_EQ(chart.ScrollPosition(), 1);
    for (int i = 151; i < 1800; ++i)
        chart.AddShare(50);
    EXPECT_EQ(chart.History().Capacity(), 1800);
    chart.AddShare(50);
    EXPECT_EQ(chart.History().Capacity(), 2160);
    for (int i = 1801; i < 3600; ++i)
        chart.AddShare(50);
    EXPECT_EQ(chart.History().Capacity(), 3600);
    EXPECT_EQ(chart.DroppedValues(), 0);
    EXPECT_EQ(chart.ScrollPosition(), 3600 - 150);

    chart.AddShare(90);
    chart.AddShare(90);
    EXPECT_EQ(chart.History().Capacity(), 3600);
    EXPECT_EQ(chart.History().Count(), 3600);
    EXPECT_EQ(chart.DroppedValues(), 2);
    EXPECT_EQ(chart.ScrollPosition(), 3600 - 150); // each drop moves the page back by one

    chart.Reset();
    EXPECT_EQ(chart.History().Count(), 0);
    EXPECT_EQ(chart.History().Capacity(), 1800);
    EXPECT_EQ(chart.ScrollPosition(), 0);
    EXPECT_EQ(chart.DroppedValues(), 0);
    EXPECT_EQ(chart.AddShare(30), 30); // the smoothing window starts afresh
}

// --- Once-per-second update ---------------------------------------------------------------

TEST(LfHfUpdate, NeedsSixtyTwoSecondsOfValidBeats) {
    LfHfCanvas chart;
    std::vector<double> rates(61, 60); // 61 s
    rates.insert(rates.begin(), 0);    // a missing beat adds no time
    EXPECT_EQ(HistoryAfter(rates, chart), 0);
    rates.insert(rates.begin(), 60); // 62 s: a window of 61 beats before the newest
    EXPECT_EQ(HistoryAfter(rates, chart), 1);

    // 60 beats of 1 s and a newest one of 2 s: a window of exactly 60 s is enough.
    std::vector<double> slowLast(60, 60);
    slowLast.push_back(30);
    EXPECT_EQ(HistoryAfter(slowLast, chart), 2);
}

TEST(LfHfUpdate, SkipsWhenTheCleanedWindowCoversLessThanSixtySeconds) {
    // A gap of 10 missing beats inside the window leaves the 57 s after it.
    LfHfCanvas chart;
    std::vector<double> rates(5, 60);
    rates.insert(rates.end(), 10, 0);
    rates.insert(rates.end(), 58, 60);
    EXPECT_EQ(HistoryAfter(rates, chart), 0);
    rates.erase(rates.begin() + 5); // a gap of 9 is bridged
    EXPECT_EQ(HistoryAfter(rates, chart), 1);
}

TEST(LfHfUpdate, AppendsTheLfShareAndTracesIt) {
    TraceCapture trace;
    LfHfCanvas chart;
    ASSERT_EQ(HistoryAfter(ModulatedRates(90, 0.1), chart), 1);
    const double share = chart.History()[0];
    EXPECT_GT(share, 80);
    char expected[64];
    std::snprintf(expected, sizeof expected, "### ProcData LF(%.0f)  ###\n", share);
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{expected});
}

TEST(LfHfUpdate, RunsOncePerSecondOfTicksDuringATest) {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachRateChart(150);
    hrv->AttachLfHfChart();
    // 70 bpm: a beat every 0.857 s, a tick every 0.25 s.
    double nextBeat = 0;
    const std::vector<double> rates = ModulatedRates(100, 0.1);
    size_t beat = 0;
    for (int tick = 1; tick <= 400; ++tick) {
        while (beat < rates.size() && nextBeat <= tick * 0.25) {
            hrv->AddRate(false, rates[beat]);
            nextBeat += 60 / rates[beat++];
        }
        hrv->AddRate(false, -1);
    }
    // From about 63 s on, one value per second.
    const std::vector<double> history = hrv->CopyLfHistory();
    EXPECT_GE(history.size(), 35u);
    EXPECT_LE(history.size(), 40u);
    for (double share : history)
        EXPECT_GT(share, 80);
}

} // namespace
