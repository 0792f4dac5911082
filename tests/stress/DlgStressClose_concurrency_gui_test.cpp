// Closing the stress window while its acquisition thread feeds the CHrv (by the close box of
// the window the main menu opened, and by destroying it), and the wellness and stress windows
// on one sensor link: a second start is refused while the other window's loop runs, and
// succeeds once that window closed; two loops never read from the link at the same time.

#include "StressTestKit.h"

#include "apg/DlgApg.h"
#include "app/DlgMain.h"
#include "app/MainMenuLayout.h"
#include "controls/BtnST.h"

#include <QPointer>
#include <QTest>

using namespace stresstest;
using testkit::SetUpApplication;
using testkit::UsePlatform;

namespace {

constexpr double kFastSensor = 20.0;

// The simulated sensor, counting the reads in progress at once.
class CountingSensor : public SimulatedSensor {
public:
    CountingSensor() : SimulatedSensor(std::make_unique<SyntheticPulseSource>(), kFastSensor) {}

    int MostReadsAtOnce() const { return m_most; }

    ReadStatus Read(Handle handle, uint8_t* report, int length, int* received,
                    std::chrono::milliseconds limit, ReadCancel& cancel) override {
        const int inside = ++m_inside;
        int most = m_most;
        while (inside > most && !m_most.compare_exchange_weak(most, inside)) {
        }
        const ReadStatus status =
            SimulatedSensor::Read(handle, report, length, received, limit, cancel);
        --m_inside;
        return status;
    }

private:
    std::atomic<int> m_inside{0};
    std::atomic<int> m_most{0};
};

// Starts a test and waits until samples arrive.
bool StartFeeding(CTestDialog& window) {
    window.Button(CTestDialog::kStartId)->click();
    if (!window.AcquisitionRunning())
        return false;
    return QTest::qWaitFor([&] { return window.Hrv()->Count(CHrv::Series::Raw) > 200; }, 10000);
}

// True when the CHrv does not change for a while: no thread feeds it.
bool StaysStill(CHrv& hrv) {
    const int count = hrv.Count(CHrv::Series::Raw);
    QTest::qWait(60);
    return hrv.Count(CHrv::Series::Raw) == count && !hrv.ThreadRun();
}

} // namespace

class DlgStressCloseTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void MainMenuReleasesTheWindowClosedDuringATest();
    void DestroyingTheWindowDuringATestIsSafe();
    void WellnessWindowClosingWhileTheStressWindowStarts();

private:
    std::unique_ptr<RuntimeFolder> m_folder;
    std::unique_ptr<MessageCatcher> m_boxes;
    CountingSensor* m_sensor = nullptr;
};

void DlgStressCloseTest::init() {
    m_folder = std::make_unique<RuntimeFolder>();
    QVERIFY(m_folder->Valid());
    SetUpApplication(2);
    auto sensor = std::make_unique<CountingSensor>();
    m_sensor = sensor.get();
    UsePlatform(std::move(sensor));
    m_boxes = std::make_unique<MessageCatcher>();
}

void DlgStressCloseTest::cleanup() {
    m_boxes.reset();
    TheApp().SetLink(nullptr);
    m_folder.reset();
}

void DlgStressCloseTest::MainMenuReleasesTheWindowClosedDuringATest() {
    CDlgMain menu;
    menu.resize(TheApp().screenSize);
    menu.Button(MainMenuId::kStress)->click();
    QPointer<CDlgStress> window =
        qobject_cast<CDlgStress*>(menu.ChildWindow(CDlgMain::Child::Stress));
    QVERIFY(window);
    QVERIFY(!window->Background().isNull());
    QVERIFY(StartFeeding(*window));
    QVERIFY(window->Button(StressId::kClose)->isEnabled());
    QVERIFY(!window->Button(StressId::kQuit)->isEnabled());
    m_boxes->answer = QMessageBox::Yes; // stop the test and close
    window->Button(StressId::kClose)->click();
    // Joined at once: the menu may release the window (and its CHrv) at the next event.
    QVERIFY(!window->AcquisitionRunning());
    QVERIFY(!window->Hrv()->ThreadRun());
    for (int id : {CDlgStress::kGraphTimer, CDlgStress::kSecondTimer, CDlgStress::kConnectionTimer})
        QVERIFY(!window->TimerActive(id));
    QTRY_VERIFY(!window); // released by the menu
    QVERIFY(!menu.ChildWindow(CDlgMain::Child::Stress));
    QVERIFY(m_folder->WorkFiles().isEmpty());
    QCOMPARE(m_boxes->messages, QStringList{"A test is running. Stop it and close the window?"});
}

void DlgStressCloseTest::DestroyingTheWindowDuringATestIsSafe() {
    for (int round = 0; round < 5; ++round) {
        auto window = OpenWindow();
        QVERIFY(StartFeeding(*window));
        QTest::qWait(round * 7);
        window.reset(); // the acquisition goes first and joins its thread
    }
    // The link is free for the next window's loop.
    auto window = OpenWindow();
    QVERIFY(StartFeeding(*window));
    window->Button(StressId::kStop)->click();
    QCOMPARE(m_sensor->MostReadsAtOnce(), 1);
}

void DlgStressCloseTest::WellnessWindowClosingWhileTheStressWindowStarts() {
    auto stress = OpenWindow();
    for (int round = 0; round < 3; ++round) {
        auto wellness = std::make_unique<CDlgApg>();
        wellness->resize(TheApp().screenSize);
        QVERIFY(StartFeeding(*wellness));

        // The stress window's start finds the link busy and starts nothing.
        stress->Button(StressId::kStart)->click();
        QVERIFY(!stress->AcquisitionRunning() && !stress->TestRunning());

        // The wellness window closes during its test; the next start runs.
        m_boxes->answer = QMessageBox::Yes;
        wellness->Button(ApgId::kClose)->click();
        QVERIFY(StaysStill(*wellness->Hrv()));
        QVERIFY(StartFeeding(*stress));
        stress->Button(StressId::kStop)->click();
    }
    QCOMPARE(m_sensor->MostReadsAtOnce(), 1);
}

QTEST_MAIN(DlgStressCloseTest)
#include "DlgStressClose_concurrency_gui_test.moc"
