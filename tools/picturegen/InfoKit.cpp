#include "InfoKit.h"

#include "PaintKit.h"

#include <QFontMetricsF>
#include <QPainter>

namespace InfoKit {

namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
} // namespace

void Paper(QPainter& painter) {
    painter.fillRect(QRectF(0, 0, kWidth, kHeight), kPaper);
    painter.fillRect(QRectF(0, 0, 5, kHeight), kAccent);
}

void Heading(QPainter& painter, qreal y, const QString& text) {
    Kit::Text(painter, QRectF(20, y, kWidth - 40, 24), text, Kit::Font(16, QFont::DemiBold), kCurve,
              Qt::AlignLeft | Qt::AlignVCenter);
    painter.fillRect(QRectF(20, y + 26, kWidth - 40, 1), kRule);
}

qreal Paragraph(QPainter& painter, qreal x, qreal y, qreal width, const QString& text, int size) {
    const QFont font = Kit::Font(size);
    const QRectF box(x + 14, y, width - 14, 200);
    const QRectF used = QFontMetricsF(font).boundingRect(box, kTextFlags, text);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    painter.drawEllipse(QPointF(x + 4, y + size * 0.62), 3, 3);
    painter.restore();
    Kit::Text(painter, box, text, font, Kit::kInk, kTextFlags);
    return y + used.height() + 7;
}

} // namespace InfoKit
