// The wellness report's page (2480 x 3220, the page's design space, apg/ApgReportLayout.h):
// a header band for the window's buttons (never printed), then a clean page on white with
// the captions, frames and scales around the places where the report draws its figures:
// index, signal level, type row, pulse scale, history table and the a-e diagram box.

#include "PaintKit.h"
#include "PictureRegistry.h"
#include "ReportKit.h"

#include "apg/ApgReportLayout.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

using namespace ApgReport;

using namespace ReportKit;

QRectF RectOf(const Box& box) {
    return QRectF(box.x, box.y, box.width, box.height);
}

constexpr int kCaptionWidth = 380;

void FigureCell(QPainter& painter, const Box& figure) {
    ReportKit::FigureCell(painter, RectOf(figure));
}

void DrawHeaderBand(QPainter& painter) {
    auto row = [](int id) {
        for (const ControlLayoutRow& r : kControlLayout) {
            if (r.id == id)
                return Kit::RowRect(r);
        }
        return QRectF();
    };
    HeaderBand(painter, kPageWidth, kBandHeight, row(Id::kMain), row(Id::kPrint), row(Id::kClose));
}

void DrawHeading(QPainter& painter, const PictureContext& context) {
    Caption(painter, QRectF(kLeft, 232, 1500, 70), context.Message(50001), 58, Kit::kDeep);
    painter.fillRect(QRectF(kLeft, 318, kRight - kLeft, 5), kRule);

    // The user line (736, 442, 1000, 45) and the signal level (2124, 440, 130, 44).
    Kit::Panel(painter, RectOf(kUserLine).adjusted(-30, -18, 30, 18), 30, kTrack, kFrame, 2);
    Kit::Panel(painter, RectOf(kSignalLevel).adjusted(-14, -16, 14, 16), 20, kTrack, kFrame, 2);
    Caption(painter, QRectF(1820, 440, 280, 44), context.Message(50004), 30, kLabel,
            Qt::AlignRight | Qt::AlignVCenter);
    Note(painter, QRectF(kLeft, 2990, kRight - kLeft, 50), context.Message(50012), 26, kLabel,
         Qt::AlignHCenter | Qt::AlignVCenter);
}

void DrawIndexRow(QPainter& painter, const PictureContext& context) {
    SectionTitle(painter, 580, context.Message(50062));
    Caption(painter, QRectF(kLeft, 810, kCaptionWidth, 60), context.Message(50005), 38);
    FigureCell(painter, kIndexNumber);

    // Bands of the scale above the bar (below 30, 30 to 69, 70 and above) and the track.
    const QRectF bar(kIndexBarX, kIndexBarY, kIndexBarWidth, kIndexBarHeight);
    const struct {
        int from;
        int to;
        QColor colour;
        int message;
    } bands[] = {{0, 30, QColor(246, 196, 190), 60104},
                 {30, 70, QColor(250, 232, 170), 60105},
                 {70, 100, QColor(205, 232, 170), 60106}};
    for (const auto& band : bands) {
        const QRectF area(kIndexBarX + kIndexBarWidth * band.from / 100.0, 772,
                          kIndexBarWidth * (band.to - band.from) / 100.0, 50);
        painter.fillRect(area, band.colour);
        Caption(painter, area, context.Message(band.message), 28, kCaption, Qt::AlignCenter);
    }
    painter.fillRect(bar, kTrack);
    painter.setPen(QPen(kFrame, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
    for (int value : {0, 30, 50, 70, 100}) {
        const double x = kIndexBarX + kIndexBarWidth * value / 100.0;
        painter.setPen(QPen(kLabel, 3));
        painter.drawLine(QPointF(x, kIndexBarY + kIndexBarHeight), QPointF(x, 894));
        Caption(painter, QRectF(x - 60, 896, 120, 36), QString::number(value), 26, kLabel,
                Qt::AlignCenter);
    }
}

// One beat of the pulse wave of a type: the reflected wave grows and merges with the
// systolic one from A to G.
QPainterPath TypeWave(const QRectF& area, int type) {
    const double reflected = 0.25 + 0.11 * type;
    const double delay = 0.30 - 0.022 * type;
    QPainterPath path;
    const int steps = 120;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        auto bump = [t](double centre, double width) {
            const double d = (t - centre) / width;
            return std::exp(-d * d);
        };
        const double value =
            (bump(0.22, 0.075 + 0.006 * type) + reflected * bump(0.22 + delay, 0.10)) /
            (1.0 + 0.35 * reflected);
        const QPointF point(area.left() + t * area.width(), area.bottom() - value * area.height());
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    return path;
}

void DrawTypeRow(QPainter& painter, const PictureContext& context) {
    Caption(painter, QRectF(kLeft, 1073, kCaptionWidth, 60), context.Message(50025), 38);
    FigureCell(painter, kTypeLetter);
    for (int i = 0; i < kTypeCells; ++i) {
        const QRectF cell(kTypeCellX[i], kTypeRowY, kTypeCellWidth[i], kTypeRowHeight);
        painter.fillRect(cell.adjusted(3, 3, -3, -3), i % 2 ? QColor(246, 249, 251) : kTrack);
        Caption(painter, QRectF(cell.left(), cell.top() + 6, cell.width(), 40),
                QString(QChar('A' + i)), 34, Kit::kDeep, Qt::AlignCenter);
        painter.setPen(QPen(kRule, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(
            TypeWave(QRectF(cell.left() + 28, cell.top() + 52, cell.width() - 56, 60), i));
        Note(painter, QRectF(cell.left() + 6, cell.top() + 116, cell.width() - 12, 58),
             context.Message(50016 + i), 24, kCaption, Qt::AlignCenter);
    }
    painter.setPen(QPen(kFrame, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRectF(kTypeCellX[0], kTypeRowY,
               kTypeCellX[kTypeCells - 1] + kTypeCellWidth[kTypeCells - 1] - kTypeCellX[0],
               kTypeRowHeight));
}

void DrawPulseRow(QPainter& painter, const PictureContext& context) {
    Caption(painter, QRectF(kLeft, 1323, kCaptionWidth, 60), context.Message(50006), 38);
    FigureCell(painter, kPulseNumber);
    Caption(painter, QRectF(kPulseNumber.x, 1412, kPulseNumber.width, 32), QStringLiteral("bpm"),
            26, kLabel, Qt::AlignCenter);

    const QRectF ageTrack(kPulseScaleX, kAgeRangeY, kPulseScaleWidth, kAgeRangeHeight);
    const QRectF measuredTrack(kPulseScaleX, kMeasuredRangeY, kPulseScaleWidth,
                               kMeasuredRangeHeight);
    for (const QRectF& track : {ageTrack, measuredTrack}) {
        painter.fillRect(track, kTrack);
        painter.setPen(QPen(kFrame, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(track);
    }
    // Legends left of the tracks, in the colours of the report's bars.
    const QRectF ageLegend(kIndexBarX - 10, kAgeRangeY, kPulseScaleX - kIndexBarX - 6,
                           kAgeRangeHeight);
    const QRectF measuredLegend(kIndexBarX - 10, kMeasuredRangeY, kPulseScaleX - kIndexBarX - 6,
                                kMeasuredRangeHeight);
    painter.fillRect(QRectF(ageLegend.left() - 18, ageLegend.center().y() - 8, 14, 16),
                     QColor(97, 171, 0));
    painter.fillRect(QRectF(measuredLegend.left() - 18, measuredLegend.center().y() - 8, 14, 16),
                     QColor(255, 144, 0));
    Note(painter, ageLegend, context.Message(50007), 22, kLabel, Qt::AlignRight | Qt::AlignVCenter);
    Note(painter, measuredLegend, context.Message(50008), 22, kLabel,
         Qt::AlignRight | Qt::AlignVCenter);

    // The scale: 40 to 140 bpm, a tick every 10, a label every 20.
    for (int bpm = kPulseScaleLow; bpm <= kPulseScaleLow + kPulseScaleSpan; bpm += 10) {
        const double x = kPulseScaleX + (bpm - kPulseScaleLow) *
                                            static_cast<double>(kPulseScaleWidth) / kPulseScaleSpan;
        const bool labelled = (bpm - kPulseScaleLow) % 20 == 0;
        painter.setPen(QPen(kLabel, labelled ? 3 : 2));
        painter.drawLine(QPointF(x, kMeasuredRangeY + kMeasuredRangeHeight),
                         QPointF(x, kMeasuredRangeY + kMeasuredRangeHeight + (labelled ? 16 : 9)));
        if (labelled)
            Caption(painter, QRectF(x - 60, 1396, 120, 34), QString::number(bpm), 26, kLabel,
                    Qt::AlignCenter);
    }
}

void DrawHistoryTable(QPainter& painter, const PictureContext& context) {
    SectionTitle(painter, 1500, context.Message(50067));
    const struct {
        const Box& column;
        int message;
    } columns[] = {{kHistoryNumber, 50068},
                   {kHistoryDate, 50069},
                   {kHistoryIndex, 50026},
                   {kHistoryType, 50025},
                   {kHistoryPulse, 50066}};
    const int top = kHistoryTop - 18; // rows are 66 high around their 30-unit text line
    const QRectF header(kLeft, top - 70, kRight - kLeft, 64);
    painter.fillRect(header, kHeaderFill);
    painter.fillRect(QRectF(kLeft, header.bottom() - 3, kRight - kLeft, 3), kRule);
    for (const auto& column : columns) {
        Caption(painter, QRectF(column.column.x, header.top(), column.column.width, 64),
                context.Message(column.message), 28, kCaption, Qt::AlignCenter);
    }
    for (int row = 0; row < 10; ++row) {
        const QRectF line(kLeft, top + kHistoryStep * row, kRight - kLeft, kHistoryStep);
        if (row % 2)
            painter.fillRect(line, QColor(246, 249, 251));
        painter.fillRect(QRectF(kLeft, line.bottom() - 1, kRight - kLeft, 2),
                         QColor(226, 234, 240));
    }
    painter.setPen(QPen(QColor(226, 234, 240), 2));
    for (int i = 1; i < 5; ++i) {
        const double x = columns[i].column.x - 2;
        painter.drawLine(QPointF(x, header.top() + 8), QPointF(x, top + kHistoryStep * 10));
    }
}

void DrawAeBox(QPainter& painter) {
    Kit::Panel(painter, RectOf(kAeDiagram), 14, Qt::white, kFrame, 2);
}

} // namespace

void PaintApgReportPicture(QPainter& painter, const PictureContext& context) {
    painter.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    DrawHeaderBand(painter);
    DrawHeading(painter, context);
    DrawIndexRow(painter, context);
    DrawTypeRow(painter, context);
    DrawPulseRow(painter, context);
    DrawHistoryTable(painter, context);
    DrawAeBox(painter);
}
