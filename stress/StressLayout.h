#pragma once
// Control IDs, control layout and the information panel of the stress test window, in its
// 1600 x 1000 design space. The graphs and figures lie where the wellness window has them
// (ApgLayout.h): the heart-rate chart in the second graph panel, the LF/HF chart in the
// third. The picture generator draws the window's pictures from the same tables.

#include "apg/ApgLayout.h"
#include "controls/ControlLayout.h"

namespace StressId {
constexpr int kClose = 1006;
constexpr int kMale = 1027;
constexpr int kFemale = 1028;
constexpr int kStart = 1032;
constexpr int kStop = 1033;
constexpr int kResult = 1034;
constexpr int kQuit = 1035;
constexpr int kStatus = 1038;
constexpr int kUserLine = 1039;
constexpr int kPulseCaption = 1042;
constexpr int kRateCaption = 1045;
constexpr int kStrengthCaption = 1046;
constexpr int kTimeCaption = 1047;
constexpr int kHrvCaption = 1049;
constexpr int kAnsCaption = 1050;
constexpr int kBasis = 1055;
constexpr int kMeasure = 1056;
constexpr int kIndexCaption = 1057;
constexpr int kDecoration1 = 1059;
constexpr int kDecoration2 = 1081;
constexpr int kPulseTip = 1102;
constexpr int kStandardCaption = 1105;
constexpr int kTypeCaption = 1106;
constexpr int kGood = 1107;
constexpr int kBad = 1108;
constexpr int kStrengthTip = 1110;
constexpr int kToMain = 1111;
constexpr int kToStart = 1112;
constexpr int kToStop = 1113;
constexpr int kToResult = 1114;
constexpr int kTitle = 1116;
constexpr int kHrvTip = 1117;
constexpr int kAnsTip = 1118;
constexpr int kStandardWeight = 1120; // calculator outputs
constexpr int kObesity = 1121;
constexpr int kBodyMassIndex = 1122;
constexpr int kWaistHipRatio = 1123;
constexpr int kHeight = 1124; // calculator inputs
constexpr int kWeight = 1125;
constexpr int kWaist = 1126;
constexpr int kHip = 1127;
constexpr int kBodyMassMarker = 1129;
constexpr int kTimeTip = 1130;
constexpr int kInfo1 = 1208; // information pages 1..3
constexpr int kInfo2 = 1209;
constexpr int kInfo3 = 1210;
constexpr int kCalculator4 = 1211; // calculators 4..6, each with its way back to its page
constexpr int kBack1 = 1212;
constexpr int kCalculator5 = 1213;
constexpr int kBack2 = 1214;
constexpr int kCalculator6 = 1215;
constexpr int kBack3 = 1216;
} // namespace StressId

// clang-format off
// id, x, y, width, height
inline constexpr ControlLayoutRow StressLayout[] = {
    {1116, -378,  66, 500, 44},
    {1006, 1560,   0,  30, 30},
    {1039,   91,  85, 350, 24},
    {1038,   47,   8, 250, 24},
    {1042,  658, 136, 150, 20},
    {1049,  658, 279, 150, 20},
    {1050,  658, 421, 150, 20},
    {1102,  809, 139, 697, 20},
    {1117,  809, 282, 697, 20},
    {1118,  809, 425, 697, 20},
    {1045,  683, 616, 130, 19},
    {1047,  868, 584, 348, 19},
    {1046,  868, 690, 348, 19},
    {1130,  868, 643, 348, 19},
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
    {1208,   91, 133, 480, 25},
    {1209,   91, 491, 480, 25},
    {1210,   91, 517, 480, 25},
    {1211,    0,   0,   0,  0},
    {1212,    0,   0,   0,  0},
    {1213,    0,   0,   0,  0},
    {1214,    0,   0,   0,  0},
    {1215,    0,   0,   0,  0},
    {1216,    0,   0,   0,  0},
    {1129,    0,   0,   0,  0},
    {1059,    0,   0,  35, 35},
    {1081,  980,   0,  35, 35},
    {   0,    0,   0,   0,  0},
};
// clang-format on

// The row of a control, or nullptr.
constexpr const ControlLayoutRow* StressRow(int id) {
    for (const ControlLayoutRow& row : StressLayout) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}

// The graphs of the stress window in the wellness window's panels.
inline constexpr ApgPanel kHeartRatePanel = ApgPanel::Diff1;
inline constexpr ApgPanel kLfHfPanel = ApgPanel::Diff2;

// The information panel: topics 1..3 are pages, 4..6 their calculators. A topic's picture lies
// below its page's button, as on the wellness window's pages.
inline constexpr int kStressTopics = 6;
inline constexpr DesignRect kStressInfoFrame = {91, 133, 480, 410};
constexpr int StressTopicPage(int topic) {
    return (topic - 1) % 3 + 1;
}
constexpr DesignRect StressInfoPictureRect(int topic) {
    return {91, 158 + 26 * (StressTopicPage(topic) - 1), 480, 332};
}

// Controls over the pictures, in the pictures' own pixels (kApgInfoPictureWidth x
// kApgInfoPictureHeight). The calculator pictures draw the labels and frames around them.
inline constexpr DesignRect kTopicButton = {412, 298, 56, 28}; // to the calculator, and back
inline constexpr DesignRect kCalculateButton = {412, 78, 56, 56};
inline constexpr DesignRect kFirstInput = {156, 66, 104, 30};   // height, or waist
inline constexpr DesignRect kSecondInput = {156, 110, 104, 30}; // weight, or hip
inline constexpr DesignRect kMaleRadio = {300, 66, 100, 30};
inline constexpr DesignRect kFemaleRadio = {300, 110, 100, 30};
inline constexpr DesignRect kFirstOutput = {196, 176, 104, 32};  // standard weight, BMI, ratio
inline constexpr DesignRect kSecondOutput = {196, 220, 104, 32}; // obesity
// The body-mass-index scale of calculator 5: five slots from left to right, the marker above
// the slot of the index's category.
inline constexpr DesignRect kBodyMassScale = {24, 252, 434, 26};
inline constexpr int kBodyMassMarkerSize = 20;
constexpr DesignRect BodyMassMarkerRect(int category) {
    const int slot = kBodyMassScale.width / 5;
    return {kBodyMassScale.x + slot * category + (slot - kBodyMassMarkerSize) / 2,
            kBodyMassScale.y - kBodyMassMarkerSize - 2, kBodyMassMarkerSize, kBodyMassMarkerSize};
}
