#include "help/DlgApgHelp.h"

#include "app/Tondrela.h"

CDlgApgHelp::CDlgApgHelp(QWidget* opener, const QString& firstPage)
    : CHtmlHelpDialog(opener, firstPage, kTitleMessage, TheApp().screenSize.width() / 8) {}

CDlgApgHelp* OpenApgHelpWindow(QWidget* opener) {
    for (CDlgApgHelp* open : opener->findChildren<CDlgApgHelp*>(Qt::FindDirectChildrenOnly)) {
        if (!open->IsClosed())
            return open;
    }
    auto* window =
        new CDlgApgHelp(opener, TheApp().ResourcePath(QStringLiteral("HELP"),
                                                      QLatin1String(CDlgApgHelp::kFirstPage)));
    QObject::connect(
        window, &CBkDialog::childClosed, opener, [](QWidget* child) { child->deleteLater(); },
        Qt::QueuedConnection);
    window->show();
    return window;
}
