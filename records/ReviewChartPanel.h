#pragma once
// One trend chart of the review window: its records, the window of 20 of them that it shows
// and scrolls one record at a time, their positions and hot rectangles, and the chart drawn
// into an image over its slice of the window's background.
//
// Positions inside a chart of w x h pixels: the k-th shown record (k = 1 at the offset) lies
// at x = trunc(k * step * (w - 7) / (w - 8)) + 4 with step = (w - 8) / 20 (integer division),
// and y = (h - 5) + trunc(value * (7 - h) / range): a value of 0 lies at h - 5, the top of the
// range at 2. Only the shown records are positioned and react to the mouse.
// Threads: GUI thread only.

#include "records/ReviewRecords.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

struct ReviewChartStyle {
    double range;        // values 0..range span the chart's height
    std::uint32_t color; // ARGB of the line and the points
    int circle;          // point circle, pixels
    int valueBoxWidth;   // value label box, 20 pixels high, centred over the point
};

class CReviewChartPanel {
public:
    static constexpr int kPageSize = 20; // records shown at once

    explicit CReviewChartPanel(const ReviewChartStyle& style) : m_style(style) {}

    // The chart's rectangle in the window, pixels; its background slice is cut anew from the
    // window-sized background, which has `ratio` device pixels per pixel (no slice, and no
    // drawing, where there is none). Position and draw again afterwards.
    void Cut(const QImage& background, const QRect& rect, qreal ratio);

    // New records; the offset goes to the newest 20.
    void SetRecords(std::vector<CLinkList> records);
    const std::vector<CLinkList>& Records() const { return m_records; }
    int Count() const { return static_cast<int>(m_records.size()); }
    // Index of the first shown record.
    int Offset() const { return m_offset; }

    // One record back or forward; false (nothing changes) when the chart cannot scroll so.
    bool Previous();
    bool Next();
    bool PreviousShown() const { return m_offset >= 1; }
    bool NextShown() const { return m_offset + kPageSize < Count(); }

    // Positions the shown records and appends a copy of each, with its hot rectangle, to
    // hotSpots.
    void Position(std::vector<CLinkList>* hotSpots);

    // Draws the shown records over the background slice into the kept image.
    void Draw();

    const QRect& Rect() const { return m_rect; }
    bool HasBackground() const { return !m_background.isNull(); }
    const QImage& Image() const { return m_image; }

private:
    int ShownEnd() const;

    ReviewChartStyle m_style;
    std::vector<CLinkList> m_records;
    int m_offset = 0;
    QRect m_rect;
    QImage m_background; // the window's background under the chart
    QImage m_image;      // the chart as drawn last
};
