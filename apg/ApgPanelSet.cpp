#include "apg/ApgPanelSet.h"

#include "analysis/Hrv.h"
#include "apg/AeDiagram.h"
#include "apg/ApgPanels.h"

#include <QPainter>

#include <vector>

namespace {
constexpr int kInset = 8; // pixels a sweep leaves free across its panel: W = w - 8

// The newest sweep of a series (at most w - 8 values) and its count and extent.
struct SweepCopy {
    std::vector<double> tail;
    int held = 0;
    int total = 0;
    double extent = 0;

    SweepValues Values() const { return {std::span<const double>(tail.data(), held), total}; }
};

SweepCopy CopySweep(CHrv& hrv, CHrv::Series series, int sweep) {
    SweepCopy copy;
    copy.tail.resize(static_cast<size_t>(sweep));
    copy.held = hrv.CopySeriesTail(series, copy.tail.data(), sweep, &copy.total, &copy.extent);
    return copy;
}
} // namespace

void CApgPanelSet::Cut(const QImage& background, double scaleX, double scaleY, qreal ratio) {
    m_scaleX = scaleX;
    for (int i = 0; i < kApgPanelCount; ++i) {
        Slot& slot = m_slots[i];
        const DesignRect& r = ApgPanelRects[i];
        slot.rect = QRect(static_cast<int>(r.x * scaleX), static_cast<int>(r.y * scaleY),
                          static_cast<int>(r.width * scaleX), static_cast<int>(r.height * scaleY));
        const QRect pixels =
            QRectF(QPointF(slot.rect.topLeft()) * ratio, QSizeF(slot.rect.size()) * ratio).toRect();
        if (background.isNull()) {
            slot.background = QImage(pixels.size(), QImage::Format_ARGB32_Premultiplied);
            slot.background.fill(Qt::black);
        } else {
            slot.background =
                background.copy(pixels).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
        slot.background.setDevicePixelRatio(ratio);
        slot.image = slot.background;
    }
}

void CApgPanelSet::DrawPulseWave(CHrv& hrv) {
    const int sweep = Rect(ApgPanel::PulseWave).width() - kInset;
    if (sweep <= 0)
        return;
    // The conditioned pulse: the first 65 s of it are the APG object's pulse series as well.
    const SweepCopy copy = CopySweep(hrv, CHrv::Series::Signal, sweep);
    int ringMin = 0;
    int ringMax = 0;
    hrv.PulseRingRange(&ringMin, &ringMax);
    Render(ApgPanel::PulseWave, [&](QPainter& p, QSize size) {
        DrawPulseSweep(p, size, copy.Values(), ringMin, ringMax);
    });
}

void CApgPanelSet::DrawDerivatives(CHrv& hrv) {
    const struct {
        ApgPanel panel;
        CHrv::Series series;
        const QColor& colour;
    } graphs[] = {{ApgPanel::Diff1, CHrv::Series::ApgDiff1, kDiff1Color},
                  {ApgPanel::Diff2, CHrv::Series::ApgDiff2, kDiff2Color}};
    for (const auto& graph : graphs) {
        const int sweep = Rect(graph.panel).width() - kInset;
        if (sweep <= 0)
            continue;
        const SweepCopy copy = CopySweep(hrv, graph.series, sweep);
        Render(graph.panel, [&](QPainter& p, QSize size) {
            DrawDerivativeSweep(p, size, copy.Values(), copy.extent, graph.colour);
        });
    }
}

void CApgPanelSet::DrawRateAndStrength(CHrv& hrv) {
    const RateDisplay rate = hrv.CopyRateDisplay();
    int ringMin = 0;
    int ringMax = 0;
    hrv.PulseRingRange(&ringMin, &ringMax);
    const double strength = static_cast<double>(ringMax - ringMin) * 100 / 512;
    Render(ApgPanel::PulseRate, [&](QPainter& p, QSize s) { DrawPulseRate(p, s, rate.rateBpm); });
    Render(ApgPanel::SignalStrength,
           [&](QPainter& p, QSize s) { DrawSignalStrength(p, s, strength); });
}

void CApgPanelSet::DrawWellnessFigures(const ApgSummary& summary, const ApgFigureTexts& texts) {
    const int typePanelX = Rect(ApgPanel::WellnessType).x();
    Render(ApgPanel::WellnessType, [&](QPainter& p, QSize s) {
        DrawTypeMarker(p, s, summary.typeIndex, m_scaleX, typePanelX);
    });
    Render(ApgPanel::StandardSignal,
           [&](QPainter& p, QSize s) { DrawStandardSignal(p, s, texts.age, summary); });
    Render(ApgPanel::WellnessIndex,
           [&](QPainter& p, QSize s) { DrawWellnessIndex(p, s, summary.wellnessIndex); });
    Render(ApgPanel::IndexScale,
           [&](QPainter& p, QSize s) { DrawIndexScale(p, s, texts.bandNames); });
    Render(ApgPanel::IndexBar,
           [&](QPainter& p, QSize s) { DrawIndexBar(p, s, summary.wellnessIndex); });
    AeDiagramPens pens;
    pens.textHalo = QColor(4, 12, 24); // the dark tile under the panel
    Render(ApgPanel::AeDiagram, [&](QPainter& p, QSize s) {
        DrawAeDiagram(p, QRectF(QPointF(0, 0), s), summary, pens, texts.fontFace);
    });
}

void CApgPanelSet::DrawTime(CHrv& hrv, int fullSeconds) {
    const int seconds = hrv.CopyRateDisplay().seconds;
    Render(ApgPanel::Time,
           [&](QPainter& p, QSize s) { DrawElapsedTime(p, s, seconds, fullSeconds); });
}

void CApgPanelSet::Paint(QPainter& painter, const QRect& area) const {
    for (const Slot& slot : m_slots) {
        if (!slot.image.isNull() && area.intersects(slot.rect))
            painter.drawImage(slot.rect.topLeft(), slot.image);
    }
}
