// The faces the controls are drawn in on this machine, and the text that shrinks to fit.

#include "controls/ControlFont.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>

class ControlFontTest : public QObject {
    Q_OBJECT
private slots:
    void MissingWindowsFacesGetTheirStandIns_data();
    void MissingWindowsFacesGetTheirStandIns();
    void TextShrinksOnlyUntilItFits_data();
    void TextShrinksOnlyUntilItFits();
};

void ControlFontTest::MissingWindowsFacesGetTheirStandIns_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("drawnIn");
    // The stand-ins must be installed (Makefile DEPS): the actual face proves it.
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans";
    QTest::newRow("Dotum") << "돋움"
                           << "WenQuanYi Zen Hei";
    QTest::newRow("MS PGothic") << "MS Pゴシック"
                                << "WenQuanYi Zen Hei";
    QTest::newRow("unknown") << "No Such Face"
                             << "Liberation Sans";
}

void ControlFontTest::MissingWindowsFacesGetTheirStandIns() {
    QFETCH(QString, face);
    QFETCH(QString, drawnIn);
    const QFont font = MakeControlFont(face, 16);
    QCOMPARE(QFontInfo(font).family(), drawnIn);
    QCOMPARE(FontFamilies(face).last(), QString("WenQuanYi Zen Hei")); // CJK glyphs
    // Hangul in a Latin face comes from the CJK face, not as empty boxes.
    QVERIFY(QFontMetrics(font).inFontUcs4(U'한'));
}

void ControlFontTest::TextShrinksOnlyUntilItFits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("shrinks");
    const int line = Qt::AlignLeft | Qt::AlignVCenter;
    QTest::newRow("fits") << "Time" << QSize(200, 30) << line << false;
    QTest::newRow("too wide") << "Signal Strength must be >4%" << QSize(180, 30) << line << true;
    QTest::newRow("too high") << "Time" << QSize(200, 12) << line << true;
    QTest::newRow("wraps into two lines") << "When cursor is on top of circle" << QSize(150, 60)
                                          << (line | Qt::TextWordWrap) << false;
}

void ControlFontTest::TextShrinksOnlyUntilItFits() {
    QFETCH(QString, text);
    QFETCH(QSize, box);
    QFETCH(int, flags);
    QFETCH(bool, shrinks);
    const QFont font = MakeControlFont("Arial", 16);
    const QFont fitted = FitFont(font, text, box, flags);
    QCOMPARE(fitted.pixelSize() < font.pixelSize(), shrinks);
    const QRect needed = QFontMetrics(fitted).boundingRect(QRect(QPoint(), box), flags, text);
    QVERIFY(needed.width() <= box.width() && needed.height() <= box.height());
    if (shrinks) { // the largest size that fits
        QFont larger = fitted;
        larger.setPixelSize(fitted.pixelSize() + 1);
        const QRect over = QFontMetrics(larger).boundingRect(QRect(QPoint(), box), flags, text);
        QVERIFY(over.width() > box.width() || over.height() > box.height());
    }
    // Never below the smallest size, even when nothing fits.
    QCOMPARE(FitFont(font, text, QSize(5, 5), flags).pixelSize(), kSmallestFittedFont);
}

QTEST_MAIN(ControlFontTest)
#include "ControlFont_gui_test.moc"
