#include "help/HtmlHelpDialog.h"

#include "app/Tondrela.h"
#include "help/HelpBrowser.h"

#include <QDir>
#include <QVBoxLayout>

CHtmlHelpDialog::CHtmlHelpDialog(QWidget* opener, const QString& firstPage, int titleMessage, int x)
    : CBkDialog(opener), m_browser(new CHelpBrowser(this)),
      m_firstPage(QUrl::fromLocalFile(QDir::cleanPath(QDir().absoluteFilePath(firstPage)))) {
    setWindowTitle(GetMessageText(titleMessage));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    connect(m_browser, &CHelpBrowser::cancelRequested, this, &QDialog::reject);
    setGeometry(x, 0, kWidth, TheApp().screenSize.height());
    m_browser->setSource(m_firstPage);
}

void CHtmlHelpDialog::done(int result) {
    m_closed = true;
    CBkDialog::done(result);
}
