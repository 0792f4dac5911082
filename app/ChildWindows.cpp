#include "app/ChildWindows.h"

#include "apg/DlgApg.h"
#include "app/Tondrela.h"
#include "controls/BkDialog.h"
#include "help/DlgAbout.h"
#include "help/DlgManual.h"
#include "help/DlgUsage.h"
#include "records/DlgReview.h"
#include "records/DlgUser.h"
#include "stress/DlgStress.h"

#include <QDialog>
#include <QScreen>
#include <QWidget>

CBkDialog* OpenApgWindow(QWidget* opener) {
    auto* window = new CDlgApg(opener);
    ShowFullScreenWindow(window);
    window->SetBackground(
        TheApp().ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("apg.jpg")));
    return window;
}

CBkDialog* OpenStressWindow(QWidget* opener) {
    auto* window = new CDlgStress(opener);
    ShowFullScreenWindow(window);
    window->SetBackground(
        TheApp().ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("stress.jpg")));
    return window;
}

CBkDialog* OpenReviewWindow(QWidget* opener) {
    auto* window = new CDlgReview(opener);
    ShowFullScreenWindow(window);
    window->SetBackground(
        TheApp().ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("Review.jpg")));
    return window;
}

CBkDialog* OpenUsageWindow(QWidget* opener) {
    auto* window =
        new CDlgUsage(opener, TheApp().ResourcePath(QStringLiteral("HELP"),
                                                    QLatin1String(CDlgUsage::kFirstPage)));
    window->show();
    return window;
}

CBkDialog* OpenManualWindow(QWidget* opener) {
    auto* window =
        new CDlgManual(opener, TheApp().ResourcePath(QStringLiteral("HELP"),
                                                     QLatin1String(CDlgManual::kFirstPage)));
    window->show();
    return window;
}

int RunUserDialog(QWidget* opener) {
    CDlgUser dialog(opener);
    return dialog.exec();
}

int RunAboutDialog(QWidget* opener) {
    CDlgAbout dialog(opener);
    return dialog.exec();
}

void ShowFullScreenWindow(QWidget* window) {
    // The geometry first: without a window manager the full-screen request alone does not
    // resize the window.
    if (const QScreen* screen = window->screen())
        window->setGeometry(screen->geometry());
    window->showFullScreen();
}
