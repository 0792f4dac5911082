// The help pages' pictures of the sensor: the finger in the clip, and a good and a weak
// signal with the signal-strength bar as the test window shows it.

#include "PaintKit.h"
#include "PictureRegistry.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor kPaper(246, 249, 251);
const QColor kSkin(236, 196, 166);
const QColor kSkinEdge(190, 140, 110);
const QColor kClip(60, 72, 88);
const QColor kArrow(226, 86, 30);

// A callout: an arrow from the text towards the point, and the text.
void Callout(QPainter& painter, const QRectF& textArea, QPointF tip, const QString& text) {
    const QPointF from(textArea.center().x(),
                       tip.y() < textArea.top() ? textArea.top() - 2 : textArea.bottom() + 2);
    painter.save();
    painter.setPen(QPen(kArrow, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, tip);
    const QPointF direction = (tip - from) / std::hypot(tip.x() - from.x(), tip.y() - from.y());
    const QPointF normal(-direction.y(), direction.x());
    QPolygonF head;
    head << tip << tip - direction * 10 + normal * 5 << tip - direction * 10 - normal * 5;
    painter.setBrush(kArrow);
    painter.drawPolygon(head);
    painter.restore();
    Kit::Text(painter, textArea, text,
              Kit::FitFont(Kit::Font(14, QFont::DemiBold), text, textArea.width()), Kit::kInk,
              Qt::AlignCenter | Qt::TextWordWrap);
}

// The signal-strength bar of the test window: full at 60 percent, red below 4, orange from 4.
void StrengthBar(QPainter& painter, const QRectF& area, double percent) {
    painter.fillRect(area, QColor(30, 44, 60));
    const QColor colour = percent < 4 ? QColor(255, 0, 0) : QColor(255, 114, 0);
    const QRectF bar(area.left(), area.top(), area.width() * percent / 60, area.height());
    painter.fillRect(bar, colour);
    Kit::Text(painter, QRectF(bar.left(), bar.top(), std::max(bar.width(), 40.0), bar.height()),
              QStringLiteral("%1%").arg(percent), Kit::Font(15, QFont::Bold), Qt::white);
    const qreal threshold = area.left() + area.width() * 4 / 60;
    painter.setPen(QPen(Kit::kSlate, 1, Qt::DashLine));
    painter.drawLine(QPointF(threshold, area.top() - 6), QPointF(threshold, area.bottom() + 6));
    Kit::Text(painter, QRectF(threshold - 20, area.top() - 22, 40, 16), QStringLiteral("4%"),
              Kit::Font(11), Kit::kSlate);
}

} // namespace

// A finger pushed into the clip up to its end, nail up, the hand resting.
void PaintHelpClip(QPainter& painter, const PictureContext& context) {
    painter.fillRect(QRectF(0, 0, 600, 260), kPaper);

    // Cable from the clip's hinge to the computer.
    QPainterPath cable(QPointF(440, 132));
    cable.cubicTo(QPointF(500, 132), QPointF(520, 200), QPointF(590, 210));
    painter.setPen(QPen(kClip, 6, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cable);

    // Lower jaw, finger, then the upper jaw drawn see-through so that the nail shows.
    Kit::Panel(painter, QRectF(300, 140, 150, 34), 14, kClip, QColor(0, 0, 0, 0));
    QPainterPath finger;
    finger.moveTo(30, 114);
    finger.cubicTo(QPointF(150, 104), QPointF(300, 108), QPointF(380, 110));
    finger.cubicTo(QPointF(416, 111), QPointF(416, 152), QPointF(380, 153));
    finger.cubicTo(QPointF(300, 155), QPointF(150, 160), QPointF(30, 156));
    finger.closeSubpath();
    painter.setPen(QPen(kSkinEdge, 1.5));
    painter.setBrush(kSkin);
    painter.drawPath(finger);
    painter.setPen(QPen(kSkinEdge, 1));
    painter.setBrush(QColor(250, 230, 220));
    painter.drawRoundedRect(QRectF(344, 106, 50, 9), 4, 4); // nail
    painter.drawLine(QPointF(220, 109), QPointF(220, 157)); // joint
    Kit::Panel(painter, QRectF(300, 86, 150, 30), 14, QColor(60, 72, 88, 120), kClip, 2);
    painter.setPen(QPen(QColor(150, 225, 228), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(372, 146), 4, 4);      // the light under the finger pad
    painter.fillRect(QRectF(440, 104, 14, 56), kClip); // hinge and spring

    Callout(painter, QRectF(250, 8, 200, 40), QPointF(368, 104),
            context.Choose("손톱이 위로", "Nail up", "爪を上に", "指甲朝上"));
    Callout(painter, QRectF(430, 20, 170, 44), QPointF(406, 126),
            context.Choose("손끝을 끝까지 넣기", "Fingertip in up to the end", "指先を奥まで入れる",
                           "指尖插到底"));
    Callout(painter, QRectF(20, 196, 260, 56), QPointF(120, 160),
            context.Choose("손을 책상에 편히 올려 두고 움직이지 않기",
                           "Rest the hand on the table and keep still",
                           "手を机に楽に置き、動かさない", "手放在桌上放松，保持不动"));
    Callout(painter, QRectF(440, 222, 150, 34), QPointF(560, 206),
            context.Choose("PC의 USB", "USB of the PC", "PCのUSB", "电脑USB接口"));
}

// A good and a weak pulse with their signal-strength bars.
void PaintHelpSignal(QPainter& painter, const PictureContext& context) {
    painter.fillRect(QRectF(0, 0, 600, 240), kPaper);
    const struct {
        qreal top;
        qreal height; // of the wave
        double percent;
        QString caption;
    } rows[] = {
        {14, 70, 18,
         context.Choose("좋은 신호: 주황색 막대", "Good signal: orange bar",
                        "良い信号: オレンジのバー", "良好信号：橙色条")},
        {130, 8, 3,
         context.Choose("약한 신호: 빨간색 막대 — 손가락을 다시 끼우세요",
                        "Weak signal: red bar, put the finger in again",
                        "弱い信号: 赤いバー — 指を入れ直してください",
                        "信号弱：红色条，请重新放入手指")},
    };
    for (const auto& row : rows) {
        const QRectF trace(20, row.top + 45 - row.height / 2, 260, row.height);
        painter.fillRect(QRectF(12, row.top, 276, 90), QColor(8, 22, 44));
        painter.setPen(QPen(QColor(255, 255, 0), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(Kit::PulseWave(trace, 3));
        StrengthBar(painter, QRectF(310, row.top + 20, 270, 28), row.percent);
        Kit::Text(painter, QRectF(310, row.top + 62, 280, 40), row.caption,
                  Kit::Font(13, QFont::DemiBold), Kit::kInk,
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    }
}
