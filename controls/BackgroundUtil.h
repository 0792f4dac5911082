#pragma once
// A tiling background: a picture repeated from the top-left corner of an area in steps of its
// own width and height. Companion of CBkDialog.

#include <QPixmap>
#include <QString>

class QPainter;
class QRect;

class CBackgroundUtil {
public:
    virtual ~CBackgroundUtil();

    // Loads the tile; false (and no tile) when the picture cannot be read.
    bool SetTileBitmap(const QString& path);
    void ClearTileBitmap() { m_tile = QPixmap(); }
    bool HasTileBitmap() const { return !m_tile.isNull(); }
    int TileWidth() const { return m_tile.width(); }
    int TileHeight() const { return m_tile.height(); }

    // Fills area by repeating the tile; false when there is no tile (nothing drawn).
    bool TileBitmap(QPainter& painter, const QRect& area) const;

private:
    QPixmap m_tile;
};
