#pragma once
// The stress report page: composes the figures of one stress test over the page's picture,
// at any size (the design space of StressReportLayout.h scaled to it).
// Threads: any thread that owns the images.

#include "analysis/Hrv.h"
#include "analysis/HrvResult.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

// What the page shows.
struct StressReportData {
    QString dateTimeText; // of the recording
    QString userLine;     // "name / sex / age" of the current user
    HrvResult result;
    int age = -1;              // the recording's age in years: selects the norm row
    RateChartCopy chart;       // the rate timeline and where its display starts
    std::vector<double> rates; // the rate queue, oldest first
};

// Row of the norm tables for the bars: (age - 1) / 10 - 1, limited to 0..5.
int StressReportNormRow(int age);

// The page at pageSize pixels: the background stretched over it (nothing where it is null),
// then the figures.
QImage ComposeStressReportPage(QSize pageSize, const StressReportData& data,
                               const QImage& background, const QString& fontFace);

// The part of a page that is printed: no fixed band, no margins.
QRect StressPrintedRect(QSize pageSize);
