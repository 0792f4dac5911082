#pragma once
// Geometry of the stress report page, in its design space of 2480 x 3710 units (an A4 sheet at
// 300 dots per inch). The report window draws its figures there and the picture generator
// paints the page's picture around them from the same numbers.

#include "controls/ControlLayout.h"

namespace StressReport {

struct Box {
    int x;
    int y;
    int width;
    int height;
};

constexpr int kPageWidth = 2480;
constexpr int kPageHeight = 3710;
constexpr int kBandHeight = 206; // fixed band at the top: never scrolled, never printed

// The part of the page that is printed: (120, 206, width - 238, height - 340) of the page.
constexpr int kPrintLeft = 120;
constexpr int kPrintWidthCut = 238;
constexpr int kPrintHeightCut = 340;

// Controls, placed by (screen width - scroll bar width) / 2480 in both directions.
inline constexpr ControlLayoutRow kControlLayout[] = {
    {1035, 2110, 68, 90, 90},    // Main
    {1013, 2215, 68, 90, 90},    // Print
    {1081, 2005, 68, 90, 90},    // send: left of Main, shown with an upload server set
    {1006, 2416, 0, 36, 40},     // close box
    {1111, -1960, 240, 110, 40}, // "Main"
    {1115, -2078, 240, 110, 40}, // "Print"
    {0, 0, 0, 0, 0},
};

constexpr Box kDateTime{1835, 240, 470, 40};
constexpr Box kUserLine{736, 442, 1000, 45};
constexpr Box kStressFigure{214, 710, 280, 140};
constexpr Box kGauge{496, 708, 706, 115};
constexpr Box kComplexity{830, 1168, 120, 45};

// Heart-rate trace: 600 ticks (150 s) across, 30 to 120 bpm from the bottom up.
constexpr Box kTrace{257, 1236, 1969, 220};
constexpr int kTraceTicks = 600;
constexpr int kTraceLowBpm = 30;
constexpr int kTraceSpanBpm = 90;

// Rate distribution: 0 to 141 bpm across.
constexpr Box kDistribution{257, 1704, 778, 402};
constexpr int kDistributionBpm = 141;

// Autonomic balance map: a 10 x 10 grid, ln LF power to the right, ln HF power upward.
constexpr Box kBalanceMap{1111, 1696, 1112, 410};
constexpr int kBalanceCells = 10;
constexpr int kBalanceMark = 30; // side of the mark

// The six norm bars: value range base .. base + span over the bar's width.
constexpr int kBarX = 419;
constexpr int kBarWidth = 1805;
constexpr int kBarHeight = 51;
struct NormBar {
    int y;
    double base;
    double span;
};
enum class Bar { LfPower, HfPower, Balance, MeanRate, Sdnn, Rmssd };
inline constexpr int kBarCount = 6;
inline constexpr NormBar kBars[kBarCount] = {
    {2432, 0, 10},   // ln LF power
    {2614, 0, 10},   // ln HF power
    {2791, 0, 5},    // ln LF / ln HF
    {2976, 40, 100}, // mean rate, bpm
    {3160, 0, 150},  // SDNN, ms
    {3340, 0, 150},  // RMSSD, ms
};

} // namespace StressReport
