// The main menu: layout, status line, languages, the user line, the refusal without a user,
// one window per kind, device changes from another thread, and quitting through the host.

#include "analysis/Hrv.h"
#include "app/DlgMain.h"
#include "app/MainMenuLayout.h"
#include "app/Tondrela.h"
#include "app/TondrelaDlg.h"
#include "controls/BtnST.h"
#include "controls/staticex.h"
#include "device/Acquisition.h"
#include "device/HidPlatform.h"
#include "device/SensorLink.h"
#include "device/SimulatedSensor.h"
#include "device/SyntheticPulseSource.h"

#include "Screenshot.h"
#include "TestRuntime.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

using namespace MainMenuId;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);

// A main menu as the host makes it, at the size of the screen the state was set up for.
std::unique_ptr<CDlgMain> MakeMenu() {
    auto menu = std::make_unique<CDlgMain>();
    menu->resize(TheApp().screenSize);
    menu->SetBackground(TheApp().ResourcePath("IMAGE", "main.jpg"));
    return menu;
}

// A simulated sensor that counts the requests written to it.
class RequestCountingSensor : public SimulatedSensor {
public:
    RequestCountingSensor() : SimulatedSensor(std::make_unique<SyntheticPulseSource>()) {}
    bool Write(Handle handle, const uint8_t* report, int length) override {
        ++requests;
        return SimulatedSensor::Write(handle, report, length);
    }
    std::atomic<int> requests{0};
};

// Gives the application a simulated sensor; returns it (owned by the link).
SimulatedSensor* UseSimulatedSensor() {
    std::unique_ptr<HidPlatform> platform = MakeHidPlatform("synthetic");
    auto* sensor = dynamic_cast<SimulatedSensor*>(platform.get());
    TheApp().SetLink(std::make_unique<SensorLink>(std::move(platform)));
    return sensor;
}

} // namespace

class DlgMainTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ControlsArePlacedByTheScreenScale();
    void StartsInEnglishWithTheRedStatusWithoutSensor();
    void StartsInTheLanguageItIsGiven();
    void ShowsEachLanguageWithAndWithoutSensor();
    void DeviceChangesFromAnotherThreadReachTheStatusLine();
    void DeviceChangeDuringAStalledReadKeepsTheWindowResponsive();
    void PictureButtonOutlinesItselfWhileHovered();
    void TestsAndReviewWithoutUserShowMessage40001();
    void PressingAButtonTwiceOpensOneWindowUntilItIsClosed();
    void UserDialogAcceptedRefreshesTheUserLine();
    void LanguageSwitchRebuildsTheUserLine();
    void QuitOrCloseEndsTheHostAndTheChild();

private:
    std::unique_ptr<MessageCatcher> m_boxes;
};

void DlgMainTest::init() {
    CTondrelaApp& app = TheApp();
    app.InitInstance(QSize(1600, 1000), TONDRELA_STAGE_DIR "/bin");
    app.SetLink(nullptr);
    app.CurrentUser = UserRecord();
    m_boxes = std::make_unique<MessageCatcher>();
}

void DlgMainTest::cleanup() {
    m_boxes.reset();
    TheApp().SetLink(nullptr);
}

void DlgMainTest::ControlsArePlacedByTheScreenScale() {
    TheApp().InitInstance(QSize(1024, 768), TONDRELA_STAGE_DIR "/bin");
    auto menu = MakeMenu();
    // 326 * 0.64, 548 * 0.768, 316 * 0.64, 210 * 0.768, each truncated.
    QCOMPARE(menu->Button(kApg)->geometry(), QRect(208, 420, 202, 161));
    QCOMPARE(menu->Button(kClose)->geometry(), QRect(998, 0, 19, 26));
    // Negative positions are truncated toward zero and lie out of view.
    QCOMPARE(menu->Static(kApgCaption)->geometry().x(), -800);          // -1251 * 0.64 = -800.64
    QCOMPARE(menu->Button(kKorean)->geometry(), QRect(729, 6, 55, 18)); // in the top bar
    QCOMPARE(menu->Static(kUserLine)->font().pixelSize(), 13);
    QCOMPARE(menu->Button(kKorean)->font().pixelSize(), 12);
}

void DlgMainTest::StartsInEnglishWithTheRedStatusWithoutSensor() {
    TheApp().languageIndex = 4;
    TheApp().fontFace = "Other";
    auto menu = MakeMenu();
    QCOMPARE(TheApp().languageIndex, 2);
    QCOMPARE(TheApp().fontFace, QString("Arial"));
    QCOMPARE(menu->Static(kStatus)->text(), QString("USB Disconnected"));
    QCOMPARE(menu->Static(kStatus)->CurrentTextColor(), kRed);
    QCOMPARE(menu->Static(kApgCaption)->text(), QString("Vascular age index measurement"));
    QCOMPARE(menu->Static(kApgCaption)->CurrentTextColor(), QColor(255, 255, 128));
    QCOMPARE(menu->Button(kApg)->TooltipText(), QString("Initial Wellness index test"));
    QVERIFY(!menu->Background().isNull());
}

void DlgMainTest::StartsInTheLanguageItIsGiven() {
    TheApp().CurrentUser = UserRecord{"Kim", QDate::currentDate().year() - 41, 1, ""};
    CDlgMain menu(nullptr, 1); // tondrela --language=ko
    menu.SetBackground(TheApp().ResourcePath("IMAGE", "main.jpg"));
    QCOMPARE(TheApp().languageIndex, 1);
    QCOMPARE(TheApp().fontFace, QString("돋움"));
    QCOMPARE(menu.Static(kStatus)->text(), QString("USB 연결 끊김"));
    QCOMPARE(menu.Static(kUserLine)->text(), QString("Kim / 남성 / 41 세"));
    QVERIFY(menu.BackgroundPath().endsWith("/IMAGE/1/main.jpg"));
    QVERIFY(!SaveScreenshot(&menu, "main_menu_started_korean").isEmpty());
}

// Without a sensor, with one, and with one that is present but cannot be opened (no udev
// rule): that one is told apart, in red, naming the fix, and the line is wide enough for it.
void DlgMainTest::ShowsEachLanguageWithAndWithoutSensor() {
    TheApp().CurrentUser = UserRecord{"Kim", QDate::currentDate().year() - 41, 1, ""};
    enum State { kNoSensor, kSensor, kNoAccess };
    const struct {
        int button;
        const char* name;
        const char* texts[3]; // by State
    } languages[] = {
        {kKorean,
         "korean",
         {"USB 연결 끊김", "USB 연결됨",
          "센서가 있지만 열 수 없습니다: udev 규칙을 설치하고 센서를 다시 연결하십시오"}},
        {kEnglish,
         "english",
         {"USB Disconnected", "USB connected",
          "Sensor found but cannot be opened: install the udev rule and plug it in again"}},
        {kJapanese,
         "japanese",
         {"USB未接続", "USB接続中",
          "センサーはありますが開けません。udev "
          "ルールをインストールし、センサーを差し直してください"}},
        {kChinese,
         "chinese",
         {"USB 已断开", "USB 已连接",
          "已找到传感器但无法打开：请安装 udev 规则，然后重新插入传感器"}},
    };
    const char* stateNames[] = {"no_sensor", "sensor", "no_access"};
    for (State state : {kNoSensor, kSensor, kNoAccess}) {
        if (state != kNoSensor)
            UseSimulatedSensor()->SetAccessible(state == kSensor);
        auto menu = MakeMenu();
        menu->show();
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
        CStaticEx* status = menu->Static(kStatus);
        for (const auto& language : languages) {
            // Each button in the top bar, labelled in its own language whatever is shown.
            const QString names[] = {"한국어", "English", "日本語", "中文"};
            for (int i = 0; i < 4; ++i) {
                const CButtonST* button = menu->Button(kKorean + i);
                QCOMPARE(button->text(), names[i]);
                QVERIFY(button->isVisible());
                QVERIFY(button->geometry().bottom() < menu->height() * 42 / 1000);
                QVERIFY(menu->rect().contains(button->geometry()));
                QVERIFY(!button->geometry().intersects(status->geometry()));
            }
            QTest::mouseClick(menu->Button(language.button), Qt::LeftButton);
            QCOMPARE(status->text(), QString(language.texts[state]));
            QCOMPARE(status->CurrentTextColor(), state == kSensor ? kWhite : kRed);
            QVERIFY(status->width() >= status->sizeHint().width());
            QVERIFY(menu->BackgroundPath().endsWith(
                QString("/IMAGE/%1/main.jpg").arg(TheApp().languageIndex)));
            QVERIFY(!menu->Background().isNull());
            const QString shot = QString("main_menu_%1_%2").arg(language.name, stateNames[state]);
            QVERIFY(!SaveScreenshot(menu.get(), shot).isEmpty());
        }
    }
}

void DlgMainTest::DeviceChangesFromAnotherThreadReachTheStatusLine() {
    SimulatedSensor* sensor = UseSimulatedSensor();
    QVERIFY(sensor);
    auto menu = MakeMenu();
    CStaticEx* status = menu->Static(kStatus);
    QCOMPARE(status->text(), QString("USB connected"));

    std::thread([sensor] { sensor->Unplug(); }).join();
    // The notification was posted to the GUI thread, not handled on the platform's.
    QCOMPARE(status->text(), QString("USB connected"));
    QTRY_COMPARE(status->text(), QString("USB Disconnected"));
    QCOMPARE(status->CurrentTextColor(), kRed);
    QVERIFY(!TheApp().SensorConnected());

    std::thread([sensor] { sensor->PlugIn(); }).join();
    QTRY_COMPARE(status->text(), QString("USB connected"));
    QCOMPARE(status->CurrentTextColor(), kWhite);
    QVERIFY(TheApp().SensorConnected());
}

// Another device arrives while the sensor has stopped answering: the re-open waits for the
// exchange in progress (its read, up to the read limit), but on the platform's thread; the
// window's thread only shows the result and never waits for the device.
void DlgMainTest::DeviceChangeDuringAStalledReadKeepsTheWindowResponsive() {
    using namespace std::chrono_literals;
    auto platform = std::make_unique<RequestCountingSensor>();
    RequestCountingSensor* sensor = platform.get();
    TheApp().SetLink(std::make_unique<SensorLink>(std::move(platform), 1500ms));
    auto menu = MakeMenu();
    CStaticEx* status = menu->Static(kStatus);
    QCOMPARE(status->text(), QString("USB connected"));

    sensor->SetAnswering(false);
    auto hrv = std::make_unique<CHrv>();
    CAcquisition acquisition(*TheApp().Link(), *hrv, AcquisitionKind::Apg);
    QCOMPARE(acquisition.Start(), 1);
    // Once the request is written the exchange holds the link until its read ends.
    QTRY_VERIFY(sensor->requests > 0);

    std::atomic<bool> handled{false};
    QElapsedTimer announce;
    announce.start();
    qint64 announceMs = 0;
    std::thread platformThread([&] {
        sensor->AnnounceOther(DeviceChange::kArrival, "/dev/hidraw7");
        announceMs = announce.elapsed();
        handled = true;
    });
    qint64 longest = 0; // the longest the window's thread was busy at a time
    for (bool last = false; !last;) {
        last = handled;
        QElapsedTimer busy;
        busy.start();
        QCoreApplication::processEvents();
        longest = std::max(longest, busy.elapsed());
        std::this_thread::sleep_for(1ms);
    }
    platformThread.join();
    qInfo("device change: platform thread %lld ms, longest GUI-thread step %lld ms", announceMs,
          longest);
    QVERIFY2(announceMs >= 500, "the re-open did not wait for the stalled read");
    QVERIFY(longest < 50);
    QCOMPARE(status->text(), QString("USB connected")); // timed out, then opened again
    acquisition.Stop();
}

void DlgMainTest::PictureButtonOutlinesItselfWhileHovered() {
    auto menu = MakeMenu();
    CButtonST* button = menu->Button(kStress);
    const QRect area = button->geometry();
    const QImage before = menu->grab().toImage().copy(area);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(button, &enter);
    QVERIFY(button->IsHovered());
    const QImage hovered = menu->grab().toImage().copy(area);
    // The picture shows through inside; only the outline changes.
    QCOMPARE(hovered.pixel(area.width() / 2, area.height() / 2),
             before.pixel(area.width() / 2, area.height() / 2));
    QVERIFY(hovered.pixel(0, area.height() / 2) != before.pixel(0, area.height() / 2));
    SaveScreenshot(menu.get(), "main_menu_hover");
}

void DlgMainTest::TestsAndReviewWithoutUserShowMessage40001() {
    auto menu = MakeMenu();
    int created = 0;
    for (CDlgMain::Child kind :
         {CDlgMain::Child::Apg, CDlgMain::Child::Stress, CDlgMain::Child::Review}) {
        menu->SetChildFactory(kind, [&created](QWidget* opener) {
            ++created;
            return new CBkDialog(opener);
        });
    }
    for (int id : {kApg, kStress, kReview})
        menu->Button(id)->click();
    QCOMPARE(m_boxes->messages, QStringList(3, "Select user from userlist"));
    QCOMPARE(created, 0);

    menu->Button(kKorean)->click();
    m_boxes->messages.clear();
    menu->Button(kApg)->click();
    QCOMPARE(m_boxes->messages.size(), 1);
    QVERIFY(m_boxes->messages[0] != "Select user from userlist" && !m_boxes->messages[0].isEmpty());
}

void DlgMainTest::PressingAButtonTwiceOpensOneWindowUntilItIsClosed() {
    TheApp().CurrentUser.name = "Kim";
    auto menu = MakeMenu();
    int created = 0;
    menu->SetChildFactory(CDlgMain::Child::Apg, [&created](QWidget* opener) {
        ++created;
        auto* window = new CBkDialog(opener);
        window->show();
        return window;
    });
    menu->Button(kApg)->click();
    menu->Button(kApg)->click();
    QCOMPARE(created, 1);
    QVERIFY(m_boxes->messages.isEmpty());
    QPointer<QWidget> child = menu->ChildWindow(CDlgMain::Child::Apg);
    QVERIFY(child);
    child->close();
    QTRY_VERIFY(!child); // released by the menu
    QVERIFY(!menu->ChildWindow(CDlgMain::Child::Apg));
    menu->Button(kApg)->click();
    QCOMPARE(created, 2);
}

void DlgMainTest::UserDialogAcceptedRefreshesTheUserLine() {
    auto menu = MakeMenu();
    const int year = QDate::currentDate().year();
    menu->SetUserDialog([year](QWidget*) {
        TheApp().CurrentUser = UserRecord{"Lee", year - 30, 2, "010"};
        return int(QDialog::Accepted);
    });
    menu->Button(kUser)->click();
    QCOMPARE(TheApp().userLine, QString("Lee / Female / 30 years"));
    QCOMPARE(menu->Static(kUserLine)->text(), TheApp().userLine);
}

void DlgMainTest::LanguageSwitchRebuildsTheUserLine() {
    TheApp().CurrentUser = UserRecord{"Kim", QDate::currentDate().year() - 41, 1, ""};
    auto menu = MakeMenu();
    QCOMPARE(menu->Static(kUserLine)->text(), QString("Kim / Male / 41 years"));
    menu->Button(kKorean)->click();
    QCOMPARE(TheApp().languageIndex, 1);
    QCOMPARE(TheApp().fontFace, QString("돋움"));
    QCOMPARE(TheApp().userLine, QString("Kim / 남성 / 41 세"));
    QCOMPARE(menu->Static(kUserLine)->text(), TheApp().userLine);
    menu->Button(kChinese)->click(); // keeps the face
    QCOMPARE(TheApp().fontFace, QString("돋움"));
    QCOMPARE(TheApp().userLine, QString("Kim / 男 / 41 岁"));
    // Without a user the line is empty.
    TheApp().CurrentUser = UserRecord();
    menu->RefreshUserLine();
    QCOMPARE(TheApp().userLine, QString());
    QCOMPARE(menu->Static(kUserLine)->text(), QString());
}

void DlgMainTest::QuitOrCloseEndsTheHostAndTheChild() {
    TheApp().InitInstance(QGuiApplication::primaryScreen()->size(), TONDRELA_STAGE_DIR "/bin");
    TheApp().CurrentUser.name = "Kim";
    for (int button : {kQuit, kClose}) {
        CTondrelaDlg host;
        QSignalSpy finished(&host, &QDialog::finished);
        host.Start();
        QPointer<CDlgMain> menu = host.MainMenu();
        QVERIFY(menu);
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QCOMPARE(menu->size(), TheApp().screenSize); // over the whole screen
        menu->SetChildFactory(CDlgMain::Child::Stress, [](QWidget* opener) {
            auto* window = new CBkDialog(opener);
            window->show();
            return window;
        });
        menu->Button(kStress)->click();
        QPointer<QWidget> child = menu->ChildWindow(CDlgMain::Child::Stress);
        QVERIFY(child);
        if (button == kQuit)
            SaveScreenshot(menu, "main_menu_host");
        menu->Button(button)->click();
        QVERIFY(finished.wait(2000));
        QTRY_VERIFY(!menu);
        QVERIFY(!child);
    }
}

QTEST_MAIN(DlgMainTest)
#include "DlgMain_gui_test.moc"
