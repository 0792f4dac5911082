#pragma once
// The drawn panels of the test windows: per panel its rectangle in pixels, the slice of the
// window's background under it and the image drawn last. A redraw draws the panel's content
// into a copy of its slice and keeps that image; the owner copies the kept images to the
// window when it paints, and learns through `changed` which rectangle to repaint.
// The wellness window draws all of them as named; the stress window draws its heart-rate and
// LF/HF charts in the second and third graph panel (through Render) and the wellness figures
// only during its first minute. The panels read the test only through CHrv's copy-out
// readers.
// Threads: GUI thread only.

#include "analysis/ApgCanvas.h"
#include "apg/ApgLayout.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <array>
#include <functional>

class CHrv;

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
    // window-sized picture at `ratio` device pixels per pixel; the panels lie on black where
    // there is none). The slices and the panels drawn on them keep that pixel density. Drawn
    // images are reset to their slices.
    void Cut(const QImage& background, double scaleX, double scaleY, qreal ratio);

    // The pulse wave sweep.
    void DrawPulseWave(CHrv& hrv);
    // The DIFF1 and DIFF2 sweeps.
    void DrawDerivatives(CHrv& hrv);
    // The live pulse rate and the signal strength.
    void DrawRateAndStrength(CHrv& hrv);
    // Type, standard signal, index, scale, bar and a-e diagram.
    void DrawWellnessFigures(const ApgSummary& summary, const ApgFigureTexts& texts);
    // The time bar, full at fullSeconds.
    void DrawTime(CHrv& hrv, int fullSeconds);

    // Draws a panel: draw(painter, panel size in pixels) over a copy of its slice; the result
    // is kept and reported as changed. Nothing without a slice.
    template <class Draw> void Render(ApgPanel panel, Draw draw) {
        Slot& slot = m_slots[static_cast<int>(panel)];
        if (slot.background.isNull())
            return;
        QImage image = slot.background;
        {
            QPainter painter(&image);
            draw(painter, slot.rect.size());
        }
        slot.image = std::move(image);
        if (m_changed)
            m_changed(slot.rect);
    }

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

    std::function<void(const QRect&)> m_changed;
    std::array<Slot, kApgPanelCount> m_slots;
    double m_scaleX = 1.0;
};
