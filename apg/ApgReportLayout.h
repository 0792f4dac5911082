#pragma once
// Geometry of the wellness report page, in its design space of 2480 x 3220 units (the printed
// page in printer pixels). The report window draws its figures there and the picture
// generator paints the page's picture around them from the same numbers.

#include "controls/ControlLayout.h"

namespace ApgReport {

struct Box {
    int x;
    int y;
    int width;
    int height;
};

constexpr int kPageWidth = 2480;
constexpr int kPageHeight = 3220;
constexpr int kBandHeight = 206; // fixed band at the top: never scrolled, never printed

// The part of the page that is printed: (118, 206, width - 236, height - 319) of the page.
constexpr int kPrintLeft = 118;
constexpr int kPrintWidthCut = 236;
constexpr int kPrintHeightCut = 319;

// Controls, placed by (screen width - scroll bar width) / 2480 in both directions.
namespace Id {
constexpr int kFtp = 1081;
constexpr int kPrint = 1013;
constexpr int kMain = 1035;
constexpr int kClose = 1006;
constexpr int kMainCaption = 1111;
constexpr int kPrintCaption = 1115;
} // namespace Id

inline constexpr ControlLayoutRow kControlLayout[] = {
    {Id::kMain, 2138, 64, 90, 90},
    {Id::kPrint, 2240, 64, 90, 90},
    {Id::kFtp, 2036, 64, 90, 90}, // a round button left of Main, shown with a server set
    {Id::kClose, 2424, 0, 36, 40},
    {Id::kMainCaption, -1969, 240, 110, 40},
    {Id::kPrintCaption, -2087, 240, 110, 40},
    {0, 0, 0, 0, 0},
};

// Texts and figures of the recording.
constexpr Box kDateTime{1835, 240, 470, 40};
constexpr Box kUserLine{736, 442, 1000, 45};
constexpr Box kSignalLevel{2124, 440, 130, 44};
constexpr Box kIndexNumber{612, 800, 252, 80};
constexpr Box kTypeLetter{612, 1063, 252, 80};
constexpr Box kPulseNumber{612, 1313, 252, 80};

// Index bar: 1320 units for an index of 100.
constexpr int kIndexBarX = 911;
constexpr int kIndexBarY = 832;
constexpr int kIndexBarWidth = 1320;
constexpr int kIndexBarHeight = 50;

// Type row: the cells of the types A to G.
constexpr int kTypeRowY = 1000;
constexpr int kTypeRowHeight = 179;
constexpr int kTypeCells = 7;
constexpr int kTypeCellX[kTypeCells] = {911, 1098, 1287, 1478, 1665, 1853, 2043};
constexpr int kTypeCellWidth[kTypeCells] = {187, 189, 191, 187, 188, 190, 190};

// Pulse scale: 40 to 140 bpm over 1173 units from x 1092; the age group's range above, the
// measured range below.
constexpr int kPulseScaleX = 1092;
constexpr int kPulseScaleWidth = 1173;
constexpr int kPulseScaleLow = 40;   // bpm
constexpr int kPulseScaleSpan = 100; // bpm
constexpr int kAgeRangeY = 1263;
constexpr int kAgeRangeHeight = 50;
constexpr int kMeasuredRangeY = 1325;
constexpr int kMeasuredRangeHeight = 51;

// History table: row k (from 1) at y = 1720 + 66 (k - 1), 30 high.
constexpr int kHistoryTop = 1720;
constexpr int kHistoryStep = 66;
constexpr int kHistoryRowHeight = 30;
constexpr Box kHistoryNumber{210, 0, 106, 0}; // x and width of the columns
constexpr Box kHistoryDate{312, 0, 550, 0};
constexpr Box kHistoryIndex{870, 0, 458, 0};
constexpr Box kHistoryType{1335, 0, 467, 0};
constexpr Box kHistoryPulse{1807, 0, 465, 0};

constexpr Box kAeDiagram{1832, 2576, 428, 403};
constexpr int kAeDiagramInset = 8;
constexpr Box kBanner{205, 2489, 2070, 492};

} // namespace ApgReport
