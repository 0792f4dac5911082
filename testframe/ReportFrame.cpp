#include "testframe/ReportFrame.h"

#include "analysis/Hrv.h"
#include "analysis/Trace.h"
#include "apg/ActionIcons.h"
#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ColorRef.h"
#include "controls/ControlId.h"
#include "controls/staticex.h"
#include "records/SendRecording.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
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

bool RunPrintDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    // Printing to a PDF file stays offered: the way out on a machine without a printer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

CReportFrame::CReportFrame(CHrv* hrv, QWidget* parent, const Sheet& sheet)
    : QDialog(parent), m_hrv(hrv), m_sheet(sheet), m_runPrintDialog(RunPrintDialog) {
    const CTondrelaApp& app = TheApp();
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
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const double scale = static_cast<double>(app.screenSize.width() - barWidth) / kPageWidth;
    ApplyControlLayout(this, sheet.layout, scale, scale);
    ApplyLanguage(this, kLanguageSection);
    ShowSendButton();
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

void CReportFrame::ShowSendButton() {
    CButtonST* send = Button(kSendId);
    send->setHidden(!UploadConfigured());
    // An icon, the same in every language (not every table has a text for it): the text, where
    // there is one, becomes its tooltip.
    send->SetTooltipText(send->text());
    send->setText(QString());
    send->SetIcon(ActionIcon(ActionGlyph::Send, send->size(), ActionLook::Hovered),
                  ActionIcon(ActionGlyph::Send, send->size(), ActionLook::Normal));
}

void CReportFrame::Send() {
    if (m_hrv)
        SendRecording(this, QString::fromStdString(m_hrv->Identity().name));
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
    return kBandHeight * m_page.height() / m_sheet.pageHeight;
}

QImage CReportFrame::PrintPage() const {
    return ComposePage(QSize(kPageWidth, m_sheet.pageHeight), m_picture);
}

void CReportFrame::ShowPage() {
    m_pageReady = true;
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
    const QString recording = m_hrv ? QString::fromStdString(m_hrv->Identity().name) : QString();
    if (recording.isEmpty())
        return TheApp().recordingsFolder + QStringLiteral("/report.pdf");
    const QFileInfo file(recording);
    return file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".pdf");
}

void CReportFrame::Print() {
    QPrinter printer(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PdfPath());
    }
    if (!m_runPrintDialog || !m_runPrintDialog(printer, this))
        return;
    if (!RenderToPrinter(printer))
        TRACE("report: the printer %s cannot be printed on\n", qPrintable(printer.printerName()));
}

// The page at the client width; the scroll range follows.
void CReportFrame::FitPage() {
    const int pageWidth = ClientWidth();
    const QSize pageSize(pageWidth, pageWidth * m_sheet.pageHeight / kPageWidth);
    if (m_pageReady && pageSize != m_page.size())
        m_page = pageSize.isEmpty() ? QImage() : ComposePage(pageSize, m_picture);
    m_scrollMax = std::max(0, pageSize.height() - height());
    SetScroll(m_scroll);
}

void CReportFrame::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_scrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
    FitPage();
}

void CReportFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const int client = ClientWidth();
    const int band = BandHeight();
    // The band stays; below it the page from the scroll position on.
    painter.drawImage(QPoint(0, 0), m_page, QRect(0, 0, client, band));
    const QRect rest(0, m_scroll + band, client, height() - band);
    painter.drawImage(QPoint(0, band), m_page, rest);
    // Below the end of a page shorter than the window.
    const int drawn = band + std::max(0, m_page.height() - m_scroll - band);
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

bool CReportFrame::eventFilter(QObject* watched, QEvent* event) {
    // The wheel scrolls by the window's own step wherever the pointer is.
    if (watched == m_scrollBar && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
