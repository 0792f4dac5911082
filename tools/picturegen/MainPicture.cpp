// The main menu's picture (1600 x 1000, the menu's design space): title, the menu row, the
// three test cards under the picture buttons, the user line and the quit button.

#include "PaintKit.h"
#include "PictureRegistry.h"

#include "app/MainMenuLayout.h"

#include <QPainter>

namespace {

using namespace MainMenuId;

QRectF Row(int id) {
    return Kit::RowRect(*MainMenuRow(id));
}

void DrawHeartIcon(QPainter& painter, QPointF centre) {
    QPainterPath heart;
    const qreal s = 36;
    heart.moveTo(centre.x(), centre.y() + s * 0.95);
    heart.cubicTo(centre.x() - s * 1.5, centre.y() + s * 0.1, centre.x() - s * 1.1,
                  centre.y() - s * 1.05, centre.x(), centre.y() - s * 0.45);
    heart.cubicTo(centre.x() + s * 1.1, centre.y() - s * 1.05, centre.x() + s * 1.5,
                  centre.y() + s * 0.1, centre.x(), centre.y() + s * 0.95);
    painter.setPen(QPen(Kit::kTealLight, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(38, 160, 170, 60));
    painter.drawPath(heart);
    QPainterPath trace;
    trace.moveTo(centre.x() - 34, centre.y() + 2);
    trace.lineTo(centre.x() - 12, centre.y() + 2);
    trace.lineTo(centre.x() - 4, centre.y() - 16);
    trace.lineTo(centre.x() + 5, centre.y() + 16);
    trace.lineTo(centre.x() + 12, centre.y() + 2);
    trace.lineTo(centre.x() + 34, centre.y() + 2);
    painter.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(trace);
}

void DrawGaugeIcon(QPainter& painter, QPointF centre) {
    const QRectF dial(centre.x() - 46, centre.y() - 34, 92, 92);
    const QColor bands[] = {QColor(90, 205, 190), QColor(236, 214, 120), QColor(236, 128, 110)};
    for (int i = 0; i < 3; ++i) {
        painter.setPen(QPen(bands[i], 9, Qt::SolidLine, Qt::FlatCap));
        painter.drawArc(dial, (180 - i * 60) * 16, -58 * 16);
    }
    const QPointF hub(centre.x(), centre.y() + 12);
    painter.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(hub, QPointF(hub.x() - 20, hub.y() - 30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(hub, 5.5, 5.5);
}

void DrawChartIcon(QPainter& painter, QPointF centre) {
    const QRectF frame(centre.x() - 44, centre.y() - 34, 88, 66);
    painter.setPen(QPen(QColor(255, 255, 255, 150), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.bottomLeft(), frame.topLeft());
    const qreal values[] = {0.35, 0.55, 0.45, 0.75, 0.62};
    QPainterPath line;
    for (int i = 0; i < 5; ++i) {
        const QPointF point(frame.left() + 12 + i * 17, frame.bottom() - 8 - values[i] * 50);
        if (i == 0)
            line.moveTo(point);
        else
            line.lineTo(point);
    }
    painter.setPen(QPen(Kit::kTealLight, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int i = 0; i < 5; ++i)
        painter.drawEllipse(
            QPointF(frame.left() + 12 + i * 17, frame.bottom() - 8 - values[i] * 50), 4, 4);
}

void DrawPowerIcon(QPainter& painter, QPointF centre) {
    painter.setPen(QPen(Kit::kTealLight, 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(centre.x() - 8, centre.y() - 8, 16, 16), 120 * 16, 300 * 16);
    painter.drawLine(QPointF(centre.x(), centre.y() - 11), QPointF(centre.x(), centre.y() - 1));
}

void DrawPersonIcon(QPainter& painter, QPointF centre) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 225, 228, 200));
    painter.drawEllipse(QPointF(centre.x(), centre.y() - 4), 4.5, 4.5);
    painter.drawChord(QRectF(centre.x() - 8, centre.y() + 2, 16, 14), 0, 180 * 16);
}

// One test card under a picture button: icon, then the two caption lines.
void DrawCard(QPainter& painter, const QRectF& button, void (*icon)(QPainter&, QPointF),
              const QString& title, const QString& subtitle) {
    const QRectF card = button.adjusted(10, 6, -10, -6);
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0, QColor(255, 255, 255, 34));
    fill.setColorAt(1, QColor(255, 255, 255, 12));
    painter.save();
    painter.setPen(QPen(QColor(140, 220, 228, 120), 1.4));
    painter.setBrush(fill);
    painter.drawRoundedRect(card, 18, 18);
    painter.restore();
    Kit::Glow(painter, QPointF(card.center().x(), card.top() + 72), 70, QColor(60, 190, 200, 40));
    icon(painter, QPointF(card.center().x(), card.top() + 70));
    const qreal textWidth = card.width() - 24;
    Kit::Text(painter, QRectF(card.left(), card.top() + 124, card.width(), 36), title,
              Kit::FitFont(Kit::Font(27, QFont::DemiBold), title, textWidth), Qt::white);
    Kit::Text(painter, QRectF(card.left(), card.top() + 160, card.width(), 26), subtitle,
              Kit::FitFont(Kit::Font(18), subtitle, textWidth), Kit::kTealLight);
}

} // namespace

void PaintMainPicture(QPainter& painter, const PictureContext& context) {
    const QRectF all(0, 0, 1600, 1000);
    Kit::FillVertical(painter, all, Kit::kNight, Kit::kSea);
    Kit::Glow(painter, QPointF(800, 420), 700, QColor(36, 140, 160, 70));
    Kit::Glow(painter, QPointF(1420, 960), 420, QColor(20, 110, 130, 60));
    Kit::Glow(painter, QPointF(120, 60), 380, QColor(30, 70, 120, 60));

    // Top bar with the sensor status, the language buttons and the close button.
    Kit::TopBar(painter, Row(kClose).center());
    for (int id : {kKorean, kEnglish, kJapanese, kChinese})
        Kit::Pill(painter, Row(id).adjusted(2, 1, -2, -1), QColor(255, 255, 255, 16),
                  QColor(255, 255, 255, 40));

    // Title block.
    const QString tagline = context.Message(20001);
    const QString title = context.Message(20002);
    const QString subtitle = context.Message(20003);
    Kit::Text(painter, QRectF(0, 66, 1600, 30), tagline, Kit::Font(20), Kit::kTealLight);
    Kit::Text(painter, QRectF(0, 96, 1600, 70), title, Kit::Font(54, QFont::DemiBold), Qt::white);
    Kit::Text(painter, QRectF(0, 166, 1600, 30), subtitle, Kit::Font(20), QColor(196, 214, 226));

    // The menu row: usage, user registration, manual, about.
    const struct {
        int id;
        QString caption;
    } menu[] = {
        {kUsage, context.Choose("사용방법", "Usage", "使い方", "使用方法")},
        {kUser, context.Choose("사용자", "Users", "ユーザー", "用户")},
        {kManual, context.Choose("매뉴얼", "Manual", "マニュアル", "手册")},
        {kAbout, context.Choose("정보", "About", "情報", "关于")},
    };
    for (const auto& item : menu) {
        const QRectF area = Row(item.id).adjusted(4, -2, -4, 2);
        Kit::Pill(painter, area, QColor(255, 255, 255, 22), QColor(140, 220, 228, 110));
        Kit::Text(painter, area, item.caption,
                  Kit::FitFont(Kit::Font(15), item.caption, area.width() - 16), Qt::white);
    }

    // The pulse wave across the middle.
    const QPainterPath wave = Kit::PulseWave(QRectF(150, 330, 1300, 120), 6);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(60, 200, 210, 40), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(wave);
    painter.setPen(
        QPen(QColor(150, 230, 232, 190), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(wave);

    // The three cards and the texts above them.
    const struct {
        int button;
        int caption;
        void (*icon)(QPainter&, QPointF);
        int title;
        int subtitle;
    } cards[] = {
        {kApg, kApgCaption, DrawHeartIcon, 20004, 20005},
        {kStress, kStressCaption, DrawGaugeIcon, 20006, 20007},
        {kReview, kReviewCaption, DrawChartIcon, 20008, 20009},
    };
    for (const auto& card : cards) {
        const QRectF button = Row(card.button);
        const QString above = context.SectionText("Tondrela", card.caption);
        Kit::Text(painter, QRectF(button.left(), 500, button.width(), 32), above,
                  Kit::FitFont(Kit::Font(17), above, button.width() - 20), QColor(214, 232, 238));
        DrawCard(painter, button, card.icon, context.Message(card.title),
                 context.Message(card.subtitle));
    }

    // The user line and the quit button.
    const QRectF userLine = Row(kUserLine);
    painter.fillRect(QRectF(userLine.left() - 34, userLine.bottom() + 3, userLine.width() + 34, 1),
                     QColor(255, 255, 255, 50));
    DrawPersonIcon(painter, QPointF(userLine.left() - 18, userLine.center().y() - 1));
    const QRectF quit = Row(kQuit).adjusted(2, 2, -2, -2);
    Kit::Pill(painter, quit, QColor(255, 255, 255, 22), QColor(140, 220, 228, 110));
    const QString quitCaption = context.Choose("종료", "Quit", "終了", "退出");
    DrawPowerIcon(painter, QPointF(quit.left() + 22, quit.center().y() + 1));
    Kit::Text(painter, quit.adjusted(38, 0, -10, 0), quitCaption,
              Kit::FitFont(Kit::Font(16, QFont::DemiBold), quitCaption, quit.width() - 48),
              Qt::white);

    // Footer.
    painter.fillRect(QRectF(300, 948, 1000, 1), QColor(255, 255, 255, 30));
}
