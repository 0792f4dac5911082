#include "apg/PanelFont.h"

#include "controls/ControlFont.h"

#include <algorithm>
#include <cmath>

QFont PanelFont(const QString& face, double pixelSize, bool bold) {
    QFont font;
    font.setFamilies(FontFamilies(face));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setBold(bold);
    return font;
}
