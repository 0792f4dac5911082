#include "analysis/BodyMeasures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string Format(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

TEST(BodyMeasures, StandardWeightFollowsTheThreeHeightBands) {
    const struct {
        double height, weight;
        const char* standard;
        const char* obesity;
    } cases[] = {
        {170, 70, "63.0", "11%"}, {155, 60, "52.5", "14%"}, {140, 40, "40.0", "0%"},
        {150, 50, "50.0", "0%"},  {160, 54, "54.0", "0%"},  {180, 60, "72.0", "-17%"},
    };
    for (const auto& c : cases) {
        const auto result = ComputeStandardWeight(c.height, c.weight);
        ASSERT_TRUE(result) << c.height;
        EXPECT_EQ(Format("%.1f", result->weightKg), c.standard) << c.height;
        EXPECT_EQ(Format("%.0f%%", result->obesityPercent), c.obesity) << c.height;
    }
}

TEST(BodyMeasures, EmptyOrZeroInputsGiveNoResult) {
    const double pairs[][2] = {{0, 70}, {170, 0}, {-170, 70}, {170, -1}, {100, 70}, {0, 0}};
    for (const auto& p : pairs) {
        EXPECT_FALSE(ComputeStandardWeight(p[0], p[1])) << p[0] << " " << p[1];
        if (p[0] <= 0 || p[1] <= 0) {
            EXPECT_FALSE(ComputeBodyMassIndex(p[0], p[1]));
            EXPECT_FALSE(ComputeWaistHipRatio(p[0], p[1]));
        }
    }
}

TEST(BodyMeasures, BodyMassIndexAndItsSlot) {
    const auto bmi = ComputeBodyMassIndex(180, 81);
    ASSERT_TRUE(bmi);
    EXPECT_EQ(Format("%.1f", *bmi), "25.0");
    EXPECT_EQ(BodyMassCategory(*bmi), 2); // the third slot
    const struct {
        double index;
        int slot;
    } slots[] = {{10, 0},    {18.49, 0}, {18.5, 1},  {24.99, 1}, {25, 2},
                 {29.99, 2}, {30, 3},    {34.99, 3}, {35, 4},    {60, 4}};
    for (const auto& s : slots)
        EXPECT_EQ(BodyMassCategory(s.index), s.slot) << s.index;
}

TEST(BodyMeasures, WaistHipRatio) {
    const auto ratio = ComputeWaistHipRatio(80, 100);
    ASSERT_TRUE(ratio);
    EXPECT_EQ(Format("%.1f", *ratio), "0.8");
}

} // namespace
