#pragma once
// What the pictures of the wellness test share: the second-derivative wave through its a to e
// waves, the typical shapes of the seven wellness types, and the index bands.

#include "PictureContext.h"

#include <QColor>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>

class QPainter;

namespace ApgFigures {

// The wave shapes of the types A to G (a = 1, then b/a, c/a, d/a, e/a).
inline constexpr std::array<std::array<double, 5>, 7> kTypeShapes = {{
    {1, -0.9, 0.15, 0.05, 0.2},
    {1, -0.8, -0.1, -0.3, 0.2},
    {1, -0.7, -0.35, -0.3, 0.18},
    {1, -0.5, -0.35, -0.5, 0.15},
    {1, -0.4, -0.3, -0.58, 0.12},
    {1, -0.35, -0.3, -0.62, 0.1},
    {1, -0.25, -0.3, -0.6, 0.1},
}};

// The index bands: below 30, 30 to 69, 70 and above.
inline const QColor kBandColours[3] = {QColor(226, 60, 40), QColor(222, 178, 0),
                                       QColor(97, 160, 0)};
inline constexpr double kBandEdges[4] = {0, 0.3, 0.7, 1.0};

// The second-derivative wave through a = 1, b, c, d, e (the ratios to a) in area, 0 in the
// middle, as a smooth curve; returns the five wave points.
std::array<QPointF, 5> AeCurve(QPainter& painter, const QRectF& area,
                               const std::array<double, 5>& waves, const QPen& pen);

// The name of index band 0..2 as the window's scale shows it (texts 60104 to 60106; the
// Japanese and Chinese tables lack them).
QString IndexBandName(const PictureContext& context, int band);

} // namespace ApgFigures
