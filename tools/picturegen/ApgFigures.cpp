#include "ApgFigures.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace ApgFigures {

std::array<QPointF, 5> AeCurve(QPainter& painter, const QRectF& area,
                               const std::array<double, 5>& waves, const QPen& pen) {
    const double values[] = {0, 0, waves[0], waves[1], waves[2], waves[3], waves[4], 0, 0};
    const int count = 9;
    auto point = [&](int i) {
        return QPointF(area.left() + area.width() * i / (count - 1),
                       area.center().y() - values[i] * area.height() / 2);
    };
    QPainterPath path(point(0));
    for (int i = 0; i + 1 < count; ++i) {
        const QPointF p0 = point(std::max(i - 1, 0));
        const QPointF p1 = point(i);
        const QPointF p2 = point(i + 1);
        const QPointF p3 = point(std::min(i + 2, count - 1));
        path.cubicTo(p1 + (p2 - p0) / 6, p2 - (p3 - p1) / 6, p2);
    }
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
    return {point(2), point(3), point(4), point(5), point(6)};
}

QString IndexBandName(const PictureContext& context, int band) {
    const QString name = context.Message(60104 + band);
    if (!name.isEmpty())
        return name;
    const QString fallback[] = {context.Choose("평균 이하", "Below", "平均以下", "低于平均"),
                                context.Choose("평균", "Average", "平均", "平均"),
                                context.Choose("평균 이상", "Above", "平均以上", "高于平均")};
    return fallback[band];
}

} // namespace ApgFigures
