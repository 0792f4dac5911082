#include "records/DlgReview.h"

#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"
#include "analysis/Trace.h"
#include "apg/ActionIcons.h"
#include "apg/DlgApgReport.h"
#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ColorRef.h"
#include "controls/ControlId.h"
#include "controls/MessageBox.h"
#include "controls/staticex.h"
#include "records/UserRecordings.h"
#include "stress/DlgStressReport.h"

#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QTimer>

#include <chrono>
#include <system_error>

using namespace ReviewId;

namespace {

// The application's recordings folder (CTondrelaApp::recordingsFolder).
std::filesystem::path WorkFolder() {
    return std::filesystem::path(TheApp().recordingsFolder.toStdU16String());
}
constexpr char kSection[] = "Tondrela";
constexpr int kTipBelowCursor = 20; // pixels

// In the order of the record lists: mean pulse, wellness index, stress index.
constexpr ReviewChartStyle kChartStyles[kReviewCharts] = {
    {110, 0xFFFFD100, 4, 40},
    {120, 0xFFFF9000, 3, 60},
    {120, 0xFF61AB00, 4, 40},
};

struct ChartControls {
    int count;
    int previous;
    int next;
};
constexpr ChartControls kChartControls[kReviewCharts] = {
    {kPulseCount, kPulsePrevious, kPulseNext},
    {kWellnessCount, kWellnessPrevious, kWellnessNext},
    {kStressCount, kStressPrevious, kStressNext},
};
constexpr ReviewChart kCharts[kReviewCharts] = {ReviewChart::MeanPulse, ReviewChart::Wellness,
                                                ReviewChart::Stress};

constexpr int kScrollIds[] = {kWellnessPrevious, kWellnessNext,  kStressPrevious,
                              kStressNext,       kPulsePrevious, kPulseNext};
constexpr int kStaticIds[] = {kTitle,         kUserLine,    kWellnessCaption, kWellnessCount,
                              kStressCaption, kStressCount, kPulseCaption,    kPulseCount,
                              kHint,          kToMain,      kStatusLine,      kHoverTip};

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kBlack = 0x00000000;
constexpr std::uint32_t kCountColour = RgbColorRef(150, 225, 228);
constexpr std::uint32_t kGrey = RgbColorRef(164, 164, 164);
constexpr std::uint32_t kWarning = RgbColorRef(255, 176, 64);
constexpr std::uint32_t kScrollFace = RgbColorRef(12, 74, 92);
constexpr std::uint32_t kScrollHoverFace = RgbColorRef(38, 160, 170);

int ChartIndex(ReviewChart chart) {
    return static_cast<int>(chart);
}

QRect ScaledRect(const ReviewChartRect& r, double scaleX, double scaleY) {
    return QRect(static_cast<int>(r.x * scaleX), static_cast<int>(r.y * scaleY),
                 static_cast<int>(r.width * scaleX), static_cast<int>(r.height * scaleY));
}

} // namespace

CDlgReview::CDlgReview(QWidget* parent, RecordsLoader loader)
    : CBkDialog(parent), m_hrv(std::make_unique<CHrv>()),
      m_loader(std::move(loader)), m_charts{CReviewChartPanel(kChartStyles[0]),
                                            CReviewChartPanel(kChartStyles[1]),
                                            CReviewChartPanel(kChartStyles[2])} {
    const CTondrelaApp& app = TheApp();
    setWindowTitle(QStringLiteral("Tondrela"));
    setWindowFlag(Qt::FramelessWindowHint);
    setMouseTracking(true);

    m_userName = app.CurrentUser.name.toStdString();
    m_userSex = app.CurrentUser.sex;
    if (!m_loader) {
        m_loader = [folder = WorkFolder(), name = m_userName,
                    sex = m_userSex](std::stop_token stop, ReviewLoadProgress* progress) {
            return LoadReviewRecords(folder, name, sex, stop, progress);
        };
    }
    m_runReport = [](Report report, CHrv* hrv, QWidget* owner) {
        if (report == Report::Apg) {
            CDlgApgReport dialog(hrv, owner);
            dialog.exec();
        } else {
            CDlgStressReport dialog(hrv, owner);
            dialog.exec();
        }
    };
    m_hrv->AttachApg();
    m_hrv->AttachRateChart(kRateChartSeconds);
    m_hrv->AttachPulseRing();

    resize(app.screenSize); // it is shown over the whole screen
    CreateControls();
    ApplyControlLayout(this, ReviewLayout, ScaleX(), ScaleY());
    SkinControls();
    Static(kHoverTip)->hide();
    for (int id : kScrollIds)
        Button(id)->hide();
    Static(kUserLine)->setText(app.userLine);
    ApplyLanguage(this, kSection);

    m_poll = new QTimer(this);
    m_poll->setInterval(kPollPeriodMs);
    connect(m_poll, &QTimer::timeout, this, &CDlgReview::PollLoading);
    StartLoading();
}

CDlgReview::~CDlgReview() {
    StopLoading();
}

void CDlgReview::CreateControls() {
    for (int id : kStaticIds)
        SetControlId(new CStaticEx(this), id);
    auto addButton = [this](int id, auto command) {
        auto* button = new CButtonST(this);
        SetControlId(button, id);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, command);
    };
    for (int i = 0; i < kReviewCharts; ++i) {
        const ReviewChart chart = kCharts[i];
        addButton(kChartControls[i].previous, [this, chart] { OnPrevious(chart); });
        addButton(kChartControls[i].next, [this, chart] { OnNext(chart); });
    }
    addButton(kMain, [this] { OnMain(); });
    addButton(kClose, [this] { OnMain(); });

    m_progressBar = new QProgressBar(this);
    SetControlId(m_progressBar, kProgress);
    m_progressBar->setTextVisible(false);
    m_progressBar->hide();
}

void CDlgReview::SkinControls() {
    const CTondrelaApp& app = TheApp();
    const FontSizes& sizes = app.fontSizes;
    for (int id : kStaticIds) {
        CStaticEx* label = Static(id);
        label->SetTransparent(true);
        label->SetFont(app.fontFace, sizes.smallTextFontSize);
        label->SetTextColor(kWhite);
    }
    for (int id : {kUserLine, kWellnessCaption, kStressCaption, kPulseCaption})
        Static(id)->SetFont(app.fontFace, sizes.textFontSize);
    for (int id : {kWellnessCount, kStressCount, kPulseCount})
        Static(id)->SetTextColor(kCountColour);
    for (int id : {kHint, kToMain})
        Static(id)->SetTextColor(kGrey);
    Static(kToMain)->setAlignment(Qt::AlignCenter);
    Static(kStatusLine)->SetTextColor(kWarning);
    Static(kStatusLine)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The hover tip: a bordered, centred box; the date and the time wrap onto two lines.
    CStaticEx* tip = Static(kHoverTip);
    tip->SetTransparent(false);
    tip->SetBkColor(kWhite);
    tip->SetTextColor(kBlack);
    tip->setFrameShape(QFrame::Box);
    tip->setAlignment(Qt::AlignCenter);
    tip->setWordWrap(true);

    for (int id : kScrollIds) {
        CButtonST* button = Button(id);
        button->SetFont(app.fontFace, sizes.smallTextFontSize);
        button->SetColor(CButtonST::Color::BackgroundOut, kScrollFace, false);
        button->SetColor(CButtonST::Color::BackgroundIn, kScrollHoverFace, false);
        button->SetColor(CButtonST::Color::TextOut, kWhite, false);
        button->SetColor(CButtonST::Color::TextIn, kWhite, false);
        button->SetBtnCursor(Qt::PointingHandCursor);
    }
    // Placeholders of the buttons whose language lacks their texts.
    for (int i = 0; i < kReviewCharts; ++i) {
        Button(kChartControls[i].previous)->setText(QStringLiteral("<"));
        Button(kChartControls[i].next)->setText(QStringLiteral(">"));
    }

    // Over the picture: the round Main button and the close box show it through.
    QPalette outline = palette();
    outline.setColor(QPalette::Light, QColor(255, 255, 255, 150));
    outline.setColor(QPalette::Dark, QColor(0, 0, 0, 110));
    for (int id : {kMain, kClose}) {
        CButtonST* button = Button(id);
        button->SetTransparent(true);
        button->setPalette(outline);
        button->SetBtnCursor(Qt::PointingHandCursor);
    }
    CButtonST* main = Button(kMain);
    main->SetDrawBorder(false);
    main->SetIcon(ActionIcon(ActionGlyph::Main, main->size(), ActionLook::Hovered),
                  ActionIcon(ActionGlyph::Main, main->size(), ActionLook::Normal));
}

CButtonST* CDlgReview::Button(int id) const {
    return qobject_cast<CButtonST*>(FindControl(this, id));
}

CStaticEx* CDlgReview::Static(int id) const {
    return qobject_cast<CStaticEx*>(FindControl(this, id));
}

const CReviewChartPanel& CDlgReview::Chart(ReviewChart chart) const {
    return m_charts[static_cast<size_t>(ChartIndex(chart))];
}

CReviewChartPanel& CDlgReview::Panel(ReviewChart chart) {
    return m_charts[static_cast<size_t>(ChartIndex(chart))];
}

void CDlgReview::SetReportRunner(ReportRunner runner) {
    m_runReport = std::move(runner);
}

std::string CDlgReview::WorkPath(const std::string& fileName) const {
    return (WorkFolder() / fileName).string();
}

// --- Loading -----------------------------------------------------------------------------

void CDlgReview::StartLoading() {
    StopLoading();
    ClearHover();
    m_hotSpots.clear();
    m_progress.done = 0;
    m_progress.total = 0;
    std::promise<ReviewRecords> promise;
    m_pending = promise.get_future();
    m_loadClock.start();
    try {
        m_worker = std::jthread([loader = m_loader, promise = std::move(promise),
                                 progress = &m_progress](std::stop_token stop) mutable {
            promise.set_value(loader(stop, progress));
        });
    } catch (const std::system_error& error) {
        TRACE("no thread for loading the records (%s): loading them here\n", error.what());
        m_pending = {};
        TakeRecords(m_loader(std::stop_token(), &m_progress));
        return;
    }
    m_poll->start();
}

void CDlgReview::StopLoading() {
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_worker.join();
    }
    m_pending = {};
    m_poll->stop();
    m_progressBar->hide();
}

void CDlgReview::PollLoading() {
    if (!m_pending.valid())
        return;
    if (m_pending.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        ReviewRecords records = m_pending.get();
        StopLoading(); // the worker has finished: this joins it
        TakeRecords(std::move(records));
        return;
    }
    if (m_loadClock.elapsed() >= kProgressDelayMs) {
        m_progressBar->setRange(0, std::max(1, m_progress.total.load()));
        m_progressBar->setValue(m_progress.done.load());
        m_progressBar->show();
    }
}

void CDlgReview::TakeRecords(ReviewRecords records) {
    Panel(ReviewChart::MeanPulse).SetRecords(std::move(records.meanPulse));
    Panel(ReviewChart::Wellness).SetRecords(std::move(records.wellness));
    Panel(ReviewChart::Stress).SetRecords(std::move(records.stress));
    m_unreadable = records.unreadable;
    const QString word = GetMessageText(40010);
    for (int i = 0; i < kReviewCharts; ++i) {
        Static(kChartControls[i].count)
            ->setText(
                QStringLiteral("(%1 %2)").arg(m_charts[static_cast<size_t>(i)].Count()).arg(word));
    }
    Static(kStatusLine)
        ->setText(
            m_unreadable > 0
                ? QStringLiteral("%1 %2").arg(GetMessageText(kUnreadableMessage)).arg(m_unreadable)
                : QString());
    Position();
    for (ReviewChart chart : kCharts)
        Redraw(chart);
}

// --- Charts ------------------------------------------------------------------------------

void CDlgReview::SetBackground(const QString& path) {
    CBkDialog::SetBackground(path);
    CutCharts();
}

double CDlgReview::ScaleX() const {
    return static_cast<double>(width()) / CTondrelaApp::kDesignWidth;
}

double CDlgReview::ScaleY() const {
    return static_cast<double>(height()) / CTondrelaApp::kDesignHeight;
}

void CDlgReview::ClientAreaChanged() {
    ApplyControlLayout(this, ReviewLayout, ScaleX(), ScaleY());
    CutCharts();
}

void CDlgReview::CutCharts() {
    const QImage background = Background().toImage();
    for (int i = 0; i < kReviewCharts; ++i) {
        m_charts[static_cast<size_t>(i)].Cut(
            background, ScaledRect(kReviewChartRects[i], ScaleX(), ScaleY()), devicePixelRatioF());
    }
    Position();
    for (ReviewChart chart : kCharts)
        Redraw(chart);
}

// The hot spots are rebuilt from the shown records; while records load, none.
void CDlgReview::Position() {
    m_hotSpots.clear();
    std::vector<CLinkList> loadingSpots;
    for (int i = 0; i < kReviewCharts; ++i) {
        CReviewChartPanel& chart = m_charts[static_cast<size_t>(i)];
        chart.Position(Loading() ? &loadingSpots : &m_hotSpots);
        Button(kChartControls[i].previous)->setVisible(chart.PreviousShown());
        Button(kChartControls[i].next)->setVisible(chart.NextShown());
    }
}

void CDlgReview::Redraw(ReviewChart chart) {
    CReviewChartPanel& panel = Panel(chart);
    panel.Draw();
    update(panel.Rect());
}

void CDlgReview::OnPrevious(ReviewChart chart) {
    if (!Panel(chart).Previous())
        return;
    Position();
    Redraw(chart);
}

void CDlgReview::OnNext(ReviewChart chart) {
    if (!Panel(chart).Next())
        return;
    Position();
    Redraw(chart);
}

void CDlgReview::paintEvent(QPaintEvent* event) {
    CBkDialog::paintEvent(event);
    QPainter painter(this);
    for (const CReviewChartPanel& chart : m_charts) {
        if (chart.HasBackground() && !chart.Image().isNull())
            painter.drawImage(chart.Rect().topLeft(), chart.Image());
    }
}

// --- Mouse -------------------------------------------------------------------------------

void CDlgReview::OnMouseMove(const QPoint& pos) {
    const CLinkList* hit = nullptr;
    for (const CLinkList& spot : m_hotSpots) {
        if (pos.x() >= spot.hotLeft && pos.x() <= spot.hotRight && pos.y() >= spot.hotTop &&
            pos.y() <= spot.hotBottom) {
            hit = &spot;
            break;
        }
    }
    if (!hit) {
        ClearHover();
        return;
    }
    CStaticEx* tip = Static(kHoverTip);
    const bool same =
        m_hovered.active && m_hovered.fileName == hit->fileName && m_hovered.kind == hit->kind;
    if (tip->isHidden() || !same) {
        const int size = TheApp().fontSizes.smallTextFontSize;
        tip->setGeometry(pos.x(), pos.y() + kTipBelowCursor, 8 * size,
                         static_cast<int>(2.5 * size));
        tip->setText(QString::fromStdString(hit->dateLabel) + QLatin1Char(' '));
        tip->show();
        tip->raise();
    }
    m_hovered = Hovered{true, hit->fileName, hit->kind};
}

void CDlgReview::ClearHover() {
    Static(kHoverTip)->hide();
    m_hovered = Hovered{};
}

void CDlgReview::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(event->position().toPoint());
    CBkDialog::mouseMoveEvent(event);
}

void CDlgReview::mousePressEvent(QMouseEvent* event) {
    // The point under the click, whatever the last move said.
    OnMouseMove(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        OpenHoveredResult();
    else if (event->button() == Qt::RightButton)
        DeleteHoveredResult();
    else
        CBkDialog::mousePressEvent(event);
}

void CDlgReview::OpenHoveredResult() {
    if (!m_hovered.active || !m_runReport)
        return;
    const Hovered hovered = m_hovered;
    const std::string path = WorkPath(hovered.fileName);
    RecordingHeader header;
    m_hrv->ResetMeasurement();
    if (hovered.kind != CLinkList::kStressIndex) {
        if (m_hrv->LoadPulseFile(&header, path) != FileStatus::Ok) {
            TRACE("review: cannot read %s\n", path.c_str());
            return;
        }
        m_runReport(Report::Apg, m_hrv.get(), this);
        return;
    }
    if (m_hrv->LoadRateFile(&header, path) != FileStatus::Ok) {
        TRACE("review: cannot read %s\n", path.c_str());
        return;
    }
    if (m_hrv->AnalyseHrv(m_userSex, m_hrv->Identity().age) != HrvStatus::Ok) {
        ShowMessageBox(this, GetMessageText(40018));
        return;
    }
    // The report shows this recording alone: replaying the test's pulse recording on top
    // would add its beats to the rates that the trace and the distribution draw.
    m_runReport(Report::Stress, m_hrv.get(), this);
}

void CDlgReview::DeleteHoveredResult() {
    if (!m_hovered.active)
        return;
    const std::string fileName = m_hovered.fileName;
    const QString name = QString::fromStdString(fileName);
    const QString ask = GetMessageText(40006);
    const QString question = ask.isEmpty() ? QStringLiteral("%1 record sure to delete ?").arg(name)
                                           : QStringLiteral("%1 %2").arg(name, ask);
    if (ShowMessageBox(this, question, QString(), QMessageBox::Yes | QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    if (!DeleteUserRecording(WorkFolder(), m_userName, fileName))
        return; // the point stays
    ShowMessageBox(this, QStringLiteral("%1 %2").arg(name, GetMessageText(40007)));
    StartLoading();
}

// --- Closing -----------------------------------------------------------------------------

void CDlgReview::OnMain() {
    done(QDialog::Accepted);
}

void CDlgReview::done(int result) {
    if (!m_closing) {
        m_closing = true;
        StopLoading();
    }
    CBkDialog::done(result);
}
