// The user registration window's picture (520 x 560, the window's design space): a dark title
// band, the form panel and the two buttons. The list and its column captions are the window's
// own controls, shown and hidden together: the picture draws nothing where they are, so a
// hidden list leaves no empty table behind. The texts are the window's own controls; the
// picture carries none.

#include "PaintKit.h"
#include "PictureRegistry.h"

#include <QPainter>

void PaintUserPicture(QPainter& painter, const PictureContext& /*context*/) {
    Kit::FillVertical(painter, QRectF(0, 0, 520, 560), Kit::kMist, QColor(220, 232, 238));

    // Title band behind the white title 1090 (20, 20, 400, 28).
    Kit::FillVertical(painter, QRectF(0, 0, 520, 64), Kit::kDeep, Kit::kSea);
    painter.fillRect(QRectF(0, 64, 520, 2), Kit::kTeal);
    const QPainterPath wave = Kit::PulseWave(QRectF(400, 18, 100, 30), 2);
    painter.setPen(
        QPen(QColor(150, 230, 232, 150), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);

    // List toggle 1217 (372, 77, 110, 28).
    Kit::Pill(painter, QRectF(372, 77, 110, 28), Kit::kSlate, QColor(0, 0, 0, 0));

    // Form panel: labels at x 45 (black), fields at x 125, sex choice at (340, 411).
    Kit::Panel(painter, QRectF(32.5, 345.5, 455, 110), 10, QColor(255, 255, 255, 170),
               QColor(190, 206, 218));

    // OK 1 (146, 472, 109, 38) and Cancel 2 (265, 472, 109, 38): white texts on the buttons.
    Kit::Pill(painter, QRectF(146, 472, 109, 38), Kit::kTeal, QColor(0, 0, 0, 0));
    Kit::Pill(painter, QRectF(265, 472, 109, 38), Kit::kSlate, QColor(0, 0, 0, 0));
}
