#include "apg/ReportPage.h"

#include "analysis/HrvScores.h"
#include "apg/AeDiagram.h"
#include "apg/ApgReportLayout.h"
#include "apg/PanelFont.h"
#include "testframe/ReportPagePainter.h"

#include <QPainter>

#include <algorithm>

namespace {

using namespace ApgReport;

const QColor kFigureColour(159, 64, 85);
const QColor kUserColour(56, 56, 56);
const QColor kSignalColour(93, 93, 93);
const QColor kIndexBarColour(255, 144, 0, 220);
const QColor kAgeRangeColour(97, 171, 0, 220);
const QColor kMeasuredRangeColour(255, 144, 0, 220);
const QColor kTypeFrameColour(154, 20, 45);
constexpr int kTypeFrameWidth = 6;

constexpr int kDateTimeFontSize = 32;
constexpr int kUserFontSize = 36;
constexpr int kSignalFontSize = 44;
constexpr int kFigureFontSize = 80;
constexpr int kHistoryFontSize = 27;

QRectF RectOf(const Box& box) {
    return QRectF(box.x, box.y, box.width, box.height);
}

void DrawText(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
              const QColor& colour, Qt::Alignment horizontal) {
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area, static_cast<int>(horizontal | Qt::AlignVCenter) | Qt::TextDontClip,
                     text);
}

// x of a pulse rate on the page's 40..140 bpm scale.
double PulseX(double bpm) {
    return kPulseScaleX + (bpm - kPulseScaleLow) * kPulseScaleWidth / kPulseScaleSpan;
}

void FillPulseRange(QPainter& painter, double low, double high, int y, int height,
                    const QColor& colour) {
    painter.fillRect(
        QRectF(PulseX(low), y, (high - low) * kPulseScaleWidth / kPulseScaleSpan, height), colour);
}

void DrawFigures(QPainter& painter, const ApgReportData& data, const QString& face) {
    DrawText(painter, RectOf(kDateTime), data.dateTimeText,
             PanelFont(QStringLiteral("Arial"), kDateTimeFontSize, true), Qt::black,
             Qt::AlignRight);
    DrawText(painter, RectOf(kUserLine), data.userLine, PanelFont(face, kUserFontSize, true),
             kUserColour, Qt::AlignHCenter);

    const QFont figureFont = PanelFont(face, kFigureFontSize, true);
    const ApgSummary& summary = data.summary;
    if (summary.wellnessIndex > 0) {
        painter.fillRect(QRectF(kIndexBarX, kIndexBarY,
                                kIndexBarWidth * summary.wellnessIndex / 100, kIndexBarHeight),
                         kIndexBarColour);
        DrawText(painter, RectOf(kIndexNumber), QString::asprintf("%.2f", summary.wellnessIndex),
                 figureFont, kFigureColour, Qt::AlignHCenter);
        DrawText(painter, RectOf(kSignalLevel),
                 QString::asprintf("%.0f%% ", summary.meanSignalStrength),
                 PanelFont(face, kSignalFontSize, true), kSignalColour, Qt::AlignRight);
    }

    if (summary.typeIndex >= 0 && summary.typeIndex < kTypeCells) {
        DrawText(painter, RectOf(kTypeLetter), QString(QChar('A' + summary.typeIndex)), figureFont,
                 kFigureColour, Qt::AlignHCenter);
        painter.save();
        painter.setPen(QPen(kTypeFrameColour, kTypeFrameWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(kTypeCellX[summary.typeIndex], kTypeRowY,
                                kTypeCellWidth[summary.typeIndex], kTypeRowHeight));
        painter.restore();
    }

    if (data.meanPulse > 0) {
        DrawText(painter, RectOf(kPulseNumber), QString::asprintf("%.0f", data.meanPulse),
                 figureFont, kFigureColour, Qt::AlignHCenter);
        const PulseRange range = AgeGroupPulseRange(data.age);
        FillPulseRange(painter, range.low, range.high, kAgeRangeY, kAgeRangeHeight,
                       kAgeRangeColour);
        FillPulseRange(painter, data.minPulse, data.maxPulse, kMeasuredRangeY, kMeasuredRangeHeight,
                       kMeasuredRangeColour);
    }
}

void DrawHistory(QPainter& painter, const std::vector<CHistoryList>& history, const QString& face) {
    const QFont font = PanelFont(face, kHistoryFontSize, true);
    auto cell = [](const Box& column, int y) {
        return QRectF(column.x, y, column.width, kHistoryRowHeight);
    };
    for (size_t i = 0; i < history.size(); ++i) {
        const CHistoryList& record = history[i];
        const int y = kHistoryTop + kHistoryStep * static_cast<int>(i);
        const QString type =
            record.typeLetter ? QString::asprintf("%c type", record.typeLetter) : QString();
        DrawText(painter, cell(kHistoryNumber, y), QString::number(i + 1), font, kUserColour,
                 Qt::AlignHCenter);
        DrawText(painter, cell(kHistoryDate, y), record.dateTimeText, font, kUserColour,
                 Qt::AlignHCenter);
        DrawText(painter, cell(kHistoryIndex, y), QString::asprintf("%.2f", record.wellnessIndex),
                 font, kUserColour, Qt::AlignHCenter);
        DrawText(painter, cell(kHistoryType, y), type, font, kUserColour, Qt::AlignHCenter);
        DrawText(painter, cell(kHistoryPulse, y), QString::asprintf("%.0f", record.meanPulse), font,
                 kUserColour, Qt::AlignHCenter);
    }
}

} // namespace

// The mean-rate column of the HRV norms, rows up to 19, 20-29, ..., 60 and over.
PulseRange AgeGroupPulseRange(int age) {
    const NormBounds rate = HrvNorms(std::clamp(age / 10 - 1, 0, kHrvNormRows - 1)).rate;
    return {rate.lower, rate.upper};
}

QImage ComposeApgReportPage(QSize pageSize, const ApgReportData& data, const QImage& background,
                            const QImage& banner, const QString& fontFace) {
    QImage page(pageSize, QImage::Format_ARGB32_Premultiplied);
    if (page.isNull())
        return page;
    ReportPagePainter painter(&page, background, QSize(kPageWidth, kPageHeight));
    DrawFigures(painter, data, fontFace);
    DrawHistory(painter, data.history, fontFace);

    // The banner goes under the a-e diagram, whose box it overlaps: a picture without
    // transparency drawn over the diagram would hide it.
    if (!banner.isNull())
        painter.drawImage(RectOf(kBanner), banner);

    AeDiagramPens pens;
    pens.zeroLine = QPen(QColor(128, 128, 128, 200), 2);
    pens.curve = QPen(QColor(0, 53, 87), 2);
    const QRectF box =
        RectOf(kAeDiagram)
            .adjusted(kAeDiagramInset, kAeDiagramInset, -kAeDiagramInset, -kAeDiagramInset);
    DrawAeDiagram(painter, box, data.summary, pens, fontFace);
    return page;
}

QRect ApgPrintedRect(QSize pageSize) {
    return QRect(kPrintLeft, kBandHeight, pageSize.width() - kPrintWidthCut,
                 pageSize.height() - kPrintHeightCut);
}
