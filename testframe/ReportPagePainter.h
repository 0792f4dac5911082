#pragma once
// The painter both report pages are composed with: it whitens the page, stretches the page's
// picture over it and then draws in the page's design units, whatever the page's pixel size.
// Threads: whichever thread owns the page.

#include <QImage>
#include <QPainter>
#include <QSize>

class ReportPagePainter : public QPainter {
public:
    // page must not be null; designSize is the page in design units.
    ReportPagePainter(QImage* page, const QImage& background, QSize designSize);
};
