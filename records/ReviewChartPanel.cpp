#include "records/ReviewChartPanel.h"

#include "apg/VirPoint.h"
#include "controls/ControlFont.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int kHotRadius = 5;    // the hot rectangle reaches 5 pixels each way
constexpr int kTextPixels = 16;  // "Arial", regular
constexpr int kLabelHeight = 20; // value and number boxes
constexpr int kNumberBoxWidth = 40;
constexpr int kPointPen = 5;
const QColor kValueColor = QColor::fromRgba(0xFFA4A4A4);
const QColor kNumberColor = QColor::fromRgba(0xFFFF0000);

QFont LabelFont() {
    QFont font = MakeControlFont(QStringLiteral("Arial"), kTextPixels);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

void CReviewChartPanel::Cut(const QImage& background, const QRect& rect, qreal ratio) {
    m_rect = rect;
    m_image = QImage();
    if (background.isNull() || rect.isEmpty()) {
        m_background = QImage();
        return;
    }
    const QRect pixels =
        QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toRect();
    m_background = background.copy(pixels).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_background.setDevicePixelRatio(ratio);
}

void CReviewChartPanel::SetRecords(std::vector<CLinkList> records) {
    m_records = std::move(records);
    m_offset = std::max(0, Count() - kPageSize);
}

bool CReviewChartPanel::Previous() {
    if (Count() <= kPageSize || m_offset <= 0)
        return false;
    --m_offset;
    return true;
}

bool CReviewChartPanel::Next() {
    if (Count() <= kPageSize || m_offset + kPageSize >= Count())
        return false;
    ++m_offset;
    return true;
}

int CReviewChartPanel::ShownEnd() const {
    return std::min(Count(), m_offset + kPageSize);
}

void CReviewChartPanel::Position(std::vector<CLinkList>* hotSpots) {
    const int w = m_rect.width();
    const int h = m_rect.height();
    const int step = (w - 8) / kPageSize;
    CVirPoint map(w - 7, 7 - h);
    map.SetVirtualSize(w - 8, m_style.range);
    map.SetYOffset(h - 5);
    for (int i = m_offset; i < ShownEnd(); ++i) {
        CLinkList& entry = m_records[static_cast<size_t>(i)];
        const int k = i - m_offset + 1;
        const QPoint at = map.Map(k * step, entry.value);
        entry.x = at.x();
        entry.y = at.y();
        entry.hotLeft = m_rect.left() + entry.x - kHotRadius;
        entry.hotTop = m_rect.top() + entry.y - kHotRadius;
        entry.hotRight = m_rect.left() + entry.x + kHotRadius;
        entry.hotBottom = m_rect.top() + entry.y + kHotRadius;
        hotSpots->push_back(entry);
    }
}

void CReviewChartPanel::Draw() {
    if (m_background.isNull()) {
        m_image = QImage();
        return;
    }
    QImage image = m_background;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setFont(LabelFont());
        const QColor color = QColor::fromRgba(m_style.color);
        QPoint previous;
        for (int i = m_offset; i < ShownEnd(); ++i) {
            const CLinkList& entry = m_records[static_cast<size_t>(i)];
            const QPoint at(entry.x, entry.y);
            painter.setPen(QPen(color, kPointPen));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QRect(at.x() - 2, at.y() - 2, m_style.circle, m_style.circle));
            if (i > m_offset) {
                painter.setPen(QPen(color, 1));
                painter.drawLine(previous, at);
            }
            previous = at;
            painter.setPen(kValueColor);
            painter.drawText(QRect(at.x() - m_style.valueBoxWidth / 2, at.y() - kLabelHeight,
                                   m_style.valueBoxWidth, kLabelHeight),
                             Qt::AlignCenter, QString::asprintf("%.0f", entry.value));
            painter.setPen(kNumberColor);
            painter.drawText(
                QRect(at.x() - kNumberBoxWidth / 2, at.y() + 5, kNumberBoxWidth, kLabelHeight),
                Qt::AlignCenter, QString::asprintf("(%d)", entry.number));
        }
    }
    m_image = std::move(image);
}
