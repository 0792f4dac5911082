// The stress test window: layout and texts, the start refused without a sensor, the panels of
// each tick, the first minute with too few good beats, a test too short to be analysed,
// failed saves, the information topics and the three calculators. Samples are fed into the
// window's CHrv directly while the simulated sensor stays silent.

#include "StressTestKit.h"

#include "controls/BtnST.h"
#include "controls/ControlId.h"
#include "controls/staticex.h"

#include "Screenshot.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace StressId;
using namespace stresstest;
using testkit::FeedPulse;
using testkit::FeedUntilQualified;
using testkit::SetUpApplication;
using testkit::UseSimulatedSensor;

class DlgStressTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void ControlsAreLaidOutWithTheirTexts();
    void StartWithoutSensorShowsMessageAndStaysIdle();
    void ChartsEveryTenthTickWellnessPanelsOnlyInTheFirstMinute();
    void NineteenBeatsSaveNoPulseRecordingAndTheTestGoesOnToItsRateRecording();
    void LessThan120SecondsOfValidBeatsSaveNothingAndOpenNoReport();
    void FailedSavesAreReportedAndTheReportStillOpens();
    void TopicsPlaceTheirButtonsAndControls();
    void CalculatorsShowTheirResults();

private:
    // Starts a test on a silent sensor.
    std::unique_ptr<CDlgStress> StartSilentTest();

    std::unique_ptr<RuntimeFolder> m_folder;
    std::unique_ptr<MessageCatcher> m_boxes;
    std::vector<CHrv*> m_reports;        // the CHrv each report was opened on
    std::vector<ReportSource> m_sources; // and what it held
    bool m_joinedAtReport = true;
};

void DlgStressTest::init() {
    m_folder = std::make_unique<RuntimeFolder>();
    QVERIFY(m_folder->Valid());
    SetUpApplication(2);
    TheApp().SetLink(nullptr);
    m_boxes = std::make_unique<MessageCatcher>();
    m_reports.clear();
    m_sources.clear();
    m_joinedAtReport = true;
}

void DlgStressTest::cleanup() {
    m_boxes.reset();
    TheApp().SetLink(nullptr);
    m_folder.reset();
}

std::unique_ptr<CDlgStress> DlgStressTest::StartSilentTest() {
    UseSimulatedSensor()->SetAnswering(false);
    auto window = OpenWindow();
    window->SetReportRunner([this](CHrv* hrv, ReportSource source, QWidget* owner) {
        m_reports.push_back(hrv);
        m_sources.push_back(source);
        m_joinedAtReport = m_joinedAtReport && !hrv->ThreadRun() && owner != nullptr &&
                           !static_cast<CDlgStress*>(owner)->AcquisitionRunning();
    });
    window->Button(kStart)->click();
    return window;
}

void DlgStressTest::ControlsAreLaidOutWithTheirTexts() {
    auto window = OpenWindow();
    QCOMPARE(window->Button(kStart)->geometry(), QRect(755, 843, 54, 54));
    QCOMPARE(window->Button(kInfo3)->geometry(), QRect(91, 517, 480, 25));
    QCOMPARE(window->PanelRect(kHeartRatePanel), QRect(658, 303, 850, 95));
    QCOMPARE(window->PanelRect(kLfHfPanel), QRect(658, 446, 850, 95));
    const struct {
        int id;
        const char* text;
    } texts[] = {{kHrvCaption, "H.R. variability"},
                 {kAnsCaption, "A.N.S."},
                 {kHrvTip, "Heart Rate Variability during test"},
                 {kTimeTip, "About 2.5 minutes required."},
                 {kTitle, "Stress index test"}};
    for (const auto& t : texts)
        QCOMPARE(window->Static(t.id)->text(), QString(t.text));
    QCOMPARE(window->Button(kInfo1)->text(), QString("Standard Weight and Obesity Index"));
    QCOMPARE(window->Radio(kFemale)->text(), QString("Female"));
    QVERIFY(window->Radio(kMale)->isChecked()); // shown, not read
    QCOMPARE(window->Static(kHrvTip)->CurrentTextColor(), QColor(164, 164, 164));
    QCOMPARE(window->Static(kStatus)->text(), QString("USB Disconnected"));
    for (int id : {kDecoration1, kDecoration2})
        QVERIFY(window->Button(id)->isHidden());
    QVERIFY(window->Button(kStart)->isEnabled() && window->Button(kQuit)->isEnabled());
    QVERIFY(!window->Button(kStop)->isEnabled());
    QVERIFY(window->TimerActive(CDlgStress::kConnectionTimer));
    QVERIFY(!window->TimerActive(CDlgStress::kGraphTimer));
    QVERIFY(!window->ApgPhase());
    QCOMPARE(window->Topic(), 1);
}

void DlgStressTest::StartWithoutSensorShowsMessageAndStaysIdle() {
    auto window = OpenWindow();
    window->Button(kStart)->click();
    QCOMPARE(m_boxes->messages, QStringList{"Solvamira sensor not connected."});
    QVERIFY(!window->AcquisitionRunning());
    QVERIFY(!window->TimerActive(CDlgStress::kSecondTimer));
    QVERIFY(!window->ApgPhase());
    QVERIFY(window->Button(kStart)->isEnabled());
}

void DlgStressTest::ChartsEveryTenthTickWellnessPanelsOnlyInTheFirstMinute() {
    auto window = StartSilentTest();
    QVERIFY(window->ApgPhase());
    QVERIFY(!window->Button(kQuit)->isEnabled() && window->Button(kClose)->isEnabled());
    CHrv& hrv = *window->Hrv();
    SyntheticPulseSource source;
    FeedPulse(hrv, source, 20);
    auto drawn = [&](ApgPanel panel) {
        return window->PanelImage(panel) != window->PanelBackground(panel);
    };
    for (int tick = 1; tick <= 9; ++tick)
        window->OnTimer(CDlgStress::kGraphTimer);
    QVERIFY(drawn(ApgPanel::PulseWave));
    QVERIFY(!drawn(kHeartRatePanel) && !drawn(ApgPanel::PulseRate));
    window->OnTimer(CDlgStress::kGraphTimer);
    for (ApgPanel panel : {kHeartRatePanel, ApgPanel::PulseRate, ApgPanel::SignalStrength,
                           ApgPanel::IndexScale, ApgPanel::StandardSignal})
        QVERIFY(drawn(panel));
    QVERIFY(!drawn(ApgPanel::Time)); // timer 2's
    window->OnTimer(CDlgStress::kSecondTimer);
    QVERIFY(drawn(ApgPanel::Time));

    // After the first minute the wellness panels keep their last picture; the charts go on.
    QVERIFY(RunSeconds(*window, 60) == 60 && !window->ApgPhase());
    const QImage standard = window->PanelImage(ApgPanel::StandardSignal);
    const QImage rates = window->PanelImage(kHeartRatePanel);
    FeedPulse(hrv, source, 30);
    RunFigureTick(*window);
    QCOMPARE(window->PanelImage(ApgPanel::StandardSignal), standard);
    QVERIFY(window->PanelImage(kHeartRatePanel) != rates);
    window->Button(kStop)->click();
}

void DlgStressTest::NineteenBeatsSaveNoPulseRecordingAndTheTestGoesOnToItsRateRecording() {
    auto window = StartSilentTest();
    const QDateTime start = TheApp().testStartTime;
    CHrv& hrv = *window->Hrv();
    SyntheticPulseSource source;
    QVERIFY(FeedUntilQualified(hrv, source, 19));
    QCOMPARE(RunSeconds(*window, 61), 61);
    QCOMPARE(m_boxes->messages, QStringList{"Wellness data's automatic save function canceled, "
                                            "due to low signal sensitivity."});
    QVERIFY(m_folder->WorkFiles().isEmpty());
    QVERIFY(!window->ApgPhase());
    QVERIFY(window->TimerActive(CDlgStress::kSecondTimer)); // the test goes on
    QVERIFY(window->AcquisitionRunning());

    // The wellness analysis took the first minute only.
    FeedPulse(hrv, source, 140);
    QCOMPARE(hrv.SummariseApg(45, 1).qualified, 19);
    QVERIFY(hrv.CopyRateDisplay().seconds > CDlgStress::kTestSeconds);
    QCOMPARE(RunSeconds(*window, 5), 1); // the end comes with the next second
    QVERIFY(!window->TimerActive(CDlgStress::kSecondTimer));
    QVERIFY(!window->AcquisitionRunning());
    QCOMPARE(m_boxes->messages.size(), 1);
    const QString name = QString("Kim_%1.hrv").arg(start.toString("yyyyMMdd_HHmmss"));
    QCOMPARE(m_folder->WorkFiles(), QStringList{name});
    QCOMPARE(m_reports, std::vector<CHrv*>{&hrv});
    QVERIFY(m_sources == std::vector<ReportSource>{ReportSource::Recording});
    QVERIFY(m_joinedAtReport);
    QVERIFY(window->Button(kStart)->isEnabled() && window->Button(kResult)->isEnabled());

    // The rate recording carries the person and the stress score of the analysis.
    RecordingHeader header;
    CHrv reread;
    QCOMPARE(reread.LoadRateFile(&header, (m_folder->Work() + "/" + name).toStdString()),
             FileStatus::Ok);
    QCOMPARE(header.Name(), std::string("Kim"));
    QCOMPARE(header.Sex(), 1);
    QCOMPARE(header.Value(), hrv.Result().stressScoreCopy);
    QVERIFY(hrv.Result().stressScoreCopy > 0);
}

void DlgStressTest::LessThan120SecondsOfValidBeatsSaveNothingAndOpenNoReport() {
    auto window = StartSilentTest();
    CHrv& hrv = *window->Hrv();
    // 100 s of pulse, then a finger that does not move: no beats for the rest of the test.
    SyntheticPulseSource source;
    FeedPulse(hrv, source, 100);
    RunSeconds(*window, 61);
    const QStringList saved = m_folder->WorkFiles();
    QCOMPARE(saved.size(), 1); // the first minute's pulse recording
    QVERIFY(saved.front().endsWith(".ppg"));
    std::vector<int16_t> still(55 * 200, 512);
    hrv.AddSamples(still.data(), static_cast<int>(still.size()));
    QVERIFY(hrv.CopyRateDisplay().seconds > CDlgStress::kTestSeconds);
    RunSeconds(*window, 5);
    QVERIFY(!window->TimerActive(CDlgStress::kSecondTimer));
    QCOMPARE(m_boxes->messages,
             QStringList{"Data is too short or losing rate is higher. Stop the processing"});
    QCOMPARE(m_folder->WorkFiles(), saved);
    QVERIFY(m_reports.empty());
}

void DlgStressTest::FailedSavesAreReportedAndTheReportStillOpens() {
    QVERIFY(QDir(m_folder->Work()).removeRecursively()); // no work folder
    auto window = StartSilentTest();
    SyntheticPulseSource source;
    FeedPulse(*window->Hrv(), source, 70);
    RunSeconds(*window, 61);
    FeedPulse(*window->Hrv(), source, 85);
    RunSeconds(*window, 5);
    const QString failed = "The recording could not be saved. Check that the work folder "
                           "exists and the disk is not full.";
    QCOMPARE(m_boxes->messages, (QStringList{failed, failed})); // the pulse, then the rates
    // The report shows the test, noted as not saved.
    QVERIFY(m_sources == std::vector<ReportSource>{ReportSource::UnsavedTest});
}

void DlgStressTest::TopicsPlaceTheirButtonsAndControls() {
    auto window = OpenWindow();
    auto visible = [&](int id) { return !FindControl(window.get(), id)->isHidden(); };
    const struct {
        int topic;
        int secondButtonY; // 1209 in design units = pixels at 1600 x 1000
        int toCalculator;  // the calculator button shown (0: none of the three)
        int back;          // the back button shown
        std::vector<int> shown;
    } topics[] = {
        {1, 491, kCalculator4, 0, {}},
        {2, 159, kCalculator5, 0, {}},
        {3, 159, kCalculator6, 0, {}},
        {4, 491, kCalculator4, kBack1, {kHeight, kWeight, kStandardWeight, kObesity, kMale}},
        {5, 159, kCalculator5, kBack2, {kHeight, kWeight, kBodyMassIndex, kFemale}},
        {6, 159, kCalculator6, kBack3, {kWaist, kHip, kWaistHipRatio, kMale}},
    };
    const int controls[] = {kHeight,  kWeight,        kWaist,         kHip,  kStandardWeight,
                            kObesity, kBodyMassIndex, kWaistHipRatio, kMale, kFemale};
    for (const auto& t : topics) {
        window->ShowTopic(t.topic);
        QCOMPARE(window->Button(kInfo2)->y(), t.secondButtonY);
        for (int id : {kCalculator4, kCalculator5, kCalculator6})
            QCOMPARE(visible(id), id == t.toCalculator);
        for (int id : {kBack1, kBack2, kBack3})
            QCOMPARE(visible(id), id == t.back);
        for (int id : controls) {
            const bool radio = id == kMale || id == kFemale;
            const bool expected =
                radio ? t.topic >= 4
                      : std::find(t.shown.begin(), t.shown.end(), id) != t.shown.end();
            QVERIFY2(visible(id) == expected,
                     qPrintable(QString("topic %1, control %2").arg(t.topic).arg(id)));
        }
    }
    // The buttons lead there and back.
    window->Button(kBack3)->click();
    QCOMPARE(window->Topic(), 3);
    window->Button(kCalculator6)->click();
    QCOMPARE(window->Topic(), 6);
    window->Button(kInfo1)->click();
    QCOMPARE(window->Topic(), 1);
}

void DlgStressTest::CalculatorsShowTheirResults() {
    auto window = OpenWindow();
    const struct {
        int button;
        const char* first;
        const char* second;
        std::vector<std::pair<int, const char*>> outputs;
        int marker; // slot of the body-mass-index marker, -1: hidden
    } cases[] = {
        {kCalculator4, "170", "70", {{kStandardWeight, "63.0"}, {kObesity, "11%"}}, -1},
        {kCalculator4, "155", "60", {{kStandardWeight, "52.5"}, {kObesity, "14%"}}, -1},
        {kCalculator4, "140", "40", {{kStandardWeight, "40.0"}, {kObesity, "0%"}}, -1},
        {kCalculator4, "", "70", {{kStandardWeight, ""}, {kObesity, ""}}, -1},
        {kCalculator5, "180", "81", {{kBodyMassIndex, "25.0"}}, 2},
        {kCalculator5, "160", "40", {{kBodyMassIndex, "15.6"}}, 0},
        {kCalculator5, "180", "0", {{kBodyMassIndex, ""}}, -1},
        {kCalculator6, "80", "100", {{kWaistHipRatio, "0.8"}}, -1},
        {kCalculator6, "0", "100", {{kWaistHipRatio, ""}}, -1},
    };
    for (const auto& c : cases) {
        const bool waist = c.button == kCalculator6;
        window->Edit(waist ? kWaist : kHeight)->setText(c.first);
        window->Edit(waist ? kHip : kWeight)->setText(c.second);
        window->Button(c.button)->click();
        for (const auto& [id, text] : c.outputs)
            QCOMPARE(window->Static(id)->text(), QString(text));
        CStaticEx* marker = window->Static(kBodyMassMarker);
        QCOMPARE(!marker->isHidden(), c.marker >= 0);
        if (c.marker >= 0) {
            const QRect slot = QRect(91 + kBodyMassScale.x + kBodyMassScale.width / 5 * c.marker, 0,
                                     kBodyMassScale.width / 5, 1);
            QVERIFY(marker->geometry().center().x() >= slot.left() &&
                    marker->geometry().center().x() <= slot.right());
        }
    }
    window->Edit(kHeight)->setText("180");
    window->Edit(kWeight)->setText("81");
    window->Button(kCalculator5)->click();
    QVERIFY(!SaveScreenshot(window.get(), "stress_window_body_mass_index").isEmpty());
    window->Button(kCalculator4)->click();
    QVERIFY(!SaveScreenshot(window.get(), "stress_window_standard_weight").isEmpty());
}

QTEST_MAIN(DlgStressTest)
#include "DlgStress_gui_test.moc"
