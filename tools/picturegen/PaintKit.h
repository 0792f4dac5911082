#pragma once
// The common look of the pictures: a calm clinical palette (deep blue to teal, soft light
// panels) and the few shapes the pictures are made of.

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;
struct ControlLayoutRow;

namespace Kit {

inline const QColor kNight(8, 22, 44);   // darkest blue
inline const QColor kDeep(11, 42, 72);   // deep blue
inline const QColor kSea(12, 74, 92);    // blue-teal
inline const QColor kTeal(38, 160, 170); // accent
inline const QColor kTealLight(150, 225, 228);
inline const QColor kMist(236, 243, 247); // light panels
inline const QColor kSlate(84, 104, 124);
inline const QColor kInk(30, 44, 60);

// The pictures' typeface: a Latin sans face with a CJK face behind it.
QFont Font(int pixelSize, int weight = QFont::Normal);
// The font made smaller, when needed, until text fits into width.
QFont FitFont(QFont font, const QString& text, qreal width);

QRectF RowRect(const ControlLayoutRow& row);

void FillVertical(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom);
// A soft round light that fades out at radius.
void Glow(QPainter& painter, QPointF centre, qreal radius, QColor colour);
void Panel(QPainter& painter, const QRectF& area, qreal radius, const QColor& fill,
           const QColor& border, qreal borderWidth = 1.0);
// A translucent pill-shaped frame for a control drawn over the picture.
void Pill(QPainter& painter, const QRectF& area, const QColor& fill, const QColor& border);
void Text(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
          const QColor& colour, int flags = 0x0084 /* Qt::AlignCenter */);

// A pulse wave (steep rise, rounded peak, dicrotic notch) across area, `beats` beats long.
QPainterPath PulseWave(const QRectF& area, int beats);
// A numbered round marker, as the help pages' screen maps use them to point at a control.
void Badge(QPainter& painter, QPointF centre, int number, qreal radius = 13);

// The top bar of the full-screen windows: a dark band and the close cross. The sensor status
// line has no frame in it: the line widens to its text, which no fixed frame would hold.
void TopBar(QPainter& painter, QPointF closeCentre);

} // namespace Kit
