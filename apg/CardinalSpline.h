#pragma once
// A cardinal spline through a row of points, as a path of cubic Bezier segments: the curve
// passes through every point, and its tangent at a point is tension * (next - previous)
// (the end points use themselves in place of the missing neighbour). Tension 0.5 is the
// Catmull-Rom curve, the usual default of curve drawing.

#include <QPainterPath>
#include <QPointF>

#include <span>

inline constexpr double kDefaultCurveTension = 0.5;

// Empty for no point; a single point gives a path that only moves there.
QPainterPath CardinalSpline(std::span<const QPointF> points, double tension = kDefaultCurveTension);
