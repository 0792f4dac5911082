// The wellness report: the history built from the user's recordings, the composed page, the
// printout and the window's scrolling and layout.
//
// Everything runs in a runtime tree of its own (bin/, work/, IMAGE/, banner/ in a temporary
// folder) with bin/ as the current directory, as the program runs; the recordings are made by
// the real analysis from the committed resting pulse.

#include "analysis/Hrv.h"
#include "analysis/RecordingFile.h"
#include "analysis/RecordingHeader.h"
#include "apg/ApgHistory.h"
#include "apg/ApgReportLayout.h"
#include "apg/DlgApgReport.h"
#include "apg/ReportPage.h"
#include "app/Tondrela.h"
#include "controls/BtnST.h"
#include "controls/staticex.h"
#include "records/UserRecordings.h"

#include "tests/common/FtpTestServer.h"

#include "PrintedSheet.h"
#include "Screenshot.h"
#include "TestRuntime.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QWheelEvent>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

using namespace ApgReport;
namespace fs = std::filesystem;

namespace {

constexpr int kRecordedSamples = 12200; // 61 s at 200 samples per second
constexpr int kKimBirthYear = 1980;
constexpr int kKimRecordings = 14; // Kim_202401DD_090000.ppg, DD = 01 .. 14
const int kKimberlyDays[] = {3, 9, 15, 16};

std::vector<int16_t> RestingPulse() {
    QFile file(QStringLiteral(TONDRELA_TEST_DATA "/neurokit_resting5min_raw.csv"));
    std::vector<int16_t> samples;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return samples;
    QTextStream in(&file);
    in.readLine(); // "raw"
    while (!in.atEnd())
        samples.push_back(static_cast<int16_t>(in.readLine().toInt()));
    return samples;
}

// A CHrv as the test window makes it.
std::unique_ptr<CHrv> MakeTestHrv() {
    auto hrv = std::make_unique<CHrv>();
    AttachWellnessAnalysis(*hrv);
    return hrv;
}

// 61 s of the resting pulse from `offset` on, as a test records it.
std::unique_ptr<CHrv> RecordTest(int offset) {
    static const std::vector<int16_t> pulse = RestingPulse();
    auto hrv = MakeTestHrv();
    if (pulse.size() >= static_cast<size_t>(offset + kRecordedSamples))
        hrv->AddSamples(pulse.data() + offset, kRecordedSamples);
    return hrv;
}

QString PathOf(const QString& name, const QString& stamp) {
    return QStringLiteral("../work/%1_%2.ppg").arg(name, stamp);
}

bool SaveRecording(CHrv& hrv, const QString& name, const QString& stamp, int birthYear) {
    RecordingHeader header;
    header.SetName(name.toStdString());
    header.SetBirthYear(birthYear);
    header.SetSex(1);
    return hrv.SavePulseFile(PathOf(name, stamp).toStdString(), &header) == FileStatus::Ok;
}

QString KimStamp(int day) {
    return QStringLiteral("202401%1_090000").arg(day, 2, 10, QLatin1Char('0'));
}

QString KimDateTime(int day) {
    return QStringLiteral("2024-01-%1 09:00:00").arg(day, 2, 10, QLatin1Char('0'));
}

void ChooseUser(const QString& name, int birthYear) {
    TheApp().CurrentUser = UserRecord{name, birthYear, 1, QString()};
    UseLanguage(TheApp().languageIndex);
}

// Whether a pixel is near a pure colour (the pictures are JPEG).
bool Near(QRgb pixel, QColor colour, int tolerance = 70) {
    return std::abs(qRed(pixel) - colour.red()) < tolerance &&
           std::abs(qGreen(pixel) - colour.green()) < tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) < tolerance;
}

// Pixels of the area (page units, page composed at 2480 x 3220) that are not white.
int InkIn(const QImage& page, const QRect& area) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += page.pixel(x, y) != qRgb(255, 255, 255);
    return ink;
}

QRect RectOf(const Box& box) {
    return QRect(box.x, box.y, box.width, box.height);
}

} // namespace

// ---------------------------------------------------------------------------------------------

class ApgReportHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void TwelveRecordingsUpToTheShownOneListTheLastTenOldestFirst();
    void JustSavedTestIsFoundByItsBareName();
    void UnknownRecordingListsTheTenNewestAndShowsTheNewest();
    void UnsavedTestIsShownAsItIsAboveTheTenNewest();
    void UnreadableNewestRecordingIsNamedInsteadOfEmptyFigures();
    void KimsHistoryNeverContainsKimberlysFiles();
    void WithoutRecordingsTheHistoryIsEmptyAndTheTestStays();
    void NegativeAgeGivesNoPressureFigures();
};

void ApgReportHistoryTest::initTestCase() {
    for (int day = 1; day <= kKimRecordings; ++day) {
        auto hrv = RecordTest(3000 * (day - 1));
        QVERIFY(SaveRecording(*hrv, "Kim", KimStamp(day), kKimBirthYear));
    }
    for (int day : kKimberlyDays) {
        auto hrv = RecordTest(1000 * day);
        QVERIFY(SaveRecording(*hrv, "Kimberly",
                              QStringLiteral("202401%1_093000").arg(day, 2, 10, QLatin1Char('0')),
                              1990));
    }
}

void ApgReportHistoryTest::init() {
    UseLanguage(2);
    ChooseUser("Kim", kKimBirthYear);
}

void ApgReportHistoryTest::cleanup() {
    QFile::remove(PathOf("Kim", "20240105_120000"));
    QDir work(QStringLiteral("../work"));
    for (const QString& file : work.entryList({"Park_*"}, QDir::Files))
        work.remove(file);
}

void ApgReportHistoryTest::TwelveRecordingsUpToTheShownOneListTheLastTenOldestFirst() {
    auto hrv = MakeTestHrv();
    RecordingHeader header;
    QCOMPARE(hrv->LoadPulseFile(&header, PathOf("Kim", KimStamp(12)).toStdString()),
             FileStatus::Ok);
    CDlgApgReport report(hrv.get(), nullptr);

    const std::vector<CHistoryList>& history = report.History();
    QCOMPARE(history.size(), size_t(10));
    for (int row = 0; row < 10; ++row)
        QCOMPARE(history[row].dateTimeText, KimDateTime(row + 3));
    // The page shows the last row's recording; the opener's CHrv still holds what it held.
    QVERIFY(QString::fromStdString(hrv->Identity().name).endsWith("Kim_20240112_090000.ppg"));
    QCOMPARE(hrv->Count(CHrv::Series::Raw), kPulseFileSamples);
    QCOMPARE(report.Data().dateTimeText, KimDateTime(12));
    QCOMPARE(history.back().age, 2024 - kKimBirthYear);
    QVERIFY(history.back().wellnessIndex > 0);
    QCOMPARE(history.back().wellnessIndex, report.Data().summary.wellnessIndex);
    QCOMPARE(history.back().meanPulse, std::trunc(report.Data().meanPulse));
    QVERIFY(history.back().meanPulse > 40 && history.back().meanPulse < 140);
    // The recordings differ, and each row holds its own.
    QVERIFY(history.front().wellnessIndex != history.back().wellnessIndex);
    QVERIFY(report.PageNote().isEmpty());
}

void ApgReportHistoryTest::JustSavedTestIsFoundByItsBareName() {
    // The test window saves under "../work/...": the history ends with that test, not with
    // the newest recording.
    auto hrv = RecordTest(7000);
    QVERIFY(SaveRecording(*hrv, "Kim", "20240105_120000", kKimBirthYear));
    QCOMPARE(QString::fromStdString(hrv->Identity().name),
             QString("../work/Kim_20240105_120000.ppg"));

    CDlgApgReport report(hrv.get(), nullptr);
    const std::vector<CHistoryList>& history = report.History();
    QCOMPARE(history.size(), size_t(6));
    QCOMPARE(history[4].dateTimeText, KimDateTime(5));
    QCOMPARE(history[5].dateTimeText, QString("2024-01-05 12:00:00"));
    QCOMPARE(report.Data().dateTimeText, QString("2024-01-05 12:00:00"));
    // The page shows the saved file (its first 60 s), read back; the test's 61 s stay.
    QCOMPARE(hrv->Count(CHrv::Series::Raw), kRecordedSamples);
    auto replayed = MakeTestHrv();
    RecordingHeader header;
    QCOMPARE(replayed->LoadPulseFile(&header, "../work/Kim_20240105_120000.ppg"), FileStatus::Ok);
    const ApgSummary saved = replayed->SummariseApg(2024 - kKimBirthYear, 1);
    QVERIFY(saved.qualified >= 20);
    QCOMPARE(report.Data().summary.qualified, saved.qualified);
    QCOMPARE(report.Data().summary.wellnessIndex, saved.wellnessIndex);
}

void ApgReportHistoryTest::UnknownRecordingListsTheTenNewestAndShowsTheNewest() {
    // A recording of no file in the folder, and no test at all: the newest recording shows.
    // Kimberly's newest recordings (days 15 and 16) are newer than all of Kim's and must not
    // appear.
    auto unknown = RecordTest(7000);
    QVERIFY(SaveRecording(*unknown, "Kim", "20240105_120000", kKimBirthYear));
    QVERIFY(QFile::remove(PathOf("Kim", "20240105_120000")));
    auto nothing = MakeTestHrv();
    const struct {
        CHrv* hrv;
        ReportSource source;
    } cases[] = {{unknown.get(), ReportSource::Recording}, {nothing.get(), ReportSource::Nothing}};
    for (const auto& c : cases) {
        CDlgApgReport report(c.hrv, nullptr, c.source);
        QCOMPARE(report.History().size(), size_t(10));
        QCOMPARE(report.History().front().dateTimeText, KimDateTime(5));
        QCOMPARE(report.History().back().dateTimeText, KimDateTime(14));
        QCOMPARE(report.Data().dateTimeText, KimDateTime(14));
        QCOMPARE(report.Data().summary.wellnessIndex, report.History().back().wellnessIndex);
        QVERIFY(report.PageNote().isEmpty());
    }
    QCOMPARE(nothing->Count(CHrv::Series::Raw), 0);
}

void ApgReportHistoryTest::UnsavedTestIsShownAsItIsAboveTheTenNewest() {
    auto hrv = RecordTest(0);
    hrv->SetAge(2024 - kKimBirthYear);
    TheApp().testStartTime = QDateTime(QDate(2024, 2, 1), QTime(10, 11, 12));
    const ApgSummary test = hrv->SummariseApg(2024 - kKimBirthYear, 1);
    QVERIFY(test.qualified >= 20);

    CDlgApgReport report(hrv.get(), nullptr, ReportSource::UnsavedTest);
    QCOMPARE(report.Data().dateTimeText, QString("2024-02-01 10:11:12"));
    QCOMPARE(report.Data().summary.qualified, test.qualified);
    QCOMPARE(report.Data().summary.wellnessIndex, test.wellnessIndex);
    QCOMPARE(report.PageNote(), QString("This test was not saved."));
    QCOMPARE(report.History().size(), size_t(10));
    QCOMPARE(report.History().back().dateTimeText, KimDateTime(14));
    // The test is still the CHrv's, and the note is on the page that prints.
    QCOMPARE(hrv->Count(CHrv::Series::Raw), kRecordedSamples);
    QCOMPARE(hrv->SummariseApg(2024 - kKimBirthYear, 1).wellnessIndex, test.wellnessIndex);
    const QImage page = report.PrintPage();
    QVERIFY(InkIn(page, QRect(2000, 282, 300, 34)) > 0);
    QVERIFY(page.save(ScreenshotPath("apg_report_page_unsaved_test.png")));
}

void ApgReportHistoryTest::UnreadableNewestRecordingIsNamedInsteadOfEmptyFigures() {
    // Too short for a header: no sample in it.
    const QString broken = PathOf("Kim", "20240120_090000");
    {
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a recording");
    }
    auto hrv = MakeTestHrv();
    CDlgApgReport report(hrv.get(), nullptr, ReportSource::Nothing);
    QFile::remove(broken);
    QCOMPARE(report.PageNote(),
             QString("The recording could not be read: Kim_20240120_090000.ppg"));
    QVERIFY(report.Data().dateTimeText.isEmpty());
    QCOMPARE(report.Data().summary.qualified, 0);
    QCOMPARE(report.Data().meanPulse, 0.0);
    // The readable ones before it are listed.
    QCOMPARE(report.History().size(), size_t(9));
    QCOMPARE(report.History().back().dateTimeText, KimDateTime(14));
    QVERIFY(report.PrintPage().save(ScreenshotPath("apg_report_page_unreadable.png")));
}

void ApgReportHistoryTest::KimsHistoryNeverContainsKimberlysFiles() {
    std::vector<std::string> expected;
    for (int day = 1; day <= kKimRecordings; ++day)
        expected.push_back(QStringLiteral("Kim_%1.ppg").arg(KimStamp(day)).toStdString());
    QCOMPARE(ListUserRecordings("../work", "Kim", ".ppg"), expected);
    QCOMPARE(ListUserRecordings("../work", "Kimberly", ".ppg").size(), size_t(4));
    QVERIFY(ListUserRecordings("../work", "Ki", ".ppg").empty());
}

void ApgReportHistoryTest::WithoutRecordingsTheHistoryIsEmptyAndTheTestStays() {
    ChooseUser("Lee", 1970);
    auto hrv = RecordTest(9000);
    hrv->SetAge(QDate::currentDate().year() - 1970);
    const ApgSummary before = hrv->SummariseApg(QDate::currentDate().year() - 1970, 1);
    QVERIFY(before.qualified >= 20);

    for (ReportSource source : {ReportSource::UnsavedTest, ReportSource::Nothing}) {
        CDlgApgReport report(hrv.get(), nullptr, source);
        QVERIFY(report.History().empty());
        QVERIFY(hrv->Identity().name.empty());
        QCOMPARE(report.Data().summary.qualified, before.qualified);
        QCOMPARE(report.Data().summary.wellnessIndex, before.wellnessIndex);
        QCOMPARE(report.Data().age, QDate::currentDate().year() - 1970);
    }
}

void ApgReportHistoryTest::NegativeAgeGivesNoPressureFigures() {
    // A birth year after the test's year: the age is negative.
    ChooseUser("Park", 2030);
    auto recorded = RecordTest(2000);
    QVERIFY(SaveRecording(*recorded, "Park", "20240110_080000", 2030));
    auto hrv = MakeTestHrv();
    CDlgApgReport report(hrv.get(), nullptr);
    QCOMPARE(report.History().size(), size_t(1));
    const CHistoryList& record = report.History().front();
    QCOMPARE(record.age, -6);
    QCOMPARE(record.daDifference, -1.0);
    QVERIFY(record.bpText.isEmpty());

    // With an age, the tendency text and the difference agree: "Normal" within +-10 percent.
    ChooseUser("Kim", kKimBirthYear);
    RecordingHeader header;
    QCOMPARE(hrv->LoadPulseFile(&header, PathOf("Kim", KimStamp(1)).toStdString()), FileStatus::Ok);
    const CHistoryList kim = SummariseRecording(*hrv, 1);
    const int percent = static_cast<int>(kim.daDifference);
    const QString expected = percent < -10  ? "a bit low"
                             : percent < 10 ? "Normal"
                             : percent < 20 ? "a bit high"
                                            : "high";
    QCOMPARE(kim.bpText, expected);
}

// ---------------------------------------------------------------------------------------------

class ApgReportPageTest : public QObject {
    Q_OBJECT
private slots:
    void ZeroIndexHidesTheBarTheNumberAndTheSignalLevel();
    void TypeFrameSurroundsTheCellOfTheType();
    void PulseBarsFollowTheAgeGroupAndTheMeasuredRange();
    void HistoryRowsFillTheirLinesInOrder();
    void PrintoutNeverContainsTheFixedBandOrTheMargins();
};

namespace {

ApgReportData SampleData() {
    ApgReportData data;
    data.dateTimeText = "2024-01-12 09:00:00";
    data.userLine = "Kim / Male / 44 years";
    data.summary.qualified = 40;
    data.summary.ba = -0.8;
    data.summary.ca = -0.1;
    data.summary.da = -0.3;
    data.summary.ea = 0.15;
    data.summary.wellnessIndex = 55;
    data.summary.meanSignalStrength = 12;
    data.summary.typeIndex = -1;
    data.age = 44;
    return data;
}

QImage Compose(const ApgReportData& data) {
    return ComposeApgReportPage(QSize(kPageWidth, kPageHeight), data, QImage(), QImage(), "Arial");
}

} // namespace

void ApgReportPageTest::ZeroIndexHidesTheBarTheNumberAndTheSignalLevel() {
    ApgReportData data = SampleData();
    const QRect bar(kIndexBarX, kIndexBarY, kIndexBarWidth, kIndexBarHeight);
    const QImage shown = Compose(data);
    // 55 fills 726 units of the bar, in the bar's orange.
    QVERIFY(Near(shown.pixel(kIndexBarX + 720, kIndexBarY + 25), QColor(255, 158, 35), 20));
    QCOMPARE(shown.pixel(kIndexBarX + 735, kIndexBarY + 25), qRgb(255, 255, 255));
    QVERIFY(InkIn(shown, RectOf(kIndexNumber)) > 200);
    QVERIFY(InkIn(shown, RectOf(kSignalLevel)) > 100);

    data.summary.wellnessIndex = 0;
    const QImage hidden = Compose(data);
    QCOMPARE(InkIn(hidden, bar), 0);
    QCOMPARE(InkIn(hidden, RectOf(kIndexNumber).adjusted(-20, -20, 20, 20)), 0);
    QCOMPARE(InkIn(hidden, RectOf(kSignalLevel).adjusted(-20, -10, 20, 10)), 0);
    // The rest of the page is still there.
    QVERIFY(InkIn(hidden, RectOf(kUserLine)) > 100);
}

void ApgReportPageTest::TypeFrameSurroundsTheCellOfTheType() {
    ApgReportData data = SampleData();
    const QRgb frame = qRgb(154, 20, 45);
    const int middle = kTypeRowY + kTypeRowHeight / 2;
    QCOMPARE(Compose(data).pixel(kTypeCellX[3], middle), qRgb(255, 255, 255));

    data.summary.typeIndex = 3; // D
    const QImage page = Compose(data);
    QCOMPARE(page.pixel(kTypeCellX[3], middle), frame);
    QCOMPARE(page.pixel(kTypeCellX[3] + kTypeCellWidth[3], middle), frame);
    QCOMPARE(page.pixel(kTypeCellX[3] + 90, kTypeRowY), frame);
    QCOMPARE(page.pixel(kTypeCellX[3] + 90, kTypeRowY + kTypeRowHeight), frame);
    QVERIFY(page.pixel(kTypeCellX[2], middle) != frame);
    QVERIFY(page.pixel(kTypeCellX[5], middle) != frame);
    QVERIFY(InkIn(page, RectOf(kTypeLetter)) > 200);
}

void ApgReportPageTest::PulseBarsFollowTheAgeGroupAndTheMeasuredRange() {
    ApgReportData data = SampleData();
    data.meanPulse = 70;
    data.minPulse = 60;
    data.maxPulse = 80;
    const QColor green(123, 187, 51); // ARGB(220, 97, 171, 0) over white
    const QColor orange(255, 158, 35);
    const int ageY = kAgeRangeY + kAgeRangeHeight / 2;
    const int measuredY = kMeasuredRangeY + kMeasuredRangeHeight / 2;

    // Age 44: the 40-49 row, 59.54 to 95.53 bpm, x 1321.2 to 1743.4.
    QImage page = Compose(data);
    QVERIFY(Near(page.pixel(1325, ageY), green, 20));
    QVERIFY(Near(page.pixel(1739, ageY), green, 20));
    QCOMPARE(page.pixel(1316, ageY), qRgb(255, 255, 255));
    QCOMPARE(page.pixel(1748, ageY), qRgb(255, 255, 255));
    // Measured 60 to 80 bpm: x 1326.6 to 1561.8.
    QVERIFY(Near(page.pixel(1330, measuredY), orange, 20));
    QVERIFY(Near(page.pixel(1557, measuredY), orange, 20));
    QCOMPARE(page.pixel(1566, measuredY), qRgb(255, 255, 255));

    // Age 75 takes the last row, 56.57 to 92.55 bpm: x 1286.3 to 1708.3.
    data.age = 75;
    page = Compose(data);
    QVERIFY(Near(page.pixel(1290, ageY), green, 20));
    QCOMPARE(page.pixel(1713, ageY), qRgb(255, 255, 255));

    // No mean pulse: neither bar nor number.
    data.meanPulse = 0;
    page = Compose(data);
    QCOMPARE(InkIn(page, QRect(kPulseScaleX - 100, kAgeRangeY, kPulseScaleWidth + 200, 120)), 0);
    QCOMPARE(InkIn(page, RectOf(kPulseNumber)), 0);
}

void ApgReportPageTest::HistoryRowsFillTheirLinesInOrder() {
    ApgReportData data = SampleData();
    for (int i = 0; i < 9; ++i) {
        CHistoryList record;
        record.dateTimeText = KimDateTime(i + 1);
        record.wellnessIndex = 40 + i;
        record.typeLetter = 'B';
        record.meanPulse = 70;
        data.history.push_back(record);
    }
    auto line = [](int k) {
        return QRect(kHistoryNumber.x, kHistoryTop + kHistoryStep * (k - 1),
                     kHistoryPulse.x + kHistoryPulse.width - kHistoryNumber.x, kHistoryRowHeight);
    };
    QImage page = Compose(data);
    QVERIFY(InkIn(page, line(1)) > 500);
    QVERIFY(InkIn(page, line(9)) > 500);
    QCOMPARE(InkIn(page, line(10)), 0);

    // A tenth record takes the tenth line; the first lines stay as they were.
    data.history.push_back(data.history.front());
    const QImage ten = Compose(data);
    QVERIFY(InkIn(ten, line(10)) > 500);
    QCOMPARE(ten.copy(line(1)), page.copy(line(1)));
}

void ApgReportPageTest::PrintoutNeverContainsTheFixedBandOrTheMargins() {
    QTemporaryDir marked;
    QVERIFY(marked.isValid());
    QDir root(marked.path());
    QVERIFY(root.mkpath("bin") && root.mkpath("IMAGE/2"));
    const QRect printed = ApgPrintedRect(QSize(kPageWidth, kPageHeight));
    QCOMPARE(printed, QRect(118, 206, 2244, 2901));
    QVERIFY(printcheck::MarkedPage(QSize(kPageWidth, kPageHeight), printed, kBandHeight)
                .save(root.filePath("IMAGE/2/apgReport.jpg"), "JPG", 95));

    UseLanguage(2);
    TheApp().workFolder = root.filePath("bin");
    TheApp().userLine.clear();
    CDlgApgReport report(nullptr, nullptr);
    TheApp().workFolder = QDir::currentPath();

    const QString pdf = ScreenshotPath("apg_report_print_marked.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(report.RenderToPrinter(printer));
    QCOMPARE(printer.docName(), QString("Wellness Index report print"));

    const printcheck::Sheet sheet =
        printcheck::ReadSheet(pdf, ScreenshotPath("apg_report_print_marked"));
    if (!sheet.converted)
        QSKIP("pdftoppm is not installed");
    QVERIFY2(sheet.markFound.isEmpty(), qPrintable("band or margin at " + sheet.markFound));
    // The printed part fills the sheet's printable area from its top to its bottom.
    QVERIFY(sheet.yellowTop >= 0 && sheet.yellowTop < sheet.height / 20);
    QVERIFY(sheet.greenBottom > sheet.height * 19 / 20);
}

// ---------------------------------------------------------------------------------------------

class ApgReportWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void ControlsArePlacedOnThePageScale();
    void ScrollingStopsAtTheEnds();
    void WheelKeysAndScrollBarMoveByTheirSteps();
    void MainAndCloseEndTheWindow();
    void ShowsTheReportInEnglishAndKorean();
    void SendButtonSendsTheRecordingWhenAServerIsSet();
};

namespace {

// The report of Kim's 12th recording, at the size of a 1600 x 1000 screen.
std::unique_ptr<CDlgApgReport> MakeReport(CHrv& hrv, QSize size = QSize(1600, 1000)) {
    RecordingHeader header;
    hrv.LoadPulseFile(&header, PathOf("Kim", KimStamp(12)).toStdString());
    auto report = std::make_unique<CDlgApgReport>(&hrv, nullptr);
    report->setWindowState(Qt::WindowNoState);
    report->resize(size);
    report->show();
    return report;
}

int ScrollBarWidth(const QWidget* window) {
    return window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

} // namespace

void ApgReportWindowTest::init() {
    TheApp().InitInstance(QSize(1600, 1000), QDir::currentPath());
    UseLanguage(2);
    ChooseUser("Kim", kKimBirthYear);
}

void ApgReportWindowTest::ControlsArePlacedOnThePageScale() {
    auto hrv = MakeTestHrv();
    auto report = MakeReport(*hrv);
    const double scale = (1600.0 - ScrollBarWidth(report.get())) / 2480;
    auto place = [scale](int x, int y, int w, int h) {
        return QRect(static_cast<int>(x * scale), static_cast<int>(y * scale),
                     static_cast<int>(w * scale), static_cast<int>(h * scale));
    };
    QCOMPARE(report->Button(Id::kMain)->geometry(), place(2138, 64, 90, 90));
    QCOMPARE(report->Button(Id::kPrint)->geometry(), place(2240, 64, 90, 90));
    QCOMPARE(report->Button(Id::kClose)->geometry(), place(2424, 0, 36, 40));
    QVERIFY(report->Button(Id::kFtp)->isHidden());
    QVERIFY(report->Static(Id::kMainCaption)->geometry().right() < 0);
    QCOMPARE(report->Static(Id::kMainCaption)->text(), QString("Main"));
    QCOMPARE(report->Static(Id::kPrintCaption)->text(), QString("Print"));
    QCOMPARE(report->Static(Id::kPrintCaption)->CurrentTextColor(), QColor(164, 164, 164));
    QCOMPARE(report->windowTitle(), QString("Wellness Index report print"));
    // The page is as wide as the client area, with the page's proportions.
    const int client = 1600 - ScrollBarWidth(report.get());
    QCOMPARE(report->ScreenPage().size(), QSize(client, client * 3220 / 2480));
}

void ApgReportWindowTest::ScrollingStopsAtTheEnds() {
    auto hrv = MakeTestHrv();
    auto report = MakeReport(*hrv);
    const int client = 1600 - ScrollBarWidth(report.get());
    const int maximum = client * 3220 / 2480 - 1000;
    QCOMPARE(report->ScrollMaximum(), maximum);
    report->SetScroll(maximum + 500);
    QCOMPARE(report->ScrollPosition(), maximum);
    QTest::keyClick(report.get(), Qt::Key_Down);
    QCOMPARE(report->ScrollPosition(), maximum);
    report->SetScroll(-40);
    QCOMPARE(report->ScrollPosition(), 0);
    QTest::keyClick(report.get(), Qt::Key_Up);
    QCOMPARE(report->ScrollPosition(), 0);
    QCOMPARE(report->findChild<QScrollBar*>()->value(), 0);

    // A small page in a big window: the maximum would be negative, nothing scrolls.
    report.reset();
    report = MakeReport(*hrv, QSize(400, 2000));
    QCOMPARE(report->ScrollMaximum(), 0);
    report->SetScroll(50);
    QCOMPARE(report->ScrollPosition(), 0);
    QTest::keyClick(report.get(), Qt::Key_Down);
    QCOMPARE(report->ScrollPosition(), 0);
    // Below the page the window shows no page content (and nothing left over).
    const QImage shot = report->grab().toImage();
    const int pageBottom = report->ScreenPage().height();
    QCOMPARE(shot.pixelColor(10, pageBottom + 20), report->palette().window().color());
}

void ApgReportWindowTest::WheelKeysAndScrollBarMoveByTheirSteps() {
    auto hrv = MakeTestHrv();
    auto report = MakeReport(*hrv);
    QTest::keyClick(report.get(), Qt::Key_Down);
    QTest::keyClick(report.get(), Qt::Key_Down);
    QCOMPARE(report->ScrollPosition(), 32);
    QTest::keyClick(report.get(), Qt::Key_Up);
    QCOMPARE(report->ScrollPosition(), 16);

    auto wheel = [&](QWidget* target, int delta) {
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    wheel(report.get(), -120); // one notch towards the user: down
    QCOMPARE(report->ScrollPosition(), 48);
    wheel(report.get(), -240);
    QCOMPARE(report->ScrollPosition(), 112);
    wheel(report.get(), 120);
    QCOMPARE(report->ScrollPosition(), 80);
    // Over the scroll bar the wheel moves by the same step.
    auto* bar = report->findChild<QScrollBar*>();
    wheel(bar, -120);
    QCOMPARE(report->ScrollPosition(), 112);

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(report->ScrollPosition(), 212);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(report->ScrollPosition(), 512);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(report->ScrollPosition(), 412);
    bar->setValue(700); // thumb
    QCOMPARE(report->ScrollPosition(), 700);
}

void ApgReportWindowTest::MainAndCloseEndTheWindow() {
    for (int id : {Id::kMain, Id::kClose}) {
        auto hrv = MakeTestHrv();
        auto report = MakeReport(*hrv);
        QVERIFY(report->isVisible());
        report->Button(id)->click();
        QVERIFY(!report->isVisible());
    }
}

void ApgReportWindowTest::ShowsTheReportInEnglishAndKorean() {
    QVERIFY2(QFile::exists("../IMAGE/2/apgReport.jpg"),
             "the staged pictures are missing: build tondrela-pictures");
    const struct {
        int language;
        const char* name;
        const char* sexText;
    } languages[] = {{2, "english", "Male"}, {1, "korean", "남성"}};
    for (const auto& language : languages) {
        UseLanguage(language.language);
        auto hrv = MakeTestHrv();
        auto report = MakeReport(*hrv);
        QVERIFY(TheApp().userLine.contains(QString::fromUtf8(language.sexText)));
        QCOMPARE(report->windowTitle(), GetMessageText(30012));
        QVERIFY(
            !SaveScreenshot(report.get(), QString("apg_report_%1").arg(language.name)).isEmpty());
        report->SetScroll(report->ScrollMaximum());
        QVERIFY(!SaveScreenshot(report.get(), QString("apg_report_%1_end").arg(language.name))
                     .isEmpty());
        // The printed page as a picture, and as a PDF through the print path.
        QVERIFY(report->PrintPage().save(
            ScreenshotPath(QString("apg_report_page_%1.png").arg(language.name))));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(ScreenshotPath(QString("apg_report_%1.pdf").arg(language.name)));
        QVERIFY(report->RenderToPrinter(printer));
        report->close();
    }
}

void ApgReportWindowTest::SendButtonSendsTheRecordingWhenAServerIsSet() {
    // Without a settings file the button stays hidden (ControlsArePlacedOnThePageScale).
    const fs::path root = fs::path(QDir::currentPath().toStdString()).parent_path();
    ftptest::PlainFtpServer server(root / "server");
    QVERIFY(server.Running());
    const fs::path remote = server.MakeRemoteFolder();
    const fs::path settings = root / "config" / "tondrela" / "upload.conf";
    fs::create_directories(settings.parent_path());
    std::ofstream(settings) << server.Settings();

    for (int language : {2, 1}) {
        UseLanguage(language);
        auto hrv = MakeTestHrv();
        auto report = MakeReport(*hrv);
        CButtonST* send = report->Button(Id::kFtp);
        QVERIFY(send->isVisible());
        const double scale = (1600.0 - ScrollBarWidth(report.get())) / 2480;
        QCOMPARE(send->geometry(),
                 QRect(static_cast<int>(2036 * scale), static_cast<int>(64 * scale),
                       static_cast<int>(90 * scale), static_cast<int>(90 * scale)));
        SaveScreenshot(report.get(), language == 1 ? QStringLiteral("apg_report_send_korean")
                                                   : QStringLiteral("apg_report_send_english"));
        fs::remove_all(remote);
        fs::create_directories(remote);
        MessageCatcher catcher;
        catcher.answer = QMessageBox::Yes;
        QTest::mouseClick(send, Qt::LeftButton);
        const QString path = PathOf("Kim", KimStamp(12)); // the path the report holds
        QCOMPARE(catcher.messages,
                 QStringList({GetMessageText(40009), path + '\n' + GetMessageText(40017)}));
        QFile sent(
            QString::fromStdString((remote / fs::path(path.toStdString()).filename()).string()));
        QFile local(path);
        QVERIFY(sent.open(QIODevice::ReadOnly) && local.open(QIODevice::ReadOnly));
        QCOMPARE(sent.readAll(), local.readAll());
    }
    fs::remove(settings);
}

// ---------------------------------------------------------------------------------------------

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    RuntimeFolder tree;
    if (!tree.Valid()) {
        std::fputs("cannot create the runtime tree of the tests\n", stderr);
        return 1;
    }
    CTondrelaApp& app = TheApp();
    app.InitInstance(QSize(1600, 1000), QDir::currentPath());
    app.RegisterLanguageTables();

    int status = 0;
    ApgReportHistoryTest history;
    status |= QTest::qExec(&history, argc, argv);
    ApgReportPageTest page;
    status |= QTest::qExec(&page, argc, argv);
    ApgReportWindowTest window;
    status |= QTest::qExec(&window, argc, argv);
    return status;
}

#include "ApgReport_gui_test.moc"
