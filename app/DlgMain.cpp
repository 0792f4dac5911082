#include "app/DlgMain.h"

#include "app/ChildWindows.h"
#include "app/MainMenuLayout.h"
#include "app/SensorStatus.h"
#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ControlId.h"
#include "controls/MessageBox.h"
#include "controls/staticex.h"
#include "device/SensorLink.h"

#include <QDate>
#include <QKeyEvent>

namespace {

using namespace MainMenuId;

constexpr int kButtonIds[] = {kApg,    kStress, kReview, kAbout,  kQuit,    kClose,    kUsage,
                              kOnline, kUser,   kManual, kKorean, kEnglish, kJapanese, kChinese};
constexpr int kStaticIds[] = {kApgCaption, kStressCaption, kReviewCaption, kStatus,
                              kUserLine,   kSpare1,        kSpare2};
constexpr int kPictureButtonIds[] = {kApg, kStress, kReview, kQuit, kClose};
constexpr int kTextButtonIds[] = {kAbout, kQuit, kUsage, kOnline, kUser, kManual};
constexpr int kLanguageButtonIds[] = {kKorean, kEnglish, kJapanese, kChinese};

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kCaptionYellow = 0x0080FFFF;
constexpr std::uint32_t kHoverText = 0x0072FF;

constexpr char kMenuSection[] = "Tondrela";
constexpr char kMessageSection[] = "Tondrela-message";

int ChildIndex(CDlgMain::Child kind) {
    return static_cast<int>(kind);
}

} // namespace

CDlgMain::CDlgMain(QWidget* parent, int languageIndex) : CBkDialog(parent) {
    CTondrelaApp& app = TheApp();
    app.languageIndex = CTondrelaApp::kDefaultLanguage;
    app.fontFace = QStringLiteral("Arial");
    ChooseLanguage(languageIndex);
    app.RegisterLanguageTables();

    m_factories[ChildIndex(Child::Usage)] = OpenUsageWindow;
    m_factories[ChildIndex(Child::Manual)] = OpenManualWindow;
    m_factories[ChildIndex(Child::Review)] = OpenReviewWindow;
    m_factories[ChildIndex(Child::Apg)] = OpenApgWindow;
    m_factories[ChildIndex(Child::Stress)] = OpenStressWindow;
    m_runUserDialog = RunUserDialog;
    m_runAboutDialog = RunAboutDialog;

    setWindowTitle(QStringLiteral("Tondrela"));
    setWindowFlag(Qt::FramelessWindowHint);
    resize(app.screenSize); // it is shown over the whole screen
    CreateControls();
    Relayout();
    SkinControls();
    ApplyLanguageToMenu();
    StartSensorLink();
}

CDlgMain::~CDlgMain() {
    // No notification may reach this window once it is gone: stop them and wait for a
    // running one to finish.
    if (SensorLink* link = TheApp().Link())
        link->RegisterSensorNotification({});
}

void CDlgMain::CreateControls() {
    for (int id : kButtonIds) {
        auto* button = new CButtonST(this);
        SetControlId(button, id);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    }
    for (int id : kStaticIds) {
        auto* label = new CStaticEx(this);
        SetControlId(label, id);
    }
}

void CDlgMain::SkinControls() {
    const CTondrelaApp& app = TheApp();
    // Over the picture: the buttons show the picture under them and outline themselves
    // softly while the pointer is over them.
    QPalette outline = palette();
    outline.setColor(QPalette::Light, QColor(255, 255, 255, 150));
    outline.setColor(QPalette::Dark, QColor(0, 0, 0, 110));
    for (int id : kButtonIds) {
        CButtonST* button = Button(id);
        button->SetBtnCursor(Qt::PointingHandCursor);
        button->SetTransparent(true);
        button->setPalette(outline);
        button->SetColor(CButtonST::Color::TextIn, kHoverText);
        button->SetColor(CButtonST::Color::TextOut, kWhite);
    }
    for (int id : kTextButtonIds)
        Button(id)->SetFont(app.fontFace, app.fontSizes.textFontSize);
    for (int id : kLanguageButtonIds)
        Button(id)->SetFont(app.fontFace, app.fontSizes.smallTextFontSize);
    for (int id : kStaticIds) {
        CStaticEx* label = Static(id);
        label->SetFont(app.fontFace, app.fontSizes.textFontSize);
        label->SetTransparent(true);
        label->SetTextColor(id == kApgCaption || id == kStressCaption || id == kReviewCaption
                                ? kCaptionYellow
                                : kWhite);
    }
}

CButtonST* CDlgMain::Button(int id) const {
    return qobject_cast<CButtonST*>(FindControl(this, id));
}

CStaticEx* CDlgMain::Static(int id) const {
    return qobject_cast<CStaticEx*>(FindControl(this, id));
}

void CDlgMain::ApplyLanguageToMenu() {
    CTondrelaApp& app = TheApp();
    ApplyLanguage(this, kMenuSection);
    for (int language = 1; language <= 4; ++language)
        Button(kKorean + language - 1)->setText(QString::fromStdString(OwnLanguageName(language)));
    LoadMessageList(app.messageList, app.CurrentTable(), kMessageSection, true);
    RefreshUserLine();
    ShowSensorState();
}

void CDlgMain::RefreshUserLine() {
    CTondrelaApp& app = TheApp();
    // Without a chosen person the line is empty rather than showing the one chosen before.
    app.userLine = app.CurrentUser.name.isEmpty()
                       ? QString()
                       : FormatUserLine(app.CurrentUser, QDate::currentDate().year());
    Static(kUserLine)->setText(app.userLine);
}

void CDlgMain::StartSensorLink() {
    if (SensorLink* link = TheApp().Link()) {
        link->StartUp([this](const DeviceChange&) {
            // Platform thread: the link has handled the change; show it on the GUI thread.
            QMetaObject::invokeMethod(this, &CDlgMain::ShowSensorState, Qt::QueuedConnection);
        });
    }
    ShowSensorState();
}

void CDlgMain::ShowSensorState() {
    ShowSensorStatus(Static(kStatus));
}

void CDlgMain::OnCommand(int id) {
    switch (id) {
    case kApg:
        if (RequireUser())
            OpenChild(Child::Apg);
        break;
    case kStress:
        if (RequireUser())
            OpenChild(Child::Stress);
        break;
    case kReview:
        if (RequireUser())
            OpenChild(Child::Review);
        break;
    case kAbout:
        m_runAboutDialog(this);
        break;
    case kQuit:
    case kClose:
        Quit();
        break;
    case kUsage:
        OpenChild(Child::Usage);
        break;
    case kUser:
        if (m_runUserDialog(this) == QDialog::Accepted)
            RefreshUserLine();
        break;
    case kManual:
        if (TheApp().languageIndex <= 4)
            OpenChild(Child::Manual);
        break;
    case kKorean:
    case kEnglish:
    case kJapanese:
    case kChinese:
        OnLanguage(id - kKorean + 1);
        break;
    default: // 1018, the online service, has no action
        break;
    }
}

void CDlgMain::ChooseLanguage(int languageIndex) {
    CTondrelaApp& app = TheApp();
    switch (languageIndex) {
    case 1:
        app.fontFace = QStringLiteral("돋움");
        break;
    case 2:
        app.fontFace = QStringLiteral("Arial");
        break;
    case 3:
        app.fontFace = QStringLiteral("MS Pゴシック");
        break;
    case 4: // the face stays
        break;
    default:
        return;
    }
    app.languageIndex = languageIndex;
}

void CDlgMain::OnLanguage(int languageIndex) {
    CTondrelaApp& app = TheApp();
    ChooseLanguage(languageIndex);
    SetBackground(app.ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("main.jpg")));
    ApplyLanguageToMenu();
    update();
    ResetBackgroundCopies(this);
}

bool CDlgMain::RequireUser() {
    if (!TheApp().CurrentUser.name.isEmpty())
        return true;
    ShowMessageBox(this, GetMessageText(40001));
    return false;
}

void CDlgMain::SetChildFactory(Child kind, ChildFactory factory) {
    m_factories[ChildIndex(kind)] = std::move(factory);
}

QWidget* CDlgMain::ChildWindow(Child kind) const {
    return m_children[ChildIndex(kind)];
}

void CDlgMain::OpenChild(Child kind) {
    QPointer<CBkDialog>& slot = m_children[ChildIndex(kind)];
    if (slot)
        return;
    slot = m_factories[ChildIndex(kind)](this);
    if (slot)
        connect(slot, &CBkDialog::childClosed, this, &CDlgMain::OnChildClosed,
                Qt::QueuedConnection);
}

void CDlgMain::OnChildClosed(QWidget* child) {
    for (QPointer<CBkDialog>& slot : m_children) {
        if (slot && slot == child) {
            slot->deleteLater();
            slot = nullptr;
        }
    }
}

void CDlgMain::Quit() {
    done(QDialog::Accepted);
}

void CDlgMain::showEvent(QShowEvent* event) {
    CBkDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    for (int id : kPictureButtonIds)
        Button(id)->ResetBackgroundCopy();
}

void CDlgMain::Relayout() {
    ApplyControlLayout(this, MainMenuLayout,
                       static_cast<double>(width()) / CTondrelaApp::kDesignWidth,
                       static_cast<double>(height()) / CTondrelaApp::kDesignHeight);
    ShowSensorState(); // the status line widens to a long state again
}

void CDlgMain::ClientAreaChanged() {
    Relayout();
}

void CDlgMain::keyPressEvent(QKeyEvent* event) {
    // Escape does not close the menu: only Quit ends the program.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CBkDialog::keyPressEvent(event);
}
