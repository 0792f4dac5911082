#pragma once
// The frame both report windows share (the wellness report CDlgApgReport and the stress report
// CDlgStressReport): one page in a design space 2480 units wide, composed by the derived
// window over its page picture, shown in a maximised modal window at the window's width and
// scrolled vertically below a fixed band of 206 units that holds the buttons (Main, Print,
// the close box and the send button, shown only when an upload server is configured:
// records/SendRecording.h); Print sends the page without that band and without its margins
// to a printer chosen in the print dialog. Printing to a file proposes the shown recording's
// name in the user's documents folder; when the machine has no printer the dialog opens on
// that PDF file.
//
// The page of a test that was not saved says so in a note under the date (message 40042); a
// derived window may put another note there (SetPageNote). The note is printed too. The send
// button is offered only while the page shows a saved recording.
//
// Layout from the window's own client area: the band's controls at (client width − scroll
// bar) / 2480, the page as wide as the client area, composed at the screen's pixel density;
// both follow every resize.
//
// Scrolling: the scroll bar's arrows move 100 pixels, its pages 300, the wheel 32 per notch
// wherever the pointer is; Page Up / Page Down move 300, Home and End go to the top and the
// bottom; the position stays within 0 .. page height on screen − client height (0 when the
// page is shorter than the window).
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

// What the CHrv handed to a report holds.
enum class ReportSource {
    Recording,   // a saved recording: the CHrv's recording name names it
    UnsavedTest, // a test that was not saved: shown as it is, with a note on the page
    Nothing,     // no test at all: the wellness report shows the user's newest recording
};
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
    static constexpr int kUnsavedMessage = 40042;

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
    ReportSource Source() const { return m_source; }
    // The note under the date ("" = none).
    const QString& PageNote() const { return m_note; }

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
    // Sends the shown recording (SetShownRecording) to the upload server, after asking.
    void Send();
    // The PDF file that printing to a file proposes: in the user's documents folder (the home
    // folder when there is none), the shown recording's name with ".pdf", or "report.pdf"
    // when no saved recording is shown.
    QString PdfPath() const;

    CButtonST* Button(int id) const;
    CStaticEx* Static(int id) const;

protected:
    // hrv: the opener's analysis object, not owned (may be nullptr: an empty page); source:
    // what it holds.
    CReportFrame(CHrv* hrv, QWidget* parent, const Sheet& sheet, ReportSource source);

    // The page at size pixels over the page picture (null when it is missing).
    virtual QImage ComposePage(QSize size, const QImage& picture) const = 0;
    // The derived window calls this once its data is ready: from then on the page is composed
    // for the screen at every size.
    void ShowPage();
    void SetPageNote(const QString& note) { m_note = note; }
    // The saved recording the page shows, its path as the file operations take it ("" when
    // the page shows none: an unsaved test, or nothing that could be read). Before ShowPage.
    void SetShownRecording(const QString& path) { m_shownRecording = path; }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void SkinSendButton();
    void DrawSendIcon(); // at the button's size
    int ClientWidth() const;
    int BandHeight() const; // the fixed band on screen, pixels
    void FitPage();
    // ComposePage, then the note.
    QImage Compose(QSize size) const;

    CHrv* m_hrv;
    const Sheet m_sheet;
    const ReportSource m_source;
    QString m_note;
    QString m_shownRecording;
    QScrollBar* m_scrollBar = nullptr;
    QImage m_picture; // the page picture as loaded
    QImage m_page;    // the page composed at the screen size, at the screen's pixel density
    QSize m_pageSize; // the page on screen, pixels
    bool m_pageReady = false;
    int m_scroll = 0;
    int m_scrollMax = 0;
    PrintDialogRunner m_runPrintDialog;
};
