#include "Screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

QString ScreenshotPath(const QString& fileName) {
    const QString folder = QStringLiteral(TONDRELA_BINARY_DIR "/screenshots");
    return QDir().mkpath(folder) ? folder + QLatin1Char('/') + fileName : QString();
}

QString SaveScreenshot(QWidget* widget, const QString& name) {
    const QString path = ScreenshotPath(name + QStringLiteral(".png"));
    return !path.isEmpty() && widget->grab().save(path) ? path : QString();
}
