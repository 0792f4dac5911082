#pragma once
// Control IDs, control layout and chart rectangles of the review window, in its 1600 x 1000
// design space (scaled by the screen size). The picture generator draws the window's picture
// from the same tables.

#include "controls/ControlLayout.h"

namespace ReviewId {
constexpr int kClose = 1006;
constexpr int kMain = 1035;
constexpr int kUserLine = 1039;
constexpr int kTitle = 1063; // out of view: the picture carries the title
constexpr int kPulseCount = 1064;
constexpr int kPulseCaption = 1065;
constexpr int kPulsePrevious = 1066;
constexpr int kPulseNext = 1067;
constexpr int kWellnessCount = 1068;
constexpr int kWellnessCaption = 1069;
constexpr int kWellnessPrevious = 1070;
constexpr int kWellnessNext = 1071;
constexpr int kStressCount = 1076;
constexpr int kStressCaption = 1077;
constexpr int kStressPrevious = 1078;
constexpr int kStressNext = 1079;
constexpr int kHoverTip = 1080;
constexpr int kToMain = 1111;
constexpr int kHint = 1119;
// Not in the language tables: the line that counts the recordings that could not be read,
// and the progress of a long load. They share a place above the hint.
constexpr int kStatusLine = 1300;
constexpr int kProgress = 1301;
} // namespace ReviewId

// clang-format off
// id, x, y, width, height
inline constexpr ControlLayoutRow ReviewLayout[] = {
    {1063, -378, -66,  500, 44},
    {1006, 1560,   0,   30, 30},
    {1039,  282, 130,  350, 24},
    {1068,  468, 200,  100, 20},
    {1069,  282, 200,  180, 20},
    {1070,  282, 320,  100, 30},
    {1071, 1206, 320,  100, 30},
    {1076,  468, 370,  100, 20},
    {1077,  282, 370,  180, 20},
    {1078,  282, 492,  100, 30},
    {1079, 1206, 492,  100, 30},
    {1064,  468, 536,  100, 20},
    {1065,  282, 536,  180, 20},
    {1066,  282, 657,  100, 30},
    {1067, 1206, 657,  100, 30},
    {1111,  763, 780,   74, 19},
    {1119,  675, 183,  630, 19},
    {1035,  773, 719,   54, 54},
    {1300,  675, 160,  630, 19},
    {1301, 1005, 164,  300, 12},
    {   0,    0,   0,    0,  0},
};
// clang-format on

// The row of a control, or nullptr.
constexpr const ControlLayoutRow* ReviewRow(int id) {
    for (const ControlLayoutRow& row : ReviewLayout) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}

// The three charts, in the order of their record lists.
enum class ReviewChart { MeanPulse, Wellness, Stress };
inline constexpr int kReviewCharts = 3;

struct ReviewChartRect {
    int x;
    int y;
    int width;
    int height;
};

inline constexpr ReviewChartRect kReviewChartRects[kReviewCharts] = {
    {282, 560, 1023, 95}, // mean pulse
    {282, 223, 1023, 95}, // wellness index
    {282, 395, 1023, 95}, // stress index
};
