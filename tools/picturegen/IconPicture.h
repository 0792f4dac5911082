#pragma once
// The program's icon at the sizes of the hicolor icon theme:
// STAGE/icons/hicolor/<n>x<n>/apps/tondrela.png for n = 16, 24, 32, 48, 64, 128, 256.

#include <QString>

bool WriteIcons(const QString& stage);
