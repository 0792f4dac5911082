// The review window's picture (1600 x 1000, the window's design space): the title, the three
// chart tiles with a faint grid (a line per record position, quarter lines across), a colour
// mark beside each chart's caption and the dock of the Main button. The window's labels carry
// the other texts.

#include "PaintKit.h"
#include "PictureRegistry.h"

#include "records/ReviewLayout.h"

#include <QPainter>

namespace {

using namespace ReviewId;

const QColor kCard(255, 255, 255, 16);
const QColor kCardBorder(140, 220, 228, 60);
const QColor kTile(4, 12, 24, 215);
const QColor kTileBorder(120, 200, 215, 70);
const QColor kGrid(120, 200, 215, 28);

// The charts' colours, in the order of kReviewChartRects.
const QColor kChartColours[kReviewCharts] = {QColor(255, 209, 0), QColor(255, 144, 0),
                                             QColor(97, 171, 0)};
const int kCaptions[kReviewCharts] = {kPulseCaption, kWellnessCaption, kStressCaption};

QRectF Row(int id) {
    return Kit::RowRect(*ReviewRow(id));
}

void ChartTile(QPainter& painter, const ReviewChartRect& r) {
    const QRectF tile(r.x, r.y, r.width, r.height);
    Kit::Panel(painter, tile.adjusted(-3, -3, 3, 3), 6, kTile, kTileBorder);
    painter.save();
    painter.setPen(QPen(kGrid, 1));
    for (int quarter = 1; quarter < 4; ++quarter) {
        const qreal y = tile.top() + 2 + (tile.height() - 7) * quarter / 4;
        painter.drawLine(QPointF(tile.left() + 2, y), QPointF(tile.right() - 2, y));
    }
    // The record positions of the window (x = k * step * (w - 7) / (w - 8) + 4).
    const int step = (r.width - 8) / 20;
    for (int k = 1; k <= 20; ++k) {
        const qreal x = tile.left() + 4 + k * step * (r.width - 7.0) / (r.width - 8);
        painter.drawLine(QPointF(x, tile.top() + 2), QPointF(x, tile.bottom() - 2));
    }
    painter.restore();
}

} // namespace

void PaintReviewPicture(QPainter& painter, const PictureContext& context) {
    const QRectF all(0, 0, 1600, 1000);
    Kit::FillVertical(painter, all, Kit::kNight, Kit::kDeep);
    Kit::Glow(painter, QPointF(1150, 300), 620, QColor(36, 140, 160, 45));
    Kit::Glow(painter, QPointF(330, 760), 420, QColor(30, 70, 120, 50));
    Kit::TopBar(painter, Row(kClose).center());

    const QString title = context.SectionText("Tondrela", kTitle);
    Kit::Text(painter, QRectF(282, 62, 900, 40), title, Kit::Font(28, QFont::DemiBold), Qt::white,
              Qt::AlignLeft | Qt::AlignVCenter);
    const QRectF user = Row(kUserLine);
    painter.fillRect(QRectF(user.left(), user.bottom() + 3, user.width(), 1),
                     QColor(255, 255, 255, 50));

    Kit::Panel(painter, QRectF(250, 172, 1088, 530), 16, kCard, kCardBorder, 1.2);
    for (int i = 0; i < kReviewCharts; ++i) {
        ChartTile(painter, kReviewChartRects[i]);
        const QRectF caption = Row(kCaptions[i]);
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(kChartColours[i]);
        painter.drawEllipse(QPointF(caption.left() - 12, caption.center().y()), 5, 5);
        painter.restore();
    }

    // The dock of the Main button and its caption.
    const QRectF main = Row(kMain);
    const QRectF caption = Row(kToMain);
    Kit::Panel(painter,
               QRectF(caption.left() - 14, main.top() - 10, caption.width() + 28,
                      caption.bottom() - main.top() + 18),
               18, QColor(255, 255, 255, 12), kCardBorder, 1.2);
}
