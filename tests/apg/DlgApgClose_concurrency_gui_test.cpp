// Closing the wellness window while its acquisition thread feeds the CHrv: by destroying it,
// and through the main menu that opened it; and starting and stopping in quick turns. The
// thread must be stopped and joined before the CHrv goes away, and nothing may feed the CHrv
// after a stop. (The question before closing a running test: tests/testframe.)

#include "ApgWindowTestKit.h"

#include "app/DlgMain.h"
#include "app/MainMenuLayout.h"
#include "controls/BtnST.h"

#include <QPointer>
#include <QTest>

using namespace ApgId;
using namespace apgtest;

namespace {

constexpr double kFastSensor = 20.0;

// Starts a test and waits until samples arrive.
bool StartFeeding(CDlgApg& window) {
    window.Button(kStart)->click();
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

class DlgApgCloseTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void DestroyingTheWindowDuringATestIsSafe();
    void MainMenuReleasesTheWindowClosedDuringATest();
    void QuickStartsAndStopsNeverRunTwoLoops();

private:
    std::unique_ptr<RuntimeFolder> m_folder;
    std::unique_ptr<MessageCatcher> m_boxes;
};

void DlgApgCloseTest::init() {
    m_folder = std::make_unique<RuntimeFolder>();
    QVERIFY(m_folder->Valid());
    SetUpApplication(2);
    UseSimulatedSensor(kFastSensor);
    m_boxes = std::make_unique<MessageCatcher>();
}

void DlgApgCloseTest::cleanup() {
    m_boxes.reset();
    TheApp().SetLink(nullptr);
    m_folder.reset();
}

void DlgApgCloseTest::DestroyingTheWindowDuringATestIsSafe() {
    for (int round = 0; round < 5; ++round) {
        auto window = OpenWindow();
        QVERIFY(StartFeeding(*window));
        window.reset(); // the acquisition goes first and joins its thread
    }
    // The link is free for the next window's loop.
    auto window = OpenWindow();
    QVERIFY(StartFeeding(*window));
    window->Button(kStop)->click();
}

void DlgApgCloseTest::MainMenuReleasesTheWindowClosedDuringATest() {
    CDlgMain menu;
    menu.resize(TheApp().screenSize);
    menu.Button(MainMenuId::kApg)->click();
    QPointer<CDlgApg> window = qobject_cast<CDlgApg*>(menu.ChildWindow(CDlgMain::Child::Apg));
    QVERIFY(window);
    QVERIFY(!window->Background().isNull());
    QVERIFY(StartFeeding(*window));
    m_boxes->answer = QMessageBox::Yes; // stop the test and close
    window->Button(kClose)->click();
    // Joined at once: the menu may release the window (and its CHrv) at the next event.
    QVERIFY(!window->AcquisitionRunning());
    QVERIFY(!window->Hrv()->ThreadRun());
    QTRY_VERIFY(!window); // released by the menu
    QVERIFY(!menu.ChildWindow(CDlgMain::Child::Apg));
}

void DlgApgCloseTest::QuickStartsAndStopsNeverRunTwoLoops() {
    auto window = OpenWindow();
    for (int round = 0; round < 20; ++round) {
        window->Button(kStart)->click();
        QVERIFY(window->AcquisitionRunning());
        QTest::qWait(round % 3 * 5);
        window->Button(kStop)->click();
        QVERIFY(!window->AcquisitionRunning());
        QVERIFY(!window->Hrv()->ThreadRun());
    }
    QVERIFY(StaysStill(*window->Hrv()));
    QVERIFY(StartFeeding(*window));
    window->Button(kStop)->click();
}

QTEST_MAIN(DlgApgCloseTest)
#include "DlgApgClose_concurrency_gui_test.moc"
