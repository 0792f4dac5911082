// The windows at five screen sizes, and on a window smaller than its screen: the main menu,
// the user window, the wellness and stress windows, the wellness report and the review
// window lay themselves out from their own client area, and no text control cuts its text, in any
// of the four languages. Pictures of each window and size (in English) go to the screenshots
// folder, named after the device pixel ratio: CTest runs this program at a ratio of 1 and, with
// QT_SCALE_FACTOR=2, of 2.

#include "analysis/Hrv.h"
#include "analysis/RecordingFile.h"
#include "analysis/RecordingHeader.h"
#include "apg/ApgHistory.h"
#include "apg/DlgApg.h"
#include "apg/DlgApgReport.h"
#include "app/DlgMain.h"
#include "app/MainMenuLayout.h"
#include "controls/BtnST.h"
#include "controls/ControlId.h"
#include "controls/staticex.h"
#include "device/SyntheticPulseSource.h"
#include "records/DlgReview.h"
#include "records/DlgUser.h"
#include "records/ReviewLayout.h"
#include "stress/DlgStress.h"
#include "stress/StressLayout.h"

#include "Screenshot.h"
#include "TestRuntime.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTest>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// What of a text control's text would be cut off: "" when nothing.
QString CutOff(const QWidget* window, const QWidget* control) {
    QString text;
    QFont font;
    QRect box = control->rect();
    int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (const auto* label = qobject_cast<const CStaticEx*>(control)) {
        text = label->text();
        font = label->DrawnFont();
        box = label->contentsRect();
        flags = static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    } else if (const auto* button = qobject_cast<const CButtonST*>(control)) {
        text = button->text();
        font = button->DrawnFont();
        box.setLeft(2); // room of a left-aligned text
    } else if (const auto* radio = qobject_cast<const QRadioButton*>(control)) {
        text = radio->text();
        if (radio->sizeHint().width() > radio->width())
            return text;
        font = radio->font();
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        text = QStringLiteral("Ag"); // the field's line
        font = edit->font();
    }
    if (text.isEmpty())
        return QString();
    if (!window->rect().contains(control->geometry()))
        return text + QStringLiteral(" (off the window)");
    const QRect needed = QFontMetrics(font).boundingRect(box, flags, text);
    return needed.width() > box.width() || needed.height() > box.height() ? text : QString();
}

// The texts cut off in the window; controls placed at a negative x lie out of view on purpose.
QStringList CutOffTexts(const QWidget* window) {
    QStringList cut;
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (control->parentWidget() != window || !control->isVisibleTo(window) || control->x() < 0)
            continue;
        const QString text = CutOff(window, control);
        if (!text.isEmpty())
            cut << QStringLiteral("%1 \"%2\"").arg(ControlId(control)).arg(text);
    }
    return cut;
}

QRect Scaled(const ControlLayoutRow& row, QSize client, QSize design) {
    const double sx = static_cast<double>(client.width()) / design.width();
    const double sy = static_cast<double>(client.height()) / design.height();
    return QRect(static_cast<int>(row.x * sx), static_cast<int>(row.y * sy),
                 static_cast<int>(row.width * sx), static_cast<int>(row.height * sy));
}

// Controls where the table puts them in the window's own client area (not the screen's);
// rows without a size are placed by the window itself.
QStringList Misplaced(QWidget* window, std::span<const ControlLayoutRow> rows, QSize design,
                      std::initializer_list<int> movable) {
    QStringList wrong;
    for (const ControlLayoutRow& row : rows) {
        if (row.id <= 0)
            break;
        if (std::find(movable.begin(), movable.end(), row.id) != movable.end() ||
            (row.width == 0 && row.height == 0))
            continue;
        const QWidget* control = FindControl(window, row.id);
        if (control && control->geometry() != Scaled(row, window->size(), design))
            wrong << QString::number(row.id);
    }
    return wrong;
}

int Ratio() {
    return static_cast<int>(std::lround(qApp->devicePixelRatio()));
}

void Shoot(QWidget* window, const char* name, const QString& size) {
    QVERIFY(!SaveScreenshot(window, QStringLiteral("fit_%1_%2_dpr%3").arg(name, size).arg(Ratio()))
                 .isEmpty());
}

// The window's picture is kept at the screen's pixel density and shown pixel for pixel where
// no control covers it.
void CheckSharp(CBkDialog& window) {
    const int ratio = Ratio();
    QCOMPARE(window.Background().size(), window.size() * ratio);
    QCOMPARE(window.Background().devicePixelRatio(), qreal(ratio));
    const QImage picture = window.Background().toImage();
    const QImage shown = window.grab().toImage();
    int compared = 0;
    for (const QPoint at : {QPoint(window.width() / 2, window.height() * 97 / 100),
                            QPoint(window.width() / 20, window.height() * 97 / 100),
                            QPoint(window.width() * 19 / 20, window.height() * 3 / 4)}) {
        if (window.childAt(at))
            continue;
        QCOMPARE(shown.pixel(at * ratio), picture.pixel(at * ratio));
        ++compared;
    }
    QVERIFY(compared > 0);
}

const char* const kLanguageNames[] = {"", "korean", "english", "japanese", "chinese"};

} // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void WindowsFitTheirClientArea_data();
    void WindowsFitTheirClientArea();

private:
    std::unique_ptr<RuntimeFolder> m_folder;
};

void ScreenFitTest::initTestCase() {
    m_folder = std::make_unique<RuntimeFolder>();
    QVERIFY(m_folder->Valid());
    // One recording of Kim, for the user list and the report.
    CHrv hrv;
    AttachWellnessAnalysis(hrv);
    SyntheticPulseSource source;
    std::vector<int16_t> samples(kPulseFileSamples);
    for (int16_t& s : samples)
        s = source.Next();
    hrv.AddSamples(samples.data(), static_cast<int>(samples.size()));
    RecordingHeader header;
    header.SetName("Kim");
    header.SetBirthYear(1980);
    header.SetSex(1);
    QCOMPARE(hrv.SavePulseFile("../work/Kim_20240301_101500.ppg", &header), FileStatus::Ok);
}

void ScreenFitTest::WindowsFitTheirClientArea_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("window");
    for (QSize size : {QSize(1024, 768), QSize(1280, 720), QSize(1600, 1000), QSize(1920, 1080),
                       QSize(2560, 1440)}) {
        const QByteArray name =
            QByteArray::number(size.width()) + "x" + QByteArray::number(size.height());
        QTest::newRow(name.constData()) << size << size;
    }
    // A window manager that refused full screen, or a second, smaller monitor.
    QTest::newRow("1366x768_on_1920x1080") << QSize(1920, 1080) << QSize(1366, 768);
}

void ScreenFitTest::WindowsFitTheirClientArea() {
    QFETCH(QSize, screen);
    QFETCH(QSize, window);
    const QString size = QString::fromLatin1(QTest::currentDataTag());
    const QSize design(1600, 1000);
    for (int language = 1; language <= 4; ++language) {
        TheApp().InitInstance(screen, QDir::currentPath());
        TheApp().CurrentUser = UserRecord{"Kim", 1980, 1, "010-1234"};
        const bool shoot = language == 2;
        const QByteArray context = size.toLatin1() + " " + kLanguageNames[language];

        CDlgMain menu(nullptr, language);
        menu.resize(window);
        menu.SetBackground(TheApp().ResourcePath("IMAGE", "main.jpg"));
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        QVERIFY2(CutOffTexts(&menu).isEmpty(), context + CutOffTexts(&menu).join(", ").toUtf8());
        // The status line widens to a long state.
        QVERIFY2(Misplaced(&menu, MainMenuLayout, design, {1038}).isEmpty(), context);
        CheckSharp(menu);
        if (shoot)
            Shoot(&menu, "main_menu", size);

        CDlgUser user;
        user.show();
        user.ToggleList();
        QVERIFY(QTest::qWaitForWindowExposed(&user));
        QVERIFY2(CutOffTexts(&user).isEmpty(), context + CutOffTexts(&user).join(", ").toUtf8());
        if (shoot)
            Shoot(&user, "user", size);

        CDlgApg apg;
        apg.resize(window);
        apg.SetBackground(TheApp().ResourcePath("IMAGE", "apg.jpg"));
        apg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&apg));
        QVERIFY2(CutOffTexts(&apg).isEmpty(), context + CutOffTexts(&apg).join(", ").toUtf8());
        // The status line widens to a long state; the info buttons move with their page.
        QVERIFY2(Misplaced(&apg, ApgLayout, design, {1038, 1203, 1204, 1205}).isEmpty(), context);
        for (int i = 0; i < kApgPanelCount; ++i) {
            const DesignRect& r = ApgPanelRects[i];
            const QRect expected = Scaled({1, r.x, r.y, r.width, r.height}, window, design);
            QCOMPARE(apg.PanelRect(static_cast<ApgPanel>(i)), expected);
            QCOMPARE(apg.PanelBackground(static_cast<ApgPanel>(i)).size(),
                     expected.size() * Ratio());
        }
        CheckSharp(apg);
        if (shoot)
            Shoot(&apg, "apg", size);
        apg.close();

        CDlgStress stress;
        stress.resize(window);
        stress.SetBackground(TheApp().ResourcePath("IMAGE", "stress.jpg"));
        stress.show();
        QVERIFY(QTest::qWaitForWindowExposed(&stress));
        QVERIFY2(CutOffTexts(&stress).isEmpty(),
                 context + CutOffTexts(&stress).join(", ").toUtf8());
        QVERIFY2(Misplaced(&stress, StressLayout, design, {1038, 1208, 1209, 1210}).isEmpty(),
                 context);
        CheckSharp(stress);
        if (shoot)
            Shoot(&stress, "stress", size);
        stress.close();

        CDlgReview review;
        review.resize(window);
        review.SetBackground(TheApp().ResourcePath("IMAGE", "Review.jpg"));
        review.show();
        QVERIFY(QTest::qWaitForWindowExposed(&review));
        QTRY_VERIFY(!review.Loading());
        QVERIFY2(CutOffTexts(&review).isEmpty(),
                 context + CutOffTexts(&review).join(", ").toUtf8());
        QVERIFY2(Misplaced(&review, ReviewLayout, design, {}).isEmpty(), context);
        CheckSharp(review);
        if (shoot)
            Shoot(&review, "review", size);
        review.close();

        if (shoot) { // the report's texts are drawn on its page
            CHrv hrv;
            AttachWellnessAnalysis(hrv);
            RecordingHeader header;
            QCOMPARE(hrv.LoadPulseFile(&header, "../work/Kim_20240301_101500.ppg"), FileStatus::Ok);
            CDlgApgReport report(&hrv, nullptr);
            report.setWindowState(Qt::WindowNoState);
            report.resize(window);
            report.show();
            QVERIFY(QTest::qWaitForWindowExposed(&report));
            const int client =
                window.width() - report.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            QCOMPARE(report.ScreenPage().size(), QSize(client, client * 3220 / 2480) * Ratio());
            QVERIFY(QRect(QPoint(0, 0), window)
                        .contains(report.Button(CReportFrame::kPrintId)->geometry()));
            Shoot(&report, "report", size);
        }
    }
}

QTEST_MAIN(ScreenFitTest)
#include "ScreenFit_gui_test.moc"
