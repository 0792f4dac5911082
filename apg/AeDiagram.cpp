#include "apg/AeDiagram.h"

#include "apg/CardinalSpline.h"
#include "apg/PanelFont.h"
#include "apg/VirPoint.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

constexpr int kInset = 8;     // pixels the graph leaves free across the box
constexpr int kPoints = 10;   // points of the curve
constexpr int kFirstWave = 3; // the a wave is point 3, e point 7

constexpr double kLetterSize = 0.7; // letter height in text lines
constexpr double kTextSize = 0.75;  // text height in text lines

QString Format(const char* format, double value) {
    return QString::asprintf(format, value);
}

// The text placed in area by flags, in colour, over an outline in halo (when not transparent).
void DrawText(QPainter& painter, const QRectF& area, int flags, const QString& text,
              const QColor& colour, const QColor& halo) {
    if (halo.alpha() == 0) {
        painter.setPen(colour);
        painter.drawText(area, flags, text);
        return;
    }
    // The outline: the text in the halo's colour one pixel away in eight directions (cached
    // glyphs, far cheaper than stroking the glyphs' outlines), then the text over it.
    painter.setPen(halo);
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (dx != 0 || dy != 0)
                painter.drawText(area.translated(dx, dy), flags, text);
        }
    }
    painter.setPen(colour);
    painter.drawText(area, flags, text);
}

} // namespace

void DrawAeDiagram(QPainter& painter, const QRectF& box, const ApgSummary& summary,
                   const AeDiagramPens& pens, const QString& fontFace) {
    const int w = static_cast<int>(box.width());
    const int h = static_cast<int>(box.height());
    const int width = w - kInset;  // W
    const int height = h - kInset; // H
    const int line = height / 10;  // L
    if (width <= 0 || height <= 0)
        return;

    painter.save();
    painter.translate(box.topLeft());

    CVirPoint map(width + 1, 7 - h);
    map.SetVirtualSize(width, 2);
    map.SetYOffset(height / 2 + 4);
    const int middle = map.Map(0, 0).y();
    painter.setPen(pens.zeroLine);
    painter.drawLine(4, middle, width + 4, middle);
    painter.setRenderHint(QPainter::Antialiasing); // the curve and the letters

    if (summary.qualified >= kAeDiagramMinBeats) {
        const std::array<double, kPoints> values = {
            0, 0, 0, 1, summary.ba, summary.ca, summary.da, summary.ea, 0, 0};
        std::array<QPointF, kPoints> points;
        for (int i = 0; i < kPoints; ++i)
            points[i] = map.Map(i * width / 10, values[i]);

        painter.setFont(PanelFont(fontFace, kLetterSize * line, true));
        static const char* const kLetters[] = {"a", "b", "c", "d", "e"};
        for (int k = 0; k < 5; ++k) {
            const QPointF& p = points[kFirstWave + k];
            const QRectF letterBox(p.x() - width / 10, p.y(), width / 20, line);
            DrawText(painter, letterBox, Qt::AlignCenter | Qt::TextDontClip,
                     QString::fromLatin1(kLetters[k]), pens.letters, pens.textHalo);
        }

        painter.setPen(pens.curve);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(CardinalSpline(points));

        // The rows keep to the right, clear of the a wave above and the b wave below; the
        // halo keeps them readable where the d and e waves pass.
        painter.setFont(PanelFont(fontFace, kTextSize * line, true));
        const struct {
            double row;
            QString text;
        } rows[] = {
            {0, Format("a-b : %.0f ms", summary.abMs)}, {1, Format("a-c : %.0f ms", summary.acMs)},
            {2, Format("a-d : %.0f ms", summary.adMs)}, {3, Format("a-e : %.0f ms", summary.aeMs)},
            {6.5, Format("b/a : %+.02f ", summary.ba)}, {7.5, Format("c/a : %+.02f ", summary.ca)},
            {8.5, Format("d/a : %+.02f ", summary.da)}, {9.5, Format("e/a : %+.02f ", summary.ea)},
        };
        for (const auto& row : rows) {
            DrawText(painter, QRectF(0, row.row * line, width, line),
                     Qt::AlignRight | Qt::AlignVCenter, row.text, pens.text, pens.textHalo);
        }
    }
    painter.restore();
}
