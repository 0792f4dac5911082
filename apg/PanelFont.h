#pragma once
// Fonts of the drawn panels: a face at a pixel size, bold or regular, in the families of
// FontFamilies (controls/ControlFont.h).

#include <QFont>
#include <QString>

QFont PanelFont(const QString& face, double pixelSize, bool bold);
