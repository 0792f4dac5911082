#include "stress/StressCharts.h"

#include "apg/PanelFont.h"
#include "apg/VirPoint.h"
#include "stress/RateTrace.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

const QColor kGridColour(30, 30, 30);
const QColor kLabelColour(255, 255, 0);
const QColor kCurveColour(255, 64, 255);
const QColor kLfColour(120, 0, 0, 180);
const QColor kHfColour(0, 74, 160, 180);
const QColor kLfHfLabelColour(200, 200, 200);
const QString kTimes = QStringLiteral("Times New Roman");

constexpr int kLowBpm = 30;
constexpr int kSpanBpm = 90;
constexpr int kTicksPerMinute = 4 * 60;
constexpr int kTicksPerGridLine = 120; // 30 s
constexpr int kLfHfReference = 60;     // percent
constexpr int kValuesPerLabel = 30;

void DrawLabel(QPainter& painter, int x, int bottom, const QString& text) {
    painter.drawText(
        QRect(x, bottom - painter.fontMetrics().height(), 60, painter.fontMetrics().height()),
        Qt::AlignLeft | Qt::AlignBottom, text);
}

} // namespace

void DrawHeartRateChart(QPainter& painter, QSize size, const RateChartCopy& chart) {
    const int w = size.width();
    const int h = size.height();
    CVirPoint map(w, -h);
    map.SetVirtualSize(kHeartRatePageTicks, kSpanBpm);
    map.SetYOffset(h);
    auto at = [&](double tick, double rate) { return map.Map(tick, rate - kLowBpm); };
    painter.setFont(PanelFont(kTimes, std::max(1, h / 8), false));

    // Rate grid, while 30 bpm are at least 6 pixels high, and a time line every 30 s of the
    // page; then the labels over the lines: each rate above its line (the top one below it)
    // in a column at the left edge, each minute at the bottom right of its line.
    const int lineHeight = painter.fontMetrics().height();
    const int labelColumn = painter.fontMetrics().horizontalAdvance(QStringLiteral("120 "));
    const bool rateGrid = std::fabs(map.ScaleY() * 30) >= 6;
    painter.setPen(QPen(kGridColour, 1));
    for (int rate = kLowBpm; rateGrid && rate <= kLowBpm + kSpanBpm; rate += 30)
        painter.drawLine(0, at(0, rate).y(), w, at(0, rate).y());
    const int firstTick = chart.droppedTicks + chart.scrollPosition;
    std::vector<std::pair<int, int>> minutes; // x, minute
    for (int p = 0; p < kHeartRatePageTicks; ++p) {
        const int tick = firstTick + p;
        if (tick % kTicksPerGridLine != 0)
            continue;
        const int x = at(p, kLowBpm).x();
        painter.setPen(QPen(kGridColour, tick % kHeartRatePageTicks == 0 ? 2 : 1));
        painter.drawLine(x, 0, x, h);
        minutes.emplace_back(x, tick / kTicksPerMinute);
    }
    painter.setPen(kLabelColour);
    for (int rate = kLowBpm; rateGrid && rate <= kLowBpm + kSpanBpm; rate += 30) {
        const int y = at(0, rate).y();
        const int top = y - lineHeight >= 0 ? y - lineHeight : y;
        painter.drawText(QRect(0, top, labelColumn, lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::asprintf("%3d", rate));
    }
    for (const auto& [x, minute] : minutes) {
        if (x + 2 >= labelColumn)
            DrawLabel(painter, x + 2, h, QString::number(minute));
    }

    // The curve.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kCurveColour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const auto& segment :
         RateTraceSegments(chart.timeline, chart.scrollPosition, kHeartRatePageTicks)) {
        QPolygon line;
        for (const TracePoint& point : segment)
            line.append(at(point.tick, point.rate));
        if (line.size() >= 2)
            painter.drawPolyline(line);
    }
}

void DrawLfHfChart(QPainter& painter, QSize size, const LfHfChartCopy& chart, int barWidth) {
    const int w = size.width();
    const int h = size.height();
    CVirPoint map(w, -h);
    map.SetVirtualSize(kLfHfPageValues, 100);
    map.SetYOffset(h);

    painter.setPen(QPen(kGridColour, 1));
    painter.drawLine(map.Map(0, kLfHfReference), map.Map(kLfHfPageValues, kLfHfReference));

    // Bars from the value after the scroll position on, at positions 1 .. 149.
    const int count = static_cast<int>(chart.history.size());
    const QPen lf(kLfColour, barWidth, Qt::SolidLine, Qt::FlatCap);
    const QPen hf(kHfColour, barWidth, Qt::SolidLine, Qt::FlatCap);
    for (int p = 1; p < kLfHfPageValues; ++p) {
        const int index = chart.scrollPosition + p;
        if (index >= count)
            break;
        if (index < 0)
            continue;
        const double share = chart.history[static_cast<size_t>(index)];
        const QPoint bottom = map.Map(p, 0);
        const QPoint level = map.Map(p, share);
        const QPoint top = map.Map(p, 100);
        painter.setPen(lf);
        painter.drawLine(bottom, level);
        painter.setPen(hf);
        painter.drawLine(level, top);
    }

    // The labels over the bars, so that they stay readable.
    painter.setFont(PanelFont(kTimes, std::max(1, h / 8), false));
    painter.setPen(kLfHfLabelColour);
    const int first = chart.droppedValues + chart.scrollPosition;
    for (int i = 0; i <= kLfHfPageValues; ++i) {
        const int value = first + i;
        if (value % kValuesPerLabel == 0)
            DrawLabel(painter, map.Map(i, 0).x() + 2, h, QString::number(value / 60));
    }
}
