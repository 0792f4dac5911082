#pragma once
// The a-e diagram of a wellness test: the mean second-derivative wave through the a to e
// points with their letters, over a zero line, and the four mean intervals and four mean
// ratios as text lines. Drawn by the test window's panel and by the report page, each with
// its own pens.
//
// Geometry inside the box (w x h pixels): W = w - 8, H = h - 8, L = H / 10 (one text line).
// The values -1 .. +1 fill the height; point i (0..9) lies at i * W / 10 with the values
// 0, 0, 0, 1, b/a, c/a, d/a, e/a, 0, 0. The letters a to e sit in boxes W / 20 wide and L
// high, W / 10 left of their points, their tops at the points' heights. The intervals take
// the rows 0 to 3 (top), the ratios the rows at 6.5 L to 9.5 L. The curve, the letters and
// the texts are drawn only from 2 qualified beats on; the zero line always.
// Threads: GUI thread (or any thread that owns the painter's device).

#include "analysis/ApgCanvas.h"

#include <QColor>
#include <QPen>
#include <QRectF>
#include <QString>

class QPainter;

struct AeDiagramPens {
    QPen zeroLine{QColor(128, 128, 128, 200), 1};
    QPen curve{QColor(255, 210, 0, 255), 2};
    QColor letters{255, 210, 0, 200};
    QColor text{136, 136, 136, 255};
    // Outline around the letters and texts, in the colour behind the diagram, so that they
    // stay readable where the curve runs under them; transparent: none.
    QColor textHalo{Qt::transparent};
};

inline constexpr int kAeDiagramMinBeats = 2; // qualified beats before the means are drawn

// Draws into box (its size truncated to whole pixels) with fontFace, bold.
void DrawAeDiagram(QPainter& painter, const QRectF& box, const ApgSummary& summary,
                   const AeDiagramPens& pens, const QString& fontFace);
