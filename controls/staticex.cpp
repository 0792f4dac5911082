#include "controls/staticex.h"

#include "controls/ColorRef.h"
#include "controls/ControlFont.h"
#include "controls/MessageBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QUrl>

CStaticEx::CStaticEx(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    m_textColor = palette().color(QPalette::WindowText);
    m_backgroundColor = palette().color(QPalette::Button);
    ApplyColors();
}

void CStaticEx::SetFont(const QString& face, int pixelHeight) {
    setFont(MakeControlFont(face, pixelHeight));
}

void CStaticEx::SetTextColor(std::uint32_t colorRef) {
    m_textColor = ColorFromColorRef(colorRef);
    ApplyColors();
}

void CStaticEx::SetBkColor(std::uint32_t colorRef) {
    m_backgroundColor = ColorFromColorRef(colorRef);
    ApplyColors();
}

void CStaticEx::SetTransparent(bool transparent) {
    m_transparent = transparent;
    ApplyColors();
}

void CStaticEx::SetLink(const QString& address) {
    m_link = address;
    ApplyColors();
}

void CStaticEx::SetHandCursor(bool hand) {
    if (hand)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

QColor CStaticEx::CurrentTextColor() const {
    if (!m_link.isEmpty() && m_visited)
        return ColorFromColorRef(kVisitedColorRef);
    return m_textColor;
}

int CStaticEx::TextFlags() const {
    return static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
}

QFont CStaticEx::DrawnFont() const {
    return FitFont(font(), text(), contentsRect().size(), TextFlags());
}

void CStaticEx::paintEvent(QPaintEvent* event) {
    if (textFormat() != Qt::PlainText || text().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(DrawnFont());
    style()->drawItemText(&painter, contentsRect(), TextFlags(), palette(), isEnabled(), text(),
                          foregroundRole());
}

void CStaticEx::ApplyColors() {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, CurrentTextColor());
    pal.setColor(QPalette::Window, m_backgroundColor);
    setPalette(pal);
    setAutoFillBackground(!m_transparent);
    update();
}

// The press is taken so that the release comes here too.
void CStaticEx::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QLabel::mousePressEvent(event);
}

void CStaticEx::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        OnClicked();
}

void CStaticEx::OnClicked() {
    if (m_linkedWindow)
        m_linkedWindow->setVisible(!m_linkedWindow->isVisible());
    if (!m_link.isEmpty()) {
        if (QDesktopServices::openUrl(QUrl::fromUserInput(m_link))) {
            m_visited = true;
            ApplyColors();
        } else {
            QApplication::beep();
            ShowMessageBox(this, m_link);
        }
    }
    emit clicked();
}
