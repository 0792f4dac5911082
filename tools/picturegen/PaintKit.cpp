#include "PaintKit.h"

#include "controls/ControlLayout.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QStringList>

#include <cmath>

namespace Kit {

QFont Font(int pixelSize, int weight) {
    QFont font;
    font.setFamilies(
        QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont FitFont(QFont font, const QString& text, qreal width) {
    while (font.pixelSize() > 8 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QRectF RowRect(const ControlLayoutRow& row) {
    return QRectF(row.x, row.y, row.width, row.height);
}

void FillVertical(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(area, gradient);
}

void Glow(QPainter& painter, QPointF centre, qreal radius, QColor colour) {
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0, colour);
    colour.setAlpha(0);
    gradient.setColorAt(1, colour);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

void Panel(QPainter& painter, const QRectF& area, qreal radius, const QColor& fill,
           const QColor& border, qreal borderWidth) {
    painter.save();
    painter.setPen(border.alpha() ? QPen(border, borderWidth) : QPen(Qt::NoPen));
    painter.setBrush(fill);
    painter.drawRoundedRect(area, radius, radius);
    painter.restore();
}

void Pill(QPainter& painter, const QRectF& area, const QColor& fill, const QColor& border) {
    const qreal radius = area.height() / 2;
    Panel(painter, area, radius, fill, border, 1.2);
}

void Text(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
          const QColor& colour, int flags) {
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area, flags, text);
    painter.restore();
}

QPainterPath PulseWave(const QRectF& area, int beats) {
    // One beat: a systolic peak and a smaller reflected wave after the notch.
    auto beat = [](double phase) {
        auto bump = [](double x, double centre, double width) {
            const double d = (x - centre) / width;
            return std::exp(-d * d);
        };
        return bump(phase, 0.18, 0.075) + 0.42 * bump(phase, 0.42, 0.10) +
               0.08 * bump(phase, 0.62, 0.12);
    };
    QPainterPath path;
    const int steps = beats * 120;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double phase = std::fmod(t * beats, 1.0);
        const double value = beat(phase) / 1.1;
        const QPointF point(area.left() + t * area.width(), area.bottom() - value * area.height());
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    return path;
}

void Badge(QPainter& painter, QPointF centre, int number, qreal radius) {
    painter.save();
    painter.setPen(QPen(Qt::white, radius / 6));
    painter.setBrush(QColor(226, 86, 30));
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
    Text(painter, QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
         QString::number(number), Font(static_cast<int>(radius * 1.15), QFont::Bold), Qt::white);
}

void TopBar(QPainter& painter, QPointF closeCentre) {
    painter.fillRect(QRectF(0, 0, 1600, 42), QColor(0, 0, 0, 70));
    painter.fillRect(QRectF(0, 42, 1600, 1), QColor(120, 220, 230, 60));
    painter.setPen(QPen(QColor(220, 235, 240), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(closeCentre + QPointF(-7, -7), closeCentre + QPointF(7, 7));
    painter.drawLine(closeCentre + QPointF(-7, 7), closeCentre + QPointF(7, -7));
}

} // namespace Kit
