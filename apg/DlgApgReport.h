#pragma once
// The wellness (APG) report: the result of one test as a printable page (ReportPage.h), shown
// in a maximised modal window at the window's width and scrolled vertically below a fixed
// band that holds the buttons; Print sends the page without that band to a printer.
//
// Opening builds the history of the current user's recordings in "../work" (resolved against
// the current directory, the program's folder) by replaying them through the given CHrv, so
// afterwards the CHrv holds the recording the page shows (ApgHistory.h).
// Threads: GUI thread only. No acquisition thread may feed the CHrv while the window exists:
// the test window ends its acquisition before it opens the report.

#include "apg/ReportPage.h"

#include <QDialog>
#include <QImage>

#include <vector>

class CButtonST;
class CHrv;
class CStaticEx;
class QPrinter;
class QScrollBar;

class CDlgApgReport : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLineStep = 100; // scroll-bar arrows, pixels
    static constexpr int kPageStep = 300; // scroll-bar page up / down
    static constexpr int kWheelStep = 32; // per wheel notch
    static constexpr int kKeyStep = 16;   // Up and Down arrow keys

    // hrv: the test window's analysis object, not owned (may be nullptr: an empty page).
    CDlgApgReport(CHrv* hrv, QWidget* parent);
    ~CDlgApgReport() override;

    // What the page shows, and the history in it (oldest first).
    const ApgReportData& Data() const { return m_data; }
    const std::vector<CHistoryList>& History() const { return m_data.history; }

    // The page as composed for the screen: client width x client width * 3220 / 2480.
    const QImage& ScreenPage() const { return m_page; }
    // The page composed at its printed size, 2480 x 3220 pixels.
    QImage PrintPage() const;

    // Scroll position in pixels (top of the part below the band), clamped to 0..maximum.
    void SetScroll(int position);
    int ScrollPosition() const { return m_scroll; }
    // Page height on screen minus client height, never below 0.
    int ScrollMaximum() const { return m_scrollMax; }

    // Prints the page on the printer as set up (a device or a PDF file): the page without
    // its fixed band and margins, stretched over the printable area; document name text
    // 30012. False when the printer cannot be painted on.
    bool RenderToPrinter(QPrinter& printer) const;
    // The print dialog, then the page on the printer chosen (nothing when cancelled).
    void Print();

    CButtonST* Button(int id) const;
    CStaticEx* Static(int id) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CollectData();
    int ClientWidth() const;
    int BandHeight() const; // the fixed band on screen, pixels

    CHrv* m_hrv;
    QScrollBar* m_scrollBar = nullptr;
    QImage m_picture; // "apgReport.jpg" as loaded
    QImage m_banner;  // "banner.jpg" as loaded
    QImage m_page;    // the page composed at the screen size
    ApgReportData m_data;
    int m_scroll = 0;
    int m_scrollMax = 0;
};
