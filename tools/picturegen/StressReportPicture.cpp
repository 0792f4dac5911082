// The stress report's page (2480 x 3710, the page's design space, stress/StressReportLayout.h):
// a header band for the window's buttons (never printed), then on white the captions, frames
// and scales around the places where the report draws its figures: the stress index and its
// gauge, the complexity, the heart-rate trace, the rate distribution, the 10 x 10 autonomic
// balance grid and the six norm bars. The captions are the language table's texts.

#include "PaintKit.h"
#include "PictureRegistry.h"
#include "ReportKit.h"

#include "stress/StressReportLayout.h"

#include <QPainter>

#include <iterator>

namespace {

using namespace StressReport;
using namespace ReportKit;

const QColor kGrid(226, 234, 240);

QRectF RectOf(const Box& box) {
    return QRectF(box.x, box.y, box.width, box.height);
}

QRectF Row(int id) {
    for (const ControlLayoutRow& row : kControlLayout) {
        if (row.id == id)
            return Kit::RowRect(row);
    }
    return QRectF();
}

void Frame(QPainter& painter, const QRectF& area, const QColor& fill = Qt::white) {
    painter.fillRect(area, fill);
    painter.setPen(QPen(kFrame, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
}

void Label(QPainter& painter, const QRectF& area, const QString& text, int flags = Qt::AlignCenter,
           int size = 24) {
    Caption(painter, area, text, size, kLabel, flags);
}

void DrawHeading(QPainter& painter, const PictureContext& c) {
    HeaderBand(painter, kPageWidth, kBandHeight, Row(1035), Row(1013), Row(1006));
    Caption(painter, QRectF(kLeft, 232, 1500, 70), c.Message(60001), 58, Kit::kDeep);
    painter.fillRect(QRectF(kLeft, 318, kRight - kLeft, 5), kRule);
    Kit::Panel(painter, RectOf(kUserLine).adjusted(-30, -18, 30, 18), 30, kTrack, kFrame, 2);
}

// The stress index: its figure, the gauge from 0 to 100 in the colours of its ranges, and the
// ranges explained beside it.
void DrawStressIndex(QPainter& painter, const PictureContext& c) {
    SectionTitle(painter, 560, c.Message(60066));
    FigureCell(painter, RectOf(kStressFigure));

    const QRectF gauge = RectOf(kGauge);
    const struct {
        int from;
        int to;
        QColor colour;
        int range;   // "below 25%" ...
        int meaning; // "nearly no stress" ...
    } ranges[] = {{0, 25, QColor(150, 205, 90), 60071, 60072},
                  {25, 35, QColor(200, 220, 90), 60073, 60074},
                  {35, 45, QColor(245, 210, 80), 60075, 60076},
                  {45, 60, QColor(250, 160, 70), 60077, 60078},
                  {60, 100, QColor(230, 90, 70), 60079, 60080}};
    for (const auto& r : ranges) {
        const QRectF band(gauge.left() + gauge.width() * r.from / 100, gauge.top(),
                          gauge.width() * (r.to - r.from) / 100, gauge.height());
        painter.fillRect(band, r.colour);
    }
    painter.setPen(QPen(kFrame, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(gauge);
    for (int mark : {0, 25, 35, 45, 60, 100}) {
        const double x = gauge.left() + gauge.width() * mark / 100;
        painter.setPen(QPen(kLabel, 3));
        painter.drawLine(QPointF(x, gauge.bottom() + 4), QPointF(x, gauge.bottom() + 16));
        Label(painter, QRectF(x - 50, gauge.bottom() + 18, 100, 34), QString::number(mark));
    }

    // The ranges beside the gauge, a colour chip each.
    const double left = 1260;
    double y = 676;
    for (const auto& r : ranges) {
        painter.fillRect(QRectF(left, y + 8, 26, 26), r.colour);
        Caption(painter, QRectF(left + 40, y, 220, 42), c.Message(r.range), 26);
        Note(painter, QRectF(left + 270, y - 2, kRight - left - 270, 46), c.Message(r.meaning), 24,
             kLabel, Qt::AlignLeft | Qt::AlignVCenter);
        y += 46;
    }
    Note(painter, QRectF(kLeft, 920, kRight - kLeft, 50), c.Message(60005), 28, kCaption,
         Qt::AlignLeft | Qt::AlignVCenter);
}

// The complexity figure and the trace: 30 to 120 bpm, 150 s in 30-second steps.
void DrawVariability(QPainter& painter, const PictureContext& c) {
    SectionTitle(painter, 1020, c.SectionText("Tondrela", 1049));
    const QRectF figure = RectOf(kComplexity);
    Caption(painter, QRectF(kLeft, figure.top() - 8, figure.left() - kLeft - 24, 60),
            c.Message(60002), 34, kCaption, Qt::AlignRight | Qt::AlignVCenter);
    FigureCell(painter, figure);
    Caption(painter, QRectF(figure.right() + 16, figure.top() - 8, 40, 60), QStringLiteral(")"),
            34);

    const QRectF trace = RectOf(kTrace);
    Frame(painter, trace, QColor(250, 252, 253));
    for (int bpm = kTraceLowBpm; bpm <= kTraceLowBpm + kTraceSpanBpm; bpm += 30) {
        const double y = trace.bottom() - (bpm - kTraceLowBpm) * trace.height() / kTraceSpanBpm;
        painter.setPen(QPen(kGrid, 2));
        painter.drawLine(QPointF(trace.left(), y), QPointF(trace.right(), y));
        Label(painter, QRectF(trace.left() - 52, y - 16, 46, 32), QString::number(bpm),
              Qt::AlignRight | Qt::AlignVCenter, 22);
    }
    for (int second = 0; second <= 150; second += 30) {
        const double x = trace.left() + second * 4 * trace.width() / kTraceTicks;
        painter.setPen(QPen(kGrid, 2));
        painter.drawLine(QPointF(x, trace.top()), QPointF(x, trace.bottom()));
        Label(painter, QRectF(x - 60, trace.bottom() + 6, 120, 32),
              QString::asprintf("%d:%02d", second / 60, second % 60), Qt::AlignCenter, 22);
    }
    Label(painter, QRectF(trace.right() - 120, trace.top() - 36, 120, 32), QStringLiteral("bpm"),
          Qt::AlignRight | Qt::AlignVCenter, 22);

    const double half = (kRight - kLeft) / 2.0;
    const struct {
        int question;
        int answer;
    } notes[] = {{60006, 60007}, {60008, 60009}};
    for (int i = 0; i < 2; ++i) {
        const double x = kLeft + i * half;
        Caption(painter, QRectF(x, 1500, half - 30, 40), c.Message(notes[i].question), 28);
        Note(painter, QRectF(x, 1540, half - 30, 70), c.Message(notes[i].answer), 24, kLabel,
             Qt::AlignLeft | Qt::AlignTop);
    }
}

// The rate distribution (0 to 141 bpm) and the balance grid (ln LF to the right, ln HF up).
void DrawMaps(QPainter& painter, const PictureContext& c) {
    const QRectF distribution = RectOf(kDistribution);
    Caption(painter, QRectF(distribution.left(), 1636, distribution.width(), 52), c.Message(60035),
            32);
    Frame(painter, distribution);
    for (int bpm = 0; bpm <= 140; bpm += 20) {
        const double x = distribution.left() + bpm * distribution.width() / kDistributionBpm;
        painter.setPen(QPen(kGrid, 2));
        painter.drawLine(QPointF(x, distribution.top()), QPointF(x, distribution.bottom()));
        Label(painter, QRectF(x - 40, distribution.bottom() + 6, 80, 30), QString::number(bpm),
              Qt::AlignCenter, 22);
    }
    for (int i = 0; i < 3; ++i) {
        Note(painter, QRectF(distribution.left(), 2150 + 44 * i, distribution.width(), 42),
             c.Message(60037 + i), 24, kLabel, Qt::AlignLeft | Qt::AlignVCenter);
    }

    const QRectF map = RectOf(kBalanceMap);
    Caption(painter, QRectF(map.left(), 1636, map.width(), 52), c.Message(60036), 32);
    Frame(painter, map);
    for (int i = 0; i <= kBalanceCells; ++i) {
        const double x = map.left() + i * map.width() / kBalanceCells;
        const double y = map.bottom() - i * map.height() / kBalanceCells;
        painter.setPen(QPen(i == 0 || i == kBalanceCells ? kFrame : kGrid, 2));
        painter.drawLine(QPointF(x, map.top()), QPointF(x, map.bottom()));
        painter.drawLine(QPointF(map.left(), y), QPointF(map.right(), y));
        Label(painter, QRectF(x - 30, map.bottom() + 6, 60, 30), QString::number(i),
              Qt::AlignCenter, 20);
        Label(painter, QRectF(map.left() - 40, y - 15, 34, 30), QString::number(i),
              Qt::AlignRight | Qt::AlignVCenter, 20);
    }
    Caption(painter, QRectF(map.right() - 310, map.bottom() - 40, 300, 34),
            c.Message(60014) + QStringLiteral(" →"), 24, kRule, Qt::AlignRight | Qt::AlignVCenter);
    Caption(painter, QRectF(map.left() + 10, map.top() + 6, 300, 34),
            QStringLiteral("↑ ") + c.Message(60016), 24, kRule, Qt::AlignLeft | Qt::AlignVCenter);

    // The nine domains of the balance, explained.
    const struct {
        const char* types;
        int text;
    } domains[] = {{"1, 2", 60052}, {"3", 60054}, {"4", 60056}, {"6", 60060},
                   {"7", 60062},    {"8", 60064}, {"9", 60065}};
    Caption(painter, QRectF(map.left(), 2146, map.width(), 32), c.Message(60049), 24);
    // One size for all lines: the one at which the longest fits.
    QFont font = Kit::Font(20, QFont::DemiBold);
    for (const auto& domain : domains)
        font = Kit::FitFont(font, c.Message(domain.text), map.width() - 76);
    for (int i = 0; i < static_cast<int>(std::size(domains)); ++i) {
        const double y = 2178 + i * 22;
        Caption(painter, QRectF(map.left(), y, 70, 22), QString::fromLatin1(domains[i].types), 19,
                kRule);
        Kit::Text(painter, QRectF(map.left() + 76, y, map.width() - 76, 22),
                  c.Message(domains[i].text), font, kLabel, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

// The six norm bars: name, what the value tells, its scale; the report draws band and value.
void DrawNormBars(QPainter& painter, const PictureContext& c) {
    // Below the domains there is room for a caption line, not for a full section title.
    painter.fillRect(QRectF(kLeft, 2338, 10, 34), kRule);
    Caption(painter, QRectF(kLeft + 30, 2334, 1200, 42), c.Message(60010), 34);
    const struct {
        int name;
        int meaning;
        int hint;
        const char* unit;
    } bars[kBarCount] = {{60014, 60015, 60020, ""},    {60016, 60017, 60021, ""},
                         {60018, 60019, 60022, ""},    {60026, 60027, 60032, " bpm"},
                         {60028, 60029, 60033, " ms"}, {60030, 60031, 60034, " ms"}};
    for (int i = 0; i < kBarCount; ++i) {
        const NormBar& bar = kBars[i];
        const QRectF track(kBarX, bar.y, kBarWidth, kBarHeight);
        Caption(painter, QRectF(kLeft, bar.y - 6, kBarX - kLeft - 16, kBarHeight + 12),
                c.Message(bars[i].name), 34);
        Note(painter, QRectF(kBarX, bar.y - 50, kBarWidth - 260, 44),
             c.Message(bars[i].meaning) + QStringLiteral(" ") + c.Message(bars[i].hint), 24, kLabel,
             Qt::AlignLeft | Qt::AlignVCenter);
        Label(painter, QRectF(kBarX + kBarWidth - 250, bar.y - 50, 250, 44),
              QString::asprintf("%g – %g%s", bar.base, bar.base + bar.span, bars[i].unit),
              Qt::AlignRight | Qt::AlignVCenter, 22);
        Frame(painter, track, kTrack);
        for (int tick = 1; tick < 10; ++tick) {
            const double x = track.left() + track.width() * tick / 10;
            painter.setPen(QPen(kFrame, 2));
            painter.drawLine(QPointF(x, track.bottom() - 12), QPointF(x, track.bottom()));
        }
    }
}

} // namespace

void PaintStressReportPicture(QPainter& painter, const PictureContext& context) {
    painter.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    DrawHeading(painter, context);
    DrawStressIndex(painter, context);
    DrawVariability(painter, context);
    DrawMaps(painter, context);
    DrawNormBars(painter, context);
}
