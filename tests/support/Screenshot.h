#pragma once
// Test output for the GUI tests: pictures of widgets, saved as
// <build folder>/screenshots/<name>.png for a person to look at.

#include <QString>

class QWidget;

// Saves widget->grab(); returns the file's path, or "" when it could not be written.
QString SaveScreenshot(QWidget* widget, const QString& name);

// <build folder>/screenshots/<fileName>, the folder made first; "" when it cannot be made.
QString ScreenshotPath(const QString& fileName);
