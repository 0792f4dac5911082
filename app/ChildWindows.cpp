#include "app/ChildWindows.h"

#include "apg/DlgApg.h"
#include "app/Tondrela.h"
#include "controls/BkDialog.h"
#include "controls/MessageBox.h"
#include "records/DlgReview.h"
#include "records/DlgUser.h"
#include "stress/DlgStress.h"

#include <QDialog>
#include <QScreen>
#include <QWidget>

namespace {
void ShowNotAvailable(QWidget* opener) {
    ShowMessageBox(opener, QStringLiteral("This window is not available in this version."));
}
} // namespace

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
    ShowNotAvailable(opener);
    return nullptr;
}

CBkDialog* OpenManualWindow(QWidget* opener) {
    ShowNotAvailable(opener);
    return nullptr;
}

int RunUserDialog(QWidget* opener) {
    CDlgUser dialog(opener);
    return dialog.exec();
}

int RunAboutDialog(QWidget* opener) {
    ShowNotAvailable(opener);
    return QDialog::Rejected;
}

void ShowFullScreenWindow(QWidget* window) {
    // The geometry first: without a window manager the full-screen request alone does not
    // resize the window.
    if (const QScreen* screen = window->screen())
        window->setGeometry(screen->geometry());
    window->showFullScreen();
}
