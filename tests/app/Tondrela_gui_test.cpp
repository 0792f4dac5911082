// The application state: font sizes by screen, resource paths, the user line and the
// process-wide message lookup.

#include "app/Tondrela.h"

#include <QTest>

class TondrelaAppTest : public QObject {
    Q_OBJECT
private slots:
    void FontSizesOf1024x768AreFixed();
    void FontSizesOfAScreen700HighAreScaled();
    void FontSizesOfATallScreenAreFixedButTheTitle();
    void InitInstanceSetsScaleAndClearsUserLine();
    void ResourcePathIsBesideTheWorkingFolder();
    void MessageLookupBeforeAnyListIsEmpty();
    void MessageLookupFollowsTheLoadedLanguage();
    void UserLineGivesNameSexAndAge();
    void PersonBornThisYearIsAgeZero();

private:
    static void LoadMessages(int languageIndex) {
        CTondrelaApp& app = TheApp();
        app.RegisterLanguageTables();
        app.languageIndex = languageIndex;
        LoadMessageList(app.messageList, app.CurrentTable(), "Tondrela-message", true);
    }
};

void TondrelaAppTest::FontSizesOf1024x768AreFixed() {
    const FontSizes sizes = ComputeFontSizes(1024, 768);
    QCOMPARE(sizes.titleFontSize, 19); // 0.64 * 30 = 19.2
    QCOMPARE(sizes.textFontSize, 13);
    QCOMPARE(sizes.largeTextFontSize, 16);
    QCOMPARE(sizes.smallTextFontSize, 12);
    QCOMPARE(sizes.smallestFontSize, 11);
}

void TondrelaAppTest::FontSizesOfAScreen700HighAreScaled() {
    FontSizes sizes = ComputeFontSizes(1280, 700); // scale 0.8
    QCOMPARE(sizes.titleFontSize, 24);
    QCOMPARE(sizes.textFontSize, 16);
    QCOMPARE(sizes.largeTextFontSize, 22); // 22.4 truncated
    QCOMPARE(sizes.smallTextFontSize, 14); // 14.4 truncated
    QCOMPARE(sizes.smallestFontSize, 14);
    sizes = ComputeFontSizes(1024, 600); // scale 0.64, not the 1024 x 768 exception
    QCOMPARE(sizes.textFontSize, 12);
    QCOMPARE(sizes.largeTextFontSize, 17);
    QCOMPARE(sizes.smallTextFontSize, 11);
    QCOMPARE(sizes.smallestFontSize, 11);
}

void TondrelaAppTest::FontSizesOfATallScreenAreFixedButTheTitle() {
    FontSizes sizes = ComputeFontSizes(1920, 1080);
    QCOMPARE(sizes.titleFontSize, 36);
    QCOMPARE(sizes.textFontSize, 16);
    QCOMPARE(sizes.largeTextFontSize, 20);
    QCOMPARE(sizes.smallTextFontSize, 14);
    QCOMPARE(sizes.smallestFontSize, 12);
    sizes = ComputeFontSizes(1280, 701);
    QCOMPARE(sizes.titleFontSize, 24);
    QCOMPARE(sizes.textFontSize, 16);
}

void TondrelaAppTest::InitInstanceSetsScaleAndClearsUserLine() {
    CTondrelaApp& app = TheApp();
    app.userLine = "old";
    app.InitInstance(QSize(1920, 1080), "/opt/tondrela/bin");
    QCOMPARE(app.scaleX, 1.2);
    QCOMPARE(app.scaleY, 1.08);
    QCOMPARE(app.fontSizes.titleFontSize, 36);
    QCOMPARE(app.userLine, QString());
    QCOMPARE(app.workFolder, QString("/opt/tondrela/bin"));
}

void TondrelaAppTest::ResourcePathIsBesideTheWorkingFolder() {
    CTondrelaApp& app = TheApp();
    app.workFolder = "/opt/tondrela/bin";
    app.languageIndex = 3;
    QCOMPARE(app.ResourcePath("IMAGE", "main.jpg"),
             QString("/opt/tondrela/bin/../IMAGE/3/main.jpg"));
    app.languageIndex = 1;
    QCOMPARE(app.ResourcePath("HELP", "Usage_01.html"),
             QString("/opt/tondrela/bin/../HELP/1/Usage_01.html"));
}

void TondrelaAppTest::MessageLookupBeforeAnyListIsEmpty() {
    TheApp().messageList.Clear();
    QCOMPARE(GetMessageText(30001), QString());
}

void TondrelaAppTest::MessageLookupFollowsTheLoadedLanguage() {
    LoadMessages(2);
    QCOMPARE(GetMessageText(30001), QString("USB Disconnected"));
    QCOMPARE(GetMessageText(40016), QString("데이터를 서버로 전송할 수 없습니다."));
    QCOMPARE(GetMessageText(30021), QString()); // the English table lacks it
    LoadMessages(4);
    QCOMPARE(GetMessageText(30001), QString("USB 已断开"));
}

void TondrelaAppTest::UserLineGivesNameSexAndAge() {
    LoadMessages(2);
    UserRecord user{"Kim", 1984, 1, ""};
    QCOMPARE(FormatUserLine(user, 2025), QString("Kim / Male / 41 years"));
    user.sex = 2;
    QCOMPARE(FormatUserLine(user, 2025), QString("Kim / Female / 41 years"));
    user.sex = 0; // anything but 1 reads as female
    QCOMPARE(FormatUserLine(user, 2025), QString("Kim / Female / 41 years"));
    LoadMessages(3);
    user.sex = 1;
    QCOMPARE(FormatUserLine(user, 2025), QString("Kim / 男性 / 41 歳"));
}

void TondrelaAppTest::PersonBornThisYearIsAgeZero() {
    LoadMessages(2);
    QCOMPARE(FormatUserLine(UserRecord{"Lee", 2025, 2, ""}, 2025),
             QString("Lee / Female / 0 years"));
}

QTEST_MAIN(TondrelaAppTest)
#include "Tondrela_gui_test.moc"
