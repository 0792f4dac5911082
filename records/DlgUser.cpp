#include "records/DlgUser.h"

#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ColorRef.h"
#include "controls/ControlFont.h"
#include "controls/ControlId.h"
#include "controls/MessageBox.h"
#include "controls/staticex.h"
#include "records/UserFields.h"
#include "records/UserLayout.h"
#include "records/UserRecordings.h"

#include <QDate>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>

#include <filesystem>

using namespace UserId;

namespace {

constexpr int kButtonIds[] = {kOk, kCancel, kListToggle};
constexpr int kStaticIds[] = {kTitle,      kListCaption, kNameLabel,       kBirthYearLabel,
                              kPhoneLabel, kNameColumn,  kBirthYearColumn, kSexColumn};
constexpr int kWhiteStaticIds[] = {kTitle, kNameColumn, kBirthYearColumn, kSexColumn};
// The list's column captions: shown and hidden with the list, on a band of their own.
constexpr int kColumnCaptionIds[] = {kNameColumn, kBirthYearColumn, kSexColumn};
constexpr std::uint32_t kCaptionBand = RgbColorRef(12, 74, 92);
constexpr int kBirthYearRangeMessage = 40044;

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kBlack = 0x00000000;
constexpr std::uint32_t kHoverText = 0x0072FF;

// Columns of the list: caption text and width in pixels.
struct Column {
    int text;
    int width;
};
constexpr Column kColumns[] = {{30003, 150}, {30004, 150}, {30006, 125}};
constexpr int kRowHeight = 24; // pixels, as the picture's row lines

constexpr char kSection[] = "Tondrela-Registration";

std::filesystem::path WorkFolder() {
    return std::filesystem::path(TheApp().recordingsFolder.toStdU16String());
}

QFont PlainFont(int pixelHeight) {
    QFont font = MakeControlFont(TheApp().fontFace, pixelHeight);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

CDlgUser::CDlgUser(QWidget* parent) : CBkDialog(parent) {
    CreateControls();
    // The client area is the design space; the window sits at the top-left corner.
    setFixedSize(kUserDesignWidth, kUserDesignHeight);
    move(0, 0);
    SetBackground(TheApp().ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("user.jpg")));
    ApplyControlLayout(this, UserLayout, static_cast<double>(width()) / kUserDesignWidth,
                       static_cast<double>(height()) / kUserDesignHeight);
    setWindowTitle(GetMessageText(30011));
    SkinControls();
    CreateColumns();
    RebuildList();
    ApplyLanguage(this, kSection);
    ShowList(false);
    m_male->setChecked(true);
}

void CDlgUser::CreateControls() {
    for (int id : kButtonIds) {
        auto* button = new CButtonST(this);
        SetControlId(button, id);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }
    Button(kOk)->setDefault(true); // Enter accepts, as in every dialog
    connect(Button(kOk), &QPushButton::clicked, this, &CDlgUser::OnOK);
    connect(Button(kCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(Button(kListToggle), &QPushButton::clicked, this, &CDlgUser::ToggleList);

    for (int id : kStaticIds)
        SetControlId(new CStaticEx(this), id);

    auto makeEdit = [this](int id, int maxLength) {
        auto* edit = new QLineEdit(this);
        SetControlId(edit, id);
        edit->setMaxLength(maxLength);
        return edit;
    };
    m_name = makeEdit(kName, kNameMaxLength);
    m_birthYear = makeEdit(kBirthYear, kBirthYearMaxLength);
    m_phone = makeEdit(kPhone, kPhoneMaxLength);

    m_male = new QRadioButton(this);
    SetControlId(m_male, kMale);
    m_female = new QRadioButton(this);
    SetControlId(m_female, kFemale);

    m_list = new QTableWidget(this);
    SetControlId(m_list, kList);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setShowGrid(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QTableWidget::cellClicked, this, &CDlgUser::OnSelectRow);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, &CDlgUser::OnOK);
    connect(m_list, &QWidget::customContextMenuRequested, this, &CDlgUser::OnListContextMenu);

    m_popup = new QMenu(this);
    const QString deleteText = GetMessageText(60102);
    m_deleteAction =
        m_popup->addAction(deleteText.isEmpty() ? QStringLiteral("Delete") : deleteText);
    m_deleteAction->setData(kDeleteCommand);
    connect(m_deleteAction, &QAction::triggered, this, &CDlgUser::OnDeleteUser);
}

void CDlgUser::SkinControls() {
    const CTondrelaApp& app = TheApp();
    const FontSizes& sizes = app.fontSizes;
    for (int id : kButtonIds) {
        CButtonST* button = Button(id);
        button->SetBtnCursor(Qt::PointingHandCursor);
        button->SetTransparent(true);
        button->SetNoBorder(true);
        button->SetColor(CButtonST::Color::TextIn, kHoverText);
        button->SetColor(CButtonST::Color::TextOut, kWhite);
        button->SetFont(app.fontFace,
                        id == kListToggle ? sizes.smallTextFontSize : sizes.textFontSize);
    }
    for (int id : kStaticIds) {
        CStaticEx* label = Static(id);
        label->SetTransparent(true);
        label->SetFont(app.fontFace,
                       id == kTitle ? sizes.largeTextFontSize : sizes.smallTextFontSize);
        label->SetTextColor(kBlack);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (int id : kWhiteStaticIds)
        Static(id)->SetTextColor(kWhite);
    for (int id : kColumnCaptionIds) {
        Static(id)->setAlignment(Qt::AlignCenter); // over the centred columns
        Static(id)->SetTransparent(false);
        Static(id)->SetBkColor(kCaptionBand);
    }

    for (QLineEdit* edit : {m_name, m_birthYear, m_phone})
        edit->setFont(PlainFont(sizes.textFontSize));
    for (QRadioButton* radio : {m_male, m_female})
        radio->setFont(PlainFont(sizes.smallTextFontSize));
    m_list->setFont(PlainFont(sizes.smallTextFontSize));
    m_list->verticalHeader()->setDefaultSectionSize(kRowHeight);
}

void CDlgUser::CreateColumns() {
    m_list->setColumnCount(static_cast<int>(std::size(kColumns)));
    for (int i = 0; i < m_list->columnCount(); ++i) {
        auto* header = new QTableWidgetItem(GetMessageText(kColumns[i].text));
        header->setTextAlignment(Qt::AlignCenter);
        m_list->setHorizontalHeaderItem(i, header);
        m_list->setColumnWidth(i, kColumns[i].width);
    }
    // The statics 1091 to 1093 above the list are its captions.
    m_list->horizontalHeader()->hide();
    m_list->verticalHeader()->hide();
}

CButtonST* CDlgUser::Button(int id) const {
    return qobject_cast<CButtonST*>(FindControl(this, id));
}

CStaticEx* CDlgUser::Static(int id) const {
    return qobject_cast<CStaticEx*>(FindControl(this, id));
}

void CDlgUser::RebuildList() {
    m_list->setRowCount(0);
    m_users = RebuildUserList(WorkFolder());
    for (const CUserList& user : m_users) {
        const int row = m_list->rowCount();
        m_list->insertRow(row);
        const QString texts[] = {QString::fromStdString(user.name), QString::number(user.birthYear),
                                 GetMessageText(user.sex == 1 ? 30007 : 30008)};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setTextAlignment(Qt::AlignCenter);
            m_list->setItem(row, column, item);
        }
    }
}

void CDlgUser::ToggleList() {
    ShowList(m_list->isHidden());
}

void CDlgUser::ShowList(bool show) {
    m_list->setVisible(show);
    for (int id : kColumnCaptionIds)
        Static(id)->setVisible(show);
    Button(kListToggle)->setText(GetMessageText(show ? 60101 : 60100));
}

const CUserList* CDlgUser::SelectedUser() const {
    const QList<QTableWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const QTableWidgetItem* nameItem = m_list->item(selected.front()->row(), 0);
    return nameItem ? FindUser(m_users, nameItem->text().toStdString()) : nullptr;
}

void CDlgUser::OnSelectRow() {
    const CUserList* user = SelectedUser();
    if (!user)
        return;
    m_name->setText(QString::fromStdString(user->name));
    (user->sex == 1 ? m_male : m_female)->setChecked(true);
    m_birthYear->setText(QString::number(user->birthYear));
    m_phone->setText(QString::fromStdString(user->phone));
}

void CDlgUser::OnListContextMenu(const QPoint& position) {
    const int row = m_list->rowAt(position.y());
    if (row < 0)
        return;
    m_list->selectRow(row);
    OnSelectRow();
    m_popup->popup(m_list->viewport()->mapToGlobal(position));
}

void CDlgUser::OnDeleteUser() {
    const CUserList* user = SelectedUser();
    if (!user)
        return;
    const std::string name = user->name; // the list is rebuilt below
    const QString question =
        QStringLiteral("%1 %2").arg(QString::fromStdString(name), GetMessageText(60103));
    if (ShowMessageBox(this, question, QString(), QMessageBox::Yes | QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    DeleteUserRecordings(WorkFolder(), name);
    RebuildList();
}

void CDlgUser::OnOK() {
    int birthYear = 0;
    switch (ParseBirthYear(m_birthYear->text().toStdString(), QDate::currentDate().year(),
                           &birthYear)) {
    case BirthYearCheck::NotFourDigits:
        ShowMessageBox(this, GetMessageText(40002));
        return;
    case BirthYearCheck::OutOfRange:
        ShowMessageBox(this, GetMessageText(kBirthYearRangeMessage));
        return;
    case BirthYearCheck::Ok:
        break;
    }
    // An empty name is accepted: it means that nobody is chosen.
    const QString name = m_name->text();
    if (!name.isEmpty() && !IsSafeUserName(name.toStdString())) {
        ShowMessageBox(this, GetMessageText(40021));
        return;
    }
    // The edit counts characters; the recordings keep the name in 31 bytes.
    if (!FitsNameField(name.toStdString())) {
        ShowMessageBox(this, GetMessageText(40024));
        return;
    }
    TheApp().CurrentUser =
        UserRecord{name, birthYear, m_male->isChecked() ? 1 : 2, m_phone->text()};
    accept();
}
