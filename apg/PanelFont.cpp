#include "apg/PanelFont.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>
#include <cmath>

QFont PanelFont(const QString& face, double pixelSize, bool bold) {
    QFont font;
    if (!face.isEmpty() && QFontDatabase::hasFamily(face))
        font.setFamilies(QStringList{face});
    else
        font.setFamilies(QStringList{QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setBold(bold);
    return font;
}
