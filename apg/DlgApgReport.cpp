#include "apg/DlgApgReport.h"

#include "analysis/Hrv.h"
#include "analysis/Trace.h"
#include "apg/ApgReportLayout.h"
#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ColorRef.h"
#include "controls/ControlId.h"
#include "controls/staticex.h"

#include <QDate>
#include <QKeyEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace {

using namespace ApgReport;

constexpr char kWorkFolder[] = "../work";
constexpr char kLanguageSection[] = "Tondrela";
constexpr int kTitleMessage = 30012;
constexpr std::uint32_t kCaptionColour = RgbColorRef(164, 164, 164);

constexpr int kButtonIds[] = {Id::kFtp, Id::kPrint, Id::kMain, Id::kClose};
constexpr int kCaptionIds[] = {Id::kMainCaption, Id::kPrintCaption};

constexpr int kWheelNotch = 120; // angle delta of one wheel notch

} // namespace

CDlgApgReport::CDlgApgReport(CHrv* hrv, QWidget* parent) : QDialog(parent), m_hrv(hrv) {
    const CTondrelaApp& app = TheApp();
    setWindowTitle(GetMessageText(kTitleMessage));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->setSingleStep(kLineStep);
    m_scrollBar->setPageStep(kPageStep);
    m_scrollBar->installEventFilter(this);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &CDlgApgReport::SetScroll);

    CreateControls();
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const double scale = static_cast<double>(app.screenSize.width() - barWidth) / kPageWidth;
    ApplyControlLayout(this, kControlLayout, scale, scale);
    Button(Id::kFtp)->hide();
    ApplyLanguage(this, kLanguageSection);

    m_picture.load(app.ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("apgReport.jpg")));
    m_banner.load(app.ResourcePath(QStringLiteral("banner"), QStringLiteral("banner.jpg")));
    CollectData();

    if (const QScreen* screen = this->screen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
}

CDlgApgReport::~CDlgApgReport() = default;

void CDlgApgReport::CreateControls() {
    const CTondrelaApp& app = TheApp();
    for (int id : kButtonIds) {
        auto* button = new CButtonST(this);
        SetControlId(button, id);
        button->setFocusPolicy(Qt::NoFocus);
        button->SetBtnCursor(Qt::PointingHandCursor);
        button->SetTransparent(true);
    }
    connect(Button(Id::kPrint), &QPushButton::clicked, this, &CDlgApgReport::Print);
    connect(Button(Id::kMain), &QPushButton::clicked, this, &QDialog::reject);
    connect(Button(Id::kClose), &QPushButton::clicked, this, &QDialog::reject);
    for (int id : kCaptionIds) {
        auto* caption = new CStaticEx(this);
        SetControlId(caption, id);
        caption->SetFont(app.fontFace, app.fontSizes.textFontSize);
        caption->SetTransparent(true);
        caption->SetTextColor(kCaptionColour);
    }
}

void CDlgApgReport::CollectData() {
    const CTondrelaApp& app = TheApp();
    const UserRecord& user = app.CurrentUser;
    m_data.userLine = app.userLine;
    if (!m_hrv)
        return;
    m_data.history = BuildApgHistory(*m_hrv, QString::fromLatin1(kWorkFolder), user.name, user.sex);

    // The page shows what the CHrv holds now: the last recording replayed, or the test.
    const RecordingIdentity identity = m_hrv->Identity();
    m_data.dateTimeText = QString::fromStdString(identity.dateTimeText);
    m_data.age = identity.age >= 1 ? identity.age : QDate::currentDate().year() - user.birthYear;
    m_data.summary = m_hrv->SummariseApg(m_data.age, user.sex);
    m_data.meanPulse = m_hrv->TimelineStats(&m_data.minPulse, &m_data.maxPulse);
}

CButtonST* CDlgApgReport::Button(int id) const {
    return qobject_cast<CButtonST*>(FindControl(this, id));
}

CStaticEx* CDlgApgReport::Static(int id) const {
    return qobject_cast<CStaticEx*>(FindControl(this, id));
}

int CDlgApgReport::ClientWidth() const {
    return std::max(0, width() - m_scrollBar->width());
}

int CDlgApgReport::BandHeight() const {
    return kBandHeight * m_page.height() / kPageHeight;
}

QImage CDlgApgReport::PrintPage() const {
    return ComposeApgReportPage(QSize(kPageWidth, kPageHeight), m_data, m_picture, m_banner,
                                TheApp().fontFace);
}

void CDlgApgReport::SetScroll(int position) {
    m_scroll = std::clamp(position, 0, m_scrollMax);
    const QSignalBlocker blocker(m_scrollBar);
    m_scrollBar->setRange(0, m_scrollMax);
    m_scrollBar->setValue(m_scroll);
    m_scrollBar->setEnabled(m_scrollMax > 0); // the bar stays visible
    update();
}

bool CDlgApgReport::RenderToPrinter(QPrinter& printer) const {
    printer.setDocName(GetMessageText(kTitleMessage));
    const QImage page = PrintPage();
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, printer.width(), printer.height()), page,
                      ApgPrintedRect(page.size()));
    return painter.end();
}

void CDlgApgReport::Print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    // Printing to a PDF file stays offered: the way out on a machine without a printer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!RenderToPrinter(printer))
        TRACE("report: the printer %s cannot be printed on\n", qPrintable(printer.printerName()));
}

void CDlgApgReport::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_scrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
    const int pageWidth = ClientWidth();
    const QSize pageSize(pageWidth, pageWidth * kPageHeight / kPageWidth);
    if (pageSize != m_page.size()) {
        m_page = pageSize.isEmpty() ? QImage()
                                    : ComposeApgReportPage(pageSize, m_data, m_picture, m_banner,
                                                           TheApp().fontFace);
    }
    m_scrollMax = std::max(0, pageSize.height() - height());
    SetScroll(m_scroll);
}

void CDlgApgReport::paintEvent(QPaintEvent* /*event*/) {
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

void CDlgApgReport::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    int notches = delta / kWheelNotch;
    if (notches == 0 && delta != 0)
        notches = delta > 0 ? 1 : -1;
    // A notch towards the user (negative delta) moves the page up: the view goes down.
    SetScroll(m_scroll - notches * kWheelStep);
    event->accept();
}

void CDlgApgReport::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        SetScroll(m_scroll - kKeyStep);
        break;
    case Qt::Key_Down:
        SetScroll(m_scroll + kKeyStep);
        break;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool CDlgApgReport::eventFilter(QObject* watched, QEvent* event) {
    // The wheel scrolls by the window's own step wherever the pointer is.
    if (watched == m_scrollBar && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
