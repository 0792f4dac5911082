#include "controls/ControlFont.h"

#include <QFontDatabase>
#include <QStringList>

QFont MakeControlFont(const QString& face, int pixelHeight) {
    QFont font;
    if (!face.isEmpty() && QFontDatabase::hasFamily(face))
        font.setFamilies(QStringList{face});
    else
        font.setFamilies(QStringList{QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    if (pixelHeight > 0)
        font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Black);
    return font;
}
