#pragma once
// What the explanatory pictures beside the tests share (482 x 334 pixels each): the paper with
// its accent edge, page headings and bulleted paragraphs.

#include "apg/ApgLayout.h"

#include <QColor>
#include <QString>

class QPainter;

namespace InfoKit {

inline const QColor kPaper(246, 249, 251);
inline const QColor kRule(206, 218, 226);
inline const QColor kAccent(12, 120, 132);
inline const QColor kCurve(11, 42, 72);

constexpr int kWidth = kApgInfoPictureWidth;
constexpr int kHeight = kApgInfoPictureHeight;

void Paper(QPainter& painter);
// A heading at y with a rule below it.
void Heading(QPainter& painter, qreal y, const QString& text);
// One paragraph with a round bullet, wrapped into the width; returns the y below it.
qreal Paragraph(QPainter& painter, qreal x, qreal y, qreal width, const QString& text,
                int size = 13);

} // namespace InfoKit
