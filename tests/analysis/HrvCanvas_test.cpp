// Rate timeline of the rate chart: growth, dropping, scrolling and statistics.

#include "analysis/HrvCanvas.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TimelineStats, ZeroLowersTheMeanButLiesOutsideTheBand) {
    struct Case {
        std::vector<double> timeline;
        double mean, lo, hi; // lo and hi start at -5: unset
    };
    const Case cases[] = {{{-1, 70, -1, 72, 75, -1, -1, 0, -1}, 54.25, 70, 75},
                          {{}, 0, -5, -5},
                          {{-1, -1}, 0, -5, -5}, // ticks only
                          {{0, 0}, 0, 200, 0}};  // no rate in the band: the starting bounds
    for (const Case& c : cases) {
        HrvCanvas chart(150);
        for (double v : c.timeline)
            chart.Append(v);
        double lo = -5;
        double hi = -5;
        EXPECT_DOUBLE_EQ(chart.TimelineStats(&lo, &hi), c.mean) << c.timeline.size();
        EXPECT_EQ(lo, c.lo) << c.timeline.size();
        EXPECT_EQ(hi, c.hi) << c.timeline.size();
    }
}

TEST(RateTimeline, GrowsThenDropsTheOldest) {
    HrvCanvas chart(150);
    EXPECT_EQ(chart.Timeline().Capacity(), HrvCanvas::kFirstCapacity);
    for (int i = 0; i < HrvCanvas::kFirstCapacity + 1; ++i)
        chart.Append(60);
    EXPECT_EQ(chart.Timeline().Capacity(), HrvCanvas::kFirstCapacity + HrvCanvas::kGrowth);
    for (int i = chart.Timeline().Count(); i < HrvCanvas::kMaxCapacity; ++i)
        chart.Append(60);
    chart.Append(99);
    EXPECT_EQ(chart.Timeline().Capacity(), HrvCanvas::kMaxCapacity);
    EXPECT_EQ(chart.Timeline().Count(), HrvCanvas::kMaxCapacity);
    EXPECT_EQ(chart.Timeline()[HrvCanvas::kMaxCapacity - 1], 99);
}

TEST(RateTimeline, DroppedTickMovesTheScrollBack) {
    HrvCanvas chart(1);
    chart.Append(-1);
    for (int i = 1; i < HrvCanvas::kMaxCapacity; ++i)
        chart.Append(70);
    int scroll = chart.ScrollPosition();
    chart.Append(71); // drops the leading tick
    EXPECT_EQ(chart.DroppedTicks(), 1);
    EXPECT_EQ(chart.ScrollPosition(), scroll - 1);
    chart.Append(72); // drops a rate
    EXPECT_EQ(chart.DroppedTicks(), 1);
}

TEST(RateTimeline, ScrollAdvancesPastTheSpanUntilReset) {
    HrvCanvas chart(2); // eight ticks fit the span
    for (int i = 0; i < 8; ++i)
        chart.Append(-1);
    EXPECT_EQ(chart.ScrollPosition(), 0);
    chart.Append(-1);
    chart.Append(-1);
    EXPECT_EQ(chart.ScrollPosition(), 2);
    EXPECT_EQ(chart.TickCount(), 10);
    chart.Reset(2);
    EXPECT_EQ(chart.ScrollPosition(), 0);
    EXPECT_EQ(chart.TickCount(), 0);
    EXPECT_EQ(chart.Timeline().Count(), 0);
}
