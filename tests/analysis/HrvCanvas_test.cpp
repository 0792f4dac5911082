// Rate timeline of the rate chart: growth, dropping, scrolling and statistics.

#include "analysis/HrvCanvas.h"

#include <gtest/gtest.h>

TEST(TimelineStats, ZeroLowersTheMeanButLiesOutsideTheBand) {
    HrvCanvas chart(150);
    for (double v : {-1.0, 70.0, -1.0, 72.0, 75.0, -1.0, -1.0, 0.0, -1.0})
        chart.Append(v);
    double lo = -5;
    double hi = -5;
    EXPECT_DOUBLE_EQ(chart.TimelineStats(&lo, &hi), 54.25);
    EXPECT_EQ(lo, 70);
    EXPECT_EQ(hi, 75);
}

TEST(TimelineStats, EmptyOrTicksOnlyLeavesTheOutputsUnset) {
    HrvCanvas chart(150);
    double lo = -5;
    double hi = -5;
    EXPECT_EQ(chart.TimelineStats(&lo, &hi), 0);
    chart.Append(-1);
    chart.Append(-1);
    EXPECT_EQ(chart.TimelineStats(&lo, &hi), 0);
    EXPECT_EQ(lo, -5);
    EXPECT_EQ(hi, -5);
}

TEST(TimelineStats, AllZeroRatesKeepTheStartingBounds) {
    HrvCanvas chart(150);
    chart.Append(0);
    chart.Append(0);
    double lo = -5;
    double hi = -5;
    EXPECT_EQ(chart.TimelineStats(&lo, &hi), 0);
    EXPECT_EQ(lo, 200);
    EXPECT_EQ(hi, 0);
}

TEST(RateTimeline, GrowsThenDropsTheOldest) {
    HrvCanvas chart(150);
    EXPECT_EQ(chart.Timeline().Capacity(), HrvCanvas::kFirstCapacity);
    for (int i = 0; i < HrvCanvas::kFirstCapacity + 1; ++i)
        chart.Append(60);
    EXPECT_EQ(chart.Timeline().Capacity(), HrvCanvas::kFirstCapacity + HrvCanvas::kGrowth);
    for (int i = chart.Timeline().Count(); i < HrvCanvas::kMaxCapacity; ++i)
        chart.Append(60);
    EXPECT_EQ(chart.Timeline().Capacity(), HrvCanvas::kMaxCapacity);
    EXPECT_EQ(chart.Timeline().Count(), HrvCanvas::kMaxCapacity);
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

TEST(RateTimeline, ScrollAdvancesPastTheSpan) {
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
