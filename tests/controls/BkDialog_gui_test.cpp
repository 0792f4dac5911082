// The picture dialog: stretched picture, kept across paints, re-stretched on resize; no
// picture means no drawing of its own; the tile; the closing notification.

#include "controls/BkDialog.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A picture of four coloured quadrants.
QString WriteQuadrants(const QTemporaryDir& dir, const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb colour = y < h ? (x < w ? qRgb(200, 0, 0) : qRgb(0, 200, 0))
                                      : (x < w ? qRgb(0, 0, 200) : qRgb(200, 200, 0));
            image.setPixel(x, y, colour);
        }
    }
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

QRgb PixelAt(QWidget& widget, QPoint point) {
    return widget.grab().toImage().pixel(point);
}

} // namespace

class BkDialogTest : public QObject {
    Q_OBJECT
private slots:
    void PictureIsStretchedOverTheClientAreaAndAgainOnResize();
    void WithoutReadablePicturePaintsNothing();
    void EmptyPathKeepsThePicture();
    void TileRepeatsFromTheTopLeftCorner();
    void ClosingPostsChildClosedWithItself();

private:
    QTemporaryDir m_dir;
};

void BkDialogTest::PictureIsStretchedOverTheClientAreaAndAgainOnResize() {
    CBkDialog dialog;
    dialog.resize(400, 300);
    dialog.SetBackground(WriteQuadrants(m_dir, "q.png", QSize(40, 30)));
    QCOMPARE(dialog.Background().size(), QSize(400, 300));
    QCOMPARE(PixelAt(dialog, QPoint(100, 70)), qRgb(200, 0, 0));
    QCOMPARE(PixelAt(dialog, QPoint(300, 70)), qRgb(0, 200, 0));
    QCOMPARE(PixelAt(dialog, QPoint(100, 230)), qRgb(0, 0, 200));
    QCOMPARE(PixelAt(dialog, QPoint(390, 290)), qRgb(200, 200, 0));
    dialog.resize(200, 600);
    QCOMPARE(PixelAt(dialog, QPoint(150, 250)), qRgb(0, 200, 0));
    QCOMPARE(dialog.Background().size(), QSize(200, 600));
    QCOMPARE(PixelAt(dialog, QPoint(150, 350)), qRgb(200, 200, 0));
}

void BkDialogTest::WithoutReadablePicturePaintsNothing() {
    QDialog plain;
    plain.resize(120, 80);
    CBkDialog dialog;
    dialog.resize(120, 80);
    QVERIFY(dialog.Background().isNull());
    QCOMPARE(dialog.grab().toImage(), plain.grab().toImage());
    // An unreadable picture replaces a readable one with nothing.
    dialog.SetBackground(WriteQuadrants(m_dir, "q.png", QSize(40, 30)));
    dialog.SetBackground(m_dir.filePath("missing.jpg"));
    QCOMPARE(dialog.BackgroundPath(), m_dir.filePath("missing.jpg"));
    QVERIFY(dialog.Background().isNull());
    QCOMPARE(dialog.grab().toImage(), plain.grab().toImage());
}

void BkDialogTest::EmptyPathKeepsThePicture() {
    CBkDialog dialog;
    dialog.resize(120, 80);
    dialog.SetBackground(WriteQuadrants(m_dir, "q.png", QSize(40, 30)));
    dialog.SetBackground(QString());
    QVERIFY(!dialog.Background().isNull());
    QCOMPARE(PixelAt(dialog, QPoint(10, 10)), qRgb(200, 0, 0));
}

void BkDialogTest::TileRepeatsFromTheTopLeftCorner() {
    CBkDialog dialog;
    dialog.resize(100, 100);
    QVERIFY(dialog.SetTileBitmap(WriteQuadrants(m_dir, "tile.png", QSize(20, 10))));
    QCOMPARE(dialog.TileWidth(), 20);
    QCOMPARE(dialog.TileHeight(), 10);
    const QImage image = dialog.grab().toImage();
    QCOMPARE(image.pixel(2, 2), qRgb(200, 0, 0));
    QCOMPARE(image.pixel(42, 32), qRgb(200, 0, 0));   // third column, fourth row of tiles
    QCOMPARE(image.pixel(97, 97), qRgb(200, 200, 0)); // a tile cut at the corner
    QVERIFY(!dialog.SetTileBitmap(m_dir.filePath("missing.png")));
    QVERIFY(!dialog.HasTileBitmap());
}

void BkDialogTest::ClosingPostsChildClosedWithItself() {
    CBkDialog dialog;
    QSignalSpy spy(&dialog, &CBkDialog::childClosed);
    dialog.show();
    dialog.close();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QWidget*>(), static_cast<QWidget*>(&dialog));
}

QTEST_MAIN(BkDialogTest)
#include "BkDialog_gui_test.moc"
