#include "testframe/ReportPagePainter.h"

ReportPagePainter::ReportPagePainter(QImage* page, const QImage& background, QSize designSize) {
    page->fill(Qt::white);
    begin(page);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                   QPainter::SmoothPixmapTransform);
    if (!background.isNull())
        drawImage(page->rect(), background);
    scale(static_cast<double>(page->width()) / designSize.width(),
          static_cast<double>(page->height()) / designSize.height());
}
