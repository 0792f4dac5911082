// The program's icon for the desktop entry: a white pulse wave (a systolic peak with the
// reflected wave after the notch, twice) on a rounded deep-blue-to-teal tile. Painted in a
// 256-unit space at every size of the hicolor icon theme, with a transparent ground.

#include "IconPicture.h"

#include "PaintKit.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

// One beat of the pulse wave, 0..1 over the beat, 0 at rest and 1 at the systolic peak.
double PulseWave(double t) {
    const double systolic = std::exp(-std::pow((t - 0.28) / 0.09, 2));
    const double reflected = 0.45 * std::exp(-std::pow((t - 0.55) / 0.1, 2));
    return systolic + reflected;
}

void PaintIcon(QPainter& painter, int size) {
    painter.scale(size / 256.0, size / 256.0);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(8, 8, 240, 240), 52, 52);
    QLinearGradient ground(0, 8, 0, 248);
    ground.setColorAt(0, Kit::kDeep);
    ground.setColorAt(1, Kit::kTeal);
    painter.fillPath(tile, ground);

    QPainterPath wave;
    for (int x = 0; x <= 200; ++x) {
        const double t = std::fmod(x / 100.0, 1.0);
        const QPointF point(28 + x, 180 - 110 * PulseWave(t));
        if (x == 0)
            wave.moveTo(point);
        else
            wave.lineTo(point);
    }
    // Thicker at small sizes, so that the wave still reads at 16 pixels.
    const double width = size <= 32 ? 22 : 14;
    painter.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);
}

} // namespace

bool WriteIcons(const QString& stage) {
    bool ok = true;
    for (int size : kSizes) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            PaintIcon(painter, size);
        }
        const QString folder = QStringLiteral("%1/icons/hicolor/%2x%2/apps").arg(stage).arg(size);
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/tondrela.png");
        if (!image.save(path)) {
            std::fprintf(stderr, "tondrela-picturegen: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    return ok;
}
