// The wellness test window: layout and texts, the start refused without a sensor, the
// connection label, the pacing of the timers, the end of a test with too few and with just
// enough good beats, a save that fails, the type marker, the info pages and the help clicks.
// Samples are fed into the window's CHrv directly while the simulated sensor stays silent.

#include "ApgWindowTestKit.h"

#include "analysis/RecordingFile.h"
#include "analysis/RecordingHeader.h"
#include "apg/ApgHistory.h"
#include "apg/DlgApgReport.h"

#include "controls/BtnST.h"
#include "controls/staticex.h"
#include "device/SyntheticPulseSource.h"
#include "help/DlgApgHelp.h"

#include "Screenshot.h"

#include <QSignalSpy>
#include <QTest>

#include <thread>

using namespace ApgId;
using namespace apgtest;
using testkit::FeedUntilQualified;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);

int UserAgeNow() {
    return QDate::currentDate().year() - TheApp().CurrentUser.birthYear;
}

} // namespace

class DlgApgTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void ControlsAreLaidOutWithTheirTexts();
    void StartWithoutSensorShowsMessageAndStaysIdle();
    void ConnectionLabelFollowsTheSensorWithinOneTimerTick();
    void GraphsRedrawEveryTickAndFiguresEveryTenth();
    void NineteenGoodBeatsEndAtTheSixtyFirstSecondWithoutSaving();
    void TwentyGoodBeatsAreSavedUnderTheStartTime();
    void FailedSaveIsReported();
    void StopEndsWithoutSavingAndResultOpensTheReport();
    void ResultAfterStopShowsThisTestNotSaved();
    void TypeMarkerAppearsWithTheFirstGoodBeat();
    void InfoPagesMoveTheirButtons();
    void HelpClicksOpenOneHelpWindowInKoreanOnly();

private:
    std::unique_ptr<RuntimeFolder> m_folder;
    std::unique_ptr<MessageCatcher> m_boxes;
    struct Report {
        CHrv* hrv;
        ReportSource source;
        bool operator==(const Report&) const = default;
    };
    std::vector<Report> m_reports; // what each report was opened on
    bool ReportedOnce(CHrv* hrv, ReportSource source) const {
        return m_reports.size() == 1 && m_reports[0] == Report{hrv, source};
    }
    void CatchReports(CDlgApg& window) {
        window.SetReportRunner([this](CHrv* hrv, ReportSource source, QWidget*) {
            m_reports.push_back({hrv, source});
        });
    }
};

void DlgApgTest::init() {
    m_folder = std::make_unique<RuntimeFolder>();
    QVERIFY(m_folder->Valid());
    SetUpApplication(2);
    TheApp().SetLink(nullptr);
    m_boxes = std::make_unique<MessageCatcher>();
    m_reports.clear();
}

void DlgApgTest::cleanup() {
    TheApp().recordingsFolder = QStringLiteral("../work");
    m_boxes.reset();
    TheApp().SetLink(nullptr);
    m_folder.reset();
}

void DlgApgTest::ControlsAreLaidOutWithTheirTexts() {
    TheApp().InitInstance(QSize(1024, 768), QDir::currentPath());
    auto window = OpenWindow();
    // 755 * 0.64, 843 * 0.768, 54 * 0.64, 54 * 0.768, each truncated.
    QCOMPARE(window->Button(kStart)->geometry(), QRect(483, 647, 34, 41));
    QCOMPARE(window->Static(kTitle)->geometry().x(), -241); // out of view
    QCOMPARE(window->PanelRect(ApgPanel::AeDiagram), QRect(823, 438, 142, 161));
    QCOMPARE(window->Static(kPulseCaption)->text(), QString("Pulse wave"));
    QCOMPARE(window->Static(kRateCaption)->text(), QString("Mean Pulse"));
    QCOMPARE(window->Button(kInfo1)->text(), QString("The Principle of Wellness measure"));
    QCOMPARE(window->Button(kStart)->TooltipText(), QString("Start measurement"));
    QCOMPARE(window->Static(kUserLine)->text(), TheApp().userLine);
    QCOMPARE(window->Static(kTitle)->CurrentTextColor(), QColor(234, 17, 0));
    QCOMPARE(window->Static(kGood)->CurrentTextColor(), QColor(2, 156, 252));
    QCOMPARE(window->Static(kBad)->CurrentTextColor(), QColor(255, 4, 0));
    QCOMPARE(window->Static(kPulseTip)->CurrentTextColor(), QColor(164, 164, 164));
    QCOMPARE(window->Static(kToStart)->CurrentTextColor(), QColor(164, 164, 164));
    QCOMPARE(window->Static(kIndexCaption)->CurrentTextColor(), kWhite);
    for (int id : {kHidden1, kHidden2, kHidden3, kHidden4})
        QVERIFY(window->Button(id)->isHidden());
    // Idle: Start, Result and Quit enabled, Stop not; only the connection timer runs.
    QVERIFY(window->Button(kStart)->isEnabled());
    QVERIFY(window->Button(kResult)->isEnabled());
    QVERIFY(window->Button(kQuit)->isEnabled());
    QVERIFY(!window->Button(kStop)->isEnabled());
    QVERIFY(window->TimerActive(CDlgApg::kConnectionTimer));
    QVERIFY(!window->TimerActive(CDlgApg::kGraphTimer));
    QVERIFY(!window->TimerActive(CDlgApg::kSecondTimer));
    QVERIFY(!window->Background().isNull());
}

// No sensor, or one that is present but cannot be opened (no udev rule): Start says which.
void DlgApgTest::StartWithoutSensorShowsMessageAndStaysIdle() {
    const QString noAccess =
        "Sensor found but cannot be opened: install the udev rule and plug it in again";
    for (bool present : {false, true}) {
        if (present) { // plugged in without permission on its node
            SimulatedSensor* sensor = UseSimulatedSensor();
            sensor->Unplug();
            sensor->SetAccessible(false);
            sensor->PlugIn();
        }
        m_boxes->messages.clear();
        auto window = OpenWindow();
        QCOMPARE(window->Static(kStatus)->text(), present ? noAccess : QString("USB Disconnected"));
        window->Button(kStart)->click();
        QCOMPARE(m_boxes->messages,
                 QStringList{present ? noAccess : QString("Solvamira sensor not connected.")});
        QVERIFY(!window->AcquisitionRunning());
        QVERIFY(!window->Hrv()->Running());
        QVERIFY(!window->Button(kStop)->isEnabled());
        QVERIFY(window->Button(kStart)->isEnabled());
        QVERIFY(!window->TimerActive(CDlgApg::kGraphTimer));
        QVERIFY(!window->TimerActive(CDlgApg::kSecondTimer));
        QVERIFY(!TheApp().testStartTime.isValid());
        QVERIFY(m_folder->WorkFiles().isEmpty());
    }
}

void DlgApgTest::ConnectionLabelFollowsTheSensorWithinOneTimerTick() {
    SimulatedSensor* sensor = UseSimulatedSensor();
    auto window = OpenWindow();
    CStaticEx* status = window->Static(kStatus);
    QCOMPARE(status->text(), QString("USB connected"));
    QCOMPARE(status->CurrentTextColor(), kWhite);
    QVERIFY(window->TimerActive(CDlgApg::kConnectionTimer));

    std::thread([sensor] { sensor->Unplug(); }).join();
    QTRY_VERIFY(!TheApp().SensorConnected());
    QCOMPARE(status->text(), QString("USB connected")); // until the next tick of timer 10
    window->OnTimer(CDlgApg::kConnectionTimer);
    QCOMPARE(status->text(), QString("USB Disconnected"));
    QCOMPARE(status->CurrentTextColor(), kRed);

    std::thread([sensor] { sensor->PlugIn(); }).join();
    QTRY_VERIFY(TheApp().SensorConnected());
    window->OnTimer(CDlgApg::kConnectionTimer);
    QCOMPARE(status->text(), QString("USB connected"));
    QCOMPARE(status->CurrentTextColor(), kWhite);

    // During a test the real timer does the same within a second; the test goes on until Stop.
    window->Button(kStart)->click();
    QVERIFY(window->AcquisitionRunning());
    QTRY_VERIFY(window->Hrv()->Count(CHrv::Series::Raw) > 0);
    std::thread([sensor] { sensor->Unplug(); }).join();
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QString("USB Disconnected"), 1500);
    QVERIFY(window->AcquisitionRunning());
    window->Button(kStop)->click();
    QVERIFY(!window->AcquisitionRunning());
    QVERIFY(!window->Hrv()->ThreadRun());
}

void DlgApgTest::GraphsRedrawEveryTickAndFiguresEveryTenth() {
    auto window = OpenWindow();
    CHrv* hrv = window->Hrv();
    SyntheticPulseSource source;
    std::vector<int16_t> samples(1200); // 6 s: the rate display counts 3 s of ticks
    for (int16_t& s : samples)
        s = source.Next();
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    // Without the running flag nothing is drawn.
    window->OnTimer(CDlgApg::kGraphTimer);
    QCOMPARE(window->PanelImage(ApgPanel::PulseWave), window->PanelBackground(ApgPanel::PulseWave));

    hrv->SetRunning(true);
    for (int tick = 2; tick <= 9; ++tick)
        window->OnTimer(CDlgApg::kGraphTimer);
    QVERIFY(window->PanelImage(ApgPanel::PulseWave) !=
            window->PanelBackground(ApgPanel::PulseWave));
    QVERIFY(window->PanelImage(ApgPanel::Diff2) != window->PanelBackground(ApgPanel::Diff2));
    // The figures wait for the tenth tick (the phase back at 0).
    QCOMPARE(window->PanelImage(ApgPanel::PulseRate), window->PanelBackground(ApgPanel::PulseRate));
    window->OnTimer(CDlgApg::kGraphTimer);
    QVERIFY(window->PanelImage(ApgPanel::PulseRate) !=
            window->PanelBackground(ApgPanel::PulseRate));
    QVERIFY(window->PanelImage(ApgPanel::IndexScale) !=
            window->PanelBackground(ApgPanel::IndexScale));
    // The time panel belongs to timer 2.
    QCOMPARE(window->PanelImage(ApgPanel::Time), window->PanelBackground(ApgPanel::Time));
    window->OnTimer(CDlgApg::kSecondTimer);
    QVERIFY(window->PanelImage(ApgPanel::Time) != window->PanelBackground(ApgPanel::Time));
    // A new size cuts new slices; the panels show the test again at once.
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QImage before = window->PanelBackground(ApgPanel::PulseRate);
    window->resize(TheApp().screenSize - QSize(0, 100));
    QTRY_VERIFY(window->PanelBackground(ApgPanel::PulseRate) != before);
    QVERIFY(window->PanelImage(ApgPanel::PulseRate) !=
            window->PanelBackground(ApgPanel::PulseRate));
    QVERIFY(window->PanelImage(ApgPanel::Diff1) != window->PanelBackground(ApgPanel::Diff1));
}

void DlgApgTest::NineteenGoodBeatsEndAtTheSixtyFirstSecondWithoutSaving() {
    SimulatedSensor* sensor = UseSimulatedSensor();
    sensor->SetAnswering(false);
    auto window = OpenWindow();
    CatchReports(*window);
    window->Button(kStart)->click();
    QVERIFY(window->TimerActive(CDlgApg::kSecondTimer));
    QVERIFY(window->TimerActive(CDlgApg::kGraphTimer));
    QVERIFY(!window->Button(kStart)->isEnabled());
    QVERIFY(!window->Button(kQuit)->isEnabled());
    QVERIFY(!window->Button(kResult)->isEnabled());
    QVERIFY(window->Button(kStop)->isEnabled());
    QVERIFY(window->Button(kClose)->isEnabled());
    SyntheticPulseSource source;
    QVERIFY(FeedUntilQualified(*window->Hrv(), source, 19));
    QCOMPARE(RunSecondsToTheEnd(*window, 60), 60);
    QVERIFY(window->TimerActive(CDlgApg::kSecondTimer));
    QVERIFY(window->AcquisitionRunning());
    QCOMPARE(RunSecondsToTheEnd(*window, 1), 1);
    QVERIFY(!window->TimerActive(CDlgApg::kSecondTimer));
    QVERIFY(!window->TimerActive(CDlgApg::kGraphTimer));
    QVERIFY(!window->AcquisitionRunning());
    QCOMPARE(window->ElapsedSeconds(), 61);

    QCOMPARE(m_boxes->messages,
             QStringList{"Wellness data's automatic save function canceled, due to low signal "
                         "sensitivity."});
    QVERIFY(m_folder->WorkFiles().isEmpty());
    QVERIFY(m_reports.empty());
    QVERIFY(window->Button(kStart)->isEnabled());
    QVERIFY(window->Button(kQuit)->isEnabled());
    QVERIFY(window->Button(kResult)->isEnabled());
    QVERIFY(!window->Button(kStop)->isEnabled());
    // The results stay: the panels show the 19 beats, and Result opens the report on them.
    QCOMPARE(window->ShownSummary().qualified, 19);
    window->Button(kResult)->click();
    QVERIFY(ReportedOnce(window->Hrv(), ReportSource::UnsavedTest));
}

void DlgApgTest::TwentyGoodBeatsAreSavedUnderTheStartTime() {
    // Into the application's recordings folder: here another folder than "../work", as the
    // per-user folder of an installed program is.
    QTemporaryDir perUser;
    TheApp().recordingsFolder = perUser.path();
    SimulatedSensor* sensor = UseSimulatedSensor();
    sensor->SetAnswering(false);
    auto window = OpenWindow();
    bool joinedAtReport = false;
    window->SetReportRunner([&](CHrv* hrv, ReportSource source, QWidget* owner) {
        m_reports.push_back({hrv, source});
        joinedAtReport =
            owner == window.get() && !window->AcquisitionRunning() && !hrv->ThreadRun();
    });
    window->Button(kStart)->click();
    const QDateTime start = TheApp().testStartTime;
    QVERIFY(start.isValid());
    SyntheticPulseSource source;
    QVERIFY(FeedUntilQualified(*window->Hrv(), source, 20));
    // The end comes a little later than the start's second.
    QTest::qWait(1100);
    RunSecondsToTheEnd(*window);
    QVERIFY(m_boxes->messages.isEmpty());
    const QString expected = QString("Kim_%1.ppg").arg(start.toString("yyyyMMdd_HHmmss"));
    QCOMPARE(QDir(perUser.path()).entryList(QDir::Files), QStringList{expected});
    QVERIFY(m_folder->WorkFiles().isEmpty());
    QVERIFY(ReportedOnce(window->Hrv(), ReportSource::Recording));
    QVERIFY(joinedAtReport);

    // The header carries the person and the figures of the test.
    RecordingHeader header;
    CHrv reread;
    QCOMPARE(reread.LoadPulseFile(&header, (perUser.path() + "/" + expected).toStdString()),
             FileStatus::Ok);
    const ApgSummary shown = window->ShownSummary();
    QCOMPARE(header.Name(), std::string("Kim"));
    QCOMPARE(header.BirthYear(), TheApp().CurrentUser.birthYear);
    QCOMPARE(header.Sex(), 1);
    QCOMPARE(header.Phone(), std::string("010-1234"));
    QCOMPARE(header.Value(), shown.vascularAge);
    QCOMPARE(header.Type(), static_cast<char>('A' + shown.typeIndex));
    QCOMPARE(header.MeanPulse(), shown.meanPulse);
    QCOMPARE(shown.qualified, 20);
}

void DlgApgTest::FailedSaveIsReported() {
    SimulatedSensor* sensor = UseSimulatedSensor();
    sensor->SetAnswering(false);
    QVERIFY(QDir(m_folder->Work()).removeRecursively()); // no work folder
    auto window = OpenWindow();
    CatchReports(*window);
    window->Button(kStart)->click();
    SyntheticPulseSource source;
    QVERIFY(FeedUntilQualified(*window->Hrv(), source, 25));
    RunSecondsToTheEnd(*window);
    QCOMPARE(m_boxes->messages, QStringList{"The recording could not be saved. Check that the "
                                            "work folder exists and the disk is not full."});
    // The results are still shown in the report, as a test that was not saved.
    QVERIFY(ReportedOnce(window->Hrv(), ReportSource::UnsavedTest));
}

void DlgApgTest::StopEndsWithoutSavingAndResultOpensTheReport() {
    UseSimulatedSensor(5.0);
    auto window = OpenWindow();
    CatchReports(*window);
    window->Button(kResult)->click(); // before any test
    QVERIFY(ReportedOnce(window->Hrv(), ReportSource::Nothing));
    m_reports.clear();
    window->Button(kStart)->click();
    QTRY_VERIFY(window->Hrv()->Count(CHrv::Series::Raw) > 400);
    window->Button(kStop)->click();
    QVERIFY(!window->AcquisitionRunning());
    const int count = window->Hrv()->Count(CHrv::Series::Raw);
    QTest::qWait(100);
    QCOMPARE(window->Hrv()->Count(CHrv::Series::Raw), count); // nothing feeds it any more
    QVERIFY(m_folder->WorkFiles().isEmpty());
    QVERIFY(m_reports.empty());
    window->Button(kResult)->click();
    QVERIFY(ReportedOnce(window->Hrv(), ReportSource::UnsavedTest));
    // A new test starts from an empty measurement.
    window->Button(kStart)->click();
    QVERIFY(window->AcquisitionRunning());
    QCOMPARE(window->ElapsedSeconds(), 0);
    QVERIFY(window->Hrv()->Count(CHrv::Series::Raw) < count);
    window->Button(kStop)->click();
}

void DlgApgTest::ResultAfterStopShowsThisTestNotSaved() {
    // The newest saved recording of the folder: the report must not pass it off as this test.
    {
        CHrv earlier;
        AttachWellnessAnalysis(earlier);
        SyntheticPulseSource source;
        std::vector<int16_t> samples(kPulseFileSamples);
        for (int16_t& s : samples)
            s = source.Next();
        earlier.AddSamples(samples.data(), static_cast<int>(samples.size()));
        RecordingHeader header;
        header.SetName("Kim");
        header.SetBirthYear(TheApp().CurrentUser.birthYear);
        QCOMPARE(earlier.SavePulseFile("../work/Kim_20991231_235959.ppg", &header), FileStatus::Ok);
    }
    SimulatedSensor* sensor = UseSimulatedSensor();
    sensor->SetAnswering(false);
    auto window = OpenWindow();
    ApgReportData shown;
    QString note;
    window->SetReportRunner([&](CHrv* hrv, ReportSource source, QWidget* owner) {
        CDlgApgReport report(hrv, owner, source); // as the window runs it, without the wait
        shown = report.Data();
        note = report.PageNote();
        QVERIFY(report.PrintPage().save(ScreenshotPath("apg_report_page_after_stop.png")));
    });
    window->Button(kStart)->click();
    const QDateTime start = TheApp().testStartTime;
    SyntheticPulseSource source;
    std::vector<int16_t> samples(15 * 200); // 15 s
    for (int16_t& s : samples)
        s = source.Next();
    window->Hrv()->AddSamples(samples.data(), static_cast<int>(samples.size()));
    for (int tick = 0; tick < 10; ++tick) // the figures of the last redraw
        window->OnTimer(CDlgApg::kGraphTimer);
    window->Button(kStop)->click();
    const ApgSummary test = window->ShownSummary();
    QVERIFY(test.qualified > 0);

    window->Button(kResult)->click();
    QCOMPARE(note, QString("This test was not saved."));
    QCOMPARE(shown.dateTimeText, start.toString("yyyy-MM-dd HH:mm:ss"));
    QCOMPARE(shown.summary.qualified, test.qualified);
    QCOMPARE(shown.summary.wellnessIndex, test.wellnessIndex);
    QCOMPARE(shown.history.size(), size_t(1)); // the saved one, below
    // The window's CHrv still holds this test.
    QCOMPARE(window->Hrv()->Count(CHrv::Series::Raw), int(samples.size()));
    QVERIFY(window->Hrv()->Identity().dateTimeText.empty());
    QCOMPARE(window->Hrv()->SummariseApg(UserAgeNow(), 1).qualified, test.qualified);
}

void DlgApgTest::TypeMarkerAppearsWithTheFirstGoodBeat() {
    SimulatedSensor* sensor = UseSimulatedSensor();
    sensor->SetAnswering(false);
    auto window = OpenWindow();
    window->Button(kStart)->click();
    auto figures = [&] {
        for (int tick = 0; tick < 10; ++tick)
            window->OnTimer(CDlgApg::kGraphTimer);
    };
    SyntheticPulseSource source;
    std::vector<int16_t> samples(1000);
    for (int16_t& s : samples)
        s = source.Next();
    window->Hrv()->AddSamples(samples.data(), 300); // beats are still being looked for
    figures();
    QCOMPARE(window->ShownSummary().typeIndex, -1);
    QCOMPARE(window->PanelImage(ApgPanel::WellnessType),
             window->PanelBackground(ApgPanel::WellnessType));
    QVERIFY(FeedUntilQualified(*window->Hrv(), source, 1));
    figures();
    const int type = window->ShownSummary().typeIndex;
    QVERIFY(type >= 0 && type <= 6);
    const QImage marker = window->PanelImage(ApgPanel::WellnessType);
    const int x = 235 + 33 * type - 218; // scale 1 at 1600 x 1000
    QVERIFY(qBlue(marker.pixel(x, 7)) > 200 && qRed(marker.pixel(x, 7)) < 60);
    window->Button(kStop)->click();
}

void DlgApgTest::InfoPagesMoveTheirButtons() {
    auto window = OpenWindow();
    QCOMPARE(window->SelectedInfoPage(), 1);
    const int expected[5][3] = {
        {}, {133, 491, 517}, {133, 159, 517}, {133, 159, 185}, {133, 159, 185}};
    const int buttons[] = {kInfo1, kInfo2, kInfo3};
    for (int page = 1; page <= 4; ++page) {
        if (page <= 3)
            window->Button(buttons[page - 1])->click();
        else
            window->Button(kInfoMore)->click();
        QCOMPARE(window->SelectedInfoPage(), page);
        for (int b = 0; b < 3; ++b) {
            QCOMPARE(window->Button(buttons[b])->geometry(), QRect(91, expected[page][b], 480, 25));
            const bool selected = b == std::min(page, 3) - 1;
            QCOMPARE(window->Button(buttons[b])->ColorOf(CButtonST::Color::TextOut),
                     selected ? QColor(233, 16, 0) : QColor(92, 92, 92));
        }
        QCOMPARE(window->Button(kInfoMore)->isVisibleTo(window.get()), page == 3);
        QCOMPARE(window->Button(kInfoBack)->isVisibleTo(window.get()), page == 4);
    }
    // Page 3's picture at (91, 210); 1206 at 220 * 480 / 482 = 219, 305 * 332 / 334 = 303.
    window->Button(kInfo3)->click();
    QCOMPARE(window->Button(kInfoMore)->geometry(), QRect(91 + 219, 210 + 303, 54, 24));
    window->Button(kInfoMore)->click();
    QCOMPARE(window->Button(kInfoBack)->geometry(), QRect(91 + 219, 210 + 4, 54, 24));
    window->Button(kInfoBack)->click(); // back from page 4 to page 3
    QCOMPARE(window->SelectedInfoPage(), 3);
    QVERIFY(window->Button(kInfoMore)->isVisibleTo(window.get()));
    QVERIFY(!window->Button(kInfoBack)->isVisibleTo(window.get()));
    window->Button(kInfoMore)->click();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    SaveScreenshot(window.get(), "apg_window_english_info_page_4");
}

void DlgApgTest::HelpClicksOpenOneHelpWindowInKoreanOnly() {
    for (int language : {2, 3, 4, 1}) {
        SetUpApplication(language);
        auto window = OpenWindow();
        window->show();
        for (int id : {kRateCaption, kStrengthCaption, kTimeCaption})
            QTest::mouseClick(window->Static(id), Qt::LeftButton);
        const auto helps = window->findChildren<CDlgApgHelp*>();
        QCOMPARE(helps.size(), qsizetype(language == 1 ? 1 : 0));
        QVERIFY(m_boxes->messages.isEmpty());
    }
}

QTEST_MAIN(DlgApgTest)
#include "DlgApg_gui_test.moc"
