#include "controls/ControlFont.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include <utility>

namespace {

const QString kMetricSans = QStringLiteral("Liberation Sans");
const QString kCjk = QStringLiteral("WenQuanYi Zen Hei");

// Windows faces and what stands in for them.
const std::pair<QString, QString> kSubstitutes[] = {
    {QStringLiteral("Arial"), kMetricSans},
    {QStringLiteral("돋움"), kCjk},
    {QStringLiteral("MS Pゴシック"), kCjk},
};

} // namespace

QStringList FontFamilies(const QString& face) {
    QString first = kMetricSans;
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) {
        first = face;
    } else {
        for (const auto& [windowsFace, substitute] : kSubstitutes) {
            if (face == windowsFace)
                first = substitute;
        }
    }
    QStringList families{first};
    if (first != kCjk)
        families.append(kCjk);
    return families;
}

QFont MakeControlFont(const QString& face, int pixelHeight) {
    QFont font;
    font.setFamilies(FontFamilies(face));
    font.setStyleHint(QFont::SansSerif);
    if (pixelHeight > 0)
        font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Black);
    return font;
}

QFont FitFont(const QFont& font, const QString& text, QSize box, int flags) {
    QFont fitted = font;
    const QRect area(QPoint(0, 0), box);
    auto fits = [&] {
        const QRect needed = QFontMetrics(fitted).boundingRect(area, flags, text);
        return needed.width() <= box.width() && needed.height() <= box.height();
    };
    while (fitted.pixelSize() > kSmallestFittedFont && !fits())
        fitted.setPixelSize(fitted.pixelSize() - 1);
    return fitted;
}
