#include "stress/DlgStress.h"

#include "analysis/BodyMeasures.h"
#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"
#include "analysis/Trace.h"
#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ColorRef.h"
#include "controls/ControlId.h"
#include "controls/staticex.h"
#include "stress/DlgStressReport.h"
#include "stress/StressCharts.h"

#include <QDoubleValidator>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>

#include <optional>

namespace {

using namespace StressId;

constexpr int kButtonIds[] = {kClose,       kStart, kStop,        kResult,     kQuit,        kInfo1,
                              kInfo2,       kInfo3, kCalculator4, kBack1,      kCalculator5, kBack2,
                              kCalculator6, kBack3, kDecoration1, kDecoration2};
constexpr int kStaticIds[] = {
    kTitle,       kUserLine,        kStatus,       kPulseCaption, kHrvCaption,
    kAnsCaption,  kPulseTip,        kHrvTip,       kAnsTip,       kRateCaption,
    kTimeCaption, kStrengthCaption, kTimeTip,      kStrengthTip,  kBasis,
    kMeasure,     kStandardCaption, kIndexCaption, kTypeCaption,  kGood,
    kBad,         kToMain,          kToStart,      kToStop,       kToResult};
constexpr int kCalculatorStaticIds[] = {kStandardWeight, kObesity, kBodyMassIndex, kWaistHipRatio,
                                        kBodyMassMarker};
constexpr int kGreyStaticIds[] = {kPulseTip, kHrvTip,  kAnsTip, kTimeTip, kStrengthTip,
                                  kToMain,   kToStart, kToStop, kToResult};
constexpr int kInfoButtonIds[] = {kInfo1, kInfo2, kInfo3};
constexpr int kCalculatorIds[] = {kCalculator4, kCalculator5, kCalculator6};
constexpr int kBackIds[] = {kBack1, kBack2, kBack3};

constexpr std::uint32_t kTitleRed = RgbColorRef(234, 17, 0);
constexpr std::uint32_t kGoodBlue = RgbColorRef(2, 156, 252);
constexpr std::uint32_t kBadRed = RgbColorRef(255, 4, 0);
constexpr std::uint32_t kTipGrey = RgbColorRef(164, 164, 164);
constexpr std::uint32_t kInk = RgbColorRef(30, 44, 60); // on the light pictures
constexpr std::uint32_t kMarker = RgbColorRef(214, 64, 40);

constexpr char kSection[] = "Tondrela";
constexpr double kLargestMeasure = 999; // cm, kg

} // namespace

CDlgStress::CDlgStress(QWidget* parent)
    : CTestDialog(parent, AcquisitionKind::Stress, StressLayout, kTestSeconds) {
    CHrv& hrv = *Hrv();
    hrv.AttachApg();
    hrv.AttachRateDisplay();
    hrv.AttachRateChart(kRateChartSeconds);
    hrv.AttachPulseRing();
    hrv.AttachLfHfChart();
    SetReportRunner([](CHrv* analysed, ReportSource source, QWidget* owner) {
        CDlgStressReport report(analysed, owner, source);
        report.exec();
    });
    for (int id : kCalculatorIds)
        SetActionGlyph(id, ActionGlyph::Calculator);
    for (int id : kBackIds)
        SetActionGlyph(id, ActionGlyph::Back);

    CreateControls(kButtonIds, kStaticIds);
    CreateCalculatorControls();
    Relayout();
    SkinCommonControls(kStaticIds);
    SkinControls();
    for (int id : {kDecoration1, kDecoration2})
        Button(id)->hide();
    ApplyLanguage(this, kSection);
    ShowTopic(1);
}

CDlgStress::~CDlgStress() = default;

void CDlgStress::CreateCalculatorControls() {
    for (int id : kCalculatorStaticIds) {
        auto* label = new CStaticEx(this);
        SetControlId(label, id);
    }
    for (int id : {kHeight, kWeight, kWaist, kHip}) {
        auto* edit = new QLineEdit(this);
        SetControlId(edit, id);
        auto* validator = new QDoubleValidator(0, kLargestMeasure, 1, edit);
        validator->setLocale(QLocale::c());
        validator->setNotation(QDoubleValidator::StandardNotation);
        edit->setValidator(validator);
        edit->setAlignment(Qt::AlignCenter);
    }
    for (int id : {kMale, kFemale}) {
        auto* radio = new QRadioButton(this);
        SetControlId(radio, id);
        radio->setFocusPolicy(Qt::NoFocus);
    }
}

void CDlgStress::SkinControls() {
    const CTondrelaApp& app = TheApp();
    for (int id : kGreyStaticIds) {
        Static(id)->SetFont(app.fontFace, app.fontSizes.smallTextFontSize);
        Static(id)->SetTextColor(kTipGrey);
    }
    for (int id : {kToMain, kToStart, kToStop, kToResult, kGood, kBad})
        Static(id)->setAlignment(Qt::AlignCenter);
    Static(kTitle)->SetFont(app.fontFace, app.fontSizes.titleFontSize);
    Static(kTitle)->SetTextColor(kTitleRed);
    Static(kGood)->SetTextColor(kGoodBlue);
    Static(kBad)->SetTextColor(kBadRed);

    SkinPageButtons({kInfo1, kInfo2, kInfo3});
    for (int id : kInfoButtonIds)
        Button(id)->SetAlignLeft(true);
    for (int id : {kCalculator4, kBack1, kCalculator5, kBack2, kCalculator6, kBack3}) {
        Button(id)->SetTransparent(true);
        Button(id)->SetDrawBorder(false);
        Button(id)->SetBtnCursor(Qt::PointingHandCursor);
    }

    // The calculators' outputs and inputs sit in the frames of the light pictures.
    for (int id : kCalculatorStaticIds) {
        CStaticEx* output = Static(id);
        output->SetTransparent(true);
        output->SetFont(app.fontFace, app.fontSizes.largeTextFontSize);
        output->SetTextColor(id == kBodyMassMarker ? kMarker : kInk);
        output->setAlignment(Qt::AlignCenter);
    }
    Static(kBodyMassMarker)->setText(QStringLiteral("▼"));
    QFont font(app.fontFace);
    font.setPixelSize(app.fontSizes.textFontSize);
    for (int id : {kHeight, kWeight, kWaist, kHip}) {
        Edit(id)->setFont(font);
        Edit(id)->setStyleSheet(QStringLiteral(
            "QLineEdit { background: white; color: #1e2c3c; border: 1px solid #7fa6b8; }"));
    }
    for (int id : {kMale, kFemale}) {
        Radio(id)->setFont(font);
        Radio(id)->setStyleSheet(QStringLiteral("QRadioButton { color: #1e2c3c; }"));
    }
    Radio(kMale)->setText(GetMessageText(30007));
    Radio(kFemale)->setText(GetMessageText(30008));
    Radio(app.CurrentUser.sex == 2 ? kFemale : kMale)->setChecked(true);
}

QLineEdit* CDlgStress::Edit(int id) const {
    return qobject_cast<QLineEdit*>(FindControl(this, id));
}

QRadioButton* CDlgStress::Radio(int id) const {
    return qobject_cast<QRadioButton*>(FindControl(this, id));
}

// --- Commands ----------------------------------------------------------------------------

void CDlgStress::OnCommand(int id) {
    switch (id) {
    case kInfo1:
    case kBack1:
        ShowTopic(1);
        break;
    case kInfo2:
    case kBack2:
        ShowTopic(2);
        break;
    case kInfo3:
    case kBack3:
        ShowTopic(3);
        break;
    case kCalculator4:
    case kCalculator5:
    case kCalculator6: {
        const int topic = id == kCalculator4 ? 4 : id == kCalculator5 ? 5 : 6;
        ShowTopic(topic);
        Calculate(topic);
        break;
    }
    default: // the test's commands; the decorations do nothing
        CTestDialog::OnCommand(id);
        break;
    }
}

void CDlgStress::OnResult() {
    StopAcquisition(); // the analysis reads what the thread fed
    const UserRecord& user = TheApp().CurrentUser;
    if (Hrv()->AnalyseHrv(user.sex, UserAge()) != HrvStatus::Ok)
        ShowMessage(40018);
    RunReport();
}

void CDlgStress::ShowTopic(int topic) {
    m_topic = std::clamp(topic, 1, kStressTopics);
    PlaceMovableControls();
    update(ScaledRect(kStressInfoFrame));
}

void CDlgStress::Calculate(int topic) {
    auto read = [this](int id) {
        bool ok = false;
        const double value = Edit(id)->text().toDouble(&ok);
        return ok ? value : 0.0;
    };
    auto show = [this](int id, const std::optional<double>& value, const char* format) {
        Static(id)->setText(value ? QString::asprintf(format, *value) : QString());
    };
    switch (topic) {
    case 4: {
        const auto weight = ComputeStandardWeight(read(kHeight), read(kWeight));
        show(kStandardWeight, weight ? std::optional(weight->weightKg) : std::nullopt, "%.1f");
        show(kObesity, weight ? std::optional(weight->obesityPercent) : std::nullopt, "%.0f%%");
        break;
    }
    case 5: {
        const auto index = ComputeBodyMassIndex(read(kHeight), read(kWeight));
        show(kBodyMassIndex, index, "%.1f");
        m_bodyMassCategory = index ? BodyMassCategory(*index) : -1;
        PlaceMovableControls();
        break;
    }
    case 6:
        show(kWaistHipRatio, ComputeWaistHipRatio(read(kWaist), read(kHip)), "%.1f");
        break;
    default:
        break;
    }
}

// --- The test ----------------------------------------------------------------------------

void CDlgStress::TestStarted() {
    m_apgPhase = true;
}

void CDlgStress::DrawGraphTick(bool figures) {
    Panels().DrawPulseWave(*Hrv());
    if (!figures)
        return;
    DrawCharts();
    Panels().DrawRateAndStrength(*Hrv());
    if (m_apgPhase)
        DrawWellnessFigures();
}

void CDlgStress::SecondTick() {
    if (ElapsedSeconds() > kApgSeconds && m_apgPhase && !EndOfApgPhase())
        return;
    if (Hrv()->Running() && Hrv()->CopyRateDisplay().seconds > kTestSeconds)
        EndOfTest();
}

void CDlgStress::RedrawPanels() {
    CHrv& hrv = *Hrv();
    Panels().DrawPulseWave(hrv);
    DrawCharts();
    Panels().DrawRateAndStrength(hrv);
    Panels().DrawTime(hrv, kTestSeconds);
    DrawWellnessFigures(); // after the first minute: its figures, which no longer change
}

// The wellness part ends: its analysis takes no more of the pulse, and its recording is saved
// while the test goes on.
bool CDlgStress::EndOfApgPhase() {
    m_apgPhase = false;
    CHrv& hrv = *Hrv();
    hrv.StopApgIntake();
    DrawWellnessFigures();
    const ApgSummary summary = hrv.SummariseApg(UserAge(), TheApp().CurrentUser.sex);
    if (summary.qualified < kMinSavedBeats) {
        ShowMessage(40005);
        return false;
    }
    SavePulseRecording(summary, static_cast<int>(summary.vascularAge));
    return true;
}

void CDlgStress::EndOfTest() {
    OnStop();
    CHrv& hrv = *Hrv();
    int cleaned = 0;
    const double beatSeconds = hrv.CleanRateQueue(&cleaned);
    if (cleaned == 0)
        return;
    if (beatSeconds < kMinBeatSeconds) {
        ShowMessage(40018);
        return;
    }
    const UserRecord& user = TheApp().CurrentUser;
    if (hrv.AnalyseHrv(user.sex, hrv.Identity().age) != HrvStatus::Ok) {
        ShowMessage(40018);
        return;
    }
    RecordingHeader header;
    header.SetName(user.name.toStdString());
    header.SetBirthYear(user.birthYear);
    header.SetSex(user.sex);
    header.SetValue(hrv.Result().stressScoreCopy);
    const QString path = RecordingPath("hrv");
    const FileStatus status = hrv.SaveRateFile(&header, path.toStdString());
    if (status == FileStatus::Ok) {
        TestSaved();
    } else {
        TRACE("rate file not saved (%d): %s\n", static_cast<int>(status), qPrintable(path));
        ShowMessage(kSaveFailedMessage);
    }
    OnResult();
}

// --- Drawing -----------------------------------------------------------------------------

int CDlgStress::ChartBarWidth() const {
    // One screen width over the 150 values: neighbouring bars touch.
    return static_cast<int>(CTondrelaApp::kDesignWidth * ScaleX()) / kLfHfPageValues;
}

void CDlgStress::DrawCharts() {
    const RateChartCopy rates = Hrv()->CopyRateChart();
    Panels().Render(kHeartRatePanel,
                    [&](QPainter& p, QSize size) { DrawHeartRateChart(p, size, rates); });
    const LfHfChartCopy shares = Hrv()->CopyLfHfChart();
    const int barWidth = ChartBarWidth();
    Panels().Render(kLfHfPanel,
                    [&](QPainter& p, QSize size) { DrawLfHfChart(p, size, shares, barWidth); });
}

void CDlgStress::DrawWellnessFigures() {
    Panels().DrawWellnessFigures(Hrv()->SummariseApg(UserAge(), TheApp().CurrentUser.sex),
                                 WellnessFigureTexts());
}

// --- The information panel ---------------------------------------------------------------

void CDlgStress::LoadPictures() {
    for (int topic = 1; topic <= kStressTopics; ++topic) {
        m_infoPictures[topic - 1] = LoadScaledPicture(QStringLiteral("stressInfo%1.jpg").arg(topic),
                                                      StressInfoPictureRect(topic));
    }
}

void CDlgStress::PlaceMovableControls() {
    const int page = StressTopicPage(m_topic);
    for (int button = 1; button <= 3; ++button) {
        const int id = kInfoButtonIds[button - 1];
        Button(id)->setGeometry(ScaledRect({91, ApgInfoButtonY(page, button), 480, 25}));
        MarkPageButton(id, button == page);
    }
    const DesignRect picture = StressInfoPictureRect(m_topic);
    // Page k leads to calculator k + 3; the calculator computes with the same button and
    // leads back to its page.
    for (int k = 0; k < 3; ++k) {
        const bool onPage = m_topic == k + 1;
        const bool onCalculator = m_topic == k + 4;
        PlaceOnPicture(kCalculatorIds[k], picture, onCalculator ? kCalculateButton : kTopicButton,
                       onPage || onCalculator);
        PlaceOnPicture(kBackIds[k], picture, kTopicButton, onCalculator);
    }
    auto place = [&](QWidget* control, const DesignRect& inPicture, bool visible) {
        control->setGeometry(OnPicture(picture, inPicture));
        control->setVisible(visible);
    };
    const bool bodyTopic = m_topic == 4 || m_topic == 5;
    place(Edit(kHeight), kFirstInput, bodyTopic);
    place(Edit(kWeight), kSecondInput, bodyTopic);
    place(Edit(kWaist), kFirstInput, m_topic == 6);
    place(Edit(kHip), kSecondInput, m_topic == 6);
    place(Static(kStandardWeight), kFirstOutput, m_topic == 4);
    place(Static(kObesity), kSecondOutput, m_topic == 4);
    place(Static(kBodyMassIndex), kFirstOutput, m_topic == 5);
    place(Static(kWaistHipRatio), kFirstOutput, m_topic == 6);
    place(Static(kBodyMassMarker), BodyMassMarkerRect(std::max(m_bodyMassCategory, 0)),
          m_topic == 5 && m_bodyMassCategory >= 0);
    place(Radio(kMale), kMaleRadio, m_topic >= 4);
    place(Radio(kFemale), kFemaleRadio, m_topic >= 4);
}

void CDlgStress::paintEvent(QPaintEvent* event) {
    CTestDialog::paintEvent(event);
    QPainter painter(this);
    PaintInfoPicture(painter, kStressInfoFrame, m_infoPictures[m_topic - 1],
                     StressInfoPictureRect(m_topic));
}
