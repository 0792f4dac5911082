#include "apg/CardinalSpline.h"

#include <cstddef>

QPainterPath CardinalSpline(std::span<const QPointF> points, double tension) {
    QPainterPath path;
    if (points.empty())
        return path;
    path.moveTo(points[0]);
    const size_t last = points.size() - 1;
    // Each Bezier control point lies a third of the tangent away from its end point.
    const double k = tension / 3.0;
    for (size_t i = 0; i < last; ++i) {
        const QPointF& before = points[i == 0 ? 0 : i - 1];
        const QPointF& from = points[i];
        const QPointF& to = points[i + 1];
        const QPointF& after = points[i + 1 == last ? last : i + 2];
        path.cubicTo(from + k * (to - before), to - k * (after - from), to);
    }
    return path;
}
