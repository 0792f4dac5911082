#include "testframe/ReportFrame.h"

#include "analysis/Hrv.h"
#include "analysis/Trace.h"
#include "apg/ActionIcons.h"
#include "apg/PanelFont.h"
#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ColorRef.h"
#include "controls/ControlId.h"
#include "controls/staticex.h"
#include "records/SendRecording.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr char kLanguageSection[] = "Tondrela";
constexpr std::uint32_t kCaptionColour = RgbColorRef(164, 164, 164);
constexpr int kButtonIds[] = {CReportFrame::kSendId, CReportFrame::kPrintId, CReportFrame::kMainId,
                              CReportFrame::kCloseId};
constexpr int kCaptionIds[] = {CReportFrame::kMainCaptionId, CReportFrame::kPrintCaptionId};
constexpr int kWheelNotch = 120; // angle delta of one wheel notch

// The note under the date, in page units: both pages keep this place free.
const QRectF kNoteBox(1000, 282, 1305, 34);
constexpr int kNoteFontSize = 28;
const QColor kNoteColour(200, 0, 0);

bool RunPrintDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    // Printing to a PDF file stays offered: the way out on a machine without a printer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

CReportFrame::CReportFrame(CHrv* hrv, QWidget* parent, const Sheet& sheet, ReportSource source)
    : QDialog(parent), m_hrv(hrv), m_sheet(sheet), m_source(source),
      m_runPrintDialog(RunPrintDialog) {
    const CTondrelaApp& app = TheApp();
    if (source == ReportSource::UnsavedTest)
        m_note = GetMessageText(kUnsavedMessage);
    else if (hrv)
        m_shownRecording = QString::fromStdString(hrv->Identity().name);
    setWindowTitle(GetMessageText(sheet.titleMessage));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->setSingleStep(kLineStep);
    m_scrollBar->setPageStep(kPageStep);
    m_scrollBar->installEventFilter(this);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &CReportFrame::SetScroll);

    CreateControls();
    ApplyLanguage(this, kLanguageSection);
    SkinSendButton();
    m_picture.load(app.ResourcePath(QStringLiteral("IMAGE"), QString::fromLatin1(sheet.picture)));

    if (const QScreen* screen = this->screen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
}

CReportFrame::~CReportFrame() = default;

void CReportFrame::CreateControls() {
    const CTondrelaApp& app = TheApp();
    for (int id : kButtonIds) {
        auto* button = new CButtonST(this);
        SetControlId(button, id);
        button->setFocusPolicy(Qt::NoFocus);
        button->SetBtnCursor(Qt::PointingHandCursor);
        button->SetTransparent(true);
    }
    connect(Button(kPrintId), &QPushButton::clicked, this, &CReportFrame::Print);
    connect(Button(kSendId), &QPushButton::clicked, this, &CReportFrame::Send);
    connect(Button(kMainId), &QPushButton::clicked, this, &QDialog::reject);
    connect(Button(kCloseId), &QPushButton::clicked, this, &QDialog::reject);
    for (int id : kCaptionIds) {
        auto* caption = new CStaticEx(this);
        SetControlId(caption, id);
        caption->SetFont(app.fontFace, app.fontSizes.textFontSize);
        caption->SetTransparent(true);
        caption->SetTextColor(kCaptionColour);
    }
}

void CReportFrame::SkinSendButton() {
    CButtonST* send = Button(kSendId);
    send->hide(); // until the page shows a saved recording
    // An icon, the same in every language (not every table has a text for it): the text, where
    // there is one, becomes its tooltip.
    send->SetTooltipText(send->text());
    send->setText(QString());
}

void CReportFrame::DrawSendIcon() {
    CButtonST* send = Button(kSendId);
    const qreal ratio = devicePixelRatioF();
    send->SetIcon(ActionIcon(ActionGlyph::Send, send->size(), ActionLook::Hovered, ratio),
                  ActionIcon(ActionGlyph::Send, send->size(), ActionLook::Normal, ratio));
}

void CReportFrame::Send() {
    if (!m_shownRecording.isEmpty())
        SendRecording(this, m_shownRecording);
}

CButtonST* CReportFrame::Button(int id) const {
    return qobject_cast<CButtonST*>(FindControl(this, id));
}

CStaticEx* CReportFrame::Static(int id) const {
    return qobject_cast<CStaticEx*>(FindControl(this, id));
}

int CReportFrame::ClientWidth() const {
    return std::max(0, width() - m_scrollBar->width());
}

int CReportFrame::BandHeight() const {
    return kBandHeight * m_pageSize.height() / m_sheet.pageHeight;
}

QImage CReportFrame::Compose(QSize size) const {
    QImage page = ComposePage(size, m_picture);
    if (m_note.isEmpty() || page.isNull())
        return page;
    QPainter painter(&page);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(static_cast<double>(size.width()) / kPageWidth,
                  static_cast<double>(size.height()) / m_sheet.pageHeight);
    painter.setFont(PanelFont(TheApp().fontFace, kNoteFontSize, true));
    painter.setPen(kNoteColour);
    painter.drawText(kNoteBox, Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, m_note);
    return page;
}

QImage CReportFrame::PrintPage() const {
    return Compose(QSize(kPageWidth, m_sheet.pageHeight));
}

void CReportFrame::ShowPage() {
    m_pageReady = true;
    Button(kSendId)->setVisible(UploadConfigured() && !m_shownRecording.isEmpty());
    FitPage();
}

void CReportFrame::SetScroll(int position) {
    m_scroll = std::clamp(position, 0, m_scrollMax);
    const QSignalBlocker blocker(m_scrollBar);
    m_scrollBar->setRange(0, m_scrollMax);
    m_scrollBar->setValue(m_scroll);
    m_scrollBar->setEnabled(m_scrollMax > 0); // the bar stays visible
    update();
}

bool CReportFrame::RenderToPrinter(QPrinter& printer) const {
    printer.setDocName(windowTitle());
    const QImage page = PrintPage();
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, printer.width(), printer.height()), page,
                      PrintedRect(page.size()));
    return painter.end();
}

QString CReportFrame::PdfPath() const {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString name = m_shownRecording.isEmpty()
                             ? QStringLiteral("report")
                             : QFileInfo(m_shownRecording).completeBaseName();
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

void CReportFrame::Print() {
    QPrinter printer(QPrinter::HighResolution);
    // The file that "print to file" proposes (this makes the printer a PDF printer) ...
    printer.setOutputFileName(PdfPath());
    // ... while a machine with a printer offers that printer first; the dialog clears the
    // file name when a printer is chosen.
    const QString printerName = QPrinterInfo::defaultPrinterName();
    if (!printerName.isEmpty())
        printer.setPrinterName(printerName);
    if (!m_runPrintDialog || !m_runPrintDialog(printer, this))
        return;
    if (!RenderToPrinter(printer))
        TRACE("report: the printer %s cannot be printed on\n", qPrintable(printer.printerName()));
}

// The page at the client width, at the screen's pixel density; the scroll range follows.
void CReportFrame::FitPage() {
    const int pageWidth = ClientWidth();
    const QSize pageSize(pageWidth, pageWidth * m_sheet.pageHeight / kPageWidth);
    const qreal ratio = devicePixelRatioF();
    const bool stale =
        m_page.isNull() || pageSize != m_pageSize || ratio != m_page.devicePixelRatio();
    if (m_pageReady && stale) {
        m_page = pageSize.isEmpty() ? QImage() : Compose((QSizeF(pageSize) * ratio).toSize());
        m_page.setDevicePixelRatio(ratio);
    }
    m_pageSize = pageSize;
    m_scrollMax = std::max(0, pageSize.height() - height());
    SetScroll(m_scroll);
}

void CReportFrame::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_scrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
    const double scale = static_cast<double>(ClientWidth()) / kPageWidth;
    ApplyControlLayout(this, m_sheet.layout, scale, scale);
    DrawSendIcon();
    FitPage();
    ResetBackgroundCopies(this); // the band under the buttons changed
}

void CReportFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const int client = ClientWidth();
    const int band = std::min(BandHeight(), height());
    const qreal ratio = m_page.devicePixelRatio();
    // Copies the page's rows from `top` on to the window's rows from `y` on.
    auto copyRows = [&](int top, int y, int rows) {
        if (rows > 0)
            painter.drawImage(QRectF(0, y, client, rows), m_page,
                              QRectF(0, top * ratio, client * ratio, rows * ratio));
    };
    // The band stays; below it the page from the scroll position on.
    copyRows(0, 0, band);
    const int rest = std::min(height() - band, m_pageSize.height() - m_scroll - band);
    copyRows(m_scroll + band, band, rest);
    // Below the end of a page shorter than the window.
    const int drawn = band + std::max(0, rest);
    if (drawn < height())
        painter.fillRect(QRect(0, drawn, client, height() - drawn), palette().window());
}

void CReportFrame::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    int notches = delta / kWheelNotch;
    if (notches == 0 && delta != 0)
        notches = delta > 0 ? 1 : -1;
    // A notch towards the user (negative delta) moves the page up: the view goes down.
    SetScroll(m_scroll - notches * kWheelStep);
    event->accept();
}

void CReportFrame::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageUp:
        SetScroll(m_scroll - kPageStep);
        break;
    case Qt::Key_PageDown:
        SetScroll(m_scroll + kPageStep);
        break;
    case Qt::Key_Home:
        SetScroll(0);
        break;
    case Qt::Key_End:
        SetScroll(m_scrollMax);
        break;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool CReportFrame::eventFilter(QObject* watched, QEvent* event) {
    // The wheel scrolls by the window's own step wherever the pointer is.
    if (watched == m_scrollBar && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
