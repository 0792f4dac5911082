#include "controls/BkDialog.h"

#include "controls/BtnST.h"

#include <QPainter>
#include <QResizeEvent>

CBkDialog::CBkDialog(QWidget* parent) : QDialog(parent) {}

void CBkDialog::SetBackground(const QString& path) {
    m_path = path;
    if (path.isEmpty())
        return;
    m_picture = QImage(path);
    StretchPicture();
    update();
}

void CBkDialog::StretchPicture() {
    if (m_picture.isNull() || width() <= 0 || height() <= 0) {
        m_background = QPixmap();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    m_background = QPixmap::fromImage(
        m_picture.scaled(size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    m_background.setDevicePixelRatio(ratio);
}

void CBkDialog::done(int result) {
    QDialog::done(result);
    emit childClosed(this);
}

void CBkDialog::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    TileBitmap(painter, rect());
    if (m_background.isNull())
        return;
    // Only the parts to repaint: a small copy is made at once, a whole-window one would be
    // shared out to the paint engine's worker threads and waited for.
    const qreal ratio = m_background.devicePixelRatio(); // the kept copy is in device pixels
    for (const QRect& area : event->region())
        painter.drawPixmap(QRectF(area), m_background,
                           QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
}

void CBkDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // A hidden window gets its pending resize again each time it is rendered.
    if (size() == m_laidOutSize)
        return;
    m_laidOutSize = size();
    if (!m_picture.isNull())
        StretchPicture();
    ResetBackgroundCopies(this);
    ClientAreaChanged();
}
