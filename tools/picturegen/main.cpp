// Paints the pictures and writes the sounds of the runtime tree:
//   tondrela-picturegen STAGE [STAMP]
// writes STAGE/<folder>/<1..4>/<picture> for every registered picture (folder IMAGE, banner
// or HELP), STAGE/wav/start.wav and STAGE/wav/end.wav, the program's icons in STAGE/icons,
// then touches STAMP. Runs on any Qt platform (the build uses "offscreen").

#include "Chime.h"
#include "IconPicture.h"
#include "PictureRegistry.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

bool PaintPicture(const PictureSpec& picture, int languageIndex, const QString& folder) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        picture.paint(painter, PictureContext(languageIndex));
    }
    const QString path = folder + QLatin1Char('/') + QLatin1String(picture.file);
    if (!image.save(path, nullptr, 92)) {
        std::fprintf(stderr, "tondrela-picturegen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 2) {
        std::fputs("usage: tondrela-picturegen STAGE [STAMP]\n", stderr);
        return 2;
    }
    const QDir stage(arguments[1]);
    bool ok = true;
    for (int language = 1; language <= 4; ++language) {
        for (const PictureSpec& picture : RegisteredPictures()) {
            const QString folder = stage.filePath(
                QStringLiteral("%1/%2").arg(QLatin1String(picture.folder)).arg(language));
            QDir().mkpath(folder);
            ok = PaintPicture(picture, language, folder) && ok;
        }
    }
    const QString wav = stage.filePath(QStringLiteral("wav"));
    QDir().mkpath(wav);
    ok = WriteChime(wav + QStringLiteral("/start.wav"), 659.25, 880.0) && ok;
    ok = WriteChime(wav + QStringLiteral("/end.wav"), 880.0, 659.25) && ok;
    ok = WriteIcons(stage.path()) && ok;
    if (!ok)
        return 1;
    if (arguments.size() > 2) {
        QFile stamp(arguments[2]);
        if (!stamp.open(QIODevice::WriteOnly))
            return 1;
    }
    return 0;
}
