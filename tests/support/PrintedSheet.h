#pragma once
// Checks of a printed report: a page picture marked so that what must not be printed shows
// (the fixed band magenta, the margins cyan; the printed part white with a yellow strip at its
// top and a green one at its bottom), and the PDF of a printout turned back into pixels with
// pdftoppm and searched for those marks.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRect>
#include <QString>

#include <cstdlib>

namespace printcheck {

inline const QColor kGreen(0, 160, 0);

inline QImage MarkedPage(QSize page, QRect printed, int band) {
    QImage picture(page, QImage::Format_RGB32);
    picture.fill(Qt::cyan);
    QPainter painter(&picture);
    painter.fillRect(QRect(0, 0, page.width(), band), Qt::magenta);
    painter.fillRect(printed, Qt::white);
    painter.fillRect(QRect(printed.left(), printed.top(), printed.width(), 40), Qt::yellow);
    painter.fillRect(QRect(printed.left(), printed.bottom() - 39, printed.width(), 40), kGreen);
    return picture;
}

// Whether a pixel is near a pure colour (the pictures are JPEG).
inline bool Near(QRgb pixel, QColor colour, int tolerance = 70) {
    return std::abs(qRed(pixel) - colour.red()) < tolerance &&
           std::abs(qGreen(pixel) - colour.green()) < tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) < tolerance;
}

struct Sheet {
    bool converted = false; // pdftoppm ran and gave a picture
    QString markFound;      // "" or where the band or a margin was printed
    int yellowTop = -1;     // first row of the top strip
    int greenBottom = -1;   // last row of the bottom strip
    int height = 0;
};

// Renders the first page of the PDF at 40 dpi into pngBase.png and looks at it.
inline Sheet ReadSheet(const QString& pdf, const QString& pngBase) {
    Sheet sheet;
    QProcess convert;
    convert.start(QStringLiteral("pdftoppm"), {"-r", "40", "-png", "-singlefile", pdf, pngBase});
    if (!convert.waitForStarted() || !convert.waitForFinished(60000) || convert.exitCode() != 0)
        return sheet;
    const QImage image(pngBase + QStringLiteral(".png"));
    sheet.converted = !image.isNull();
    sheet.height = image.height();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (sheet.markFound.isEmpty() && (Near(pixel, Qt::magenta) || Near(pixel, Qt::cyan)))
                sheet.markFound = QStringLiteral("%1, %2").arg(x).arg(y);
            if (sheet.yellowTop < 0 && Near(pixel, Qt::yellow))
                sheet.yellowTop = y;
            if (Near(pixel, kGreen))
                sheet.greenBottom = y;
        }
    }
    return sheet;
}

} // namespace printcheck
