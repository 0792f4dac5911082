// The report's banner (2070 x 492, drawn on the report page at (205, 2489)): seven
// healthy-habit tips on a light, friendly ground. Its right part, where the page shows the
// a-e diagram (banner x 1627..2055, y 87..490), stays a plain white frame.

#include "PaintKit.h"
#include "PictureRegistry.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kWidth = 2070;
constexpr int kHeight = 492;
const QRectF kDiagramArea(1627, 87, 428, 403); // the a-e diagram of the page lies here
constexpr int kTipsRight = 1595;

const QColor kTipColours[] = {QColor(76, 168, 222),  QColor(240, 160, 60), QColor(60, 170, 190),
                              QColor(236, 110, 120), QColor(110, 180, 80), QColor(150, 120, 210),
                              QColor(120, 140, 160)};

void Tip(QPainter& painter, const QRectF& card, int number, const QString& title,
         const QString& text) {
    const QColor colour = kTipColours[number - 1];
    Kit::Panel(painter, card, 26, QColor(255, 255, 255, 215),
               QColor(colour.red(), colour.green(), colour.blue(), 110), 2.5);
    const QPointF centre(card.left() + 52, card.top() + 52);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(centre, 32, 32);
    Kit::Text(painter, QRectF(centre.x() - 32, centre.y() - 32, 64, 64), QString::number(number),
              Kit::Font(34, QFont::Bold), Qt::white);
    const QRectF titleArea(card.left() + 96, card.top() + 22, card.width() - 110, 60);
    Kit::Text(painter, titleArea, title,
              Kit::FitFont(Kit::Font(34, QFont::Bold), title, titleArea.width()),
              colour.darker(135), Qt::AlignLeft | Qt::AlignVCenter);
    const QRectF textArea(card.left() + 24, card.top() + 96, card.width() - 44,
                          card.height() - 106);
    QFont font = Kit::Font(27, QFont::DemiBold);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    while (font.pixelSize() > 14 &&
           QFontMetricsF(font).boundingRect(textArea, flags, text).height() > textArea.height())
        font.setPixelSize(font.pixelSize() - 1);
    Kit::Text(painter, textArea, text, font, Kit::kInk, flags);
}

} // namespace

void PaintBannerPicture(QPainter& painter, const PictureContext& context) {
    painter.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);
    // A soft morning ground under the tips, fading out before the diagram's frame.
    QLinearGradient ground(0, 0, kTipsRight + 20, 0);
    ground.setColorAt(0, QColor(225, 244, 238));
    ground.setColorAt(0.6, QColor(232, 243, 252));
    ground.setColorAt(1, QColor(246, 250, 253));
    QPainterPath plate;
    plate.addRoundedRect(QRectF(4, 4, kTipsRight + 12, kHeight - 8), 40, 40);
    painter.fillPath(plate, ground);
    Kit::Glow(painter, QPointF(140, 80), 220, QColor(255, 236, 170, 120));
    Kit::Glow(painter, QPointF(1450, 440), 260, QColor(180, 225, 250, 110));

    const QString heading = context.Message(50038);
    Kit::Text(painter, QRectF(40, 18, kTipsRight - 80, 62), heading,
              Kit::FitFont(Kit::Font(42, QFont::Bold), heading, kTipsRight - 80), Kit::kSea,
              Qt::AlignLeft | Qt::AlignVCenter);

    // Four tips in the first row, three in the second.
    const qreal gap = 18;
    const qreal top = 92;
    const qreal cardHeight = (kHeight - top - 16 - gap) / 2;
    for (int i = 0; i < 7; ++i) {
        const int row = i < 4 ? 0 : 1;
        const int perRow = row == 0 ? 4 : 3;
        const int column = row == 0 ? i : i - 4;
        const qreal cardWidth = (kTipsRight - 24 - gap * (perRow - 1)) / perRow;
        const QRectF card(24 + column * (cardWidth + gap), top + row * (cardHeight + gap),
                          cardWidth, cardHeight);
        Tip(painter, card, i + 1, context.Message(50041 + 2 * i), context.Message(50042 + 2 * i));
    }

    // The page's a-e diagram is drawn here: keep it white, framed.
    Kit::Panel(painter, kDiagramArea.adjusted(1, 1, -1, -1), 14, Qt::white, QColor(196, 210, 220),
               2);
}
