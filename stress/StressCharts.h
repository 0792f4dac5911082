#pragma once
// The two charts of the stress window: the heart-rate chart (the rate timeline, 150 seconds
// per page) and the LF/HF chart (the smoothed LF share of each second, 150 values per page).
// Each draws into a painter whose origin is the panel's top-left corner, over the panel's
// background; size is the panel's size in pixels (w x h). They read nothing but their
// arguments.
// Threads: GUI thread (or any thread that owns the painter's device).

#include "analysis/Hrv.h"

#include <QSize>

class QPainter;

inline constexpr int kHeartRatePageTicks = 600; // 150 s of tick markers
inline constexpr int kLfHfPageValues = 150;     // 150 s of LF shares

// Rate grid (30, 60, 90, 120 bpm) with labels, a time line every 30 s with its minute, and
// the rate curve of the page (RateTrace.h), the page starting at tick dropped + scroll.
void DrawHeartRateChart(QPainter& painter, QSize size, const RateChartCopy& chart);

// The reference line at 60 %, the minute labels, and one bar per value: the LF share from the
// bottom in dark red, the HF share above it in blue, each barWidth pixels wide.
void DrawLfHfChart(QPainter& painter, QSize size, const LfHfChartCopy& chart, int barWidth);
