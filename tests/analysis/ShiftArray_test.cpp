// The fixed series must behave exactly as "drop the oldest and move the rest down".

#include "analysis/MovingAverage.h"
#include "analysis/ShiftArray.h"

#include <gtest/gtest.h>

#include <deque>

TEST(ShiftArray, KeepsTheNewestValuesInOrderThroughManyMoves) {
    ShiftArray<int, 5> series;
    std::deque<int> model;
    for (int v = 0; v < 40; ++v) {
        series.Push(v);
        model.push_back(v);
        if (model.size() > 5)
            model.pop_front();
        ASSERT_EQ(series.Count(), static_cast<int>(model.size()));
        for (int i = 0; i < series.Count(); ++i) {
            ASSERT_EQ(series[i], model[static_cast<size_t>(i)]) << "after " << v;
            ASSERT_EQ(series.Data()[i], model[static_cast<size_t>(i)]);
        }
        ASSERT_EQ(series.Back(), v);
    }
    series.Clear();
    EXPECT_EQ(series.Count(), 0);
    series.Push(7);
    EXPECT_EQ(series[0], 7);
}

TEST(MovingAverage, ZeroUntilFullThenTheMeanOfTheLastValues) {
    MovingAverage<3> average;
    EXPECT_EQ(average.Push(3), 0);
    EXPECT_EQ(average.Push(6), 0);
    EXPECT_EQ(average.Push(9), 6);
    EXPECT_EQ(average.Push(12), 9); // 3 dropped
    EXPECT_EQ(average.Push(0), 7);
    average.Clear();
    EXPECT_EQ(average.Push(30), 0);
}
