// The user registration window: layout and texts, the list rebuilt from "../work", selecting,
// accepting (birth year and name rules), deleting a user's recordings, and the run from the
// main menu. Every test runs in a folder of its own with bin/ and work/ side by side, with
// bin/ as the current directory, as the program does.

#include "app/ChildWindows.h"
#include "app/Tondrela.h"
#include "controls/BtnST.h"
#include "controls/ControlId.h"
#include "controls/staticex.h"
#include "records/DlgUser.h"
#include "records/UserLayout.h"

#include "Screenshot.h"
#include "TestRuntime.h"
#include "UserFiles.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <vector>

using namespace UserId;
namespace fs = std::filesystem;
using userfiles::WriteRecording;

namespace {

QLineEdit* Edit(const CDlgUser& dialog, int id) {
    return qobject_cast<QLineEdit*>(FindControl(&dialog, id));
}

QRadioButton* Radio(const CDlgUser& dialog, int id) {
    return qobject_cast<QRadioButton*>(FindControl(&dialog, id));
}

// The name, birth year, phone and sex fields.
QStringList Fields(const CDlgUser& dialog) {
    const QString sex = Radio(dialog, kMale)->isChecked()     ? "male"
                        : Radio(dialog, kFemale)->isChecked() ? "female"
                                                              : "none";
    return {Edit(dialog, kName)->text(), Edit(dialog, kBirthYear)->text(),
            Edit(dialog, kPhone)->text(), sex};
}

QStringList RowTexts(const QTableWidget* list, int row) {
    QStringList texts;
    for (int column = 0; column < list->columnCount(); ++column)
        texts.append(list->item(row, column) ? list->item(row, column)->text() : "<none>");
    return texts;
}

QStringList FirstColumn(const QTableWidget* list) {
    QStringList names;
    for (int row = 0; row < list->rowCount(); ++row)
        names.append(list->item(row, 0)->text());
    return names;
}

QPoint CellCentre(const QTableWidget* list, int row) {
    return list->visualItemRect(list->item(row, 0)).center();
}

void RightClick(QTableWidget* list, int row) {
    const QPoint at = CellCentre(list, row);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
}

} // namespace

class DlgUserTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void OpensWithTheLayoutTextsAndTheListHidden();
    void ListsOneRowPerUserFromTheWorkFolder();
    void MissingWorkFolderGivesAnEmptyList();
    void ClickOrRightClickFillsTheFields();
    void DoubleClickAcceptsTheClickedUser();
    void OkChecksTheNameAndTheBirthYear();
    void DeletingKimAfterYesKeepsKimberlyAndKim2();
    void RunFromTheMainMenuSetsTheCurrentUser();
    void ShowsUsersInEnglishAndKorean();

private:
    fs::path Root() const { return fs::path(m_folder->Root().toStdString()); }
    fs::path Work() const { return Root() / "work"; }
    std::unique_ptr<CDlgUser> OpenWithListShown();
    void WriteUsers();

    std::unique_ptr<RuntimeFolder> m_folder;
    std::unique_ptr<MessageCatcher> m_boxes;
};

void DlgUserTest::init() {
    m_folder = std::make_unique<RuntimeFolder>();
    QVERIFY(m_folder->Valid());
    CTondrelaApp& app = TheApp();
    // The pictures come from the staged tree; the recordings from this test's own folder.
    app.InitInstance(QSize(1600, 1000), TONDRELA_STAGE_DIR "/bin");
    app.CurrentUser = UserRecord();
    UseLanguage(2);
    m_boxes = std::make_unique<MessageCatcher>();
    m_boxes->answer = QMessageBox::Yes;
}

void DlgUserTest::cleanup() {
    m_boxes.reset();
    m_folder.reset();
}

std::unique_ptr<CDlgUser> DlgUserTest::OpenWithListShown() {
    auto dialog = std::make_unique<CDlgUser>();
    dialog->show();
    dialog->ToggleList();
    return dialog;
}

void DlgUserTest::WriteUsers() {
    WriteRecording(Work() / "Kim_20130101_101010.ppg", "Kim", 1960, 1, "010-1234-5678");
    WriteRecording(Work() / "Kim_20130101_101010.hrv", "Kim", 1960, 1, "010-1234-5678");
    WriteRecording(Work() / "Kim_20140303_111500.ppg", "Kim", 1960, 1, "010-1234-5678");
    WriteRecording(Work() / "Lee_20130505_090000.ppg", "Lee", 1985, 2, "02-555-0199");
    WriteRecording(Work() / "Park_20131111_163000.ppg", "Park", 1972, 1);
    WriteRecording(Work() / "Choi_20140101_080000.ppg", "Choi", 1990, 2, "031-222-3333");
}

void DlgUserTest::OpensWithTheLayoutTextsAndTheListHidden() {
    CDlgUser dialog;
    QCOMPARE(dialog.size(), QSize(520, 560));
    QCOMPARE(dialog.pos(), QPoint(0, 0));
    QCOMPARE(dialog.windowTitle(), QString("User Registration/change"));
    QVERIFY(dialog.BackgroundPath().endsWith("/IMAGE/2/user.jpg"));
    QVERIFY(!dialog.Background().isNull());
    for (const ControlLayoutRow& row : UserLayout) {
        if (row.id <= 0)
            break;
        QWidget* control = FindControl(&dialog, row.id);
        QVERIFY2(control, qPrintable(QString::number(row.id)));
        QCOMPARE(control->geometry(), QRect(row.x, row.y, row.width, row.height));
    }

    QCOMPARE(dialog.Static(kTitle)->text(), QString("User Registration/change"));
    QCOMPARE(dialog.Static(kNameLabel)->text(), QString("User name"));
    QCOMPARE(dialog.Static(kSexColumn)->text(), QString("Gender"));
    QCOMPARE(dialog.Button(kOk)->text(), QString("Confirm"));
    QCOMPARE(Radio(dialog, kFemale)->text(), QString("Female"));
    QCOMPARE(dialog.Static(kTitle)->CurrentTextColor(), QColor(255, 255, 255));
    QCOMPARE(dialog.Static(kNameColumn)->CurrentTextColor(), QColor(255, 255, 255));
    QCOMPARE(dialog.Static(kBirthYearLabel)->CurrentTextColor(), QColor(0, 0, 0));
    QCOMPARE(dialog.Button(kCancel)->ColorOf(CButtonST::Color::TextOut), QColor(255, 255, 255));
    QCOMPARE(dialog.Button(kCancel)->ColorOf(CButtonST::Color::TextIn), QColor(255, 0x72, 0));

    QCOMPARE(Edit(dialog, kName)->maxLength(), 31);
    QCOMPARE(Edit(dialog, kBirthYear)->maxLength(), 4);
    QCOMPARE(Edit(dialog, kPhone)->maxLength(), 13);
    QCOMPARE(Fields(dialog), (QStringList{"", "", "", "male"}));

    QTableWidget* list = dialog.List();
    QVERIFY(list->isHidden());
    QCOMPARE(dialog.Button(kListToggle)->text(), QString("List show"));
    QCOMPARE(list->columnCount(), 3);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("Name"));
    QCOMPARE(list->horizontalHeaderItem(1)->text(), QString("Birth year"));
    QCOMPARE(list->horizontalHeaderItem(2)->text(), QString("Gender"));
    QCOMPARE(list->columnWidth(0), 150);
    QCOMPARE(list->columnWidth(1), 150);
    QCOMPARE(list->columnWidth(2), 125);
    QVERIFY(list->showGrid());
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(dialog.DeleteAction()->text(), QString("Records delete"));
    QCOMPARE(dialog.DeleteAction()->data().toInt(), kDeleteCommand);

    // The column captions come and go with the list; the picture shows no table of its own.
    dialog.show();
    for (bool shown : {true, false}) {
        dialog.Button(kListToggle)->click();
        QCOMPARE(dialog.List()->isVisible(), shown);
        for (int id : {kNameColumn, kBirthYearColumn, kSexColumn})
            QCOMPARE(dialog.Static(id)->isVisible(), shown);
        QCOMPARE(dialog.Button(kListToggle)->text(), QString(shown ? "List hide" : "List show"));
    }
}

void DlgUserTest::ListsOneRowPerUserFromTheWorkFolder() {
    WriteUsers();
    WriteRecording(Work() / "Yun_20130101_101010.ppg", "Yun", 1999, 7); // unknown sex
    WriteRecording(Work() / "Han_20130101_101010.PPG", "Han", 1950, 1); // capitals: ignored
    CDlgUser dialog;
    const QTableWidget* list = dialog.List();
    QCOMPARE(list->rowCount(), 5);
    QCOMPARE(RowTexts(list, 0), (QStringList{"Choi", "1990", "Female"}));
    QCOMPARE(RowTexts(list, 1), (QStringList{"Kim", "1960", "Male"}));
    QCOMPARE(RowTexts(list, 2), (QStringList{"Lee", "1985", "Female"}));
    QCOMPARE(RowTexts(list, 3), (QStringList{"Park", "1972", "Male"}));
    QCOMPARE(RowTexts(list, 4), (QStringList{"Yun", "1999", "Female"}));
    QCOMPARE(list->item(1, 1)->textAlignment(), int(Qt::AlignCenter));
    QCOMPARE(dialog.Users().size(), size_t(5));
}

void DlgUserTest::MissingWorkFolderGivesAnEmptyList() {
    QVERIFY(QDir(m_folder->Work()).removeRecursively());
    // Recordings elsewhere must not be taken for the working folder's.
    WriteRecording(Root() / "bin" / "Kim_20130101_101010.ppg", "Kim", 1960, 1);
    WriteRecording(Root() / "Lee_20130101_101010.ppg", "Lee", 1985, 2);
    CDlgUser dialog;
    QCOMPARE(dialog.List()->rowCount(), 0);
    QCOMPARE(dialog.List()->columnCount(), 3);
    QVERIFY(!QDir(m_folder->Work()).exists()); // never created
}

void DlgUserTest::ClickOrRightClickFillsTheFields() {
    WriteUsers();
    auto dialog = OpenWithListShown();
    QTableWidget* list = dialog->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellCentre(list, 2));
    QCOMPARE(Fields(*dialog), (QStringList{"Lee", "1985", "02-555-0199", "female"}));
    RightClick(list, 1);
    QCOMPARE(Fields(*dialog), (QStringList{"Kim", "1960", "010-1234-5678", "male"}));
    QTRY_VERIFY(dialog->PopupMenu()->isVisible());
    dialog->PopupMenu()->hide();
    QVERIFY(TheApp().CurrentUser.name.isEmpty()); // only OK sets the current user
}

void DlgUserTest::DoubleClickAcceptsTheClickedUser() {
    WriteUsers();
    auto dialog = OpenWithListShown();
    QTableWidget* list = dialog->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellCentre(list, 3)); // Park
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, CellCentre(list, 3));
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    const UserRecord& user = TheApp().CurrentUser;
    QCOMPARE(user.name, QString("Park"));
    QCOMPARE(user.birthYear, 1972);
    QCOMPARE(user.sex, 1);
    QCOMPARE(user.phone, QString());
    QVERIFY(m_boxes->messages.isEmpty());
}

void DlgUserTest::OkChecksTheNameAndTheBirthYear() {
    const int year = QDate::currentDate().year();
    const QString digitsError = "Year of birth error (4 digit character)";
    const QString rangeError = "Year of birth error (from 1900 to this year)";
    struct Case {
        QString name;
        QString birthYear;
        QString message; // the start of the message shown; empty when accepted
        int acceptedYear;
    };
    std::vector<Case> cases = {
        {"Kim", "196", digitsError, 0},
        {"Kim", "abcd", digitsError, 0},
        {"Kim", "1899", rangeError, 0},
        {"Kim", QString::number(year + 1), rangeError, 0},
        {"Kim", "1900", "", 1900},
        {"Kim", QString::number(year), "", year}, // born this year: age 0
        {"", "1970", "", 0},                      // accepted, and no user is chosen
        // The recordings keep 31 bytes of the name: 31 letters, but 10 Korean characters.
        {QString(31, 'K'), "1970", "", 1970},
        {QString(10, QChar(0xAE40)), "1970", "", 1970},
        {QString(11, QChar(0xAE40)), "1970", "The name is too long", 0},
    };
    // One name or more of every unsafe class.
    for (const char* name : {"a/b", "a\\b", "..", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b",
                             "a_b", " Kim", "Kim ", "a\tb", "a\x01z"})
        cases.push_back({name, "1960", "The name must not contain", 0});

    for (const Case& c : cases) {
        const QByteArray context = (c.name + " / " + c.birthYear).toUtf8();
        m_boxes->messages.clear();
        TheApp().CurrentUser = UserRecord{"Before", 1950, 1, ""};
        CDlgUser dialog;
        dialog.show();
        Edit(dialog, kName)->setText(c.name);
        Edit(dialog, kBirthYear)->setText(c.birthYear);
        Edit(dialog, kPhone)->setText("010");
        Radio(dialog, kFemale)->setChecked(true);
        dialog.Button(kOk)->click();
        const UserRecord& user = TheApp().CurrentUser;
        if (c.message.isEmpty()) {
            QVERIFY2(m_boxes->messages.isEmpty(), context.constData());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(user.name, c.name);
            if (!c.name.isEmpty()) {
                QCOMPARE(user.birthYear, c.acceptedYear);
                QCOMPARE(user.sex, 2);
                QCOMPARE(user.phone, QString("010"));
            }
        } else {
            QCOMPARE(m_boxes->messages.size(), 1);
            QVERIFY2(m_boxes->messages[0].startsWith(c.message), context.constData());
            QVERIFY2(dialog.isVisible(), context.constData());
            QCOMPARE(user.name, QString("Before"));
            QCOMPARE(user.birthYear, 1950);
        }
    }
}

void DlgUserTest::DeletingKimAfterYesKeepsKimberlyAndKim2() {
    WriteRecording(Work() / "Kim_20130101_101010.ppg", "Kim", 1960, 1);
    WriteRecording(Work() / "Kim_20130101_101010.hrv", "Kim", 1960, 1);
    WriteRecording(Work() / "Kim_20140101_101010.ppg", "Kim", 1960, 1);
    WriteRecording(Work() / "Kim2_20130101_101010.ppg", "Kim2", 1962, 1);
    WriteRecording(Work() / "Kimberly_20130101_101010.ppg", "Kimberly", 1988, 2);
    WriteRecording(Work() / "Kimberly_20130101_101010.hrv", "Kimberly", 1988, 2);
    auto dialog = OpenWithListShown();
    QTableWidget* list = dialog->List();
    QCOMPARE(FirstColumn(list), (QStringList{"Kim2", "Kim", "Kimberly"}));

    RightClick(list, 1);
    QTRY_VERIFY(dialog->PopupMenu()->isVisible());
    m_boxes->answer = QMessageBox::No; // deletes nothing
    dialog->DeleteAction()->trigger();
    QCOMPARE(m_boxes->messages, QStringList{"Kim records sure to delete ?"});
    QCOMPARE(list->rowCount(), 3);
    QCOMPARE(QDir(m_folder->Work()).entryList(QDir::Files).size(), 6);

    m_boxes->messages.clear();
    m_boxes->answer = QMessageBox::Yes;
    dialog->DeleteAction()->trigger();
    QCOMPARE(m_boxes->messages, QStringList{"Kim records sure to delete ?"});
    QCOMPARE(FirstColumn(list), (QStringList{"Kim2", "Kimberly"}));
    const QStringList left = QDir(m_folder->Work()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(left, (QStringList{"Kim2_20130101_101010.ppg", "Kimberly_20130101_101010.hrv",
                                "Kimberly_20130101_101010.ppg"}));
    // The list keeps its three columns and the fields their contents.
    QCOMPARE(list->columnCount(), 3);
    QCOMPARE(list->horizontalHeaderItem(2)->text(), QString("Gender"));
    QCOMPARE(RowTexts(list, 1), (QStringList{"Kimberly", "1988", "Female"}));
    QCOMPARE(Edit(*dialog, kName)->text(), QString("Kim"));
}

void DlgUserTest::RunFromTheMainMenuSetsTheCurrentUser() {
    WriteUsers();
    bool answered = false;
    QTimer::singleShot(0, [&answered] {
        auto* dialog = qobject_cast<CDlgUser*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answered = true;
        dialog->ToggleList();
        QTableWidget* list = dialog->List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellCentre(list, 0)); // Choi
        dialog->Button(kOk)->click();
    });
    QCOMPARE(RunUserDialog(nullptr), int(QDialog::Accepted));
    QVERIFY(answered);
    QCOMPARE(TheApp().CurrentUser.name, QString("Choi"));
    QCOMPARE(TheApp().CurrentUser.sex, 2);
    QCOMPARE(TheApp().CurrentUser.phone, QString("031-222-3333"));
}

void DlgUserTest::ShowsUsersInEnglishAndKorean() {
    WriteUsers();
    WriteRecording(Work() / "김민준_20140505_100000.ppg", "김민준", 1978, 1, "010-9876-5432");
    const struct {
        int index;
        const char* name;
        const char* toggle;
    } languages[] = {{2, "english", "List hide"}, {1, "korean", "목록 숨기기"}};
    for (const auto& language : languages) {
        UseLanguage(language.index);
        auto dialog = OpenWithListShown();
        QTableWidget* list = dialog->List();
        QCOMPARE(list->rowCount(), 5);
        QCOMPARE(dialog->Button(kListToggle)->text(), QString(language.toggle));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellCentre(list, 4)); // 김민준
        QCOMPARE(Edit(*dialog, kName)->text(), QString("김민준"));
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QVERIFY(!SaveScreenshot(dialog.get(), QString("user_%1").arg(language.name)).isEmpty());
    }
}

QTEST_MAIN(DlgUserTest)
#include "DlgUser_gui_test.moc"
