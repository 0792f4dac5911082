#pragma once
// The wellness (APG) report: the result of one test as a printable page (ReportPage.h) in the
// report frame of CReportFrame (scrolling below a fixed band, printing), with the Up and Down
// arrow keys scrolling as well.
//
// Opening builds the history of the current user's recordings in the recordings folder
// (CTondrelaApp::recordingsFolder) by replaying them through a CHrv of the report's own
// (ApgHistory.h); the opener's CHrv is only read. The page shows, by what the opener's CHrv
// holds (ReportSource):
// - a saved recording: that recording as read back from its file, the history ending with it;
// - an unsaved test: the test as the CHrv holds it, noted as not saved, above the history of
//   the ten newest saved recordings;
// - nothing: the newest saved recording.
// A recording that is to be shown but cannot be read leaves the figures empty, and the page
// says so (message 40043 and the file's name). A user without saved recordings gets the
// opener's CHrv as it is.
// Threads: GUI thread only. No acquisition thread may feed the CHrv while the window exists:
// the test window ends its acquisition before it opens the report.

#include "apg/ReportPage.h"
#include "testframe/ReportFrame.h"

#include <vector>

class CDlgApgReport : public CReportFrame {
    Q_OBJECT
public:
    static constexpr int kKeyStep = 16; // Up and Down arrow keys
    static constexpr int kUnreadableMessage = 40043;

    // hrv: the test window's analysis object, not owned (may be nullptr: an empty page).
    CDlgApgReport(CHrv* hrv, QWidget* parent, ReportSource source = ReportSource::Recording);
    ~CDlgApgReport() override;

    // What the page shows, and the history in it (oldest first).
    const ApgReportData& Data() const { return m_data; }
    const std::vector<CHistoryList>& History() const { return m_data.history; }

protected:
    QImage ComposePage(QSize size, const QImage& picture) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CollectData();
    // The figures of the recording or test that `shown` holds.
    void TakeFigures(CHrv& shown);

    QImage m_banner; // "banner.jpg" as loaded
    ApgReportData m_data;
};
