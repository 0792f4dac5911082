#pragma once
// The wellness report page: composes the figures of one recording and the user's history over
// the page's picture, at any size (the design space of ApgReportLayout.h scaled to it).
// Threads: any thread that owns the images.

#include "analysis/ApgCanvas.h"
#include "apg/ApgHistory.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

// What the page shows.
struct ApgReportData {
    QString dateTimeText; // of the recording
    QString userLine;     // "name / sex / age" of the current user
    ApgSummary summary;   // the recording's figures for the person's age and sex
    double meanPulse = 0; // rate chart of the recording, bpm
    double minPulse = 0;
    double maxPulse = 0;
    int age = 0;                       // years: selects the age group's pulse range
    std::vector<CHistoryList> history; // oldest first, at most 10
};

// Age group's pulse range in bpm for an age: rows up to 19, 20-29, ..., 60 and over.
struct PulseRange {
    double low;
    double high;
};
PulseRange AgeGroupPulseRange(int age);

// The page at pageSize pixels: the background stretched over it (nothing where it is null),
// the figures, the a-e diagram and the banner (nothing where it is null).
QImage ComposeApgReportPage(QSize pageSize, const ApgReportData& data, const QImage& background,
                            const QImage& banner, const QString& fontFace);

// The part of a page that is printed: no fixed band, no margins.
QRect ApgPrintedRect(QSize pageSize);
