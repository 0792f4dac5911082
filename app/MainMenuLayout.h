#pragma once
// Control IDs and layout of the main menu, in its 1600 x 1000 design space. The picture
// generator draws the main-menu picture from the same table. The four language buttons sit in
// the top bar, left of the close box.

#include "controls/ControlLayout.h"

namespace MainMenuId {
constexpr int kApg = 1000;
constexpr int kStress = 1001;
constexpr int kReview = 1002;
constexpr int kAbout = 1003;
constexpr int kQuit = 1004;
constexpr int kClose = 1006;
constexpr int kApgCaption = 1014;
constexpr int kStressCaption = 1015;
constexpr int kReviewCaption = 1016;
constexpr int kUsage = 1017;
constexpr int kOnline = 1018;
constexpr int kUser = 1019;
constexpr int kManual = 1020;
constexpr int kKorean = 1021;
constexpr int kEnglish = 1022;
constexpr int kJapanese = 1023;
constexpr int kChinese = 1024;
constexpr int kStatus = 1038;
constexpr int kUserLine = 1039;
constexpr int kSpare1 = 1040;
constexpr int kSpare2 = 1041;
} // namespace MainMenuId

// clang-format off
// id, x, y, width, height
inline constexpr ControlLayoutRow MainMenuLayout[] = {
    { 1038,     47,    8,  200,   24},
    { 1021,   1140,    9,   86,   24},
    { 1022,   1232,    9,   86,   24},
    { 1023,   1324,    9,   86,   24},
    { 1024,   1416,    9,   86,   24},
    { 1017,    530,  231,  140,   24},
    { 1019,    680,  231,  140,   24},
    { 1020,    830,  231,  140,   24},
    { 1018,   -924,  231,  100,   24},
    { 1003,    980,  231,  100,   24},
    { 1014,  -1251,  397,  230,   22},
    { 1015,  -1515,  397,  230,   22},
    { 1016,  -1782,  397,  230,   22},
    { 1000,    326,  548,  316,  210},
    { 1001,    643,  548,  316,  210},
    { 1002,    959,  548,  316,  210},
    { 1039,    550,  790,  550,   24},
    { 1004,   1169,  790,  108,   38},
    { 1006,   1560,    0,   30,   34},
    { 1040,  -1630,  614,  200,   29},
    { 1041,  -1830,  614,  200,   29},
    {    0,      0,    0,    0,    0},
};
// clang-format on

// The row of a control, or nullptr.
constexpr const ControlLayoutRow* MainMenuRow(int id) {
    for (const ControlLayoutRow& row : MainMenuLayout) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}
