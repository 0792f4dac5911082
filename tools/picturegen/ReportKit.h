#pragma once
// What the report pages' pictures share: the palette on white, captions and wrapped notes,
// section titles, figure cells and the header band (never printed) with the glyphs under the
// report window's transparent Main and Print buttons and its close box. Units are the
// pages' design units (2480 wide).

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace ReportKit {

inline const QColor kRule(38, 160, 170);        // teal rules and accents
inline const QColor kCaption(30, 44, 60);       // section captions
inline const QColor kLabel(84, 104, 124);       // small labels
inline const QColor kFrame(196, 210, 220);      // frames
inline const QColor kTrack(238, 243, 246);      // empty tracks and cells
inline const QColor kHeaderFill(226, 240, 242); // table header

constexpr int kLeft = 210;   // left edge of the content
constexpr int kRight = 2272; // right edge of the content

// One line in bold, made smaller until it fits the width.
void Caption(QPainter& painter, const QRectF& area, const QString& text, int size,
             const QColor& colour = kCaption, int flags = 0x0081 /* left, v-centred */);
// Wrapped text, made smaller until it fits the area.
void Note(QPainter& painter, const QRectF& area, const QString& text, int size,
          const QColor& colour, int flags);
// A section title with its accent bar and rule, from y down 73 units.
void SectionTitle(QPainter& painter, int y, const QString& text);
// The rounded cell in which the report writes one big figure (its box given).
void FigureCell(QPainter& painter, const QRectF& figure);
// The band at the top of a page of that width: gradient, pulse motif and the button glyphs.
void HeaderBand(QPainter& painter, int pageWidth, int bandHeight, const QRectF& main,
                const QRectF& print, const QRectF& close);

} // namespace ReportKit
