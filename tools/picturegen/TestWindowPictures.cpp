// The test windows' pictures (1600 x 1000, the windows' design space): the frames under the
// graphs and figures, the type scale "Good A..G Bad", the tracks of the bars, the dock of the
// four round buttons and the title. The wellness and the stress window have their graphs and
// figures in the same places; the stress window's heart-rate and LF/HF charts draw their own
// grids. The windows' labels carry the other texts.

#include "PaintKit.h"
#include "PictureRegistry.h"

#include "apg/ApgLayout.h"
#include "stress/StressLayout.h"

#include <QPainter>

namespace {

using namespace ApgId;

const QColor kCard(255, 255, 255, 14);
const QColor kCardBorder(140, 220, 228, 60);
const QColor kTile(4, 12, 24, 215);
const QColor kTileBorder(120, 200, 215, 70);
const QColor kGrid(120, 200, 215, 26);
const QColor kTrack(255, 255, 255, 22);
const QColor kMuted(150, 178, 196);

QRectF Row(int id) {
    return Kit::RowRect(*ApgRow(id));
}

QRectF PanelRect(ApgPanel panel) {
    const DesignRect& r = ApgPanelRect(panel);
    return QRectF(r.x, r.y, r.width, r.height);
}

void Card(QPainter& painter, const QRectF& area) {
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, QColor(255, 255, 255, 20));
    fill.setColorAt(1, QColor(255, 255, 255, 8));
    painter.save();
    painter.setPen(QPen(kCardBorder, 1.2));
    painter.setBrush(fill);
    painter.drawRoundedRect(area, 16, 16);
    painter.restore();
}

// A dark tile under a drawn panel, a little larger than the panel.
void Tile(QPainter& painter, const QRectF& panel, qreal margin = 3) {
    Kit::Panel(painter, panel.adjusted(-margin, -margin, margin, margin), 6, kTile, kTileBorder);
}

// A graph's tile with a faint grid: a vertical line per second of the sweep (200 samples)
// and quarter lines across.
void GraphTile(QPainter& painter, const QRectF& panel) {
    Tile(painter, panel);
    painter.save();
    painter.setPen(QPen(kGrid, 1));
    const qreal sweep = panel.width() - 8;
    for (int sample = 200; sample < sweep; sample += 200) {
        const qreal x = panel.left() + 4 + sample * (sweep + 1) / sweep;
        painter.drawLine(QPointF(x, panel.top() + 2), QPointF(x, panel.bottom() - 2));
    }
    for (int quarter = 1; quarter < 4; ++quarter) {
        const qreal y = panel.top() + panel.height() * quarter / 4;
        painter.drawLine(QPointF(panel.left() + 2, y), QPointF(panel.right() - 2, y));
    }
    painter.restore();
}

void Dot(QPainter& painter, QPointF centre, const QColor& colour) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(centre, 4.5, 4.5);
    painter.restore();
}

// The bar tracks of time and signal strength, with marks at the given fractions.
void Track(QPainter& painter, const QRectF& panel, std::initializer_list<qreal> marks,
           const QColor& markColour) {
    Kit::Panel(painter, panel.adjusted(-2, -2, 2, 2), 5, kTile, kTileBorder);
    painter.save();
    painter.setPen(QPen(markColour, 1.2));
    for (qreal mark : marks) {
        const qreal x = panel.left() + panel.width() * mark;
        painter.drawLine(QPointF(x, panel.bottom() - 7), QPointF(x, panel.bottom() - 1));
    }
    painter.restore();
}

void TypeScale(QPainter& painter) {
    const QRectF panel = PanelRect(ApgPanel::WellnessType);
    // The track from good (blue) to bad (red) between the labels.
    QLinearGradient gradient(QPointF(panel.left(), 0), QPointF(panel.right(), 0));
    gradient.setColorAt(0, QColor(2, 156, 252, 150));
    gradient.setColorAt(0.5, QColor(237, 193, 0, 130));
    gradient.setColorAt(1, QColor(255, 60, 40, 150));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(panel.left(), panel.center().y() - 2.5, panel.width(), 5), 2.5,
                            2.5);
    const QFont font = Kit::Font(12, QFont::DemiBold);
    for (int i = 0; i < kApgTypes; ++i) {
        const qreal x = kApgTypeScaleX + kApgTypeScaleStep * i;
        painter.setPen(QPen(QColor(255, 255, 255, 150), 1.2));
        painter.drawLine(QPointF(x, panel.top() + 1), QPointF(x, panel.bottom() - 1));
        Kit::Text(painter, QRectF(x - 10, panel.bottom() + 1, 20, 10), QString(QChar('A' + i)),
                  font, kMuted);
    }
    painter.restore();
}

// What tells the two windows' pictures apart.
struct WindowStyle {
    int title;       // text of the main menu's section
    bool sweepGrids; // a grid per second under the second and third graph
    QColor dots[3];  // the colours of the three graphs beside their captions
};

void PaintTestWindow(QPainter& painter, const PictureContext& context, const WindowStyle& style) {
    const QRectF all(0, 0, 1600, 1000);
    Kit::FillVertical(painter, all, Kit::kNight, Kit::kDeep);
    Kit::Glow(painter, QPointF(1100, 330), 640, QColor(36, 140, 160, 45));
    Kit::Glow(painter, QPointF(300, 700), 420, QColor(30, 70, 120, 50));

    // Top bar with the sensor status and the close box.
    Kit::TopBar(painter, Row(kClose).center());

    // Title and the person's line.
    const QString title = context.SectionText("Tondrela", style.title);
    Kit::Text(painter, QRectF(91, 46, 700, 36), title, Kit::Font(28, QFont::DemiBold), Qt::white,
              Qt::AlignLeft | Qt::AlignVCenter);
    const QRectF user = Row(kUserLine);
    painter.fillRect(QRectF(user.left(), user.bottom() + 3, user.width(), 1),
                     QColor(255, 255, 255, 50));

    // Left: the explanatory pictures, then the figures of the test.
    Card(painter, QRectF(70, 120, 522, 432));
    Card(painter, QRectF(70, 560, 522, 236));
    // Right: the three graphs, then rate, time, strength and the a-e diagram.
    Card(painter, QRectF(636, 120, 894, 432));
    Card(painter, QRectF(612, 560, 918, 236));

    GraphTile(painter, PanelRect(ApgPanel::PulseWave));
    for (ApgPanel graph : {ApgPanel::Diff1, ApgPanel::Diff2}) {
        if (style.sweepGrids)
            GraphTile(painter, PanelRect(graph));
        else
            Tile(painter, PanelRect(graph));
    }
    const int captions[] = {kPulseCaption, kDiff1Caption, kDiff2Caption};
    for (int i = 0; i < 3; ++i) {
        const QRectF caption = Row(captions[i]);
        Dot(painter, QPointF(caption.left() - 8, caption.center().y()), style.dots[i]);
    }

    const QRectF rate = PanelRect(ApgPanel::PulseRate);
    Tile(painter, rate, 2); // clear of the time and strength tracks beside it
    Kit::Text(painter, QRectF(rate.right() - 46, rate.bottom() - 22, 42, 18), "bpm", Kit::Font(13),
              kMuted, Qt::AlignRight | Qt::AlignVCenter);
    Track(painter, PanelRect(ApgPanel::Time), {0.25, 0.5, 0.75}, QColor(255, 255, 255, 70));
    Track(painter, PanelRect(ApgPanel::SignalStrength), {4.0 / 60},
          QColor(255, 114, 0, 200)); // the 4 % a qualified beat needs
    Tile(painter, PanelRect(ApgPanel::AeDiagram));

    const QRectF standard = PanelRect(ApgPanel::StandardSignal);
    Tile(painter, standard);
    painter.setPen(QPen(kGrid, 1));
    painter.drawLine(QPointF(standard.left() + 4, standard.center().y()),
                     QPointF(standard.right() - 4, standard.center().y()));
    Tile(painter, PanelRect(ApgPanel::WellnessIndex));
    TypeScale(painter);
    Kit::Panel(painter, PanelRect(ApgPanel::IndexScale).adjusted(-2, -2, 2, 2), 4, kTile,
               kTileBorder);
    Kit::Panel(painter, PanelRect(ApgPanel::IndexBar).adjusted(-2, -2, 2, 2), 4, kTrack,
               kTileBorder);

    // The dock of the four round buttons and their captions.
    const QRectF first = Row(kToMain);
    const QRectF last = Row(kToResult);
    const QRectF dock(first.left() - 12, Row(kQuit).top() - 10, last.right() - first.left() + 24,
                      first.bottom() - Row(kQuit).top() + 18);
    Kit::Panel(painter, dock, 18, QColor(255, 255, 255, 12), kCardBorder, 1.2);
}

} // namespace

void PaintApgPicture(QPainter& painter, const PictureContext& context) {
    PaintTestWindow(painter, context,
                    {1014, true, {QColor(255, 255, 0), QColor(0, 255, 255), QColor(255, 0, 255)}});
}

void PaintStressPicture(QPainter& painter, const PictureContext& context) {
    static_assert(StressRow(StressId::kHrvCaption)->y == ApgRow(kDiff1Caption)->y &&
                      StressRow(StressId::kAnsCaption)->y == ApgRow(kDiff2Caption)->y,
                  "the graph captions of both windows lie in the same places");
    PaintTestWindow(painter, context,
                    {1015, false, {QColor(255, 255, 0), QColor(255, 64, 255), QColor(0, 74, 160)}});
}
