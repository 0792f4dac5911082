#pragma once
// The review window (modeless, full screen): the current user's earlier tests as three trend
// charts, one point per recording in the recordings folder (CTondrelaApp::recordingsFolder; a
// relative one is resolved against the current directory, the program's folder): wellness index and
// mean pulse per pulse recording, stress index per rate recording. Each chart shows 20 records and
// scrolls one at a time. Resting the mouse on a point shows the test's date and time; a left click
// opens the test's report (wellness or stress), a right click deletes the recording after a
// question.
//
// The window owns:
// - the loading of the records: a worker thread runs the loader (ReviewRecords.h) with its
//   own CHrv and hands the records over through a future. The worker touches no widget and
//   nothing of the window but the progress counters; a 50 ms timer on the GUI thread takes
//   the records when they are ready and shows a progress bar once loading has taken half a
//   second. Closing the window, a new load and the destructor request the worker to stop and
//   join it (it stops after the recording in hand), so the window never waits for a whole
//   load and never goes away under a running worker;
// - a CHrv of its own, used on the GUI thread only, into which a clicked recording is loaded
//   for its report.
// While records load the charts do not react to the mouse.
//
// Closing (Main, the close box, Escape) posts childClosed to the opener.
// Layout: controls and charts from the 1600 x 1000 design space scaled to the window's own
// client area, again at every resize; the charts at the screen's pixel density.
// Threads: GUI thread only, apart from the worker described above.

#include "controls/BkDialog.h"
#include "records/ReviewChartPanel.h"
#include "records/ReviewLayout.h"
#include "records/ReviewRecords.h"

#include <QElapsedTimer>

#include <array>
#include <functional>
#include <future>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

class CButtonST;
class CHrv;
class CStaticEx;
class QProgressBar;
class QTimer;

class CDlgReview : public CBkDialog {
    Q_OBJECT
public:
    static constexpr int kPollPeriodMs = 50;
    static constexpr int kProgressDelayMs = 500; // a load this long shows its progress
    static constexpr int kRateChartSeconds = 300;
    static constexpr int kUnreadableMessage = 40030;

    enum class Report { Apg, Stress };
    // Shows the report on the CHrv that holds the clicked recording, modally, with the window
    // as owner.
    using ReportRunner = std::function<void(Report report, CHrv* hrv, QWidget* owner)>;
    // Loads the records; runs on the worker thread.
    using RecordsLoader =
        std::function<ReviewRecords(std::stop_token stop, ReviewLoadProgress* progress)>;

    // Starts loading the current user's records; loader replaces the loader of the recordings
    // folder
    // (tests give their own).
    explicit CDlgReview(QWidget* parent = nullptr, RecordsLoader loader = {});
    ~CDlgReview() override;

    // Loads the background, cuts the charts' slices from it and draws them.
    void SetBackground(const QString& path);
    void SetReportRunner(ReportRunner runner);

    // --- Loading ---
    bool Loading() const { return m_pending.valid(); }
    // Takes the records when the worker has them; shows the progress of a long load.
    void PollLoading();

    // --- Commands (the buttons and the mouse call them) ---
    void OnPrevious(ReviewChart chart);
    void OnNext(ReviewChart chart);
    void OnMain();
    // The mouse at pos (window coordinates): shows or hides the hover tip.
    void OnMouseMove(const QPoint& pos);
    // Left click: the report of the hovered recording; right click: deleting it.
    void OpenHoveredResult();
    void DeleteHoveredResult();

    // --- State (for the tests) ---
    const CReviewChartPanel& Chart(ReviewChart chart) const;
    // The positioned records, in the order the mouse finds them.
    const std::vector<CLinkList>& HotSpots() const { return m_hotSpots; }
    int Unreadable() const { return m_unreadable; }
    bool Hovering() const { return m_hovered.active; }
    const std::string& HoveredFile() const { return m_hovered.fileName; }
    int HoveredKind() const { return m_hovered.kind; }
    CHrv* Hrv() const { return m_hrv.get(); }
    CButtonST* Button(int id) const;
    CStaticEx* Static(int id) const;
    QProgressBar* ProgressBar() const { return m_progressBar; }

    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void ClientAreaChanged() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Hovered {
        bool active = false;
        std::string fileName;
        int kind = 0;
    };

    void CreateControls();
    void SkinControls();
    void StartLoading();
    void StopLoading();
    void TakeRecords(ReviewRecords records);
    void CutCharts();
    // The layout scale: design units to pixels of the client area.
    double ScaleX() const;
    double ScaleY() const;
    void Position();
    void Redraw(ReviewChart chart);
    void ClearHover();
    CReviewChartPanel& Panel(ReviewChart chart);
    std::string WorkPath(const std::string& fileName) const;

    std::unique_ptr<CHrv> m_hrv;
    ReportRunner m_runReport;
    RecordsLoader m_loader;
    std::string m_userName; // whose recordings the window shows and deletes
    int m_userSex = 1;

    std::array<CReviewChartPanel, kReviewCharts> m_charts;
    std::vector<CLinkList> m_hotSpots;
    Hovered m_hovered;
    int m_unreadable = 0;

    QTimer* m_poll = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QElapsedTimer m_loadClock;
    bool m_closing = false;

    // The load in progress. The worker is declared last: it is stopped and joined before the
    // progress counters and the future it writes go away.
    ReviewLoadProgress m_progress;
    std::future<ReviewRecords> m_pending;
    std::jthread m_worker;
};
