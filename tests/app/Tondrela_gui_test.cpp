// The application state: font sizes by screen, the user line and the process-wide message
// lookup.

#include "app/StartOptions.h"
#include "app/Tondrela.h"

#include "TestRuntime.h"

#include <QTest>

class TondrelaAppTest : public QObject {
    Q_OBJECT
private slots:
    void FontSizesFollowTheScreen_data();
    void FontSizesFollowTheScreen();
    void InitInstanceSetsScaleAndClearsUserLine();
    void MessageLookupFollowsTheLoadedLanguage();
    void UserLineGivesNameSexAndAge();
    void CommandLineChoosesSensorAndLanguage_data();
    void CommandLineChoosesSensorAndLanguage();
};

void TondrelaAppTest::FontSizesFollowTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QList<int>>("sizes"); // title, text, large, small, smallest
    // The title 0.64 * 30 = 19.2; the rest fixed.
    QTest::newRow("1024 x 768") << QSize(1024, 768) << QList<int>{19, 13, 16, 12, 11};
    // Scale 0.8: 22.4 and 14.4 truncated.
    QTest::newRow("700 high") << QSize(1280, 700) << QList<int>{24, 16, 22, 14, 14};
    QTest::newRow("1024 x 600") << QSize(1024, 600) << QList<int>{19, 12, 17, 11, 11};
    // Above 700: fixed but the title.
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QList<int>{36, 16, 20, 14, 12};
    QTest::newRow("701 high") << QSize(1280, 701) << QList<int>{24, 16, 20, 14, 12};
}

void TondrelaAppTest::FontSizesFollowTheScreen() {
    QFETCH(QSize, screen);
    QFETCH(QList<int>, sizes);
    const FontSizes f = ComputeFontSizes(screen.width(), screen.height());
    QCOMPARE((QList<int>{f.titleFontSize, f.textFontSize, f.largeTextFontSize, f.smallTextFontSize,
                         f.smallestFontSize}),
             sizes);
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

void TondrelaAppTest::MessageLookupFollowsTheLoadedLanguage() {
    TheApp().messageList.Clear();
    QCOMPARE(GetMessageText(30001), QString()); // before any list
    UseLanguage(2);
    QCOMPARE(GetMessageText(30001), QString("USB Disconnected"));
    QCOMPARE(GetMessageText(40016), QString("The data could not be sent to the server."));
    QCOMPARE(GetMessageText(40006), QString()); // the English table lacks it
    UseLanguage(4);
    QCOMPARE(GetMessageText(30001), QString("USB 已断开"));
}

void TondrelaAppTest::UserLineGivesNameSexAndAge() {
    UseLanguage(2);
    UserRecord user{"Kim", 1984, 1, ""};
    QCOMPARE(FormatUserLine(user, 2025), QString("Kim / Male / 41 years"));
    user.sex = 2;
    QCOMPARE(FormatUserLine(user, 2025), QString("Kim / Female / 41 years"));
    user.sex = 0; // anything but 1 reads as female
    QCOMPARE(FormatUserLine(user, 2025), QString("Kim / Female / 41 years"));
    QCOMPARE(FormatUserLine(UserRecord{"Lee", 2025, 2, ""}, 2025),
             QString("Lee / Female / 0 years")); // born this year
    UseLanguage(3);
    user.sex = 1;
    QCOMPARE(FormatUserLine(user, 2025), QString("Kim / 男性 / 41 歳"));
}

void TondrelaAppTest::CommandLineChoosesSensorAndLanguage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<int>("language");
    QTest::newRow("nothing") << QStringList{} << true << "" << 2;
    QTest::newRow("korean") << QStringList{"--language=ko"} << true << "" << 1;
    QTest::newRow("english") << QStringList{"--language=en"} << true << "" << 2;
    QTest::newRow("japanese") << QStringList{"--language=ja"} << true << "" << 3;
    QTest::newRow("chinese, simulated")
        << QStringList{"--simulate", "--language=zh"} << true << "synthetic" << 4;
    QTest::newRow("replay") << QStringList{"--simulate=a/b.csv"} << true << "a/b.csv" << 2;
    QTest::newRow("unknown language") << QStringList{"--language=kr"} << false << "" << 0;
    QTest::newRow("no language") << QStringList{"--language="} << false << "" << 0;
    QTest::newRow("capitals") << QStringList{"--language=KO"} << false << "" << 0;
    QTest::newRow("unknown option") << QStringList{"--lang=ko"} << false << "" << 2;
    QTest::newRow("traced") << QStringList{"--trace=run.log", "--language=ja"} << true << "" << 3;
    QTest::newRow("trace without file") << QStringList{"--trace="} << false << "" << 2;
}

void TondrelaAppTest::CommandLineChoosesSensorAndLanguage() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, valid);
    QFETCH(QString, platform);
    QFETCH(int, language);
    StartOptions options;
    QCOMPARE(ParseStartOptions(QStringList{"tondrela"} + arguments, &options), valid);
    QCOMPARE(QString::fromStdString(options.platform), platform);
    QCOMPARE(options.language, language);
}

QTEST_MAIN(TondrelaAppTest)
#include "Tondrela_gui_test.moc"
