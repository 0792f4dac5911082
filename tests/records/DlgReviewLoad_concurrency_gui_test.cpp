// The review's records load on a worker thread: a long load shows its progress and the window
// can still be closed, which stops and joins the worker; a real load hands its records to the
// window while the person moves the mouse; a window destroyed in the middle of a load waits
// for its worker. Run under ThreadSanitizer.

#include "app/Tondrela.h"
#include "controls/BtnST.h"
#include "records/DlgReview.h"

#include "TestRuntime.h"

#include "tests/common/ReviewFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

using namespace ReviewId;

namespace {

constexpr int kTests = 30; // wellness and stress tests each

} // namespace

class DlgReviewLoadTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void LongLoadShowsItsProgressAndClosingStopsIt();
    void RecordsArriveWhileTheMouseMoves();
    void DestroyingTheWindowWaitsForItsWorker();

private:
    std::unique_ptr<RuntimeFolder> m_folder;
};

void DlgReviewLoadTest::initTestCase() {
    m_folder = std::make_unique<RuntimeFolder>();
    QVERIFY(m_folder->Valid());
    CTondrelaApp& app = TheApp();
    app.InitInstance(QSize(1600, 1000), QDir::currentPath());
    app.CurrentUser = UserRecord{"Kim", 1960, 1, ""};
    UseLanguage(2);
    const std::filesystem::path work = m_folder->Work().toStdString();
    for (int n = 0; n < kTests; ++n) {
        QVERIFY(reviewfiles::SavePulseRecording(work, "Kim", n, 1960, 1));
        QVERIFY(reviewfiles::SaveRateRecording(work, "Kim", n, 1960, 1));
    }
}

void DlgReviewLoadTest::cleanupTestCase() {
    m_folder.reset();
}

void DlgReviewLoadTest::LongLoadShowsItsProgressAndClosingStopsIt() {
    // A load that never ends by itself (a slow disk, thousands of files).
    std::atomic<bool> stopSeen{false};
    auto slowLoader = [&stopSeen](std::stop_token stop, ReviewLoadProgress* progress) {
        progress->total = 200;
        while (!stop.stop_requested()) {
            if (progress->done < 150)
                ++progress->done;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        stopSeen = true;
        return ReviewRecords{};
    };
    QElapsedTimer clock;
    clock.start();
    auto window = std::make_unique<CDlgReview>(nullptr, slowLoader);
    window->resize(TheApp().screenSize);
    window->show();
    QProgressBar* progress = window->ProgressBar();
    QTest::qWait(100);
    if (clock.elapsed() < CDlgReview::kProgressDelayMs)
        QVERIFY(!progress->isVisible()); // a short load shows nothing
    QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible() && progress->value() > 0, 20000);
    QCOMPARE(progress->maximum(), 200);
    QVERIFY(window->Loading());

    QSignalSpy closed(window.get(), &CBkDialog::childClosed);
    window->Button(kClose)->click();
    QVERIFY(stopSeen);
    QVERIFY(!window->Loading());
    QVERIFY(!progress->isVisible());
    QCOMPARE(closed.size(), 1);
}

void DlgReviewLoadTest::RecordsArriveWhileTheMouseMoves() {
    auto window = std::make_unique<CDlgReview>();
    window->resize(TheApp().screenSize);
    window->show();
    for (int step = 0; window->Loading() && step < 60000; ++step) {
        const QPoint at(300 + step * 7 % 1000, 623); // across the mean pulse chart
        QMouseEvent move(QEvent::MouseMove, at, window->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(window.get(), &move);
        QTest::qWait(1);
    }
    QVERIFY(!window->Loading());
    QCOMPARE(window->Chart(ReviewChart::Stress).Count(), kTests);
    QCOMPARE(window->HotSpots().size(), size_t(3 * 20));
}

void DlgReviewLoadTest::DestroyingTheWindowWaitsForItsWorker() {
    for (int wait : {0, 5, 20}) {
        auto window = std::make_unique<CDlgReview>();
        QTest::qWait(wait);
        window.reset(); // joins the worker, wherever it is in the load
    }
}

QTEST_MAIN(DlgReviewLoadTest)
#include "DlgReviewLoad_concurrency_gui_test.moc"
