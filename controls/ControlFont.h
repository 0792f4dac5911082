#pragma once
// The fonts of the skinned controls and the drawn panels.
//
// A face that this machine lacks (the Windows faces "Arial", "돋움", "MS Pゴシック") is drawn
// in the installed face that stands in for it: "Liberation Sans" for "Arial" (the same
// widths, so texts take the room they were laid out for), the CJK face for the Korean and
// Japanese faces; any other missing face in "Liberation Sans". The CJK face always follows as
// the fallback for glyphs the first face lacks (Hangul, kana, Han).

#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>

// The smallest pixel size FitFont shrinks a font to.
inline constexpr int kSmallestFittedFont = 9;

// The families a face is drawn with, in order of preference.
QStringList FontFamilies(const QString& face);

// The face at that pixel height, weight 900.
QFont MakeControlFont(const QString& face, int pixelHeight);

// The font itself when the text fits into box (drawn with the QPainter::drawText flags),
// else the same font one pixel smaller at a time until it fits, but not below
// kSmallestFittedFont pixels.
QFont FitFont(const QFont& font, const QString& text, QSize box, int flags);
