// The skinned static: colours as COLORREFs, transparent text over a picture that leaves no
// remnant when the text changes, and the click actions.

#include "controls/BkDialog.h"
#include "controls/staticex.h"

#include "Screenshot.h"

#include <QDesktopServices>
#include <QImage>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

QString WritePattern(const QTemporaryDir& dir, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(20 + x % 60, 60 + y % 80, 120));
    }
    const QString path = dir.filePath("pattern.png");
    image.save(path);
    return path;
}

// What the window system shows of the window: its backing store, with only the parts
// repainted since the first exposure updated.
QImage OnScreen(QWidget& window) {
    return window.screen()
        ->grabWindow(window.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Records the addresses that the shell was asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

} // namespace

class StaticExTest : public QObject {
    Q_OBJECT
private slots:
    void ColorsAreTakenAsBgrColorRefsAndFillAnOpaqueStatic();
    void TransparentTextChangeLeavesNoRemnant();
    void ClickTogglesTheLinkedWindow();
    void ClickOpensTheLinkAndMarksItVisited();

private:
    QTemporaryDir m_dir;
};

void StaticExTest::ColorsAreTakenAsBgrColorRefsAndFillAnOpaqueStatic() {
    CStaticEx label;
    label.SetTextColor(0x000000FF);
    QCOMPARE(label.CurrentTextColor(), QColor(255, 0, 0));
    label.SetTextColor(0x0080FFFF);
    QCOMPARE(label.CurrentTextColor(), QColor(255, 255, 128));
    label.resize(100, 20);
    label.SetBkColor(0x00FF8000); // RGB(0, 128, 255)
    QCOMPARE(label.grab().toImage().pixel(95, 2), qRgb(0, 128, 255));
    label.SetTransparent(true);
    QVERIFY(!label.autoFillBackground());
}

void StaticExTest::TransparentTextChangeLeavesNoRemnant() {
    const QString picture = WritePattern(m_dir, QSize(300, 120));
    auto makeWindow = [&](CBkDialog& dialog, const QString& text) {
        dialog.setWindowFlag(Qt::FramelessWindowHint);
        dialog.setGeometry(0, 0, 300, 120);
        dialog.SetBackground(picture);
        auto* label = new CStaticEx(&dialog);
        label->setGeometry(20, 30, 260, 40);
        label->SetFont("Arial", 24);
        label->SetTextColor(0x00FFFFFF);
        label->SetTransparent(true);
        label->setText(text);
        return label;
    };
    CBkDialog changed;
    CStaticEx* label = makeWindow(changed, "WWWWWWWWWWWWW");
    changed.show();
    QVERIFY(QTest::qWaitForWindowExposed(&changed));
    label->setText("ii");
    QCoreApplication::processEvents();
    QTest::qWait(50);
    const QImage after = OnScreen(changed);
    changed.hide();

    CBkDialog fresh;
    makeWindow(fresh, "ii");
    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    QCoreApplication::processEvents();
    const QImage expected = OnScreen(fresh);
    QVERIFY(!after.isNull());
    QCOMPARE(after.size(), expected.size());
    QVERIFY(after == expected);
    SaveScreenshot(&fresh, "transparent_static");
}

void StaticExTest::ClickTogglesTheLinkedWindow() {
    QWidget parent;
    auto* label = new CStaticEx(&parent);
    label->resize(100, 20);
    auto* linked = new QWidget(&parent);
    label->SetLinkedWindow(linked);
    parent.show();
    QVERIFY(linked->isVisible());
    QSignalSpy clicked(label, &CStaticEx::clicked);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!linked->isVisible());
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(linked->isVisible());
    QCOMPARE(clicked.count(), 2);
}

void StaticExTest::ClickOpensTheLinkAndMarksItVisited() {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("tondrela-test", &catcher, "Open");
    CStaticEx label;
    label.resize(100, 20);
    label.SetTextColor(0x00000000);
    label.SetLink("tondrela-test://manual");
    QVERIFY(!label.IsVisited());
    // Released outside the text: no click.
    QSignalSpy clicked(&label, &CStaticEx::clicked);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(150, 10));
    QCOMPARE(clicked.count(), 0);
    QVERIFY(catcher.opened.isEmpty());
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(catcher.opened.size(), 1);
    QCOMPARE(catcher.opened.at(0), QUrl("tondrela-test://manual"));
    QVERIFY(label.IsVisited());
    QCOMPARE(label.CurrentTextColor(), QColor(0x00, 0x80, 0xC0));
    QDesktopServices::unsetUrlHandler("tondrela-test");
}

QTEST_MAIN(StaticExTest)
#include "staticex_gui_test.moc"
