// What the frame of both test windows (wellness and stress) does for a running test: Escape
// leaves it running, closing asks first ("No" keeps it running, "Yes" stops it and joins the
// acquisition thread before the window goes), and Result after Stop hands the report the
// window's own CHrv as an unsaved test, which no report replays anything into. While one
// window's test runs, the other window's Start is refused with a message.

#include "analysis/Hrv.h"
#include "apg/DlgApg.h"
#include "controls/BtnST.h"
#include "stress/DlgStress.h"

#include "SensorKit.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace {

constexpr double kFastSensor = 20.0;

template <class Window> std::unique_ptr<CTestDialog> Open(const char* picture) {
    auto window = std::make_unique<Window>();
    window->resize(TheApp().screenSize);
    window->SetBackground(
        TheApp().ResourcePath(QStringLiteral("IMAGE"), QString::fromLatin1(picture)));
    window->show();
    return window;
}

const std::function<std::unique_ptr<CTestDialog>()> kWindows[] = {
    [] { return Open<CDlgApg>("apg.jpg"); },
    [] { return Open<CDlgStress>("stress.jpg"); },
};

// Starts a test and waits until samples arrive.
bool StartFeeding(CTestDialog& window) {
    window.Button(CTestDialog::kStartId)->click();
    return window.AcquisitionRunning() &&
           QTest::qWaitFor([&] { return window.Hrv()->Count(CHrv::Series::Raw) > 200; }, 10000);
}

// True when the CHrv does not change for a while: no thread feeds it.
bool StaysStill(CHrv& hrv) {
    const int count = hrv.Count(CHrv::Series::Raw);
    QTest::qWait(60);
    return hrv.Count(CHrv::Series::Raw) == count && !hrv.ThreadRun();
}

} // namespace

class TestWindowClosingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ClosingDuringATestAsksAndYesStopsAndJoins_data();
    void ClosingDuringATestAsksAndYesStopsAndJoins();
    void ResultAfterStopHandsOverTheUnsavedTest_data();
    void ResultAfterStopHandsOverTheUnsavedTest();
    void StartWhileTheOtherWindowsTestRunsIsRefused_data();
    void StartWhileTheOtherWindowsTestRunsIsRefused();

private:
    static void Windows();

    std::unique_ptr<RuntimeFolder> m_folder;
    std::unique_ptr<MessageCatcher> m_boxes;
};

void TestWindowClosingTest::init() {
    m_folder = std::make_unique<RuntimeFolder>();
    QVERIFY(m_folder->Valid());
    testkit::SetUpApplication(2);
    testkit::UseSimulatedSensor(kFastSensor);
    m_boxes = std::make_unique<MessageCatcher>();
}

void TestWindowClosingTest::cleanup() {
    m_boxes.reset();
    TheApp().SetLink(nullptr);
    m_folder.reset();
}

void TestWindowClosingTest::Windows() {
    QTest::addColumn<int>("kind");
    QTest::newRow("wellness") << 0;
    QTest::newRow("stress") << 1;
}

void TestWindowClosingTest::ClosingDuringATestAsksAndYesStopsAndJoins_data() {
    Windows();
}

void TestWindowClosingTest::ClosingDuringATestAsksAndYesStopsAndJoins() {
    QFETCH(int, kind);
    const QStringList question{"A test is running. Stop it and close the window?"};
    for (bool closeBox : {true, false}) {
        const char* way = closeBox ? "close box" : "close";
        std::unique_ptr<CTestDialog> window = kWindows[kind]();
        QSignalSpy closed(window.get(), &CBkDialog::childClosed);
        QVERIFY(StartFeeding(*window));
        auto close = [&] {
            if (closeBox)
                window->Button(CTestDialog::kCloseId)->click();
            else
                window->close();
        };
        // Escape does nothing while the test runs; "No" keeps it running.
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(m_boxes->messages.isEmpty());
        QVERIFY(!window->Button(CTestDialog::kQuitId)->isEnabled());
        m_boxes->answer = QMessageBox::No;
        close();
        QCOMPARE(m_boxes->messages, question);
        QVERIFY2(window->isVisible() && closed.isEmpty(), way);
        QVERIFY(window->TestRunning());
        const int count = window->Hrv()->Count(CHrv::Series::Raw);
        QTRY_VERIFY(window->Hrv()->Count(CHrv::Series::Raw) > count); // still fed

        // "Yes" stops the test and joins its thread before the window goes.
        m_boxes->messages.clear();
        m_boxes->answer = QMessageBox::Yes;
        close();
        QCOMPARE(m_boxes->messages, question);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window->AcquisitionRunning());
        QVERIFY(StaysStill(*window->Hrv()));
        for (int id :
             {CTestDialog::kGraphTimer, CTestDialog::kSecondTimer, CTestDialog::kConnectionTimer})
            QVERIFY2(!window->TimerActive(id), way);
        window.reset();
        QVERIFY(m_folder->WorkFiles().isEmpty());
        m_boxes->messages.clear();
    }
    // Idle, the window closes without a question.
    std::unique_ptr<CTestDialog> window = kWindows[kind]();
    QVERIFY(window->close());
    QVERIFY(m_boxes->messages.isEmpty());
}

void TestWindowClosingTest::ResultAfterStopHandsOverTheUnsavedTest_data() {
    Windows();
}

void TestWindowClosingTest::ResultAfterStopHandsOverTheUnsavedTest() {
    QFETCH(int, kind);
    std::unique_ptr<CTestDialog> window = kWindows[kind]();
    std::vector<std::pair<CHrv*, ReportSource>> reports;
    window->SetReportRunner(
        [&](CHrv* hrv, ReportSource source, QWidget*) { reports.emplace_back(hrv, source); });
    window->Button(CTestDialog::kResultId)->click(); // no test yet
    QVERIFY(StartFeeding(*window));
    window->Button(CTestDialog::kStopId)->click();
    const int count = window->Hrv()->Count(CHrv::Series::Raw);
    window->Button(CTestDialog::kResultId)->click();
    QCOMPARE(reports.size(), size_t(2));
    QVERIFY(reports[0] == std::pair(window->Hrv(), ReportSource::Nothing));
    QVERIFY(reports[1] == std::pair(window->Hrv(), ReportSource::UnsavedTest));
    QCOMPARE(window->Hrv()->Count(CHrv::Series::Raw), count);
}

void TestWindowClosingTest::StartWhileTheOtherWindowsTestRunsIsRefused_data() {
    Windows();
}

void TestWindowClosingTest::StartWhileTheOtherWindowsTestRunsIsRefused() {
    QFETCH(int, kind); // the window that runs first
    std::unique_ptr<CTestDialog> running = kWindows[kind]();
    std::unique_ptr<CTestDialog> refused = kWindows[1 - kind]();
    QVERIFY(StartFeeding(*running));
    refused->Button(CTestDialog::kStartId)->click();
    QCOMPARE(m_boxes->messages,
             QStringList{"The test could not be started: the sensor is in use by another test."});
    QVERIFY(!refused->TestRunning() && !refused->AcquisitionRunning());
    QVERIFY(refused->Button(CTestDialog::kStartId)->isEnabled());
    QVERIFY(!refused->TimerActive(CTestDialog::kSecondTimer));
    QVERIFY(StaysStill(*refused->Hrv()));
    const int count = running->Hrv()->Count(CHrv::Series::Raw);
    QTRY_VERIFY(running->Hrv()->Count(CHrv::Series::Raw) > count); // undisturbed

    // Once the first test stops, the other window starts.
    running->Button(CTestDialog::kStopId)->click();
    QVERIFY(StartFeeding(*refused));
    refused->Button(CTestDialog::kStopId)->click();
}

QTEST_MAIN(TestWindowClosingTest)
#include "TestWindowClosing_concurrency_gui_test.moc"
