#pragma once
// The frame both report windows share (the wellness report CDlgApgReport and the stress report
// CDlgStressReport): one page in a design space 2480 units wide, composed by the derived
// window over its page picture, shown in a maximised modal window at the window's width and
// scrolled vertically below a fixed band of 206 units that holds the buttons (Main, Print,
// the close box and the send button, shown only when an upload server is configured:
// records/SendRecording.h); Print sends the page without that band and without its margins
// to a printer chosen in the print dialog. When the machine has no printer the dialog opens
// on a PDF file beside the recordings.
//
// Scrolling: the scroll bar's arrows move 100 pixels, its pages 300, the wheel 32 per notch
// wherever the pointer is; the position stays within 0 .. page height on screen − client
// height (0 when the page is shorter than the window).
// Threads: GUI thread only. The CHrv is the opener's; no acquisition thread may feed it while
// the window exists.

#include "controls/ControlLayout.h"

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <span>

class CButtonST;
class CHrv;
class CStaticEx;
class QPrinter;
class QScrollBar;

class CReportFrame : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPageWidth = 2480;
    static constexpr int kBandHeight = 206; // fixed band at the top: never scrolled or printed
    static constexpr int kLineStep = 100;   // scroll-bar arrows, pixels
    static constexpr int kPageStep = 300;   // scroll-bar page up / down
    static constexpr int kWheelStep = 32;   // per wheel notch

    // The controls of the band.
    static constexpr int kMainId = 1035;
    static constexpr int kPrintId = 1013;
    static constexpr int kSendId = 1081;
    static constexpr int kCloseId = 1006;
    static constexpr int kMainCaptionId = 1111;
    static constexpr int kPrintCaptionId = 1115;

    // What tells the two reports apart.
    struct Sheet {
        int pageHeight;                           // design units (= printed pixels)
        int titleMessage;                         // window title and document name
        const char* picture;                      // the page picture in IMAGE/<language>/
        std::span<const ControlLayoutRow> layout; // placed at (screen width - bar) / 2480
        QRect (*printedRect)(QSize pageSize);     // what of a page is printed
    };

    // Shows the print dialog on the printer; true when it was accepted.
    using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;

    ~CReportFrame() override;

    CHrv* Hrv() const { return m_hrv; }

    // The page as composed for the screen: client width x client width * height / 2480.
    const QImage& ScreenPage() const { return m_page; }
    // The page composed at its printed size, 2480 units x the page height in pixels.
    QImage PrintPage() const;
    // The part of a page of that size that is printed.
    QRect PrintedRect(QSize pageSize) const { return m_sheet.printedRect(pageSize); }

    // Scroll position in pixels (top of the part below the band), clamped to 0..maximum.
    void SetScroll(int position);
    int ScrollPosition() const { return m_scroll; }
    int ScrollMaximum() const { return m_scrollMax; }

    // Prints the page on the printer as set up (a device or a PDF file): the printed part
    // stretched over the printable area, the document named with the window's title. False
    // when the printer cannot be painted on.
    bool RenderToPrinter(QPrinter& printer) const;
    // The print dialog (on a PDF file when there is no printer), then the page on the printer
    // chosen; nothing when the dialog is cancelled.
    void Print();
    void SetPrintDialogRunner(PrintDialogRunner runner) { m_runPrintDialog = std::move(runner); }
    // Sends the recording the CHrv holds (its path as loaded) to the upload server, after
    // asking; nothing without a CHrv.
    void Send();
    // The PDF file offered without a printer: the recording's path with ".pdf", or
    // "report.pdf" in the recordings folder when the CHrv holds no recording.
    QString PdfPath() const;

    CButtonST* Button(int id) const;
    CStaticEx* Static(int id) const;

protected:
    // hrv: the opener's analysis object, not owned (may be nullptr: an empty page).
    CReportFrame(CHrv* hrv, QWidget* parent, const Sheet& sheet);

    // The page at size pixels over the page picture (null when it is missing).
    virtual QImage ComposePage(QSize size, const QImage& picture) const = 0;
    // The derived window calls this once its data is ready: from then on the page is composed
    // for the screen at every size.
    void ShowPage();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void ShowSendButton(); // when an upload server is configured
    int ClientWidth() const;
    int BandHeight() const; // the fixed band on screen, pixels
    void FitPage();

    CHrv* m_hrv;
    const Sheet m_sheet;
    QScrollBar* m_scrollBar = nullptr;
    QImage m_picture; // the page picture as loaded
    QImage m_page;    // the page composed at the screen size
    bool m_pageReady = false;
    int m_scroll = 0;
    int m_scrollMax = 0;
    PrintDialogRunner m_runPrintDialog;
};
