#include "apg/ActionIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

const QColor kRingColour(150, 225, 228);
const QColor kGlyphColour(255, 255, 255);
const QColor kAccent(38, 160, 170);

void DrawGlyph(QPainter& painter, ActionGlyph glyph, const QRectF& box, const QColor& colour) {
    const QPointF c = box.center();
    const qreal r = box.width() / 2;
    painter.setPen(
        QPen(colour, std::max<qreal>(1.5, r / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    QPainterPath path;
    switch (glyph) {
    case ActionGlyph::Main: // a house
        path.moveTo(c.x() - r * 0.8, c.y() - r * 0.05);
        path.lineTo(c.x(), c.y() - r * 0.8);
        path.lineTo(c.x() + r * 0.8, c.y() - r * 0.05);
        path.moveTo(c.x() - r * 0.55, c.y() - r * 0.25);
        path.lineTo(c.x() - r * 0.55, c.y() + r * 0.7);
        path.lineTo(c.x() + r * 0.55, c.y() + r * 0.7);
        path.lineTo(c.x() + r * 0.55, c.y() - r * 0.25);
        painter.drawPath(path);
        break;
    case ActionGlyph::Start: // a play triangle
        path.moveTo(c.x() - r * 0.45, c.y() - r * 0.7);
        path.lineTo(c.x() + r * 0.7, c.y());
        path.lineTo(c.x() - r * 0.45, c.y() + r * 0.7);
        path.closeSubpath();
        painter.setBrush(colour);
        painter.drawPath(path);
        break;
    case ActionGlyph::Stop:
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(c.x() - r * 0.55, c.y() - r * 0.55, r * 1.1, r * 1.1),
                                r * 0.12, r * 0.12);
        break;
    case ActionGlyph::Result: // a sheet with lines
        painter.drawRoundedRect(QRectF(c.x() - r * 0.55, c.y() - r * 0.75, r * 1.1, r * 1.5),
                                r * 0.1, r * 0.1);
        for (int i = 0; i < 3; ++i) {
            const qreal y = c.y() - r * 0.35 + i * r * 0.35;
            painter.drawLine(QPointF(c.x() - r * 0.3, y), QPointF(c.x() + r * 0.3, y));
        }
        break;
    case ActionGlyph::Send: // an arrow up out of a tray
        path.moveTo(c.x(), c.y() + r * 0.3);
        path.lineTo(c.x(), c.y() - r * 0.8);
        path.moveTo(c.x() - r * 0.45, c.y() - r * 0.35);
        path.lineTo(c.x(), c.y() - r * 0.8);
        path.lineTo(c.x() + r * 0.45, c.y() - r * 0.35);
        path.moveTo(c.x() - r * 0.8, c.y() + r * 0.1);
        path.lineTo(c.x() - r * 0.8, c.y() + r * 0.75);
        path.lineTo(c.x() + r * 0.8, c.y() + r * 0.75);
        path.lineTo(c.x() + r * 0.8, c.y() + r * 0.1);
        painter.drawPath(path);
        break;
    case ActionGlyph::PageDown:
    case ActionGlyph::PageUp: {
        const qreal dir = glyph == ActionGlyph::PageDown ? 1 : -1;
        path.moveTo(c.x() - r * 0.6, c.y() - dir * r * 0.3);
        path.lineTo(c.x(), c.y() + dir * r * 0.3);
        path.lineTo(c.x() + r * 0.6, c.y() - dir * r * 0.3);
        painter.drawPath(path);
        break;
    }
    case ActionGlyph::Calculator: { // a calculator: display and keys
        const QRectF body(c.x() - r * 0.6, c.y() - r * 0.8, r * 1.2, r * 1.6);
        painter.drawRoundedRect(body, r * 0.12, r * 0.12);
        painter.drawLine(QPointF(body.left() + r * 0.25, c.y() - r * 0.4),
                         QPointF(body.right() - r * 0.25, c.y() - r * 0.4));
        painter.setBrush(colour);
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                painter.drawEllipse(
                    QPointF(c.x() + (column - 0.5) * r * 0.55, c.y() + r * 0.1 + row * r * 0.4),
                    r * 0.09, r * 0.09);
            }
        }
        break;
    }
    case ActionGlyph::Back: // an arrow to the left
        path.moveTo(c.x() + r * 0.7, c.y());
        path.lineTo(c.x() - r * 0.6, c.y());
        path.moveTo(c.x() - r * 0.15, c.y() - r * 0.45);
        path.lineTo(c.x() - r * 0.6, c.y());
        path.lineTo(c.x() - r * 0.15, c.y() + r * 0.45);
        painter.drawPath(path);
        break;
    }
}

} // namespace

QPixmap ActionIcon(ActionGlyph glyph, QSize size, ActionLook look, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    if (size.isEmpty())
        return pixmap;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // The glyphs over the light pictures go without the round frame.
    const bool page = glyph == ActionGlyph::PageDown || glyph == ActionGlyph::PageUp ||
                      glyph == ActionGlyph::Calculator || glyph == ActionGlyph::Back;
    const qreal side = std::min(size.width(), size.height());
    QRectF box(0, 0, side, side);
    box.moveCenter(QRectF(QPointF(0, 0), QSizeF(size)).center());

    QColor glyphColour = page ? kAccent : kGlyphColour;
    if (look == ActionLook::Disabled)
        glyphColour.setAlpha(70);
    if (!page) {
        // The round frame: filled softly while hovered, faint while disabled.
        QColor ring = kRingColour;
        ring.setAlpha(look == ActionLook::Disabled ? 60 : 200);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(look == ActionLook::Hovered ? QColor(38, 160, 170, 110)
                                                     : QColor(255, 255, 255, 18));
        painter.drawEllipse(box.adjusted(2, 2, -2, -2));
        box = box.adjusted(side * 0.3, side * 0.3, -side * 0.3, -side * 0.3);
    } else {
        box = box.adjusted(side * 0.15, side * 0.15, -side * 0.15, -side * 0.15);
    }
    DrawGlyph(painter, glyph, box, glyphColour);
    return pixmap;
}
