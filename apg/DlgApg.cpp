#include "apg/DlgApg.h"

#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"
#include "analysis/Trace.h"
#include "apg/ActionIcons.h"
#include "apg/DlgApgReport.h"
#include "apg/TestSounds.h"
#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ColorRef.h"
#include "controls/ControlId.h"
#include "controls/MessageBox.h"
#include "controls/staticex.h"
#include "device/Acquisition.h"
#include "device/SensorLink.h"

#include <QDate>
#include <QDateTime>
#include <QPaintEvent>
#include <QPainter>
#include <QTime>

namespace {

using namespace ApgId;

constexpr int kButtonIds[] = {kClose, kStart,    kStop,     kResult,  kQuit,    kInfo1,   kInfo2,
                              kInfo3, kInfoMore, kInfoBack, kHidden1, kHidden2, kHidden3, kHidden4};
constexpr int kStaticIds[] = {
    kTitle,       kUserLine,        kStatus,      kPulseCaption,    kDiff1Caption, kDiff2Caption,
    kRateCaption, kStrengthCaption, kTimeCaption, kBasis,           kMeasure,      kIndexCaption,
    kPulseTip,    kDiff1Tip,        kDiff2Tip,    kStandardCaption, kTypeCaption,  kGood,
    kBad,         kTimeTip,         kStrengthTip, kToMain,          kToStart,      kToStop,
    kToResult};
constexpr int kHiddenIds[] = {kHidden1, kHidden2, kHidden3, kHidden4};
constexpr int kInfoButtonIds[] = {kInfo1, kInfo2, kInfo3};
constexpr int kGreyStaticIds[] = {kPulseTip, kDiff1Tip, kDiff2Tip, kTimeTip, kStrengthTip,
                                  kToMain,   kToStart,  kToStop,   kToResult};

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kRed = RgbColorRef(255, 0, 0);
constexpr std::uint32_t kTitleRed = RgbColorRef(234, 17, 0);
constexpr std::uint32_t kGoodBlue = RgbColorRef(2, 156, 252);
constexpr std::uint32_t kBadRed = RgbColorRef(255, 4, 0);
constexpr std::uint32_t kTipGrey = RgbColorRef(164, 164, 164);
constexpr std::uint32_t kInfoSelected = RgbColorRef(233, 16, 0);
constexpr std::uint32_t kInfoOther = RgbColorRef(92, 92, 92);

constexpr char kSection[] = "Tondrela";

const char* const kInfoPictureFiles[kApgInfoPages] = {"apgInfo1.jpg", "apgInfo2.jpg",
                                                      "apgInfo3.jpg", "apgInfo4.jpg"};

QRect ScaledRect(const DesignRect& r, double scaleX, double scaleY) {
    return QRect(static_cast<int>(r.x * scaleX), static_cast<int>(r.y * scaleY),
                 static_cast<int>(r.width * scaleX), static_cast<int>(r.height * scaleY));
}

struct ActionButton {
    int id;
    ActionGlyph glyph;
};
constexpr ActionButton kActionButtons[] = {
    {kQuit, ActionGlyph::Main},         {kStart, ActionGlyph::Start},
    {kStop, ActionGlyph::Stop},         {kResult, ActionGlyph::Result},
    {kInfoMore, ActionGlyph::PageDown}, {kInfoBack, ActionGlyph::PageUp}};

// "../work/<name>_YYYYMMDD_HHMMSS.ppg", relative to the program's folder.
QString RecordingPath(const QString& name, const QDateTime& start) {
    const QDate d = start.date();
    const QTime t = start.time();
    return QString::asprintf("../work/%s_%04d%02d%02d_%02d%02d%02d.ppg", name.toUtf8().constData(),
                             d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

} // namespace

CDlgApg::CDlgApg(QWidget* parent)
    : CBkDialog(parent), m_hrv(std::make_unique<CHrv>()),
      m_panels([this](const QRect& area) { update(area); }) {
    const CTondrelaApp& app = TheApp();
    setWindowTitle(QStringLiteral("Tondrela"));
    setWindowFlag(Qt::FramelessWindowHint);

    m_hrv->AttachApg();
    m_hrv->AttachRateDisplay();
    m_hrv->AttachRateChart(kRateChartSeconds);
    m_hrv->AttachPulseRing();

    m_sounds = new CTestSounds(this);
    const int periods[] = {kGraphPeriodMs, kSecondPeriodMs, kConnectionPeriodMs};
    const int ids[] = {kGraphTimer, kSecondTimer, kConnectionTimer};
    for (int i = 0; i < 3; ++i) {
        m_timers[i] = new QTimer(this);
        m_timers[i]->setInterval(periods[i]);
        const int id = ids[i];
        connect(m_timers[i], &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    m_runReport = [](CHrv* hrv, QWidget* owner) {
        CDlgApgReport report(hrv, owner);
        report.exec();
    };

    CreateControls();
    ApplyControlLayout(this, ApgLayout, app.scaleX, app.scaleY);
    SkinControls();
    for (int id : kHiddenIds)
        Button(id)->hide();
    SetActionEnabled(kStart, true);
    SetActionEnabled(kStop, false);
    SetActionEnabled(kResult, true);
    SetActionEnabled(kQuit, true);

    Timer(kConnectionTimer)->start();
    m_lastConnection = app.SensorConnected() ? 1 : 0;
    ShowConnectionState(m_lastConnection != 0);
    Static(kUserLine)->setText(app.userLine);
    ApplyLanguageToWindow();
    CutPanelSlices();
    ShowInfoPage(1);
}

// New slices (a new picture or size) start empty: what the panels showed is drawn again.
void CDlgApg::CutPanelSlices() {
    const CTondrelaApp& app = TheApp();
    m_panels.Cut(Background().toImage(), app.scaleX, app.scaleY);
    if (m_hrv->Running()) {
        m_panels.DrawGraphs(*m_hrv);
        m_panels.DrawTime(*m_hrv);
        DrawFigures(m_shownSummary);
    }
}

ApgFigureTexts CDlgApg::FigureTexts() const {
    return ApgFigureTexts{UserAge(),
                          TheApp().fontFace,
                          {GetMessageText(60104), GetMessageText(60105), GetMessageText(60106)}};
}

CDlgApg::~CDlgApg() {
    // The acquisition (declared after the CHrv) goes first and joins its thread; stopping it
    // here as well keeps that true should the members ever be reordered.
    StopAcquisition();
}

void CDlgApg::CreateControls() {
    for (int id : kButtonIds) {
        auto* button = new CButtonST(this);
        SetControlId(button, id);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, id] {
            switch (id) {
            case kStart:
                OnStart();
                break;
            case kStop:
                OnStop();
                break;
            case kResult:
                OnResult();
                break;
            case kQuit:
            case kClose:
                OnQuit();
                break;
            case kInfo1:
            case kInfo2:
            case kInfo3:
                ShowInfoPage(id - kInfo1 + 1);
                break;
            case kInfoMore:
                ShowInfoPage(4);
                break;
            case kInfoBack:
                ShowInfoPage(3);
                break;
            default: // the hidden buttons
                break;
            }
        });
    }
    for (int id : kStaticIds) {
        auto* label = new CStaticEx(this);
        SetControlId(label, id);
    }
    for (int id : {kRateCaption, kStrengthCaption, kTimeCaption})
        connect(Static(id), &CStaticEx::clicked, this, &CDlgApg::OnHelp);
}

void CDlgApg::SkinControls() {
    const CTondrelaApp& app = TheApp();
    for (int id : kStaticIds) {
        CStaticEx* label = Static(id);
        label->SetTransparent(true);
        label->SetFont(app.fontFace, app.fontSizes.textFontSize);
        label->SetTextColor(kWhite);
    }
    for (int id : kGreyStaticIds) {
        Static(id)->SetFont(app.fontFace, app.fontSizes.smallTextFontSize);
        Static(id)->SetTextColor(kTipGrey);
    }
    for (int id : {kToMain, kToStart, kToStop, kToResult})
        Static(id)->setAlignment(Qt::AlignCenter);
    Static(kTitle)->SetFont(app.fontFace, app.fontSizes.titleFontSize);
    Static(kTitle)->SetTextColor(kTitleRed);
    Static(kGood)->SetTextColor(kGoodBlue);
    Static(kBad)->SetTextColor(kBadRed);
    Static(kGood)->setAlignment(Qt::AlignCenter);
    Static(kBad)->setAlignment(Qt::AlignCenter);

    // Over the picture: the round action buttons and the close box show it through.
    QPalette outline = palette();
    outline.setColor(QPalette::Light, QColor(255, 255, 255, 150));
    outline.setColor(QPalette::Dark, QColor(0, 0, 0, 110));
    for (int id : {kClose, kStart, kStop, kResult, kQuit}) {
        CButtonST* button = Button(id);
        button->SetTransparent(true);
        button->setPalette(outline);
        button->SetBtnCursor(Qt::PointingHandCursor);
    }
    for (int id : {kStart, kStop, kResult, kQuit})
        Button(id)->SetDrawBorder(false);

    // The info buttons: white bars, the selected one's text red, the others grey.
    for (int id : {kInfo1, kInfo2, kInfo3, kInfoMore, kInfoBack}) {
        CButtonST* button = Button(id);
        button->SetColor(CButtonST::Color::BackgroundIn, kWhite, false);
        button->SetColor(CButtonST::Color::BackgroundOut, kWhite, false);
        button->SetColor(CButtonST::Color::TextIn, kInfoSelected, false);
        button->SetColor(CButtonST::Color::TextOut, kInfoOther, false);
        button->SetFont(app.fontFace, app.fontSizes.textFontSize);
        button->SetBtnCursor(Qt::PointingHandCursor);
    }
    for (int id : kInfoButtonIds)
        Button(id)->SetAlignLeft(true);
}

void CDlgApg::ApplyLanguageToWindow() {
    ApplyLanguage(this, kSection);
}

CButtonST* CDlgApg::Button(int id) const {
    return qobject_cast<CButtonST*>(FindControl(this, id));
}

CStaticEx* CDlgApg::Static(int id) const {
    return qobject_cast<CStaticEx*>(FindControl(this, id));
}

QTimer* CDlgApg::Timer(int timerId) const {
    switch (timerId) {
    case kGraphTimer:
        return m_timers[0];
    case kSecondTimer:
        return m_timers[1];
    case kConnectionTimer:
        return m_timers[2];
    default:
        return nullptr;
    }
}

bool CDlgApg::TimerActive(int timerId) const {
    const QTimer* timer = Timer(timerId);
    return timer && timer->isActive();
}

bool CDlgApg::AcquisitionRunning() const {
    return m_acquisition && m_acquisition->Started();
}

void CDlgApg::SetReportRunner(ReportRunner runner) {
    m_runReport = std::move(runner);
}

// The enable state, with the icon that shows it.
void CDlgApg::SetActionEnabled(int id, bool enabled) {
    CButtonST* button = Button(id);
    button->setEnabled(enabled);
    for (const ActionButton& action : kActionButtons) {
        if (action.id != id)
            continue;
        const QSize size = button->size();
        button->SetIcon(
            ActionIcon(action.glyph, size, ActionLook::Hovered),
            ActionIcon(action.glyph, size, enabled ? ActionLook::Normal : ActionLook::Disabled));
    }
}

void CDlgApg::ShowConnectionState(bool connected) {
    CStaticEx* status = Static(kStatus);
    status->setText(GetMessageText(connected ? 30002 : 30001));
    status->SetTextColor(connected ? kWhite : kRed);
}

int CDlgApg::UserAge() const {
    return QDate::currentDate().year() - TheApp().CurrentUser.birthYear;
}

// --- Commands ----------------------------------------------------------------------------

void CDlgApg::OnStart() {
    CTondrelaApp& app = TheApp();
    SensorLink* link = app.Link();
    if (!link || !app.SensorConnected()) {
        ShowMessageBox(this, GetMessageText(40004));
        return;
    }
    m_hrv->ResetMeasurement();
    m_hrv->SetAge(UserAge());
    if (!m_acquisition)
        m_acquisition = std::make_unique<CAcquisition>(*link, *m_hrv, AcquisitionKind::Apg);
    m_acquisition->Start(); // a thread that cannot be started leaves an empty test
    m_hrv->SetRunning(true);
    m_sounds->Play(CTestSounds::Sound::Start);
    SetActionEnabled(kStart, false);
    SetActionEnabled(kQuit, false);
    SetActionEnabled(kResult, false);
    SetActionEnabled(kStop, true);
    Timer(kGraphTimer)->start();
    Timer(kSecondTimer)->start();
    m_elapsedSeconds = 0;
    app.testStartTime = QDateTime::currentDateTime();
}

// Stops the loop and waits for its thread (its read is cancelled: at most the rest of one
// cycle), so that nothing feeds the CHrv afterwards.
void CDlgApg::StopAcquisition() {
    m_acquisition.reset();
    if (m_hrv)
        m_hrv->SetThreadRun(false);
}

void CDlgApg::OnStop() {
    if (!m_hrv)
        return;
    StopAcquisition();
    m_sounds->Play(CTestSounds::Sound::End);
    SetActionEnabled(kStart, true);
    SetActionEnabled(kQuit, true);
    SetActionEnabled(kResult, true);
    SetActionEnabled(kStop, false);
    Timer(kGraphTimer)->stop();
    Timer(kSecondTimer)->stop();
}

void CDlgApg::OnResult() {
    OpenReport();
}

void CDlgApg::OpenReport() {
    StopAcquisition(); // the report replays recordings through this CHrv
    if (m_runReport)
        m_runReport(m_hrv.get(), this);
}

void CDlgApg::OnQuit() {
    done(QDialog::Accepted);
}

void CDlgApg::done(int result) {
    if (!m_closing) {
        m_closing = true;
        StopAcquisition();
        for (QTimer* timer : m_timers)
            timer->stop();
    }
    CBkDialog::done(result);
}

void CDlgApg::OnHelp() {
    // The help page exists in Korean only; its window is not part of this version.
    if (TheApp().languageIndex == 1)
        ShowMessageBox(this, QStringLiteral("This window is not available in this version."));
}

// --- Timers ------------------------------------------------------------------------------

void CDlgApg::OnTimer(int timerId) {
    if (!m_hrv)
        return;
    switch (timerId) {
    case kGraphTimer:
        m_tickPhase += kGraphPeriodMs;
        if (m_tickPhase > 499)
            m_tickPhase = 0;
        if (m_hrv->Running()) {
            m_panels.DrawGraphs(*m_hrv);
            if (m_tickPhase == 0)
                DrawFigures(m_hrv->SummariseApg(UserAge(), TheApp().CurrentUser.sex));
        }
        break;
    case kSecondTimer: {
        ++m_elapsedSeconds;
        const QTime now = QTime::currentTime();
        TRACE("1 sec Timer %d:%d\n", now.minute(), now.second());
        if (m_hrv->Running())
            m_panels.DrawTime(*m_hrv);
        if (m_elapsedSeconds > kTestSeconds)
            EndOfTest();
        break;
    }
    case kConnectionTimer: {
        const int connected = TheApp().SensorConnected() ? 1 : 0;
        if (connected != m_lastConnection) {
            m_lastConnection = connected;
            ShowConnectionState(connected != 0);
        }
        break;
    }
    default:
        break;
    }
}

void CDlgApg::EndOfTest() {
    OnStop();
    const ApgSummary summary = m_hrv->SummariseApg(UserAge(), TheApp().CurrentUser.sex);
    DrawFigures(summary); // the figures of the whole test, as they are saved
    if (summary.qualified < kMinSavedBeats) {
        ShowMessageBox(this, GetMessageText(40005));
        return;
    }
    SaveRecording(summary);
    OpenReport();
}

void CDlgApg::DrawFigures(const ApgSummary& summary) {
    m_shownSummary = summary;
    m_panels.DrawFigures(*m_hrv, summary, FigureTexts());
}

void CDlgApg::SaveRecording(const ApgSummary& summary) {
    const UserRecord& user = TheApp().CurrentUser;
    RecordingHeader header;
    header.SetName(user.name.toStdString());
    header.SetBirthYear(user.birthYear);
    header.SetSex(user.sex);
    header.SetValue(summary.vascularAge);
    header.SetType(summary.typeIndex >= 0 ? static_cast<char>('A' + summary.typeIndex) : '\0');
    header.SetMeanPulse(summary.meanPulse);
    header.SetPhone(user.phone.toStdString());
    const QString path = RecordingPath(user.name, TheApp().testStartTime);
    const FileStatus status = m_hrv->SavePulseFile(path.toStdString(), &header);
    if (status != FileStatus::Ok) {
        TRACE("pulse file not saved (%d): %s\n", static_cast<int>(status), qPrintable(path));
        ShowMessageBox(this, GetMessageText(kSaveFailedMessage));
    }
}

// --- Background, pictures and painting ----------------------------------------------------

void CDlgApg::SetBackground(const QString& path) {
    CBkDialog::SetBackground(path);
    LoadInfoPictures();
    CutPanelSlices();
    update();
}

void CDlgApg::LoadInfoPictures() {
    const CTondrelaApp& app = TheApp();
    for (int i = 0; i < kApgInfoPages; ++i) {
        const QRect rect = ScaledRect(ApgInfoPictureRects[i], app.scaleX, app.scaleY);
        const QImage picture(
            app.ResourcePath(QStringLiteral("IMAGE"), QString::fromLatin1(kInfoPictureFiles[i])));
        m_infoPictures[i] = picture.isNull() ? QImage()
                                             : picture.scaled(rect.size(), Qt::IgnoreAspectRatio,
                                                              Qt::SmoothTransformation);
    }
}

void CDlgApg::resizeEvent(QResizeEvent* event) {
    CBkDialog::resizeEvent(event);
    CutPanelSlices();
}

void CDlgApg::ShowInfoPage(int page) {
    const CTondrelaApp& app = TheApp();
    m_infoPage = std::clamp(page, 1, kApgInfoPages);
    for (int button = 1; button <= 3; ++button) {
        const DesignRect design = {91, ApgInfoButtonY(m_infoPage, button), 480, 25};
        CButtonST* control = Button(kInfoButtonIds[button - 1]);
        control->setGeometry(ScaledRect(design, app.scaleX, app.scaleY));
        const bool selected = button == std::min(m_infoPage, 3);
        control->SetColor(CButtonST::Color::TextOut, selected ? kInfoSelected : kInfoOther);
    }
    PlaceInfoPageButtons();
    update(ScaledRect(kApgInfoFrame, app.scaleX, app.scaleY));
}

// 1206 over page 3's picture, 1207 over page 4's, given in the picture's own pixels.
void CDlgApg::PlaceInfoPageButtons() {
    const CTondrelaApp& app = TheApp();
    const QRect picture = ScaledRect(ApgInfoPictureRects[m_infoPage - 1], app.scaleX, app.scaleY);
    const double fx = 480.0 / kApgInfoPictureWidth * app.scaleX;
    const double fy = 332.0 / kApgInfoPictureHeight * app.scaleY;
    auto place = [&](int id, const DesignRect& r, bool visible) {
        CButtonST* button = Button(id);
        button->setGeometry(picture.x() + static_cast<int>(r.x * fx),
                            picture.y() + static_cast<int>(r.y * fy),
                            static_cast<int>(r.width * fx), static_cast<int>(r.height * fy));
        button->setVisible(visible);
        SetActionEnabled(id, true); // the icon at the new size
    };
    place(kInfoMore, kApgInfoMoreButton, m_infoPage == 3);
    place(kInfoBack, kApgInfoBackButton, m_infoPage == 4);
}

void CDlgApg::paintEvent(QPaintEvent* event) {
    CBkDialog::paintEvent(event);
    const CTondrelaApp& app = TheApp();
    QPainter painter(this);
    m_panels.Paint(painter, event->rect());
    painter.fillRect(ScaledRect(kApgInfoFrame, app.scaleX, app.scaleY), Qt::black);
    const QImage& picture = m_infoPictures[m_infoPage - 1];
    if (!picture.isNull()) {
        painter.drawImage(
            ScaledRect(ApgInfoPictureRects[m_infoPage - 1], app.scaleX, app.scaleY).topLeft(),
            picture);
    }
}
