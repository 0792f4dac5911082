// The help windows and the about box: one window per opener until it closes (by a page's
// "ButtonCancel" link or the close box), placement and titles, the language of the page
// folder, links followed inside the window, a missing page or picture, and the about box's
// layout and texts. Saves pictures of the windows for a person to look at.

#include "app/ChildWindows.h"
#include "app/DlgMain.h"
#include "app/MainMenuLayout.h"
#include "app/Tondrela.h"
#include "controls/BtnST.h"
#include "controls/ControlId.h"
#include "controls/staticex.h"
#include "device/SensorLink.h"
#include "help/AboutLayout.h"
#include "help/DlgAbout.h"
#include "help/DlgApgHelp.h"
#include "help/DlgManual.h"
#include "help/DlgUsage.h"
#include "help/HelpBrowser.h"

#include "Screenshot.h"
#include "TestRuntime.h"

#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// Clicks the first link of the page whose target is href, as a person would.
bool ClickLink(CHelpBrowser* browser, const QString& href) {
    QTextDocument* document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(document);
            cursor.setPosition(it.fragment().position() + 1);
            browser->ensureCursorVisible();
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            const QPoint at = browser->cursorRect(cursor).center() - QPoint(2, 0);
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
            return true;
        }
    }
    return false;
}

QString PageFile(const CHtmlHelpDialog* window) {
    return window->Browser()->source().toLocalFile();
}

// One kind of help window as its opener opens it.
struct HelpKind {
    const char* name;
    int language;
    QString title;
    int x;            // on a 1600 x 1000 screen
    const char* link; // a link of the first page to another page
    std::function<QWidget*()> makeOpener;
    std::function<void(QWidget* opener)> open;
    std::function<CHtmlHelpDialog*(QWidget* opener)> openWindow; // the open one, or nullptr
};

CHtmlHelpDialog* OpenOf(QWidget* opener) {
    for (auto* window : opener->findChildren<CHtmlHelpDialog*>()) {
        if (!window->IsClosed())
            return window;
    }
    return nullptr;
}

std::vector<HelpKind> Kinds() {
    auto menu = [] { return new CDlgMain(); };
    auto press = [](int id) {
        return [id](QWidget* opener) { static_cast<CDlgMain*>(opener)->Button(id)->click(); };
    };
    return {
        {"usage", 2, "Usage", 385, "Usage_02.html", menu, press(MainMenuId::kUsage), OpenOf},
        {"manual", 2, "Manual", 385, "Manual_02.html", menu, press(MainMenuId::kManual), OpenOf},
        {"wellness help", 1, "맥파지수 HELP", 200, "Usage_04.html", [] { return new QWidget(); },
         [](QWidget* opener) { OpenApgHelpWindow(opener); }, OpenOf},
    };
}

} // namespace

class HelpWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void OneWindowPerOpenerUntilItClosesItself();
    void LanguageChangeMovesOnlyTheNextWindow();
    void MissingPageAndPictureShowWhatTheyCan();
    void AboutBoxShowsItsTextsAndClosesOnConfirm();
    void WindowsInEveryLanguage();

private:
    std::unique_ptr<RuntimeFolder> m_folder;
    std::unique_ptr<MessageCatcher> m_boxes;
};

void HelpWindowsTest::init() {
    m_folder = std::make_unique<RuntimeFolder>();
    QVERIFY(m_folder->Valid());
    TheApp().InitInstance(QSize(1600, 1000), QDir::currentPath());
    TheApp().SetLink(nullptr);
    UseLanguage(2);
    m_boxes = std::make_unique<MessageCatcher>();
}

void HelpWindowsTest::cleanup() {
    m_boxes.reset();
    m_folder.reset();
}

void HelpWindowsTest::OneWindowPerOpenerUntilItClosesItself() {
    for (const HelpKind& kind : Kinds()) {
        std::unique_ptr<QWidget> opener(kind.makeOpener());
        UseLanguage(kind.language);
        kind.open(opener.get());
        kind.open(opener.get());
        QCOMPARE(opener->findChildren<CHtmlHelpDialog*>().size(), qsizetype(1));
        QPointer<CHtmlHelpDialog> window = kind.openWindow(opener.get());
        QVERIFY2(window && window->isVisible(), kind.name);
        QCOMPARE(window->windowTitle(), kind.title);
        QCOMPARE(window->geometry(), QRect(kind.x, 0, 830, 1000));
        QVERIFY(QTest::qWaitForWindowExposed(window));

        // A link goes to its page inside the window; "ButtonCancel" closes the window.
        const QString first = PageFile(window);
        QVERIFY2(first.endsWith(QStringLiteral("/HELP/%1/%2")
                                    .arg(kind.language)
                                    .arg(QUrl::fromLocalFile(first).fileName())),
                 qPrintable(first));
        QVERIFY2(ClickLink(window->Browser(), kind.link), kind.name);
        QTRY_VERIFY(PageFile(window).endsWith(QLatin1Char('/') + QLatin1String(kind.link)));
        QVERIFY(window->isVisible());
        QVERIFY(ClickLink(window->Browser(), "#ButtonCancel"));
        QVERIFY(window->IsClosed());
        QTRY_VERIFY2(!window, kind.name); // released by the opener
        QVERIFY(!kind.openWindow(opener.get()));

        // Opened again; the close box closes it as well.
        kind.open(opener.get());
        window = kind.openWindow(opener.get());
        QVERIFY(window);
        QCOMPARE(PageFile(window), first);
        window->close();
        QTRY_VERIFY(!window);
        QVERIFY(m_boxes->messages.isEmpty());
    }
}

void HelpWindowsTest::LanguageChangeMovesOnlyTheNextWindow() {
    CDlgMain menu;
    menu.Button(MainMenuId::kUsage)->click();
    QPointer<CHtmlHelpDialog> window = OpenOf(&menu);
    QVERIFY(window);
    QVERIFY(PageFile(window).endsWith("/HELP/2/Usage_01.html"));
    menu.Button(MainMenuId::kKorean)->click();
    QVERIFY(PageFile(window).endsWith("/HELP/2/Usage_01.html"));
    QCOMPARE(window->windowTitle(), QString("Usage"));
    window->close();
    QTRY_VERIFY(!window);
    menu.Button(MainMenuId::kUsage)->click();
    window = OpenOf(&menu);
    QVERIFY(window);
    QVERIFY(PageFile(window).endsWith("/HELP/1/Usage_01.html"));
    QCOMPARE(window->windowTitle(), QString("사용방법"));
}

void HelpWindowsTest::MissingPageAndPictureShowWhatTheyCan() {
    m_folder.reset(); // back in the test's folder first
    m_folder = std::make_unique<RuntimeFolder>(QStringList{"HELP", "IMAGE"});
    QVERIFY(m_folder->Valid());
    TheApp().InitInstance(QSize(1600, 1000), QDir::currentPath());
    for (int language : {2, 4}) {
        UseLanguage(language);
        QWidget opener;
        CDlgApgHelp* window = OpenApgHelpWindow(&opener);
        const QString text = window->Browser()->toPlainText();
        QVERIFY2(text.startsWith(GetMessageText(30027)), qPrintable(text));
        QVERIFY2(text.contains(QDir::cleanPath(TheApp().ResourcePath("HELP", "ApgHelp_01.html"))),
                 qPrintable(text));
    }
    UseLanguage(2);
    CDlgAbout about;
    QVERIFY(about.Background().isNull());
    QCOMPARE(about.Button(AboutId::kOk)->text(), QString("Confirm"));
}

void HelpWindowsTest::AboutBoxShowsItsTextsAndClosesOnConfirm() {
    const struct {
        int language;
        QString ok;
    } languages[] = {{2, "Confirm"}, {1, "확인"}};
    for (const auto& language : languages) {
        UseLanguage(language.language);
        CDlgAbout about;
        QVERIFY(!about.Background().isNull());
        QCOMPARE(about.size(), QSize(580, 200));
        for (const ControlLayoutRow& row : AboutLayout) {
            if (row.id > 0)
                QCOMPARE(FindControl(&about, row.id)->geometry(),
                         QRect(row.x, row.y, row.width, row.height));
        }
        QCOMPARE(about.Static(AboutId::kProduct)->text(),
                 QString("Solvamira Wellness Version 1.0"));
        QCOMPARE(about.Static(AboutId::kDate)->text(), QString("Last modify date : 2013.4.29.1"));
        QVERIFY(about.Static(AboutId::kNotice)->text().contains("Tondrela"));
        QCOMPARE(about.Button(AboutId::kOk)->text(), language.ok);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        SaveScreenshot(&about, QStringLiteral("about_box_%1").arg(language.language));
        QTimer::singleShot(0, &about, [&about] { about.Button(AboutId::kOk)->click(); });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
    }
}

void HelpWindowsTest::WindowsInEveryLanguage() {
    const char* languageNames[] = {"", "korean", "english", "japanese", "chinese"};
    for (int language = 1; language <= 4; ++language) {
        UseLanguage(language);
        QWidget opener;
        for (auto* window :
             {static_cast<CHtmlHelpDialog*>(
                  new CDlgUsage(&opener, TheApp().ResourcePath("HELP", CDlgUsage::kFirstPage))),
              static_cast<CHtmlHelpDialog*>(
                  new CDlgManual(&opener, TheApp().ResourcePath("HELP", CDlgManual::kFirstPage))),
              static_cast<CHtmlHelpDialog*>(new CDlgApgHelp(
                  &opener, TheApp().ResourcePath("HELP", CDlgApgHelp::kFirstPage)))}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            const QString page =
                QUrl::fromLocalFile(PageFile(window)).fileName().section('_', 0, 0);
            SaveScreenshot(
                window, QStringLiteral("help_%1_%2").arg(page.toLower(), languageNames[language]));
        }
    }
}

QTEST_MAIN(HelpWindowsTest)
#include "HelpWindows_gui_test.moc"
