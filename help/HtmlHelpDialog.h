#pragma once
// The frame of the three help windows (usage guide, manual, wellness-test help): one
// CHelpBrowser over the whole client area, opened on a first page and titled with a
// language text. Modeless; placed at (x, 0), 830 pixels wide and as high as the screen.
//
// The window belongs to its opener. It closes on its close box or on a page's "ButtonCancel"
// link and then posts childClosed(itself) (CBkDialog), so that the opener releases it. The
// page folder is the one of the language current when the window opened; a later change of
// language does not move an open window.
// Threads: GUI thread only.

#include "controls/BkDialog.h"

#include <QUrl>

class CHelpBrowser;

class CHtmlHelpDialog : public CBkDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 830; // pixels

    // firstPage: the path of the first page (ResourcePath("HELP", ...)); titleMessage: the
    // language text of the title; x: the left edge on the screen.
    CHtmlHelpDialog(QWidget* opener, const QString& firstPage, int titleMessage, int x);

    CHelpBrowser* Browser() const { return m_browser; }
    // The first page as a file address, its path cleaned of "..".
    const QUrl& FirstPage() const { return m_firstPage; }
    // True once the window has closed (it waits for its opener to release it).
    bool IsClosed() const { return m_closed; }

    void done(int result) override;

private:
    CHelpBrowser* m_browser;
    QUrl m_firstPage;
    bool m_closed = false;
};
