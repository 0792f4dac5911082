#pragma once
// The stress report: the result of one stress test as a printable page (StressReportPage.h)
// in the report frame of CReportFrame (scrolling below a fixed band, printing; no arrow keys).
// The opener passes a CHrv that already holds the recording and its HRV result: the window
// reads it through the copy-out readers and computes nothing itself.
// Threads: GUI thread only. No acquisition thread may feed the CHrv while the window exists:
// the test window ends its acquisition before it opens the report.

#include "stress/StressReportPage.h"
#include "testframe/ReportFrame.h"

class CDlgStressReport : public CReportFrame {
    Q_OBJECT
public:
    // hrv: the opener's analysis object, not owned (may be nullptr: an empty page); source:
    // what it holds (an unsaved test is marked so on the page).
    CDlgStressReport(CHrv* hrv, QWidget* parent, ReportSource source = ReportSource::Recording);
    ~CDlgStressReport() override;

    // What the page shows.
    const StressReportData& Data() const { return m_data; }

protected:
    QImage ComposePage(QSize size, const QImage& picture) const override;

private:
    StressReportData m_data;
};
