#include "ReportKit.h"

#include "PaintKit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace ReportKit {

void Caption(QPainter& painter, const QRectF& area, const QString& text, int size,
             const QColor& colour, int flags) {
    Kit::Text(painter, area, text, Kit::FitFont(Kit::Font(size, QFont::Bold), text, area.width()),
              colour, flags);
}

void Note(QPainter& painter, const QRectF& area, const QString& text, int size,
          const QColor& colour, int flags) {
    QFont font = Kit::Font(size, QFont::DemiBold);
    while (font.pixelSize() > 12) {
        const QRectF needed =
            QFontMetricsF(font).boundingRect(area, flags | Qt::TextWordWrap, text);
        if (needed.width() <= area.width() && needed.height() <= area.height())
            break;
        font.setPixelSize(font.pixelSize() - 1);
    }
    Kit::Text(painter, area, text, font, colour, flags | Qt::TextWordWrap);
}

void SectionTitle(QPainter& painter, int y, const QString& text) {
    painter.fillRect(QRectF(kLeft, y + 8, 10, 46), kRule);
    Caption(painter, QRectF(kLeft + 30, y, 1600, 62), text, 40);
    painter.fillRect(QRectF(kLeft, y + 70, kRight - kLeft, 3), QColor(220, 232, 236));
}

void FigureCell(QPainter& painter, const QRectF& figure) {
    Kit::Panel(painter, figure.adjusted(-6, -14, 6, 14), 18, kTrack, kFrame, 2);
}

void HeaderBand(QPainter& painter, int pageWidth, int bandHeight, const QRectF& main,
                const QRectF& print, const QRectF& close) {
    Kit::FillVertical(painter, QRectF(0, 0, pageWidth, bandHeight), Kit::kDeep, Kit::kSea);
    painter.fillRect(QRectF(0, bandHeight - 6, pageWidth, 6), Kit::kTeal);
    painter.setPen(QPen(QColor(150, 230, 232, 120), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(Kit::PulseWave(QRectF(140, 50, 1800, 110), 9));

    // Glyphs under the window's transparent buttons: Main, Print and the close box.
    const QPen glyph(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (const QRectF& button : {main, print}) {
        Kit::Panel(painter, button.adjusted(4, 4, -4, -4), 41, QColor(255, 255, 255, 36),
                   QColor(255, 255, 255, 110), 2.5);
    }
    painter.setPen(glyph);
    QPainterPath house;
    const QPointF c = main.center();
    house.moveTo(c.x() - 22, c.y() - 2);
    house.lineTo(c.x(), c.y() - 22);
    house.lineTo(c.x() + 22, c.y() - 2);
    house.moveTo(c.x() - 15, c.y() - 8);
    house.lineTo(c.x() - 15, c.y() + 20);
    house.lineTo(c.x() + 15, c.y() + 20);
    house.lineTo(c.x() + 15, c.y() - 8);
    painter.drawPath(house);
    const QPointF p = print.center();
    painter.drawRect(QRectF(p.x() - 13, p.y() - 24, 26, 14));
    painter.drawRoundedRect(QRectF(p.x() - 24, p.y() - 10, 48, 22), 4, 4);
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawRect(QRectF(p.x() - 13, p.y() + 4, 26, 20));
    painter.setBrush(Qt::NoBrush);
    const QPointF x = close.center();
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(x.x() - 9, x.y() - 9), QPointF(x.x() + 9, x.y() + 9));
    painter.drawLine(QPointF(x.x() + 9, x.y() - 9), QPointF(x.x() - 9, x.y() + 9));
}

} // namespace ReportKit
