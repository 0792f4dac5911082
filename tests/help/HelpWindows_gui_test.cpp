// The help windows and the about box: one window per opener until it closes (by a page's
// "ButtonCancel" link or the close box), placement and title, links followed inside the
// window, the page folder of the language current at opening, a missing page or picture, and
// the about box with its texts inside it. Saves pictures of the windows for a person to look at.

#include "app/DlgMain.h"
#include "app/MainMenuLayout.h"
#include "app/Tondrela.h"
#include "controls/BtnST.h"
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

// Clicks the first link of the page to href, as a person would.
bool ClickLink(CHelpBrowser* browser, const QString& href) {
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(it.fragment().position() + 1);
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

// The help window of opener that has not closed, or nullptr.
CHtmlHelpDialog* OpenOf(QWidget* opener) {
    for (auto* window : opener->findChildren<CHtmlHelpDialog*>()) {
        if (!window->IsClosed())
            return window;
    }
    return nullptr;
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
};

std::vector<HelpKind> Kinds() {
    auto menu = [] { return new CDlgMain(); };
    auto press = [](int id) {
        return [id](QWidget* opener) { static_cast<CDlgMain*>(opener)->Button(id)->click(); };
    };
    return {
        {"usage", 2, "Usage", 385, "Usage_02.html", menu, press(MainMenuId::kUsage)},
        {"manual", 2, "Manual", 385, "Manual_02.html", menu, press(MainMenuId::kManual)},
        {"wellness help", 1, "맥파지수 HELP", 200, "Usage_04.html", [] { return new QWidget(); },
         [](QWidget* opener) { OpenApgHelpWindow(opener); }},
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
    void AboutBoxClosesOnConfirm();
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
        QPointer<CHtmlHelpDialog> window = OpenOf(opener.get());
        QVERIFY2(window, kind.name);
        QCOMPARE(window->geometry(), QRect(kind.x, 0, 830, 1000));
        QCOMPARE(window->windowTitle(), kind.title);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString first = PageFile(window);
        QVERIFY2(first.contains(QStringLiteral("/HELP/%1/").arg(kind.language)), qPrintable(first));

        // A link goes to its page inside the window; "ButtonCancel" closes the window.
        QVERIFY2(ClickLink(window->Browser(), kind.link), kind.name);
        QTRY_VERIFY(PageFile(window).endsWith(QLatin1Char('/') + QLatin1String(kind.link)));
        QVERIFY(window->isVisible());
        QVERIFY(ClickLink(window->Browser(), "#ButtonCancel"));
        QVERIFY(window->IsClosed());
        QTRY_VERIFY2(!window, kind.name); // released by the opener
        QVERIFY(!OpenOf(opener.get()));

        // Opened again, on the first page; the close box closes it as well.
        kind.open(opener.get());
        window = OpenOf(opener.get());
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
        const QString text = OpenApgHelpWindow(&opener)->Browser()->toPlainText();
        QVERIFY2(text.startsWith(GetMessageText(30027)), qPrintable(text));
        QVERIFY2(text.contains(QDir::cleanPath(TheApp().ResourcePath("HELP", "ApgHelp_01.html"))),
                 qPrintable(text));
    }
    CDlgAbout about;
    QVERIFY(about.Background().isNull());
    QVERIFY(!about.Button(AboutId::kOk)->text().isEmpty());
}

void HelpWindowsTest::AboutBoxClosesOnConfirm() {
    const struct {
        int language;
        QString ok;
    } languages[] = {{2, "Confirm"}, {1, "확인"}};
    for (const auto& language : languages) {
        UseLanguage(language.language);
        CDlgAbout about;
        QVERIFY(!about.Background().isNull());
        QCOMPARE(about.Button(AboutId::kOk)->text(), language.ok);
        for (int id : {AboutId::kProduct, AboutId::kNotice, AboutId::kDate}) {
            const CStaticEx* label = about.Static(id);
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <=
                         about.width() - label->x(),
                     qPrintable(label->text())); // not cut at the box's edge
        }
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
        const QString help = TheApp().ResourcePath("HELP", "%1");
        const std::pair<const char*, CHtmlHelpDialog*> windows[] = {
            {"usage", new CDlgUsage(&opener, help.arg(CDlgUsage::kFirstPage))},
            {"manual", new CDlgManual(&opener, help.arg(CDlgManual::kFirstPage))},
            {"apghelp", new CDlgApgHelp(&opener, help.arg(CDlgApgHelp::kFirstPage))}};
        for (const auto& [name, window] : windows) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            SaveScreenshot(window, QStringLiteral("help_%1_%2").arg(name, languageNames[language]));
        }
    }
}

QTEST_MAIN(HelpWindowsTest)
#include "HelpWindows_gui_test.moc"
