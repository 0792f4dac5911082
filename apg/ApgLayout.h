#pragma once
// Control IDs, control layout and panel rectangles of the wellness test window, in its
// 1600 x 1000 design space. The picture generator draws the window's picture from the same
// tables.

#include "controls/ControlLayout.h"

namespace ApgId {
constexpr int kClose = 1006;
constexpr int kStart = 1032;
constexpr int kStop = 1033;
constexpr int kResult = 1034;
constexpr int kQuit = 1035;
constexpr int kStatus = 1038;
constexpr int kUserLine = 1039;
constexpr int kPulseCaption = 1042;
constexpr int kDiff1Caption = 1043;
constexpr int kDiff2Caption = 1044;
constexpr int kRateCaption = 1045;     // HR: a click opens the help page
constexpr int kStrengthCaption = 1046; // RRATE
constexpr int kTimeCaption = 1047;     // TIME
constexpr int kHidden1 = 1051;
constexpr int kHidden2 = 1052;
constexpr int kBasis = 1055;
constexpr int kMeasure = 1056;
constexpr int kIndexCaption = 1057;
constexpr int kHidden3 = 1059;
constexpr int kHidden4 = 1081;
constexpr int kTitle = 1101;
constexpr int kPulseTip = 1102;
constexpr int kDiff1Tip = 1103;
constexpr int kDiff2Tip = 1104;
constexpr int kStandardCaption = 1105;
constexpr int kTypeCaption = 1106;
constexpr int kGood = 1107;
constexpr int kBad = 1108;
constexpr int kTimeTip = 1109;
constexpr int kStrengthTip = 1110;
constexpr int kToMain = 1111;
constexpr int kToStart = 1112;
constexpr int kToStop = 1113;
constexpr int kToResult = 1114;
constexpr int kInfo1 = 1203;
constexpr int kInfo2 = 1204;
constexpr int kInfo3 = 1205;
constexpr int kInfoMore = 1206; // on page 3: shows page 4
constexpr int kInfoBack = 1207; // on page 4: back to page 3
} // namespace ApgId

// clang-format off
// id, x, y, width, height
inline constexpr ControlLayoutRow ApgLayout[] = {
    {1101, -378,  66, 500, 44},
    {1006, 1560,   0,  30, 30},
    {1039,   91,  85, 350, 24},
    {1038,   47,   8, 250, 24},
    {1042,  658, 136, 150, 20},
    {1043,  658, 279, 150, 20},
    {1044,  658, 421, 150, 20},
    {1102,  809, 139, 697, 20},
    {1103,  809, 282, 697, 20},
    {1104,  809, 425, 697, 20},
    {1045,  683, 616, 130, 19},
    {1047,  868, 584, 348, 19},
    {1109,  868, 643, 348, 19},
    {1046,  868, 690, 348, 19},
    {1110,  868, 754, 348, 19},
    {1055,   90, 724, 140, 19},
    {1056,   90, 746, 140, 19},
    {1105,  114, 581, 230, 19},
    {1057,  330, 581, 230, 19},
    {1106,  164, 668, 250, 19},
    {1107,  170, 688,  50, 19},
    {1108,  456, 688,  50, 19},
    {1035,  697, 843,  54, 54},
    {1032,  755, 843,  54, 54},
    {1033,  813, 843,  54, 54},
    {1034,  871, 843,  54, 54},
    {1111,  687, 900,  74, 19},
    {1112,  755, 900,  54, 19},
    {1113,  813, 900,  54, 19},
    {1114,  867, 900,  64, 19},
    {1203,   91, 133, 480, 25},
    {1204,   91, 491, 480, 25},
    {1205,   91, 517, 480, 25},
    {1206,    0,   0,   0,  0},
    {1207,    0,   0,   0,  0},
    {1059,    0,   0,  35, 35},
    {1081,  980,   0,  35, 35},
    {   0,    0,   0,   0,  0},
};
// clang-format on

// The row of a control, or nullptr.
constexpr const ControlLayoutRow* ApgRow(int id) {
    for (const ControlLayoutRow& row : ApgLayout) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}

// The drawn panels, each a rectangle with a cached slice of the background under it.
enum class ApgPanel {
    PulseWave,
    Diff1,
    Diff2,
    PulseRate,
    SignalStrength,
    Time,
    WellnessType,
    StandardSignal,
    WellnessIndex,
    IndexScale,
    IndexBar,
    AeDiagram,
};
inline constexpr int kApgPanelCount = 12;

struct DesignRect {
    int x;
    int y;
    int width;
    int height;
};

// clang-format off
inline constexpr DesignRect ApgPanelRects[kApgPanelCount] = {
    { 658, 160, 850,  95}, // pulse wave
    { 658, 303, 850,  95}, // DIFF1
    { 658, 446, 850,  95}, // DIFF2
    { 633, 646, 230,  90}, // pulse rate
    { 868, 717, 348,  32}, // signal strength
    { 868, 605, 348,  32}, // time
    { 218, 690, 240,  14}, // wellness type marker
    { 177, 605, 100,  62}, // standard signal
    { 350, 605, 190,  62}, // wellness index
    { 239, 724, 261,  19}, // index scale
    { 239, 746, 261,  19}, // index bar
    {1286, 571, 222, 210}, // a-e diagram
};
// clang-format on

constexpr const DesignRect& ApgPanelRect(ApgPanel panel) {
    return ApgPanelRects[static_cast<int>(panel)];
}

// The explanatory pictures: the frame, and each page's picture below its button.
inline constexpr DesignRect kApgInfoFrame = {91, 133, 480, 410};
inline constexpr int kApgInfoPages = 4;
inline constexpr DesignRect ApgInfoPictureRects[kApgInfoPages] = {
    {91, 158, 480, 332}, {91, 184, 480, 332}, {91, 210, 480, 332}, {91, 210, 480, 332}};
// The pictures' own size in pixels, and where the page buttons 1206 / 1207 sit in it.
inline constexpr int kApgInfoPictureWidth = 482;
inline constexpr int kApgInfoPictureHeight = 334;
inline constexpr DesignRect kApgInfoMoreButton = {220, 305, 55, 25}; // page 3
inline constexpr DesignRect kApgInfoBackButton = {220, 5, 55, 25};   // page 4

// The y of the three info buttons while page p (1..4) is selected: the buttons of pages up
// to p stack from 133 in steps of 26, the others follow below the picture.
constexpr int ApgInfoButtonY(int page, int button /* 1..3 */) {
    constexpr int kTop = 133;
    constexpr int kStep = 26;
    constexpr int kBelow[] = {0, 491, 517}; // the second and third button below the picture
    return button <= page ? kTop + (button - 1) * kStep : kBelow[button - 1];
}

// The wellness type scale: type i (A = 0 .. G = 6) sits at design x 235 + 33 i.
inline constexpr int kApgTypeScaleX = 235;
inline constexpr int kApgTypeScaleStep = 33;
inline constexpr int kApgTypes = 7;
