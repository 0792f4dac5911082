#include "help/HelpBrowser.h"

#include "app/Tondrela.h"

#include <QFileInfo>

namespace {

constexpr int kNotFoundMessage = 30027;

QString NotFoundPage(const QString& path) {
    return QStringLiteral("<html><body><h3>%1</h3><p>%2</p></body></html>")
        .arg(GetMessageText(kNotFoundMessage).toHtmlEscaped(), path.toHtmlEscaped());
}

} // namespace

namespace {
constexpr int kPageMargin = 12; // pixels around the page
}

CHelpBrowser::CHelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(true);
    setOpenExternalLinks(false);
    document()->setDocumentMargin(kPageMargin);
}

void CHelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    if (name.fragment() == QLatin1String(kCancelAnchor)) {
        emit cancelRequested();
        return;
    }
    QTextBrowser::doSetSource(name, type);
}

QVariant CHelpBrowser::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::HtmlResource) {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        const QString path = url.toLocalFile();
        if (!QFileInfo(path).isFile())
            return NotFoundPage(path.isEmpty() ? url.toString() : path);
    }
    return QTextBrowser::loadResource(type, name);
}
