#include "apg/DlgApg.h"

#include "analysis/Hrv.h"
#include "apg/ApgHistory.h"
#include "apg/DlgApgReport.h"
#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ColorRef.h"
#include "controls/MessageBox.h"
#include "controls/staticex.h"
#include "help/DlgApgHelp.h"

#include <QPaintEvent>
#include <QPainter>

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

constexpr std::uint32_t kTitleRed = RgbColorRef(234, 17, 0);
constexpr std::uint32_t kGoodBlue = RgbColorRef(2, 156, 252);
constexpr std::uint32_t kBadRed = RgbColorRef(255, 4, 0);
constexpr std::uint32_t kTipGrey = RgbColorRef(164, 164, 164);

constexpr char kSection[] = "Tondrela";

const char* const kInfoPictureFiles[kApgInfoPages] = {"apgInfo1.jpg", "apgInfo2.jpg",
                                                      "apgInfo3.jpg", "apgInfo4.jpg"};

} // namespace

CDlgApg::CDlgApg(QWidget* parent)
    : CTestDialog(parent, AcquisitionKind::Apg, ApgLayout, kTestSeconds) {
    AttachWellnessAnalysis(*Hrv());
    SetReportRunner([](CHrv* analysed, ReportSource source, QWidget* owner) {
        CDlgApgReport report(analysed, owner, source);
        report.exec();
    });
    SetActionGlyph(kInfoMore, ActionGlyph::PageDown);
    SetActionGlyph(kInfoBack, ActionGlyph::PageUp);

    CreateControls(kButtonIds, kStaticIds);
    for (int id : {kRateCaption, kStrengthCaption, kTimeCaption})
        connect(Static(id), &CStaticEx::clicked, this, &CDlgApg::OnHelp);
    Relayout();
    SkinCommonControls(kStaticIds);
    SkinControls();
    for (int id : kHiddenIds)
        Button(id)->hide();
    ApplyLanguage(this, kSection);
    ShowInfoPage(1);
}

CDlgApg::~CDlgApg() = default;

void CDlgApg::OnCommand(int id) {
    switch (id) {
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
    default: // the test's commands; the hidden buttons do nothing
        CTestDialog::OnCommand(id);
        break;
    }
}

void CDlgApg::SkinControls() {
    const CTondrelaApp& app = TheApp();
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
    SkinPageButtons({kInfo1, kInfo2, kInfo3, kInfoMore, kInfoBack});
    for (int id : kInfoButtonIds)
        Button(id)->SetAlignLeft(true);
}

// --- Commands ----------------------------------------------------------------------------

void CDlgApg::OnResult() {
    RunReport();
}

void CDlgApg::OnHelp() {
    // Opened from the Korean window only.
    if (TheApp().languageIndex == 1)
        OpenApgHelpWindow(this);
}

// --- Timers ------------------------------------------------------------------------------

void CDlgApg::DrawGraphTick(bool figures) {
    CHrv& hrv = *Hrv();
    Panels().DrawPulseWave(hrv);
    Panels().DrawDerivatives(hrv);
    if (figures)
        DrawFigures(hrv.SummariseApg(UserAge(), TheApp().CurrentUser.sex));
}

void CDlgApg::SecondTick() {
    if (ElapsedSeconds() > kTestSeconds)
        EndOfTest();
}

void CDlgApg::RedrawPanels() {
    CHrv& hrv = *Hrv();
    Panels().DrawPulseWave(hrv);
    Panels().DrawDerivatives(hrv);
    Panels().DrawTime(hrv, kTestSeconds);
    DrawFigures(m_shownSummary);
}

void CDlgApg::EndOfTest() {
    OnStop();
    const ApgSummary summary = Hrv()->SummariseApg(UserAge(), TheApp().CurrentUser.sex);
    DrawFigures(summary); // the figures of the whole test, as they are saved
    if (summary.qualified < kMinSavedBeats) {
        ShowMessage(40005);
        return;
    }
    if (SavePulseRecording(summary, summary.vascularAge))
        TestSaved();
    RunReport();
}

void CDlgApg::DrawFigures(const ApgSummary& summary) {
    m_shownSummary = summary;
    Panels().DrawRateAndStrength(*Hrv());
    Panels().DrawWellnessFigures(summary, WellnessFigureTexts());
}

// --- Pictures and painting ---------------------------------------------------------------

void CDlgApg::LoadPictures() {
    for (int i = 0; i < kApgInfoPages; ++i)
        m_infoPictures[i] =
            LoadScaledPicture(QString::fromLatin1(kInfoPictureFiles[i]), ApgInfoPictureRects[i]);
}

void CDlgApg::ShowInfoPage(int page) {
    m_infoPage = std::clamp(page, 1, kApgInfoPages);
    PlaceMovableControls();
    update(ScaledRect(kApgInfoFrame));
}

void CDlgApg::PlaceMovableControls() {
    for (int button = 1; button <= 3; ++button) {
        const DesignRect design = {91, ApgInfoButtonY(m_infoPage, button), 480, 25};
        const int id = kInfoButtonIds[button - 1];
        Button(id)->setGeometry(ScaledRect(design));
        MarkPageButton(id, button == std::min(m_infoPage, 3));
    }
    // 1206 over page 3's picture, 1207 over page 4's, given in the picture's own pixels.
    const DesignRect& picture = ApgInfoPictureRects[m_infoPage - 1];
    PlaceOnPicture(kInfoMore, picture, kApgInfoMoreButton, m_infoPage == 3);
    PlaceOnPicture(kInfoBack, picture, kApgInfoBackButton, m_infoPage == 4);
}

void CDlgApg::paintEvent(QPaintEvent* event) {
    CTestDialog::paintEvent(event);
    QPainter painter(this);
    PaintInfoPicture(painter, kApgInfoFrame, m_infoPictures[m_infoPage - 1],
                     ApgInfoPictureRects[m_infoPage - 1]);
}
