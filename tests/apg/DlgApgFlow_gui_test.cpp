// A whole wellness test on the simulated sensor, accelerated: the sensor's clock runs fast
// and sends the 12000 samples a recording keeps, the test then runs the window's seconds to
// the end. The recording is saved under the start time's name, and the analysis tool finds
// in it the figures the window showed. Pictures of the window mid-test and at the end, in
// English and Korean, go to the screenshots folder.

#include "ApgWindowTestKit.h"

#include "analysis/RecordingFile.h"
#include "controls/BtnST.h"

#include "AnalysisTool.h"
#include "Screenshot.h"

#include <QJsonObject>
#include <QTest>

using namespace ApgId;
using namespace apgtest;

namespace {

constexpr long long kRecordedSamples = kPulseFileSamples; // 60 s
constexpr double kSensorSpeed = 20.0;

} // namespace

class DlgApgFlowTest : public QObject {
    Q_OBJECT
private slots:
    void WholeTestIsSavedAndMatchesTheAnalysisTool_data();
    void WholeTestIsSavedAndMatchesTheAnalysisTool();
};

void DlgApgFlowTest::WholeTestIsSavedAndMatchesTheAnalysisTool_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("name");
    QTest::newRow("english") << 2 << "english";
    QTest::newRow("korean") << 1 << "korean";
}

void DlgApgFlowTest::WholeTestIsSavedAndMatchesTheAnalysisTool() {
    QFETCH(int, language);
    QFETCH(QString, name);
    RuntimeFolder folder;
    QVERIFY(folder.Valid());
    SetUpApplication(language);
    MessageCatcher boxes;
    auto sensor = std::make_unique<LimitedSensor>(kSensorSpeed, kRecordedSamples);
    LimitedSensor* limited = sensor.get();
    UsePlatform(std::move(sensor));

    auto window = OpenWindow();
    int reports = 0;
    window->SetReportRunner([&](CHrv* hrv, ReportSource source, QWidget*) {
        ++reports;
        QVERIFY(!hrv->ThreadRun());
        QVERIFY(source == ReportSource::Recording);
    });
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    window->Button(kStart)->click();
    QVERIFY(window->AcquisitionRunning());
    const QDateTime start = TheApp().testStartTime;
    CHrv* hrv = window->Hrv();
    QTRY_VERIFY_WITH_TIMEOUT(hrv->Count(CHrv::Series::Raw) >= kRecordedSamples / 2, 30000);
    QTest::qWait(600); // a figure redraw of the real timer
    QVERIFY(!SaveScreenshot(window.get(), "apg_window_" + name + "_mid_test").isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(hrv->Count(CHrv::Series::Raw), int(kRecordedSamples), 30000);
    QCOMPARE(limited->Sent(), kRecordedSamples);

    // The rest of the minute at once.
    for (int tick = 0; tick < 10; ++tick)
        window->OnTimer(CDlgApg::kGraphTimer);
    QVERIFY(RunSecondsToTheEnd(*window) >= 1);
    QVERIFY(!window->TimerActive(CDlgApg::kSecondTimer));
    QVERIFY(!window->AcquisitionRunning());
    QVERIFY(boxes.messages.isEmpty());
    QCOMPARE(reports, 1);
    QVERIFY(!SaveScreenshot(window.get(), "apg_window_" + name + "_end").isEmpty());

    // Saved under the start time, which lies seconds before the end.
    const QString file = QString("Kim_%1.ppg").arg(start.toString("yyyyMMdd_HHmmss"));
    QCOMPARE(folder.WorkFiles(), QStringList{file});
    QVERIFY(start.secsTo(QDateTime::currentDateTime()) >= 1);

    const ApgSummary shown = window->ShownSummary();
    QVERIFY(shown.qualified >= CDlgApg::kMinSavedBeats);
    const QJsonObject result = RunAnalysisTool(folder.Work(), {file});
    QVERIFY2(!result.isEmpty(), "tondrela-analyse failed on the recording");
    QCOMPARE(result["samples"].toInt(), int(kRecordedSamples));
    QCOMPARE(result["age"].toInt(), 45);
    const QJsonObject apg = result["apg"].toObject();
    QCOMPARE(apg["qualified"].toInt(), shown.qualified);
    const struct {
        const char* key;
        double value;
    } figures[] = {{"ba", shown.ba},
                   {"ca", shown.ca},
                   {"da", shown.da},
                   {"ea", shown.ea},
                   {"abMs", shown.abMs},
                   {"acMs", shown.acMs},
                   {"adMs", shown.adMs},
                   {"aeMs", shown.aeMs},
                   {"wellnessIndex", shown.wellnessIndex},
                   {"vascularAge", shown.vascularAge}};
    for (const auto& figure : figures)
        QVERIFY2(apg[figure.key].toDouble() == figure.value, figure.key);
    QCOMPARE(apg["typeIndex"].toInt(), shown.typeIndex);
    QCOMPARE(result["header"].toObject()["type"].toString(), QString(QChar('A' + shown.typeIndex)));

    window->Button(kQuit)->click();
    TheApp().SetLink(nullptr);
}

QTEST_MAIN(DlgApgFlowTest)
#include "DlgApgFlow_gui_test.moc"
