#pragma once
// The page view of the help windows: local HTML pages with their pictures, the links between
// them followed inside the view.
//
// Closing from a page: a link to the anchor "ButtonCancel" closes the window. The pages write
// it on the element that carries that identifier, so the link also points at an anchor that
// exists:  <a id="ButtonCancel" href="#ButtonCancel">Close</a>
// Following such a link does not navigate; the view emits cancelRequested() instead.
//
// A page that cannot be read is replaced by a short page of the view's own: language text
// 30027 and the page's path.
// Threads: GUI thread only.

#include <QTextBrowser>

class CHelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    static constexpr char kCancelAnchor[] = "ButtonCancel";

    explicit CHelpBrowser(QWidget* parent = nullptr);

signals:
    void cancelRequested();

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;
    QVariant loadResource(int type, const QUrl& name) override;
};
