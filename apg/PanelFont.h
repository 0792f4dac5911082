#pragma once
// Fonts of the drawn panels: a face at a pixel size, bold or regular. A face that this
// machine lacks is replaced by the generic sans-serif family.

#include <QFont>
#include <QString>

QFont PanelFont(const QString& face, double pixelSize, bool bold);
