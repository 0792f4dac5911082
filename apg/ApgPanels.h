#pragma once
// The contents of the test windows' panels, one drawing function each. Every function draws
// into a painter whose origin is the panel's top-left corner, over whatever the panel's
// background is; size is the panel's size in pixels (w x h). They read nothing but their
// arguments, so the wellness and the stress window draw the same panels from their own data.
// Threads: GUI thread (or any thread that owns the painter's device).

#include "analysis/ApgCanvas.h"

#include <QColor>
#include <QSize>
#include <QString>

#include <array>
#include <span>

class QPainter;

// The newest values of a series, oldest first (at most one sweep, w - 8 values), and the
// number of values in the whole series.
struct SweepValues {
    std::span<const double> tail;
    int total = 0;
};

inline const QColor kPulseWaveColor{255, 255, 0};
inline const QColor kDiff1Color{0, 255, 255};
inline const QColor kDiff2Color{255, 0, 255};

// Oscilloscope sweep of the pulse wave, scaled to the pulse ring's range (ringMin - 10 at the
// bottom, ringMax + 10 at the top). Nothing below 2 values.
void DrawPulseSweep(QPainter& painter, QSize size, const SweepValues& values, int ringMin,
                    int ringMax);
// Sweep of a derivative with 0 in the middle and +-extent (the largest absolute value of the
// whole series) at the edges, over a zero line. The zero line is drawn from 2 values on.
void DrawDerivativeSweep(QPainter& painter, QSize size, const SweepValues& values, double extent,
                         const QColor& colour);

// The live rate, truncated ("--" for 0).
void DrawPulseRate(QPainter& painter, QSize size, double rateBpm);
// Bar full at 60 %, red below 4 % and orange from 4 %, with the percentage.
void DrawSignalStrength(QPainter& painter, QSize size, double strengthPercent);
// Bar full at fullSeconds (60 in the wellness window, 150 in the stress window), with
// "mm:ss" from 1 s on.
void DrawElapsedTime(QPainter& painter, QSize size, int seconds, int fullSeconds);
// The marker of the type (0..6) on the A..G scale; nothing for -1. scaleX is the layout
// scale, panelX the panel's left edge in pixels.
void DrawTypeMarker(QPainter& painter, QSize size, int typeIndex, double scaleX, int panelX);
// The standard curve of the age group, and the person's mean curve from 2 qualified beats.
void DrawStandardSignal(QPainter& painter, QSize size, int age, const ApgSummary& summary);
// The index truncated, nothing when that is not above 0.
void DrawWellnessIndex(QPainter& painter, QSize size, double index);
// The three bands below 30, 30 to 69, from 70 with their names (60104, 60105, 60106).
void DrawIndexScale(QPainter& painter, QSize size, const std::array<QString, 3>& bandNames);
// A bar as long as the index in percent of the width, in the colour of its band.
void DrawIndexBar(QPainter& painter, QSize size, double index);

// The standard second-derivative shape of an age group: a, b/a, c/a, d/a, e/a. Ages below 0
// use the youngest group, ages from 90 the oldest.
std::array<double, 5> StandardShape(int age);
