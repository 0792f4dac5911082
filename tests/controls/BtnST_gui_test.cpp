// The skinned button: colours per state, hover tracking only when flat and enabled, the
// transparent button's copy of the picture behind it, the tooltip's width limit, the icon.

#include "controls/BkDialog.h"
#include "controls/BtnST.h"

#include "Screenshot.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

namespace {

// A picture with a different colour in every pixel region, so that a wrong copy shows.
QString WritePattern(const QTemporaryDir& dir, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), 90));
    }
    const QString path = dir.filePath("pattern.png");
    image.save(path);
    return path;
}

void Hover(QWidget* widget, bool inside) {
    if (inside) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
    }
}

QImage Region(const QImage& image, const QRect& rect) {
    return image.copy(rect);
}

} // namespace

class BtnSTTest : public QObject {
    Q_OBJECT
private slots:
    void ColorsAreTakenAsBgrColorRefs();
    void OnlyAnEnabledFlatButtonTakesTheHoverColours();
    void TransparentButtonShowsItsCopyOfThePictureBehindItUntilReset();
    void EmptyTooltipTextSetsNothing();
    void LongTooltipIsWrappedAt400Pixels();
    void IconIsDrawnInsideTheButton();

private:
    QTemporaryDir m_dir;
};

void BtnSTTest::ColorsAreTakenAsBgrColorRefs() {
    CButtonST button;
    button.SetColor(CButtonST::Color::TextIn, 0x0072FF);
    button.SetColor(CButtonST::Color::BackgroundOut, 0x00804020);
    QCOMPARE(button.ColorOf(CButtonST::Color::TextIn), QColor(255, 114, 0));
    QCOMPARE(button.ColorOf(CButtonST::Color::BackgroundOut), QColor(0x20, 0x40, 0x80));
}

void BtnSTTest::OnlyAnEnabledFlatButtonTakesTheHoverColours() {
    for (bool flat : {true, false}) {
        CButtonST button;
        button.resize(80, 30);
        button.SetFlat(flat);
        button.SetColor(CButtonST::Color::BackgroundOut, 0x000000FF); // red
        button.SetColor(CButtonST::Color::BackgroundIn, 0x00FF0000);  // blue
        button.SetDrawBorder(false);
        QCOMPARE(button.grab().toImage().pixel(40, 15), qRgb(255, 0, 0));
        Hover(&button, true);
        QCOMPARE(button.IsHovered(), flat);
        QCOMPARE(button.grab().toImage().pixel(40, 15), flat ? qRgb(0, 0, 255) : qRgb(255, 0, 0));
        Hover(&button, false);
        QVERIFY(!button.IsHovered());
        QCOMPARE(button.grab().toImage().pixel(40, 15), qRgb(255, 0, 0));
    }
    // Disabled (Quit during a test): the hover look goes and the pointer brings it not back.
    CButtonST button;
    button.resize(80, 30);
    button.SetColor(CButtonST::Color::BackgroundIn, 0x00FF0000);
    Hover(&button, true);
    QVERIFY(button.IsHovered());
    button.setEnabled(false);
    QVERIFY(!button.IsHovered());
    const QImage disabled = button.grab().toImage();
    Hover(&button, true);
    QVERIFY(!button.IsHovered());
    QCOMPARE(button.grab().toImage(), disabled);
}

void BtnSTTest::TransparentButtonShowsItsCopyOfThePictureBehindItUntilReset() {
    CBkDialog dialog;
    dialog.resize(400, 300);
    dialog.SetBackground(WritePattern(m_dir, QSize(400, 300)));
    const QImage picture = dialog.Background().toImage().convertToFormat(QImage::Format_RGB32);
    auto* button = new CButtonST(&dialog);
    button->setGeometry(60, 40, 120, 50);
    button->SetTransparent(true);
    // The first draw takes the copy.
    QImage shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(Region(shown, button->geometry()), Region(picture, button->geometry()));
    SaveScreenshot(&dialog, "transparent_button");
    // Moved, it keeps the copy of its old place until the copy is reset.
    button->move(200, 180);
    shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(Region(shown, button->geometry()), Region(picture, QRect(60, 40, 120, 50)));
    button->ResetBackgroundCopy();
    shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(Region(shown, button->geometry()), Region(picture, button->geometry()));
}

void BtnSTTest::EmptyTooltipTextSetsNothing() {
    CButtonST button;
    button.SetTooltipText("Start measurement");
    button.SetTooltipText(QString());
    QCOMPARE(button.TooltipText(), QString("Start measurement"));
    QCOMPARE(button.toolTip(), QString("Start measurement"));
}

void BtnSTTest::LongTooltipIsWrappedAt400Pixels() {
    CButtonST button;
    button.resize(80, 30);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    const QString text = QString("(Average blood pressure index) Scroll to left ").repeated(4);
    button.SetTooltipText(text);
    QCOMPARE(button.TooltipText(), text);
    QToolTip::showText(button.mapToGlobal(QPoint(5, 5)), button.toolTip(), &button);
    QWidget* tip = nullptr;
    QTRY_VERIFY((tip = [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->inherits("QTipLabel") && w->isVisible())
                return w;
        }
        return static_cast<QWidget*>(nullptr);
    }()));
    const auto* label = qobject_cast<QLabel*>(tip);
    QVERIFY(label);
    // The text is wrapped onto several lines no wider than the limit (plus the tip's margins).
    QVERIFY2(tip->width() <= CButtonST::kTooltipMaxWidth + 30,
             qPrintable(QString::number(tip->width())));
    QVERIFY(tip->height() > 2 * QFontMetrics(QToolTip::font()).height());
    QToolTip::hideText();
}

void BtnSTTest::IconIsDrawnInsideTheButton() {
    CButtonST button;
    button.resize(60, 40);
    button.SetColor(CButtonST::Color::BackgroundOut, 0x00FFFFFF);
    QPixmap normal(16, 16);
    normal.fill(Qt::green);
    QPixmap hovered(16, 16);
    hovered.fill(Qt::magenta);
    button.SetIcon(hovered, normal);
    QCOMPARE(button.grab().toImage().pixel(30, 20), qRgb(0, 255, 0));
    QCOMPARE(button.grab().toImage().pixel(5, 5), qRgb(255, 255, 255));
    Hover(&button, true);
    QCOMPARE(button.grab().toImage().pixel(30, 20), qRgb(255, 0, 255));
}

QTEST_MAIN(BtnSTTest)
#include "BtnST_gui_test.moc"
