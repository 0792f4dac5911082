#include "controls/BtnST.h"

#include "controls/ColorRef.h"
#include "controls/ControlFont.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QToolTip>

namespace {

// Rich text that the tooltip window wraps at the width limit; short texts stay plain.
QString TooltipMarkup(const QString& text, int maxWidth) {
    if (QFontMetrics(QToolTip::font()).horizontalAdvance(text) <= maxWidth)
        return text;
    return QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>")
        .arg(maxWidth)
        .arg(text.toHtmlEscaped());
}

} // namespace

CButtonST::CButtonST(QWidget* parent) : QPushButton(parent) {
    const QPalette& pal = palette();
    m_colors[static_cast<int>(Color::BackgroundIn)] = pal.color(QPalette::Button);
    m_colors[static_cast<int>(Color::TextIn)] = pal.color(QPalette::ButtonText);
    m_colors[static_cast<int>(Color::BackgroundOut)] = pal.color(QPalette::Button);
    m_colors[static_cast<int>(Color::TextOut)] = pal.color(QPalette::ButtonText);
    setAutoDefault(false);
}

void CButtonST::SetFont(const QString& face, int pixelHeight) {
    setFont(MakeControlFont(face, pixelHeight));
}

void CButtonST::SetColor(Color index, std::uint32_t colorRef, bool repaint) {
    m_colors[static_cast<int>(index)] = ColorFromColorRef(colorRef);
    Repaint(repaint);
}

void CButtonST::SetFlat(bool flat, bool repaint) {
    m_flat = flat;
    if (!flat)
        m_hover = false;
    Repaint(repaint);
}

void CButtonST::SetDrawBorder(bool drawBorder, bool repaint) {
    m_drawBorder = drawBorder;
    Repaint(repaint);
}

void CButtonST::SetTransparent(bool transparent, bool repaint) {
    m_transparent = transparent;
    Repaint(repaint);
}

void CButtonST::SetNoBorder(bool noBorder, bool repaint) {
    m_noBorder = noBorder;
    Repaint(repaint);
}

void CButtonST::SetAlignLeft(bool alignLeft, bool repaint) {
    m_alignLeft = alignLeft;
    Repaint(repaint);
}

void CButtonST::SetIcon(const QPixmap& hovered, const QPixmap& normal) {
    m_iconHovered = hovered;
    m_iconNormal = normal;
    update();
}

void CButtonST::SetAutoRepeatCommand(bool on, int delayMs) {
    setAutoRepeat(on);
    setAutoRepeatDelay(delayMs);
    setAutoRepeatInterval(delayMs);
}

void CButtonST::SetBtnCursor(const QCursor& cursor) {
    setCursor(cursor);
}

void CButtonST::SetTooltipText(const QString& text) {
    if (text.isEmpty())
        return;
    m_tooltip = text;
    setToolTip(TooltipMarkup(text, kTooltipMaxWidth));
}

void CButtonST::ResetBackgroundCopy() {
    m_backgroundCopy = QPixmap();
    update();
}

void CButtonST::Repaint(bool repaint) {
    if (repaint)
        update();
}

void CButtonST::ClearHover() {
    if (!m_hover)
        return;
    m_hover = false;
    update();
}

void CButtonST::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    if (m_flat && !m_hover && isEnabled()) {
        m_hover = true;
        update();
    }
}

void CButtonST::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    ClearHover();
}

void CButtonST::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    ClearHover();
}

void CButtonST::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        ClearHover();
    else if (event->type() == QEvent::EnabledChange && !isEnabled())
        ClearHover();
}

void CButtonST::CaptureBackground() {
    // At the screen's pixel density, so that the picture stays sharp on a high-DPI screen.
    const qreal ratio = devicePixelRatioF();
    m_backgroundCopy = QPixmap(size() * ratio);
    m_backgroundCopy.setDevicePixelRatio(ratio);
    m_backgroundCopy.fill(Qt::transparent);
    if (QWidget* parent = parentWidget()) {
        // The parent's own drawing only: its background, without any of its controls.
        parent->render(&m_backgroundCopy, QPoint(), QRegion(geometry()),
                       QWidget::DrawWindowBackground);
    }
}

void CButtonST::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QRect area = rect();
    const bool pressed = isDown();

    if (!m_flat && hasFocus()) {
        painter.setPen(Qt::black);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
        area.adjust(1, 1, -1, -1);
    }

    if (m_transparent) {
        if (m_backgroundCopy.isNull())
            CaptureBackground();
        const qreal ratio = m_backgroundCopy.devicePixelRatio();
        painter.drawPixmap(QRectF(area), m_backgroundCopy,
                           QRectF(area.topLeft() * ratio, area.size() * ratio));
    } else {
        DrawBackground(painter, area, pressed);
    }

    if (pressed) {
        if (!m_flat) {
            painter.setPen(palette().color(QPalette::Dark));
            painter.drawRect(area.adjusted(0, 0, -1, -1));
        } else if (m_drawBorder && !m_noBorder) {
            DrawBorder(painter, area, true);
        }
    } else if (m_flat) {
        if (m_hover && m_drawBorder && !m_noBorder)
            DrawBorder(painter, area, false);
    } else if (!m_noBorder) {
        DrawClassicEdge(painter, area);
    }

    DrawIcon(painter, area, pressed);
    DrawLabel(painter, area, pressed);
}

void CButtonST::DrawBackground(QPainter& painter, const QRect& area, bool pressed) {
    const Color index = (m_hover || pressed) ? Color::BackgroundIn : Color::BackgroundOut;
    painter.fillRect(area, m_colors[static_cast<int>(index)]);
}

void CButtonST::DrawBorder(QPainter& painter, const QRect& area, bool pressed) {
    const QColor highlight = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    const QRect r = area.adjusted(0, 0, -1, -1);
    painter.setPen(pressed ? shadow : highlight);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(pressed ? highlight : shadow);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

void CButtonST::DrawClassicEdge(QPainter& painter, const QRect& area) {
    const QPalette& pal = palette();
    QRect r = area.adjusted(0, 0, -1, -1);
    for (const auto& [topLeft, bottomRight] :
         {std::pair{pal.color(QPalette::Light), pal.color(QPalette::Shadow)},
          std::pair{pal.color(QPalette::Midlight), pal.color(QPalette::Dark)}}) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        r.adjust(1, 1, -1, -1);
    }
}

void CButtonST::DrawIcon(QPainter& painter, const QRect& area, bool pressed) {
    const QPixmap& icon =
        (m_hover || pressed) && !m_iconHovered.isNull() ? m_iconHovered : m_iconNormal;
    if (icon.isNull())
        return;
    QRect target(QPoint(), icon.deviceIndependentSize().toSize().boundedTo(area.size()));
    target.moveCenter(area.center());
    if (!text().isEmpty())
        target.moveLeft(area.left() + 4);
    if (pressed)
        target.translate(1, 1);
    painter.drawPixmap(target, icon);
}

QRect CButtonST::TextArea(const QRect& area) const {
    QRect textArea = area;
    if (m_alignLeft)
        textArea.setLeft(area.left() + 2);
    return textArea;
}

int CButtonST::TextFlags() const {
    return Qt::AlignVCenter | (m_alignLeft ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::TextSingleLine;
}

QFont CButtonST::DrawnFont() const {
    return FitFont(font(), text(), TextArea(rect()).size(), TextFlags());
}

void CButtonST::DrawLabel(QPainter& painter, const QRect& area, bool pressed) {
    if (text().isEmpty())
        return;
    QRect textArea = TextArea(area);
    if (pressed)
        textArea.translate(1, 1);
    const int flags = TextFlags();
    painter.setFont(FitFont(font(), text(), textArea.size(), flags));
    if (!isEnabled()) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(textArea.translated(1, 1), flags, text());
        painter.setPen(palette().color(QPalette::Disabled, QPalette::ButtonText));
    } else {
        const Color index = (m_hover || pressed) ? Color::TextIn : Color::TextOut;
        painter.setPen(m_colors[static_cast<int>(index)]);
    }
    painter.drawText(textArea, flags, text());
}

void ResetBackgroundCopies(QWidget* window) {
    for (CButtonST* button : window->findChildren<CButtonST*>())
        button->ResetBackgroundCopy();
}
