// The stress report: the composed page (gauge, trace, norm rows, distribution), the printout
// and the window's layout, scrolling and print flow.
//
// Everything runs in a runtime tree of its own (bin/, work/, IMAGE/ in a temporary folder)
// with bin/ as the current directory, as the program runs.

#include "StressTestKit.h"

#include "app/Tondrela.h"
#include "controls/BtnST.h"
#include "controls/staticex.h"
#include "stress/DlgStressReport.h"
#include "stress/StressReportLayout.h"
#include "stress/StressReportPage.h"

#include "PrintedSheet.h"
#include "Screenshot.h"
#include "TestRuntime.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <cstdio>
#include <functional>

using namespace StressReport;
using namespace stresstest;

namespace {

const QColor kGrey(100, 100, 100);
const QColor kTraceYellow(255, 209, 0);
const QColor kHistogramOrange(255, 144, 0);
const QColor kBandGreen(119, 182, 35); // 0xDC61AB00 over white

QImage Compose(const StressReportData& data, const QColor& ground = Qt::white) {
    QImage background(kPageWidth, kPageHeight, QImage::Format_RGB32);
    background.fill(ground);
    return ComposeStressReportPage(QSize(kPageWidth, kPageHeight), data, background, "Arial");
}

bool Near(QRgb pixel, const QColor& colour, int tolerance = 30) {
    return printcheck::Near(pixel, colour, tolerance);
}

// Whether a pixel of that colour lies within `radius` of (x, y).
bool NearPoint(const QImage& page, double x, double y, const QColor& colour, int radius = 3) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (Near(page.pixel(int(x) + dx, int(y) + dy), colour))
                return true;
    return false;
}

int CountIn(const QImage& page, const Box& box, const QColor& colour) {
    int count = 0;
    for (int y = box.y; y < box.y + box.height; ++y)
        for (int x = box.x; x < box.x + box.width; ++x)
            count += Near(page.pixel(x, y), colour, 20) ? 1 : 0;
    return count;
}

// A timeline with the rates at the given ticks (a marker before each further tick).
std::vector<double> Timeline(const std::vector<std::pair<int, double>>& ratesAtTicks) {
    std::vector<double> timeline;
    int tick = 0;
    for (const auto& [at, rate] : ratesAtTicks) {
        for (; tick < at; ++tick)
            timeline.push_back(-1);
        timeline.push_back(rate);
    }
    return timeline;
}

QPointF TracePoint(int tick, double rate) {
    return QPointF(kTrace.x + tick * double(kTrace.width) / kTraceTicks,
                   kTrace.y + kTrace.height -
                       (rate - kTraceLowBpm) * kTrace.height / kTraceSpanBpm);
}

} // namespace

class StressReportPageTest : public QObject {
    Q_OBJECT
private slots:
    void GaugeMarkerRunsFromTheLeftEdgeAt0ToTheRightEdgeAt100();
    void TraceBreaksAtAJumpOf21ButNotOf20();
    void NormRowFollowsTheAge();
    void EmptyTimelineDrawsNoTraceAndNoHistogram();
    void PrintoutNeverContainsTheFixedBandOrTheMargins();
};

void StressReportPageTest::GaugeMarkerRunsFromTheLeftEdgeAt0ToTheRightEdgeAt100() {
    const double middle = kGauge.y + kGauge.height / 2.0;
    for (double stress : {0.0, 100.0}) {
        StressReportData data;
        data.result.stressScoreCopy = stress;
        const QImage page = Compose(data, kGrey);
        const double x = kGauge.x + kGauge.width * stress / 100;
        QVERIFY(Near(page.pixel(int(x), int(middle)), Qt::white));
        QVERIFY(Near(page.pixel(int(x) + (stress > 0 ? -30 : 30), int(middle)), kGrey));
        // The arrow above the gauge, at the same place.
        QVERIFY(NearPoint(page, x, kGauge.y - 25, QColor(0xA9, 0x19, 0x19)));
        QVERIFY(
            !NearPoint(page, x + (stress > 0 ? -60 : 60), kGauge.y - 25, QColor(0xA9, 0x19, 0x19)));
    }
}

void StressReportPageTest::TraceBreaksAtAJumpOf21ButNotOf20() {
    StressReportData data;
    data.chart.timeline = Timeline({{0, 70}, {100, 90}, {200, 111}, {300, 91}});
    const QImage page = Compose(data);
    auto midpoint = [](int tick, double a, double b) {
        return TracePoint(tick, (a + b) / 2); // the middle of a line from tick - 50 to + 50
    };
    const QPointF joined = midpoint(50, 70, 90);   // 20 apart: joined
    const QPointF broken = midpoint(150, 90, 111); // 21 apart: broken
    const QPointF after = midpoint(250, 111, 91);  // 20 apart, but 111 was not drawn
    QVERIFY(NearPoint(page, joined.x(), joined.y(), kTraceYellow));
    QVERIFY(!NearPoint(page, broken.x(), broken.y(), kTraceYellow));
    QVERIFY(!NearPoint(page, after.x(), after.y(), kTraceYellow));
}

void StressReportPageTest::NormRowFollowsTheAge() {
    const struct {
        int age;
        int row;
    } rows[] = {{-1, 0}, {0, 0}, {20, 0}, {21, 1}, {35, 2}, {60, 4}, {61, 5}, {90, 5}};
    for (const auto& r : rows)
        QCOMPARE(StressReportNormRow(r.age), r.row);

    // The SDNN norm band: row 0 reaches 112.17 ms, row 2 100.91 ms, row 5 84.01 ms.
    const NormBar& sdnn = kBars[static_cast<int>(Bar::Sdnn)];
    auto inBand = [&](const QImage& page, double ms) {
        return Near(page.pixel(int(kBarX + kBarWidth * ms / sdnn.span), sdnn.y + 10), kBandGreen);
    };
    const struct {
        int age;
        bool at90;
        bool at110;
    } bands[] = {{20, true, true}, {35, true, false}, {61, false, false}};
    for (const auto& b : bands) {
        StressReportData data;
        data.age = b.age;
        const QImage page = Compose(data);
        QCOMPARE(inBand(page, 90), b.at90);
        QCOMPARE(inBand(page, 110), b.at110);
    }
}

void StressReportPageTest::EmptyTimelineDrawsNoTraceAndNoHistogram() {
    StressReportData data;
    data.result.rateNorm = 75;
    data.result.rateNormSd = 20;
    const QImage empty = Compose(data);
    QCOMPARE(CountIn(empty, kTrace, kTraceYellow), 0);
    QCOMPARE(CountIn(empty, kDistribution, kHistogramOrange), 0);
    QVERIFY(CountIn(empty, kDistribution, QColor(0x61, 0xAB, 0x00)) > 0); // reference curve

    for (double rate = 60; rate <= 80; rate += 1)
        data.rates.push_back(rate);
    data.chart.timeline = Timeline({{0, 70}, {4, 72}, {8, 74}});
    const QImage filled = Compose(data);
    QVERIFY(CountIn(filled, kTrace, kTraceYellow) > 0);
    QVERIFY(CountIn(filled, kDistribution, kHistogramOrange) > 0);
    // The first bin stands at 60 bpm.
    const double x60 = kDistribution.x + 60.0 * kDistribution.width / kDistributionBpm;
    QVERIFY(NearPoint(filled, x60, kDistribution.y + kDistribution.height - 3, kHistogramOrange));
}

void StressReportPageTest::PrintoutNeverContainsTheFixedBandOrTheMargins() {
    QTemporaryDir marked;
    QVERIFY(marked.isValid());
    QDir root(marked.path());
    QVERIFY(root.mkpath("bin") && root.mkpath("IMAGE/2"));
    const QRect printed = StressPrintedRect(QSize(kPageWidth, kPageHeight));
    QCOMPARE(printed, QRect(120, 206, 2242, 3370));
    QVERIFY(printcheck::MarkedPage(QSize(kPageWidth, kPageHeight), printed, kBandHeight)
                .save(root.filePath("IMAGE/2/stressReport.jpg"), "JPG", 95));

    UseLanguage(2);
    TheApp().workFolder = root.filePath("bin");
    TheApp().userLine.clear();
    CDlgStressReport report(nullptr, nullptr);
    TheApp().workFolder = QDir::currentPath();

    const QString pdf = ScreenshotPath("stress_report_print_marked.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(report.RenderToPrinter(printer));
    QCOMPARE(printer.docName(), QString("Stress index report print"));

    const printcheck::Sheet sheet =
        printcheck::ReadSheet(pdf, ScreenshotPath("stress_report_print_marked"));
    if (!sheet.converted)
        QSKIP("pdftoppm is not installed");
    QVERIFY2(sheet.markFound.isEmpty(), qPrintable("band or margin at " + sheet.markFound));
    QVERIFY(sheet.yellowTop >= 0 && sheet.yellowTop < sheet.height / 20);
    QVERIFY(sheet.greenBottom > sheet.height * 19 / 20);
}

// ---------------------------------------------------------------------------------------------

class StressReportWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void ControlsArePlacedOnThePageScale();
    void ScrollsByBarAndWheelButNotByArrowKeys();
    void WithoutAPrinterTheDialogOffersAPdfFile();
    void ShowsTheReportInEnglishAndKorean();

private:
    std::unique_ptr<CHrv> m_hrv;
};

namespace {

std::unique_ptr<CDlgStressReport> MakeReport(CHrv* hrv, QSize size = QSize(1600, 1000)) {
    auto report = std::make_unique<CDlgStressReport>(hrv, nullptr);
    report->setWindowState(Qt::WindowNoState);
    report->resize(size);
    report->show();
    return report;
}

int ScrollBarWidth(const QWidget* window) {
    return window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void Wheel(QWidget* target, int delta) {
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

void StressReportWindowTest::init() {
    TheApp().InitInstance(QSize(1600, 1000), QDir::currentPath());
    TheApp().CurrentUser = UserRecord{"Kim", 1979, 1, QString()};
    UseLanguage(2);
    if (!m_hrv)
        m_hrv = FinishedTest("../work/Kim_20240131_093005.hrv", 1979);
    QVERIFY(m_hrv);
}

void StressReportWindowTest::ControlsArePlacedOnThePageScale() {
    auto report = MakeReport(m_hrv.get());
    const double scale = (1600.0 - ScrollBarWidth(report.get())) / 2480;
    auto place = [scale](int x, int y, int w, int h) {
        return QRect(int(x * scale), int(y * scale), int(w * scale), int(h * scale));
    };
    QCOMPARE(report->Button(CReportFrame::kMainId)->geometry(), place(2110, 68, 90, 90));
    QCOMPARE(report->Button(CReportFrame::kPrintId)->geometry(), place(2215, 68, 90, 90));
    QCOMPARE(report->Button(CReportFrame::kCloseId)->geometry(), place(2416, 0, 36, 40));
    QCOMPARE(report->Button(CReportFrame::kSendId)->geometry(), place(2005, 68, 90, 90));
    QVERIFY(report->Button(CReportFrame::kSendId)->isHidden()); // no upload server set
    {
        const QString settings = qEnvironmentVariable("XDG_CONFIG_HOME") + "/tondrela/upload.conf";
        QDir().mkpath(QFileInfo(settings).path());
        QFile file(settings);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("server = 127.0.0.1\nuser = u\npassword = p\n");
        file.close();
        QVERIFY(!MakeReport(m_hrv.get())->Button(CReportFrame::kSendId)->isHidden());
        // A test that was not saved has nothing to send (the CHrv's name may still be that of
        // an earlier recording), and its page says so.
        const CDlgStressReport unsaved(m_hrv.get(), nullptr, ReportSource::UnsavedTest);
        QVERIFY(unsaved.Button(CReportFrame::kSendId)->isHidden());
        QCOMPARE(unsaved.PageNote(), QString("This test was not saved."));
        QVERIFY(file.remove());
    }
    QVERIFY(report->Static(CReportFrame::kPrintCaptionId)->geometry().right() < 0);
    QCOMPARE(report->windowTitle(), QString("Stress index report print"));
    const int client = 1600 - ScrollBarWidth(report.get());
    QCOMPARE(report->ScreenPage().size(), QSize(client, client * 3710 / 2480));
    // The page shows the recording the CHrv holds.
    QCOMPARE(report->Data().dateTimeText, QString("2024-01-31 09:30:05"));
    QCOMPARE(report->Data().age, 2024 - 1979);
    QCOMPARE(report->Data().result.stressScoreCopy, m_hrv->Result().stressScoreCopy);
    report->Button(CReportFrame::kMainId)->click();
    QVERIFY(!report->isVisible());
}

void StressReportWindowTest::ScrollsByBarAndWheelButNotByArrowKeys() {
    auto report = MakeReport(m_hrv.get());
    const int client = 1600 - ScrollBarWidth(report.get());
    QCOMPARE(report->ScrollMaximum(), client * 3710 / 2480 - 1000);
    QTest::keyClick(report.get(), Qt::Key_Down);
    QCOMPARE(report->ScrollPosition(), 0);
    Wheel(report.get(), -120);
    QCOMPARE(report->ScrollPosition(), 32);
    auto* bar = report->findChild<QScrollBar*>();
    Wheel(bar, -240);
    QCOMPARE(report->ScrollPosition(), 96);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(report->ScrollPosition(), 396);
    report->SetScroll(report->ScrollMaximum() + 10);
    QCOMPARE(report->ScrollPosition(), report->ScrollMaximum());

    // A page shorter than the window: the maximum stays 0, nothing scrolls.
    report = MakeReport(m_hrv.get(), QSize(400, 2000));
    QCOMPARE(report->ScrollMaximum(), 0);
    report->SetScroll(50);
    QCOMPARE(report->ScrollPosition(), 0);
}

void StressReportWindowTest::WithoutAPrinterTheDialogOffersAPdfFile() {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this machine has a printer");
    // A home of its own: with and without a documents folder.
    QTemporaryDir home;
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    for (bool documents : {true, false}) {
        if (documents)
            QVERIFY(QDir(home.path()).mkpath("Documents"));
        else
            QVERIFY(QDir(home.path() + "/Documents").removeRecursively());
        auto report = MakeReport(m_hrv.get());
        QString offered;
        report->SetPrintDialogRunner([&](QPrinter& printer, QWidget*) {
            if (printer.outputFormat() == QPrinter::PdfFormat)
                offered = printer.outputFileName();
            return true;
        });
        report->Button(CReportFrame::kPrintId)->click();
        QCOMPARE(offered,
                 home.path() + (documents ? "/Documents" : "") + "/Kim_20240131_093005.pdf");
        QVERIFY(QFileInfo(offered).size() > 0);
        QFile::remove(offered);

        // Cancelled: nothing printed.
        report->SetPrintDialogRunner([](QPrinter&, QWidget*) { return false; });
        report->Button(CReportFrame::kPrintId)->click();
        QVERIFY(!QFile::exists(offered));
    }
    qputenv("HOME", previousHome);
}

void StressReportWindowTest::ShowsTheReportInEnglishAndKorean() {
    QVERIFY2(QFile::exists("../IMAGE/2/stressReport.jpg"),
             "the staged pictures are missing: build tondrela-pictures");
    const struct {
        int language;
        const char* name;
    } languages[] = {{2, "english"}, {1, "korean"}};
    for (const auto& language : languages) {
        UseLanguage(language.language);
        auto report = MakeReport(m_hrv.get());
        QCOMPARE(report->windowTitle(), GetMessageText(30013));
        QVERIFY(!SaveScreenshot(report.get(), QString("stress_report_%1").arg(language.name))
                     .isEmpty());
        report->SetScroll(report->ScrollMaximum());
        QVERIFY(!SaveScreenshot(report.get(), QString("stress_report_%1_end").arg(language.name))
                     .isEmpty());
        QVERIFY(report->PrintPage().save(
            ScreenshotPath(QString("stress_report_page_%1.png").arg(language.name))));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(
            ScreenshotPath(QString("stress_report_%1.pdf").arg(language.name)));
        QVERIFY(report->RenderToPrinter(printer));
    }
}

// ---------------------------------------------------------------------------------------------

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    RuntimeFolder tree;
    if (!tree.Valid()) {
        std::fputs("cannot create the runtime tree of the tests\n", stderr);
        return 1;
    }
    TheApp().InitInstance(QSize(1600, 1000), QDir::currentPath());
    TheApp().RegisterLanguageTables();

    int status = 0;
    StressReportPageTest page;
    status |= QTest::qExec(&page, argc, argv);
    StressReportWindowTest window;
    status |= QTest::qExec(&window, argc, argv);
    return status;
}

#include "StressReport_gui_test.moc"
