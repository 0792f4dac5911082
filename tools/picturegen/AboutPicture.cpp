// The about box's picture (580 x 200, its design space, help/AboutLayout.h): the product mark
// on the left, a light panel for the three statics and the OK button.

#include "PaintKit.h"
#include "PictureRegistry.h"

#include "help/AboutLayout.h"

#include <QPainter>

void PaintAboutPicture(QPainter& painter, const PictureContext& context) {
    Kit::FillVertical(painter, QRectF(0, 0, 580, 200), Kit::kMist, QColor(224, 234, 240));

    // Product mark.
    Kit::FillVertical(painter, QRectF(0, 0, 316, 200), Kit::kNight, Kit::kSea);
    Kit::Glow(painter, QPointF(90, 100), 120, QColor(40, 170, 180, 70));
    painter.setPen(QPen(Kit::kTealLight, 2.4));
    painter.setBrush(QColor(255, 255, 255, 18));
    painter.drawEllipse(QPointF(76, 100), 40, 40);
    const QPainterPath wave = Kit::PulseWave(QRectF(46, 82, 60, 34), 2);
    painter.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);
    Kit::Text(painter, QRectF(130, 72, 180, 34), QStringLiteral("Tondrela"),
              Kit::Font(28, QFont::DemiBold), Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
    const QString tagline = context.Message(20001);
    Kit::Text(painter, QRectF(130, 106, 180, 22), tagline,
              Kit::FitFont(Kit::Font(13), tagline, 176), Kit::kTealLight,
              Qt::AlignLeft | Qt::AlignVCenter);
    painter.fillRect(QRectF(316, 0, 2, 200), Kit::kTeal);

    // OK button.
    for (const ControlLayoutRow& row : AboutLayout) {
        if (row.id == AboutId::kOk)
            Kit::Pill(painter, Kit::RowRect(row), Kit::kTeal, QColor(0, 0, 0, 0));
    }
}
