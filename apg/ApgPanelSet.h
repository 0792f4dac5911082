#pragma once
// The drawn panels of the wellness test window: per panel its rectangle in pixels, the slice
// of the window's background under it and the image drawn last. A redraw draws the panel's
// content into a copy of its slice and keeps that image; the owner copies the kept images to
// the window when it paints, and learns through `changed` which rectangle to repaint.
// The panels read the test only through CHrv's copy-out readers.
// Threads: GUI thread only.

#include "analysis/ApgCanvas.h"
#include "apg/ApgLayout.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <functional>

class CHrv;
class QPainter;

// What the figure panels need beyond the test: the person's age, the face of the a-e
// diagram's texts and the names of the three index bands (60104, 60105, 60106).
struct ApgFigureTexts {
    int age = 0;
    QString fontFace;
    std::array<QString, 3> bandNames;
};

class CApgPanelSet {
public:
    explicit CApgPanelSet(std::function<void(const QRect&)> changed)
        : m_changed(std::move(changed)) {}

    // Places the panels at the layout scale and cuts their slices from the background (a
    // window-sized picture; the panels lie on black where there is none). Drawn images are
    // reset to their slices.
    void Cut(const QImage& background, double scaleX, double scaleY);

    // The pulse wave, DIFF1 and DIFF2 sweeps.
    void DrawGraphs(CHrv& hrv);
    // Pulse rate, signal strength, type, standard signal, index, scale, bar, a-e diagram.
    void DrawFigures(CHrv& hrv, const ApgSummary& summary, const ApgFigureTexts& texts);
    void DrawTime(CHrv& hrv);

    // Copies the kept images that meet `area` to the painter (the window).
    void Paint(QPainter& painter, const QRect& area) const;

    QRect Rect(ApgPanel panel) const { return Panel(panel).rect; }
    const QImage& Image(ApgPanel panel) const { return Panel(panel).image; }
    const QImage& Background(ApgPanel panel) const { return Panel(panel).background; }

private:
    struct Slot {
        QRect rect;        // pixels
        QImage background; // the background under the panel
        QImage image;      // the panel as drawn last
    };

    const Slot& Panel(ApgPanel panel) const { return m_slots[static_cast<int>(panel)]; }
    template <class Draw> void Render(ApgPanel panel, Draw draw);

    std::function<void(const QRect&)> m_changed;
    std::array<Slot, kApgPanelCount> m_slots;
    double m_scaleX = 1.0;
};
