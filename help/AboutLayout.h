#pragma once
// Control IDs and layout of the about box, in its 580 x 200 design space. The picture
// generator draws the box's picture from the same table.

#include "controls/ControlLayout.h"

namespace AboutId {
constexpr int kOk = 1;
constexpr int kProduct = 1055;
constexpr int kNotice = 1056;
constexpr int kDate = 1057;
} // namespace AboutId

constexpr int kAboutDesignWidth = 580;
constexpr int kAboutDesignHeight = 200;

inline constexpr ControlLayoutRow AboutLayout[] = {
    {AboutId::kProduct, 340, 38, 250, 18},
    {AboutId::kNotice, 340, 58, 250, 18},
    {AboutId::kDate, 340, 78, 250, 18},
    {AboutId::kOk, 332, 123, 109, 37},
    {0, 0, 0, 0, 0},
};
