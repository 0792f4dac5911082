// A whole stress test on the simulated sensor, accelerated: the sensor's clock runs fast and
// wide reports carry the samples, while the test runs the window's timers itself (the real
// ones go on beside it: the end may come from either). The pulse recording is saved after the
// first minute and the rate recording at the end, both under the start time's name, and the
// analysis tool finds in the rate recording exactly the figures the report draws. Pictures
// of the window in the first minute, after it and at the end, in English and Korean, go to
// the screenshots folder.

#include "StressTestKit.h"

#include "controls/BtnST.h"
#include "stress/DlgStressReport.h"

#include "AnalysisTool.h"
#include "Screenshot.h"

#include <QJsonObject>
#include <QTest>

using namespace StressId;
using namespace stresstest;
using testkit::SetUpApplication;
using testkit::UsePlatform;
using testkit::WideSensor;

namespace {

constexpr long long kSamples = 155 * kSampleRate;
constexpr double kSensorSpeed = 40.0;

} // namespace

class DlgStressFlowTest : public QObject {
    Q_OBJECT
private slots:
    void WholeTestIsSavedAndMatchesTheAnalysisTool_data();
    void WholeTestIsSavedAndMatchesTheAnalysisTool();
};

void DlgStressFlowTest::WholeTestIsSavedAndMatchesTheAnalysisTool_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("name");
    QTest::newRow("english") << 2 << "english";
    QTest::newRow("korean") << 1 << "korean";
}

void DlgStressFlowTest::WholeTestIsSavedAndMatchesTheAnalysisTool() {
    QFETCH(int, language);
    QFETCH(QString, name);
    RuntimeFolder folder;
    QVERIFY(folder.Valid());
    SetUpApplication(language);
    MessageCatcher boxes;
    auto sensor = std::make_unique<WideSensor>(kSensorSpeed, kSamples);
    UsePlatform(std::move(sensor));

    auto window = OpenWindow();
    StressReportData shown;
    int reports = 0;
    window->SetReportRunner([&](CHrv* hrv, ReportSource source, QWidget* owner) {
        ++reports;
        QVERIFY(!hrv->ThreadRun());
        QVERIFY(source == ReportSource::Recording);
        const CDlgStressReport report(hrv, owner, source);
        shown = report.Data();
    });
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    window->Button(kStart)->click();
    QVERIFY(window->AcquisitionRunning());
    const QDateTime start = TheApp().testStartTime;
    CHrv* hrv = window->Hrv();

    // The first minute: the wellness figures are drawn beside the charts.
    QTRY_VERIFY_WITH_TIMEOUT(hrv->Count(CHrv::Series::Raw) >= 62 * kSampleRate, 30000);
    RunFigureTick(*window);
    window->OnTimer(CDlgStress::kSecondTimer);
    QVERIFY(window->ApgPhase());
    QVERIFY(!SaveScreenshot(window.get(), "stress_window_" + name + "_first_minute").isEmpty());
    QCOMPARE(RunSeconds(*window, 60), 60);
    QVERIFY(!window->ApgPhase());
    const QString stamp = start.toString("yyyyMMdd_HHmmss");
    QCOMPARE(folder.WorkFiles(), QStringList{"Kim_" + stamp + ".ppg"});

    // The test goes on; the charts fill their page.
    QTRY_VERIFY_WITH_TIMEOUT(hrv->Count(CHrv::Series::Raw) >= 90 * kSampleRate, 30000);
    QVERIFY(window->AcquisitionRunning());
    RunFigureTick(*window);
    QVERIFY(
        !SaveScreenshot(window.get(), "stress_window_" + name + "_after_first_minute").isEmpty());
    // The next second after the rate display passed 150 s ends it.
    QTRY_VERIFY_WITH_TIMEOUT(hrv->CopyRateDisplay().seconds > CDlgStress::kTestSeconds, 30000);
    RunSeconds(*window, 1);
    QVERIFY(!window->TimerActive(CDlgStress::kSecondTimer));
    QVERIFY(!window->AcquisitionRunning());
    QVERIFY(!window->TimerActive(CDlgStress::kGraphTimer));
    QVERIFY(boxes.messages.isEmpty());
    QCOMPARE(reports, 1);
    QVERIFY(!SaveScreenshot(window.get(), "stress_window_" + name + "_end").isEmpty());
    QCOMPARE(folder.WorkFiles(), (QStringList{"Kim_" + stamp + ".hrv", "Kim_" + stamp + ".ppg"}));

    // The pulse recording holds the first minute.
    const QJsonObject pulse = RunAnalysisTool(folder.Work(), {"--hrv", "Kim_" + stamp + ".ppg"});
    QCOMPARE(pulse["samples"].toInt(), 12000);

    // The analysis tool reads in the rate recording what the report draws.
    const QJsonObject result = RunAnalysisTool(folder.Work(), {"--hrv", "Kim_" + stamp + ".hrv"});
    QVERIFY2(!result.isEmpty(), "tondrela-analyse failed on the rate recording");
    QCOMPARE(result["age"].toInt(), 45);
    const QJsonObject hrvResult = result["hrv"].toObject();
    const HrvResult& r = shown.result;
    QVERIFY(r.stressScoreCopy > 0);
    QCOMPARE(result["header"].toObject()["value"].toDouble(), r.stressScoreCopy);
    const struct {
        const char* key;
        double value;
    } figures[] = {{"stressScore", r.stressScore},
                   {"stressScoreCopy", r.stressScoreCopy},
                   {"sdnn", r.sdnn},
                   {"rmssd", r.rmssd},
                   {"pnn50", r.pnn50},
                   {"lfPower", r.lfPower},
                   {"hfPower", r.hfPower},
                   {"meanRate", r.meanRate},
                   {"diff2Index", r.diff2Index}};
    for (const auto& figure : figures)
        QVERIFY2(hrvResult[figure.key].toDouble() == figure.value, figure.key);
    QCOMPARE(hrvResult["ansType"].toInt(), r.ansType);
    QVERIFY(r.ansType >= 1 && r.ansType <= 9);

    window->Button(kQuit)->click();
    TheApp().SetLink(nullptr);
}

QTEST_MAIN(DlgStressFlowTest)
#include "DlgStressFlow_gui_test.moc"
