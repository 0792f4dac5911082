#include "apg/ApgPanels.h"

#include "apg/ApgLayout.h"
#include "apg/CardinalSpline.h"
#include "apg/PanelFont.h"
#include "apg/VirPoint.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kInset = 8; // pixels the graphs leave free across a panel
const QString kArial = QStringLiteral("Arial");

const QColor kAmber(255, 210, 0);
const QColor kZeroLine(128, 128, 128, 200);
const QColor kTextWhite(255, 255, 255);
const QColor kStrengthLow(255, 0, 0, 240);
const QColor kStrengthOk(255, 114, 0, 240);
const QColor kTimeBlue(1, 80, 172, 240);
const QColor kBandLow(255, 0, 0, 210);
const QColor kBandMiddle(237, 193, 0, 210);
const QColor kBandHigh(97, 171, 0, 210);
const QColor kBandText(255, 255, 255, 220);
const QColor kMarkerOuter(200, 200, 200, 220);
const QColor kMarkerInner(0, 128, 255, 220);
const QColor kStandardCurve(0, 255, 255, 50);

constexpr double kStrengthFull = 60.0; // percent at which the strength bar is full
constexpr double kQualifiedStrength = ApgCanvas::kQualifiedStrength;
constexpr int kLowBand = 30; // index bands: below 30, 30 to 69, from 70
constexpr int kHighBand = 70;

// b/a, c/a, d/a, e/a of the standard curves, one row per age decade 0-9 .. 80-89.
constexpr double kStandardRatios[9][4] = {
    {-0.9, 0.15, -0.1, 0.21},   {-0.9, 0.15, -0.12, 0.21},   {-0.79, 0.01, -0.15, 0.21},
    {-0.72, 0.01, -0.22, 0.21}, {-0.68, -0.08, -0.29, 0.22}, {-0.57, -0.18, -0.38, 0.19},
    {-0.48, -0.2, -0.44, 0.17}, {-0.4, -0.24, -0.46, 0.12},  {-0.4, -0.24, -0.46, 0.12},
};

// One run of a sweep: the values first..last (series indices), value `first` at step
// firstStep and each next one a step further right, as one connected line. Values that
// the tail does not hold are left out.
template <class Value>
void DrawRun(QPainter& painter, const CVirPoint& map, const SweepValues& values, int firstStep,
             int first, int last, Value value) {
    const int base = values.total - static_cast<int>(values.tail.size()); // index of tail[0]
    QPolygon line;
    for (int j = std::max(first, base); j <= last; ++j)
        line.append(map.Map(firstStep + (j - first), value(values.tail[j - base])));
    if (line.size() >= 2)
        painter.drawPolyline(line);
}

// The oscilloscope trace: the current sweep from the left edge up to the newest value, and
// the rest of the previous sweep after a gap of one step.
template <class Value>
void DrawSweep(QPainter& painter, const CVirPoint& map, int width, const SweepValues& values,
               const QColor& colour, Value value) {
    const int n = values.total;
    const int s = n - n % width; // first value of the current sweep
    painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    DrawRun(painter, map, values, 0, s, n - 1, value);
    if (s > 0) {
        const int firstStep = n - s + 1;
        const int first = n - width; // the value drawn at firstStep
        DrawRun(painter, map, values, firstStep, first, first + (width - 1 - firstStep), value);
    }
}

void DrawCenteredText(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
                      const QColor& colour) {
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area, Qt::AlignCenter | Qt::TextDontClip, text);
}

QColor BandColour(int index) {
    if (index < kLowBand)
        return kBandLow;
    return index < kHighBand ? kBandMiddle : kBandHigh;
}

// The curve mapping of the standard signal and the a-e diagram: -1 .. +1 over the height.
CVirPoint CurveMapping(QSize size) {
    const int width = size.width() - kInset;
    CVirPoint map(width + 1, 7 - size.height());
    map.SetVirtualSize(width, 2);
    map.SetYOffset((size.height() - kInset) / 2 + 4);
    return map;
}

// Ten points at i * W / 10 through the values.
std::array<QPointF, 10> CurvePoints(QSize size, const std::array<double, 10>& values) {
    const int width = size.width() - kInset;
    const CVirPoint map = CurveMapping(size);
    std::array<QPointF, 10> points;
    for (int i = 0; i < 10; ++i)
        points[i] = map.Map(i * width / 10, values[i]);
    return points;
}

} // namespace

void DrawPulseSweep(QPainter& painter, QSize size, const SweepValues& values, int ringMin,
                    int ringMax) {
    const int width = size.width() - kInset;
    const int height = size.height() - kInset;
    if (values.total < 2 || values.tail.empty() || width <= 0)
        return;
    const int bottom = ringMin - 10;
    CVirPoint map(width + 1, -(height + 1));
    map.SetVirtualSize(width, std::abs((ringMax + 10) - bottom));
    map.SetYOffset(height + 3);
    DrawSweep(painter, map, width, values, kPulseWaveColor,
              [bottom](double v) { return v - bottom; });
}

void DrawDerivativeSweep(QPainter& painter, QSize size, const SweepValues& values, double extent,
                         const QColor& colour) {
    const int width = size.width() - kInset;
    const int height = size.height() - kInset;
    if (values.total < 2 || values.tail.empty() || width <= 0)
        return;
    CVirPoint map(width + 1, -(height + 1));
    map.SetVirtualSize(width, 2 * extent);
    map.SetYOffset(height / 2 + 4);
    const int middle = map.Map(0, 0).y();
    // The zero line from x 4 to W + 4, one pixel high (filled: a line of this pen would be
    // handed to the paint engine's worker threads, and the tick would wait for them).
    painter.fillRect(QRect(4, middle, width + 1, 1), kZeroLine);
    DrawSweep(painter, map, width, values, colour, [](double v) { return v; });
}

void DrawPulseRate(QPainter& painter, QSize size, double rateBpm) {
    const int rate = static_cast<int>(rateBpm);
    const QString text = rate == 0 ? QStringLiteral("--") : QString::number(rate);
    const QRectF area(0, 10, size.width() - kInset, size.height() - kInset);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawCenteredText(painter, area, text, PanelFont(kArial, size.height() - kInset, false), kAmber);
}

void DrawSignalStrength(QPainter& painter, QSize size, double strengthPercent) {
    const int w = size.width();
    const int h = size.height();
    const double bar = w * strengthPercent / kStrengthFull;
    if (bar > 0) {
        painter.fillRect(QRectF(0, 0, bar, h),
                         strengthPercent < kQualifiedStrength ? kStrengthLow : kStrengthOk);
    }
    if (strengthPercent > 0) {
        DrawCenteredText(painter, QRectF(0, 0, std::max(bar, 40.0), h),
                         QString::asprintf("%.0f%%", strengthPercent),
                         PanelFont(kArial, h * 3 / 5, true), kTextWhite);
    }
}

void DrawElapsedTime(QPainter& painter, QSize size, int seconds, int fullSeconds) {
    const int w = size.width();
    const int h = size.height();
    const int bar = fullSeconds > 0 ? w * seconds / fullSeconds : 0;
    if (bar > 0)
        painter.fillRect(QRect(0, 0, bar, h), kTimeBlue);
    if (seconds > 0) {
        DrawCenteredText(painter, QRectF(0, 0, std::max(bar, 60), h),
                         QString::asprintf("%02d:%02d", seconds / 60, seconds % 60),
                         PanelFont(kArial, h * 3 / 5, true), kTextWhite);
    }
}

void DrawTypeMarker(QPainter& painter, QSize size, int typeIndex, double scaleX, int panelX) {
    if (typeIndex < 0)
        return;
    const int x =
        static_cast<int>(scaleX * (kApgTypeScaleX + kApgTypeScaleStep * typeIndex)) - panelX;
    const int h = size.height();
    painter.setPen(QPen(kMarkerOuter, 8, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(x, 0, x, h);
    painter.setPen(QPen(kMarkerInner, 4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(x, 2, x, h - 2);
}

std::array<double, 5> StandardShape(int age) {
    const int group = std::clamp(age / 10, 0, 8);
    const double* r = kStandardRatios[group];
    return {1.0, r[0], r[1], r[2], r[3]};
}

void DrawStandardSignal(QPainter& painter, QSize size, int age, const ApgSummary& summary) {
    if (size.width() <= kInset || size.height() <= kInset)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const std::array<double, 5> shape = StandardShape(age);
    const std::array<QPointF, 10> standard =
        CurvePoints(size, {0, 0, 0, shape[0], shape[1], shape[2], shape[3], shape[4], 0, 0});
    painter.setPen(QPen(kStandardCurve, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(CardinalSpline(standard));
    if (summary.qualified >= 2) {
        const std::array<QPointF, 10> own =
            CurvePoints(size, {0, 0, 0, 1, summary.ba, summary.ca, summary.da, summary.ea, 0, 0});
        painter.setPen(QPen(kPulseWaveColor, 2));
        painter.drawPath(CardinalSpline(own));
    }
}

void DrawWellnessIndex(QPainter& painter, QSize size, double index) {
    const int x = static_cast<int>(index);
    if (x <= 0)
        return;
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawCenteredText(painter, QRectF(QPointF(0, 0), size), QString::number(x),
                     PanelFont(kArial, size.height(), false), kAmber);
}

void DrawIndexScale(QPainter& painter, QSize size, const std::array<QString, 3>& bandNames) {
    const int w = size.width();
    const int h = size.height();
    const int edges[] = {0, w * kLowBand / 100, w * kHighBand / 100, w};
    const QColor colours[] = {kBandLow, kBandMiddle, kBandHigh};
    const QFont font = PanelFont(kArial, h - 6, true);
    for (int band = 0; band < 3; ++band) {
        const QRect area(edges[band], 0, edges[band + 1] - edges[band], h);
        painter.fillRect(area, colours[band]);
        DrawCenteredText(painter, area, bandNames[band], font, kBandText);
    }
}

void DrawIndexBar(QPainter& painter, QSize size, double index) {
    const int x = static_cast<int>(index);
    if (x <= 0)
        return;
    // Not limited to the panel: an index above 100 runs past its edge.
    painter.fillRect(QRect(0, 0, x * size.width() / 100, size.height()), BandColour(x));
}
