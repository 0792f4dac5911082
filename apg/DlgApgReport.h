#pragma once
// The wellness (APG) report: the result of one test as a printable page (ReportPage.h) in the
// report frame of CReportFrame (scrolling below a fixed band, printing), with the Up and Down
// arrow keys scrolling as well.
//
// Opening builds the history of the current user's recordings in the recordings folder
// (CTondrelaApp::recordingsFolder) by replaying them through the given CHrv, so
// afterwards the CHrv holds the recording the page shows (ApgHistory.h).
// Threads: GUI thread only. No acquisition thread may feed the CHrv while the window exists:
// the test window ends its acquisition before it opens the report.

#include "apg/ReportPage.h"
#include "testframe/ReportFrame.h"

#include <vector>

class CDlgApgReport : public CReportFrame {
    Q_OBJECT
public:
    static constexpr int kKeyStep = 16; // Up and Down arrow keys

    // hrv: the test window's analysis object, not owned (may be nullptr: an empty page).
    CDlgApgReport(CHrv* hrv, QWidget* parent);
    ~CDlgApgReport() override;

    // What the page shows, and the history in it (oldest first).
    const ApgReportData& Data() const { return m_data; }
    const std::vector<CHistoryList>& History() const { return m_data.history; }

protected:
    QImage ComposePage(QSize size, const QImage& picture) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CollectData();

    QImage m_banner; // "banner.jpg" as loaded
    ApgReportData m_data;
};
