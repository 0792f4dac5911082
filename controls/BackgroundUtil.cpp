#include "controls/BackgroundUtil.h"

#include <QPainter>
#include <QRect>

CBackgroundUtil::~CBackgroundUtil() = default;

bool CBackgroundUtil::SetTileBitmap(const QString& path) {
    m_tile = QPixmap(path);
    return !m_tile.isNull();
}

bool CBackgroundUtil::TileBitmap(QPainter& painter, const QRect& area) const {
    if (m_tile.isNull())
        return false;
    for (int y = area.top(); y <= area.bottom(); y += m_tile.height()) {
        for (int x = area.left(); x <= area.right(); x += m_tile.width())
            painter.drawPixmap(x, y, m_tile);
    }
    return true;
}
