#include "stress/StressReportPage.h"

#include "analysis/HrvScores.h"
#include "analysis/proc.h"
#include "apg/PanelFont.h"
#include "stress/RateTrace.h"
#include "stress/StressReportLayout.h"
#include "testframe/ReportPagePainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

using namespace StressReport;

const QColor kUserColour(0x38, 0x38, 0x38);
const QColor kTraceColour(0xFF, 0xD1, 0x00);
const QColor kNormBand(0x61, 0xAB, 0x00, 0xDC);
const QColor kValueMarker(0xFF, 0x00, 0x02, 0xDC);
const QColor kReferenceCurve(0x61, 0xAB, 0x00);
const QColor kHistogramColour(0xFF, 0x90, 0x00);
const QColor kBalanceMarkColour(0x00, 0x80, 0x00, 0xB4);
const QColor kStressColour(0xFE, 0x03, 0x00);
const QColor kArrowColour(0xA9, 0x19, 0x19);

constexpr double kDateTimeFontSize = 40 * 4 / 5; // 32
constexpr double kUserFontSize = 36;
constexpr double kComplexityFontSize = 40.5;
constexpr double kBarFontSize = 25 * 8 / 10; // 20
constexpr double kStressFontSize = 140;
constexpr int kTracePen = 2;
constexpr int kMarkerWidth = 20;
constexpr int kBarTextWidth = 70;
constexpr int kBarTextHeight = 25;
constexpr int kReferencePoints = 140; // rates 1..140
constexpr double kBalanceOffset = 0.2;
constexpr int kGaugeLineWidth = 20;
constexpr int kArrowLength = 15; // the arrow starts this far above the gauge

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

void DrawTrace(QPainter& painter, const RateChartCopy& chart) {
    const QRectF area = RectOf(kTrace);
    auto point = [&](const TracePoint& p) {
        return QPointF(area.left() + p.tick * area.width() / kTraceTicks,
                       area.bottom() - (p.rate - kTraceLowBpm) * area.height() / kTraceSpanBpm);
    };
    painter.setPen(QPen(kTraceColour, kTracePen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const auto& segment :
         RateTraceSegments(chart.timeline, chart.scrollPosition, kTraceTicks)) {
        QPolygonF line;
        for (const TracePoint& p : segment)
            line.append(point(p));
        if (line.size() >= 2)
            painter.drawPolyline(line);
    }
}

// One norm bar: the norm band, the value's marker and the three numbers.
void DrawNormBar(QPainter& painter, const NormBar& bar, NormBounds norm, double value,
                 const QFont& font) {
    const double x0 = kBarX;
    const double y0 = bar.y;
    const double w = kBarWidth;
    const double h = kBarHeight;
    auto xOf = [&](double v) { return x0 + w * (v - bar.base) / bar.span; };
    const double bandLeft = xOf(norm.lower);
    const double bandRight = xOf(norm.upper);
    painter.fillRect(QRectF(bandLeft, y0, bandRight - bandLeft, h), kNormBand);
    DrawText(painter, QRectF(bandLeft, y0 + h / 4, kBarTextWidth, kBarTextHeight),
             QString::asprintf("%.1f", norm.lower), font, Qt::black, Qt::AlignLeft);
    DrawText(painter, QRectF(bandRight - kBarTextWidth, y0 + h / 4, kBarTextWidth, kBarTextHeight),
             QString::asprintf("%.1f", norm.upper), font, Qt::black, Qt::AlignRight);
    if (!std::isfinite(value)) // the logarithm of a power of 0: no place on the bar
        return;
    const double x = xOf(value);
    painter.setPen(QPen(kValueMarker, kMarkerWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(x, y0), QPointF(x, y0 + h));
    DrawText(painter, QRectF(x - 20, y0 + h + 5, kBarTextWidth, kBarTextHeight),
             QString::asprintf("%.1f", value), font, Qt::black, Qt::AlignLeft);
}

void DrawNormBars(QPainter& painter, const StressReportData& data, const QFont& font) {
    const HrvResult& r = data.result;
    const HrvNormRow& norms = HrvNorms(StressReportNormRow(data.age));
    const double lnLf = std::log(r.lfPower);
    const double lnHf = std::log(r.hfPower);
    const struct {
        Bar bar;
        NormBounds norm;
        double value;
    } bars[] = {
        {Bar::LfPower, norms.lnLf, lnLf},
        {Bar::HfPower, norms.lnHf, lnHf},
        {Bar::Balance, norms.lnRatio, lnLf / lnHf},
        {Bar::MeanRate, norms.rate, r.meanRate},
        {Bar::Sdnn, norms.sdnn, r.sdnn},
        {Bar::Rmssd, norms.rmssd, r.rmssd},
    };
    for (const auto& b : bars)
        DrawNormBar(painter, kBars[static_cast<int>(b.bar)], b.norm, b.value, font);
}

void DrawDistribution(QPainter& painter, const StressReportData& data) {
    const QRectF area = RectOf(kDistribution);
    auto xOf = [&](double bpm) { return area.left() + bpm * area.width() / kDistributionBpm; };

    // The reference curve, its highest point at the top of the area.
    const HrvResult& r = data.result;
    double curve[kReferencePoints];
    for (int i = 0; i < kReferencePoints; ++i) {
        const double d = (i + 1) - r.rateNorm;
        curve[i] = 100 * std::exp(-d * d / (2 * r.rateNormSd * r.rateNormSd));
    }
    const double top = f_max(curve, kReferencePoints);
    if (top > 0 && std::isfinite(top)) {
        QPolygonF line;
        for (int i = 0; i < kReferencePoints; ++i)
            line.append(QPointF(xOf(i + 1), area.bottom() - curve[i] / top * area.height()));
        painter.setPen(QPen(kReferenceCurve, 1));
        painter.drawPolyline(line);
    }

    // The rates, binned: a bin of n rates reaches n / 100 of the height.
    const int count = static_cast<int>(data.rates.size());
    if (count == 0)
        return;
    const double lowest = f_min(data.rates.data(), count);
    const double highest = f_max(data.rates.data(), count);
    const int bins = static_cast<int>(f_nearest(highest - lowest));
    if (bins <= 0 || lowest >= 140)
        return;
    std::vector<double> histogram(static_cast<size_t>(bins));
    f_histogram(histogram.data(), bins, data.rates.data(), count);
    const double step = (highest - lowest) / bins;
    painter.setPen(QPen(kHistogramColour, 2, Qt::SolidLine, Qt::FlatCap));
    for (int k = 0; k < bins; ++k) {
        const double x = xOf(std::trunc(lowest) + k * step);
        const double height = histogram[static_cast<size_t>(k)] / 100 * area.height();
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() - height));
    }
}

void DrawBalanceMark(QPainter& painter, const HrvResult& r) {
    const double lnLf = std::log(r.lfPower);
    const double lnHf = std::log(r.hfPower);
    if (!std::isfinite(lnLf) || !std::isfinite(lnHf))
        return;
    const QRectF area = RectOf(kBalanceMap);
    const double cellWidth = area.width() / kBalanceCells;
    const double cellHeight = area.height() / kBalanceCells;
    const QPointF corner(area.left() + (lnLf - kBalanceOffset) * cellWidth,
                         area.bottom() - (lnHf + kBalanceOffset) * cellHeight);
    painter.fillRect(QRectF(corner, QSizeF(kBalanceMark, kBalanceMark)), kBalanceMarkColour);
}

void DrawGauge(QPainter& painter, double stress) {
    const QRectF gauge = RectOf(kGauge);
    const double x = gauge.left() + gauge.width() * stress / 100;
    painter.setPen(QPen(Qt::white, kGaugeLineWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(x, gauge.top() - 1), QPointF(x, gauge.bottom() + 2));
    // The arrow: a head as wide as two pen widths whose point touches the gauge's top edge.
    const double start = gauge.top() - kArrowLength;
    const double head = 2 * kGaugeLineWidth;
    QPainterPath arrow;
    arrow.moveTo(x - head / 2, start - head / 2);
    arrow.lineTo(x + head / 2, start - head / 2);
    arrow.lineTo(x, gauge.top());
    arrow.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kArrowColour);
    painter.drawPath(arrow);
    painter.setBrush(Qt::NoBrush);
}

} // namespace

int StressReportNormRow(int age) {
    return std::clamp((age - 1) / 10 - 1, 0, kHrvNormRows - 1);
}

QImage ComposeStressReportPage(QSize pageSize, const StressReportData& data,
                               const QImage& background, const QString& fontFace) {
    QImage page(pageSize, QImage::Format_ARGB32_Premultiplied);
    if (page.isNull())
        return page;
    ReportPagePainter painter(&page, background, QSize(kPageWidth, kPageHeight));
    const HrvResult& r = data.result;
    DrawText(painter, RectOf(kDateTime), data.dateTimeText,
             PanelFont(QStringLiteral("Arial"), kDateTimeFontSize, true), Qt::black,
             Qt::AlignRight);
    DrawText(painter, RectOf(kUserLine), data.userLine, PanelFont(fontFace, kUserFontSize, true),
             kUserColour, Qt::AlignHCenter);
    DrawText(painter, RectOf(kComplexity), QString::asprintf("%.1f", r.diff2Index),
             PanelFont(fontFace, kComplexityFontSize, true), Qt::black, Qt::AlignHCenter);
    DrawTrace(painter, data.chart);
    DrawNormBars(painter, data, PanelFont(fontFace, kBarFontSize, true));
    DrawDistribution(painter, data);
    DrawBalanceMark(painter, r);
    DrawText(painter, RectOf(kStressFigure), QString::asprintf("%.0f", r.stressScoreCopy),
             PanelFont(fontFace, kStressFontSize, true), kStressColour, Qt::AlignHCenter);
    DrawGauge(painter, r.stressScoreCopy);
    return page;
}

QRect StressPrintedRect(QSize pageSize) {
    return QRect(kPrintLeft, kBandHeight, pageSize.width() - kPrintWidthCut,
                 pageSize.height() - kPrintHeightCut);
}
