#include "Screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

QString SaveScreenshot(QWidget* widget, const QString& name) {
    const QString folder = QStringLiteral(TONDRELA_BINARY_DIR "/screenshots");
    if (!QDir().mkpath(folder))
        return QString();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    return widget->grab().save(path) ? path : QString();
}
