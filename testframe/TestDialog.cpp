#include "testframe/TestDialog.h"

#include "analysis/Hrv.h"
#include "analysis/RecordingFile.h"
#include "analysis/Trace.h"
#include "apg/TestSounds.h"
#include "app/SensorStatus.h"
#include "app/Tondrela.h"
#include "controls/BtnST.h"
#include "controls/ColorRef.h"
#include "controls/ControlId.h"
#include "controls/MessageBox.h"
#include "controls/staticex.h"
#include "device/SensorLink.h"

#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTime>
#include <QTimer>

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kPageSelected = RgbColorRef(233, 16, 0);
constexpr std::uint32_t kPageOther = RgbColorRef(92, 92, 92);

constexpr int kTimerIds[] = {CTestDialog::kGraphTimer, CTestDialog::kSecondTimer,
                             CTestDialog::kConnectionTimer};
constexpr int kTimerPeriods[] = {CTestDialog::kGraphPeriodMs, CTestDialog::kSecondPeriodMs,
                                 CTestDialog::kConnectionPeriodMs};
constexpr int kLastPhaseMs = 450; // the graph timer's phase runs 0, 50, ..., 450

} // namespace

CTestDialog::CTestDialog(QWidget* parent, AcquisitionKind kind,
                         std::span<const ControlLayoutRow> layout, int timeFullSeconds)
    : CBkDialog(parent), m_hrv(std::make_unique<CHrv>()), m_kind(kind), m_layout(layout),
      m_timeFullSeconds(timeFullSeconds), m_panels([this](const QRect& area) { update(area); }) {
    setWindowTitle(QStringLiteral("Tondrela"));
    setWindowFlag(Qt::FramelessWindowHint);
    resize(TheApp().screenSize); // it is shown over the whole screen
    m_sounds = new CTestSounds(this);
    for (int i = 0; i < 3; ++i) {
        m_timers[i] = new QTimer(this);
        m_timers[i]->setInterval(kTimerPeriods[i]);
        const int id = kTimerIds[i];
        connect(m_timers[i], &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    for (const auto& [id, glyph] :
         {std::pair{kQuitId, ActionGlyph::Main}, std::pair{kStartId, ActionGlyph::Start},
          std::pair{kStopId, ActionGlyph::Stop}, std::pair{kResultId, ActionGlyph::Result}})
        m_glyphs[id] = glyph;
}

CTestDialog::~CTestDialog() {
    // The acquisition (declared after the CHrv) goes first and joins its thread; stopping it
    // here as well keeps that true should the members ever be reordered.
    StopAcquisition();
}

// --- Building the window ---------------------------------------------------------------------

void CTestDialog::CreateControls(std::span<const int> buttonIds, std::span<const int> staticIds) {
    for (int id : buttonIds) {
        auto* button = new CButtonST(this);
        SetControlId(button, id);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    }
    for (int id : staticIds) {
        auto* label = new CStaticEx(this);
        SetControlId(label, id);
    }
}

void CTestDialog::SkinCommonControls(std::span<const int> staticIds) {
    const CTondrelaApp& app = TheApp();
    for (int id : staticIds) {
        CStaticEx* label = Static(id);
        label->SetTransparent(true);
        label->SetFont(app.fontFace, app.fontSizes.textFontSize);
        label->SetTextColor(kWhite);
    }
    // Over the picture: the round action buttons and the close box show it through.
    QPalette outline = palette();
    outline.setColor(QPalette::Light, QColor(255, 255, 255, 150));
    outline.setColor(QPalette::Dark, QColor(0, 0, 0, 110));
    for (int id : {kCloseId, kStartId, kStopId, kResultId, kQuitId}) {
        CButtonST* button = Button(id);
        button->SetTransparent(true);
        button->setPalette(outline);
        button->SetBtnCursor(Qt::PointingHandCursor);
    }
    for (int id : {kStartId, kStopId, kResultId, kQuitId})
        Button(id)->SetDrawBorder(false);
    SetActionEnabled(kStartId, true);
    SetActionEnabled(kStopId, false);
    SetActionEnabled(kResultId, true);
    SetActionEnabled(kQuitId, true);

    Timer(kConnectionTimer)->start();
    m_lastConnection = SensorStartRefusal();
    ShowSensorStatus(Static(kStatusId));
    Static(kUserLineId)->setText(app.userLine);
}

double CTestDialog::ScaleX() const {
    return static_cast<double>(width()) / CTondrelaApp::kDesignWidth;
}

double CTestDialog::ScaleY() const {
    return static_cast<double>(height()) / CTondrelaApp::kDesignHeight;
}

QRect CTestDialog::ScaledRect(const DesignRect& r) const {
    return QRect(static_cast<int>(r.x * ScaleX()), static_cast<int>(r.y * ScaleY()),
                 static_cast<int>(r.width * ScaleX()), static_cast<int>(r.height * ScaleY()));
}

void CTestDialog::Relayout() {
    ApplyControlLayout(this, m_layout, ScaleX(), ScaleY());
    ShowSensorStatus(Static(kStatusId)); // the status line widens to a long state again
    RefreshActionIcons();
    PlaceMovableControls();
    if (!BackgroundPath().isEmpty())
        LoadPictures(); // at the new size
    CutPanelSlices();
}

void CTestDialog::RefreshActionIcons() {
    for (const auto& [id, glyph] : m_glyphs) {
        if (const CButtonST* button = Button(id))
            SetActionEnabled(id, button->isEnabled());
    }
}

void CTestDialog::CutPanelSlices() {
    m_panels.Cut(Background().toImage(), ScaleX(), ScaleY(), devicePixelRatioF());
    if (m_hrv->Running())
        RedrawPanels();
}

CButtonST* CTestDialog::Button(int id) const {
    return qobject_cast<CButtonST*>(FindControl(this, id));
}

CStaticEx* CTestDialog::Static(int id) const {
    return qobject_cast<CStaticEx*>(FindControl(this, id));
}

QTimer* CTestDialog::Timer(int timerId) const {
    for (int i = 0; i < 3; ++i) {
        if (kTimerIds[i] == timerId)
            return m_timers[i];
    }
    return nullptr;
}

bool CTestDialog::TimerActive(int timerId) const {
    const QTimer* timer = Timer(timerId);
    return timer && timer->isActive();
}

bool CTestDialog::AcquisitionRunning() const {
    return m_acquisition && m_acquisition->Started();
}

bool CTestDialog::TestRunning() const {
    return TimerActive(kSecondTimer);
}

void CTestDialog::SetReportRunner(ReportRunner runner) {
    m_runReport = std::move(runner);
}

void CTestDialog::SetActionGlyph(int id, ActionGlyph glyph) {
    m_glyphs[id] = glyph;
}

void CTestDialog::SetActionEnabled(int id, bool enabled) {
    CButtonST* button = Button(id);
    button->setEnabled(enabled);
    const auto glyph = m_glyphs.find(id);
    if (glyph == m_glyphs.end())
        return;
    const QSize size = button->size();
    const qreal ratio = devicePixelRatioF();
    button->SetIcon(ActionIcon(glyph->second, size, ActionLook::Hovered, ratio),
                    ActionIcon(glyph->second, size,
                               enabled ? ActionLook::Normal : ActionLook::Disabled, ratio));
}

void CTestDialog::ShowMessage(int number) {
    ShowMessageBox(this, GetMessageText(number));
}

ApgFigureTexts CTestDialog::WellnessFigureTexts() const {
    return ApgFigureTexts{UserAge(),
                          TheApp().fontFace,
                          {GetMessageText(60104), GetMessageText(60105), GetMessageText(60106)}};
}

int CTestDialog::UserAge() const {
    return QDate::currentDate().year() - TheApp().CurrentUser.birthYear;
}

QString CTestDialog::RecordingPath(const char* extension) const {
    const QDateTime& start = TheApp().testStartTime;
    const QDate d = start.date();
    const QTime t = start.time();
    return TheApp().recordingsFolder +
           QString::asprintf("/%s_%04d%02d%02d_%02d%02d%02d.%s",
                             TheApp().CurrentUser.name.toUtf8().constData(), d.year(), d.month(),
                             d.day(), t.hour(), t.minute(), t.second(), extension);
}

bool CTestDialog::SavePulseRecording(const ApgSummary& summary, double apgIndex) {
    const UserRecord& user = TheApp().CurrentUser;
    const RecordingHeader header =
        PulseRecordingHeader(user.name.toStdString(), user.birthYear, user.sex,
                             user.phone.toStdString(), apgIndex, summary);
    const QString path = RecordingPath("ppg");
    const FileStatus status = m_hrv->SavePulseFile(path.toStdString(), &header);
    if (status == FileStatus::Ok)
        return true;
    TRACE("pulse file not saved (%d): %s\n", static_cast<int>(status), qPrintable(path));
    ShowMessage(kSaveFailedMessage);
    return false;
}

// --- Commands ----------------------------------------------------------------------------

void CTestDialog::OnCommand(int id) {
    switch (id) {
    case kStartId:
        OnStart();
        break;
    case kStopId:
        OnStop();
        break;
    case kResultId:
        OnResult();
        break;
    case kQuitId:
        OnQuit();
        break;
    case kCloseId: // enabled during a test, unlike Quit
        if (StopForClosing())
            OnQuit();
        break;
    default:
        break;
    }
}

void CTestDialog::OnStart() {
    CTondrelaApp& app = TheApp();
    if (const int refusal = SensorStartRefusal(); refusal != 0) {
        ShowMessage(refusal);
        return;
    }
    SensorLink* link = app.Link(); // there is one: the sensor is connected
    m_hrv->ResetMeasurement();
    m_hrv->SetAge(UserAge());
    if (!m_acquisition)
        m_acquisition = std::make_unique<CAcquisition>(*link, *m_hrv, m_kind);
    if (m_acquisition->Start() == 0) { // another window's test holds the link, or no thread
        TRACE("acquisition not started\n");
        m_source = ReportSource::Nothing; // the measurement in memory is gone
        ShowMessage(kSensorBusyMessage);
        return;
    }
    m_hrv->SetRunning(true);
    m_sounds->Play(CTestSounds::Sound::Start);
    SetActionEnabled(kStartId, false);
    SetActionEnabled(kQuitId, false);
    SetActionEnabled(kResultId, false);
    SetActionEnabled(kStopId, true);
    Timer(kGraphTimer)->start();
    Timer(kSecondTimer)->start();
    m_elapsedSeconds = 0;
    app.testStartTime = QDateTime::currentDateTime();
    m_source = ReportSource::UnsavedTest;
    TestStarted();
}

void CTestDialog::StopAcquisition() {
    m_acquisition.reset();
    if (m_hrv)
        m_hrv->SetThreadRun(false);
}

void CTestDialog::OnStop() {
    if (!m_hrv)
        return;
    StopAcquisition();
    m_sounds->Play(CTestSounds::Sound::End);
    SetActionEnabled(kStartId, true);
    SetActionEnabled(kQuitId, true);
    SetActionEnabled(kResultId, true);
    SetActionEnabled(kStopId, false);
    Timer(kGraphTimer)->stop();
    Timer(kSecondTimer)->stop();
}

void CTestDialog::RunReport() {
    StopAcquisition();
    if (m_runReport)
        m_runReport(m_hrv.get(), m_source, this);
}

void CTestDialog::OnQuit() {
    done(QDialog::Accepted);
}

bool CTestDialog::StopForClosing() {
    if (!TestRunning())
        return true;
    if (ShowMessageBox(this, GetMessageText(kStopToCloseMessage), QString(),
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    OnStop();
    return true;
}

void CTestDialog::keyPressEvent(QKeyEvent* event) {
    // Escape would close the window: never while a test runs.
    if (event->key() == Qt::Key_Escape && TestRunning()) {
        event->accept();
        return;
    }
    CBkDialog::keyPressEvent(event);
}

void CTestDialog::closeEvent(QCloseEvent* event) {
    if (!StopForClosing()) {
        event->ignore();
        return;
    }
    CBkDialog::closeEvent(event);
}

void CTestDialog::done(int result) {
    if (!m_closing) {
        m_closing = true;
        StopAcquisition();
        for (QTimer* timer : m_timers)
            timer->stop();
    }
    CBkDialog::done(result);
}

// --- Timers ------------------------------------------------------------------------------

void CTestDialog::OnTimer(int timerId) {
    if (!m_hrv)
        return;
    switch (timerId) {
    case kGraphTimer:
        m_tickPhase += kGraphPeriodMs;
        if (m_tickPhase > kLastPhaseMs)
            m_tickPhase = 0;
        if (m_hrv->Running())
            DrawGraphTick(m_tickPhase == 0);
        break;
    case kSecondTimer: {
        ++m_elapsedSeconds;
        const QTime now = QTime::currentTime();
        TRACE("1 sec Timer %d:%d\n", now.minute(), now.second());
        if (m_hrv->Running())
            m_panels.DrawTime(*m_hrv, m_timeFullSeconds);
        SecondTick();
        break;
    }
    case kConnectionTimer: {
        const int state = SensorStartRefusal();
        if (state != m_lastConnection) {
            m_lastConnection = state;
            ShowSensorStatus(Static(kStatusId));
        }
        break;
    }
    default:
        break;
    }
}

// --- Explanatory pictures ----------------------------------------------------------------

QImage CTestDialog::LoadScaledPicture(const QString& file, const DesignRect& rect) const {
    const QImage picture(TheApp().ResourcePath(QStringLiteral("IMAGE"), file));
    if (picture.isNull())
        return QImage();
    const qreal ratio = devicePixelRatioF();
    QImage scaled = picture.scaled(ScaledRect(rect).size() * ratio, Qt::IgnoreAspectRatio,
                                   Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

void CTestDialog::SkinPageButtons(std::initializer_list<int> ids) {
    const CTondrelaApp& app = TheApp();
    for (int id : ids) {
        CButtonST* button = Button(id);
        button->SetColor(CButtonST::Color::BackgroundIn, kWhite, false);
        button->SetColor(CButtonST::Color::BackgroundOut, kWhite, false);
        button->SetColor(CButtonST::Color::TextIn, kPageSelected, false);
        button->SetColor(CButtonST::Color::TextOut, kPageOther, false);
        button->SetFont(app.fontFace, app.fontSizes.textFontSize);
        button->SetBtnCursor(Qt::PointingHandCursor);
    }
}

void CTestDialog::MarkPageButton(int id, bool selected) {
    Button(id)->SetColor(CButtonST::Color::TextOut, selected ? kPageSelected : kPageOther);
}

QRect CTestDialog::OnPicture(const DesignRect& picture, const DesignRect& inPicture) const {
    const QRect shown = ScaledRect(picture);
    const double fx = 1.0 * picture.width / kApgInfoPictureWidth * ScaleX();
    const double fy = 1.0 * picture.height / kApgInfoPictureHeight * ScaleY();
    return QRect(shown.x() + static_cast<int>(inPicture.x * fx),
                 shown.y() + static_cast<int>(inPicture.y * fy),
                 static_cast<int>(inPicture.width * fx), static_cast<int>(inPicture.height * fy));
}

void CTestDialog::PlaceOnPicture(int id, const DesignRect& picture, const DesignRect& inPicture,
                                 bool visible) {
    CButtonST* button = Button(id);
    button->setGeometry(OnPicture(picture, inPicture));
    button->setVisible(visible);
    SetActionEnabled(id, true); // the icon at the new size
}

void CTestDialog::PaintInfoPicture(QPainter& painter, const DesignRect& frame,
                                   const QImage& picture, const DesignRect& rect) const {
    painter.fillRect(ScaledRect(frame), Qt::black);
    if (!picture.isNull())
        painter.drawImage(ScaledRect(rect).topLeft(), picture);
}

// --- Background and painting -------------------------------------------------------------

void CTestDialog::SetBackground(const QString& path) {
    CBkDialog::SetBackground(path);
    LoadPictures();
    CutPanelSlices();
    update();
}

void CTestDialog::ClientAreaChanged() {
    Relayout();
}

void CTestDialog::paintEvent(QPaintEvent* event) {
    CBkDialog::paintEvent(event);
    QPainter painter(this);
    m_panels.Paint(painter, event->rect());
}
