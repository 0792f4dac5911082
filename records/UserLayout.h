#pragma once
// Control IDs and layout of the user registration window, in its 520 x 560 design space.

#include "controls/ControlLayout.h"

namespace UserId {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kList = 1025;
constexpr int kMale = 1027;
constexpr int kFemale = 1028;
constexpr int kName = 1029;
constexpr int kNameLabel = 1030;
constexpr int kListCaption = 1031;
constexpr int kBirthYearLabel = 1036;
constexpr int kBirthYear = 1037;
constexpr int kTitle = 1090;
constexpr int kNameColumn = 1091;
constexpr int kBirthYearColumn = 1092;
constexpr int kSexColumn = 1093;
constexpr int kListToggle = 1217;
constexpr int kPhoneLabel = 1218;
constexpr int kPhone = 1219;
constexpr int kDeleteCommand = 32771; // the list's popup item
} // namespace UserId

constexpr int kUserDesignWidth = 520;
constexpr int kUserDesignHeight = 560;

inline constexpr ControlLayoutRow UserLayout[] = {
    {UserId::kTitle, 20, 20, 400, 28},
    {UserId::kListCaption, 39, 84, 200, 20},
    {UserId::kList, 41, 141, 440, 197},
    {UserId::kNameLabel, 45, 355, 70, 20},
    {UserId::kBirthYearLabel, 45, 388, 70, 20},
    {UserId::kPhoneLabel, 45, 420, 70, 20},
    {UserId::kName, 125, 351, 334, 28},
    {UserId::kBirthYear, 125, 384, 200, 28},
    {UserId::kPhone, 125, 416, 200, 28},
    {UserId::kMale, 340, 411, 60, 28},
    {UserId::kFemale, 400, 411, 80, 28},
    {UserId::kNameColumn, 40, 113, 130, 28},
    {UserId::kBirthYearColumn, 170, 113, 170, 28},
    {UserId::kSexColumn, 340, 113, 140, 28},
    {UserId::kListToggle, 372, 77, 110, 28},
    {UserId::kOk, 146, 472, 109, 38},
    {UserId::kCancel, 265, 472, 109, 38},
    {0, 0, 0, 0, 0},
};
