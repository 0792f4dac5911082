// The manual's pictures of the figures: the a to e waves with their intervals, the seven
// wellness types, the index bands, the spectrum bands, the nine balance types and the stress
// index scale.

#include "ApgFigures.h"
#include "PaintKit.h"
#include "PictureRegistry.h"

#include "analysis/HrvScores.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor kPaper(246, 249, 251);
const QColor kRule(206, 218, 226);
const QColor kCurve(11, 42, 72);
const QColor kAccent(12, 120, 132);
const QColor kWave(214, 64, 40);

void Paper(QPainter& painter, qreal width, qreal height) {
    painter.fillRect(QRectF(0, 0, width, height), kPaper);
}

void Arrow(QPainter& painter, QPointF from, QPointF to, const QColor& colour) {
    painter.save();
    painter.setPen(QPen(colour, 1.5));
    painter.drawLine(from, to);
    for (QPointF tip : {from, to}) {
        const qreal direction = tip == to ? 1 : -1;
        painter.drawLine(tip, tip + QPointF(-6 * direction, -4));
        painter.drawLine(tip, tip + QPointF(-6 * direction, 4));
    }
    painter.restore();
}

} // namespace

// The second derivative of one beat with its a to e waves, the zero line, the heights that
// the ratios compare and the intervals from a.
void PaintHelpWaves(QPainter& painter, const PictureContext& /*context*/) {
    Paper(painter, 600, 280);
    const QRectF curveArea(40, 20, 520, 160);
    painter.setPen(QPen(kRule, 1));
    painter.drawLine(QPointF(30, curveArea.center().y()), QPointF(570, curveArea.center().y()));
    Kit::Text(painter, QRectF(570 - 30, curveArea.center().y() - 18, 30, 16), QStringLiteral("0"),
              Kit::Font(12), Kit::kSlate);
    const std::array<QPointF, 5> waves =
        ApgFigures::AeCurve(painter, curveArea, ApgFigures::kTypeShapes[1],
                            QPen(kWave, 2.5, Qt::SolidLine, Qt::RoundCap));
    const char* letters = "abcde";
    for (int i = 0; i < 5; ++i) {
        const bool up = waves[i].y() < curveArea.center().y();
        Kit::Text(painter, QRectF(waves[i].x() - 10, waves[i].y() + (up ? -22 : 4), 20, 18),
                  QString(QLatin1Char(letters[i])), Kit::Font(16, QFont::Bold), kCurve);
        // The height of the wave above or below the zero line.
        painter.setPen(QPen(kAccent, 1, Qt::DotLine));
        painter.drawLine(QPointF(waves[i].x(), curveArea.center().y()), waves[i]);
    }
    // The intervals a-b to a-e, each from a.
    for (int i = 1; i < 5; ++i) {
        const qreal y = 190 + 20 * i;
        Arrow(painter, QPointF(waves[0].x(), y), QPointF(waves[i].x(), y), kAccent);
        Kit::Text(painter, QRectF(waves[i].x() + 6, y - 9, 60, 18),
                  QStringLiteral("a-%1").arg(QLatin1Char(letters[i])), Kit::Font(12), kCurve,
                  Qt::AlignLeft | Qt::AlignVCenter);
    }
    painter.setPen(QPen(kRule, 1, Qt::DashLine));
    painter.drawLine(QPointF(waves[0].x(), waves[0].y()), QPointF(waves[0].x(), 280));
}

// The seven wellness types with their typical waves and the names the report gives them.
void PaintHelpTypes(QPainter& painter, const PictureContext& context) {
    Paper(painter, 600, 170);
    const qreal cellWidth = 80;
    for (int i = 0; i < 7; ++i) {
        const QRectF cell(8 + i * (cellWidth + 5), 8, cellWidth, 154);
        const QColor tone =
            i < 2 ? QColor(2, 120, 200) : ApgFigures::kBandColours[i < 4 ? 1 : 0].darker(110);
        Kit::Panel(painter, cell, 8, Qt::white, kRule);
        Kit::Text(painter, QRectF(cell.left(), cell.top() + 4, cell.width(), 24),
                  QString(QChar('A' + i)), Kit::Font(20, QFont::Bold), tone);
        const QRectF curve(cell.left() + 6, cell.top() + 34, cell.width() - 12, 66);
        painter.setPen(QPen(kRule, 1));
        painter.drawLine(QPointF(curve.left(), curve.center().y()),
                         QPointF(curve.right(), curve.center().y()));
        ApgFigures::AeCurve(painter, curve, ApgFigures::kTypeShapes[i],
                            QPen(tone, 2, Qt::SolidLine, Qt::RoundCap));
        const QString name = context.Message(50016 + i);
        const QRectF nameArea(cell.left() + 3, cell.top() + 104, cell.width() - 6, 46);
        QFont font = Kit::Font(12, QFont::DemiBold);
        while (font.pixelSize() > 8 &&
               QFontMetricsF(font).boundingRect(nameArea, Qt::TextWordWrap, name).width() >
                   nameArea.width())
            font.setPixelSize(font.pixelSize() - 1);
        Kit::Text(painter, nameArea, name, font, kCurve, Qt::AlignCenter | Qt::TextWordWrap);
    }
}

// The wellness index scale: three bands with their names and limits.
void PaintHelpIndex(QPainter& painter, const PictureContext& context) {
    Paper(painter, 600, 90);
    const QRectF scale(20, 14, 560, 34);
    for (int band = 0; band < 3; ++band) {
        const double* edges = ApgFigures::kBandEdges;
        const QRectF area(scale.left() + scale.width() * edges[band], scale.top(),
                          scale.width() * (edges[band + 1] - edges[band]), scale.height());
        painter.fillRect(area, ApgFigures::kBandColours[band]);
        Kit::Text(painter, area, ApgFigures::IndexBandName(context, band),
                  Kit::Font(16, QFont::Bold), Qt::white);
    }
    for (int mark : {0, 30, 50, 70, 100}) {
        const qreal x = scale.left() + scale.width() * mark / 100;
        painter.setPen(QPen(Kit::kSlate, 1));
        painter.drawLine(QPointF(x, scale.bottom()), QPointF(x, scale.bottom() + 6));
        Kit::Text(painter, QRectF(x - 20, scale.bottom() + 8, 40, 18), QString::number(mark),
                  Kit::Font(13), Kit::kSlate);
    }
}

// A spectrum of the rate series with the VLF, LF and HF bands shaded.
void PaintHelpBands(QPainter& painter, const PictureContext& context) {
    Paper(painter, 600, 230);
    const QRectF plot(50, 20, 520, 160);
    const double maxHz = 0.45;
    auto x = [&](double hz) { return plot.left() + plot.width() * hz / maxHz; };
    const struct {
        double from;
        double to;
        const char* name;
        QColor colour;
    } bands[] = {{0.0033, 0.04, "VLF", QColor(120, 120, 140, 50)},
                 {0.04, 0.15, "LF", QColor(120, 0, 0, 45)},
                 {0.15, 0.4, "HF", QColor(0, 74, 160, 45)}};
    for (const auto& band : bands) {
        const QRectF area(x(band.from), plot.top(), x(band.to) - x(band.from), plot.height());
        painter.fillRect(area, band.colour);
        Kit::Text(painter, QRectF(area.left(), plot.top() + 4, area.width(), 20),
                  QLatin1String(band.name), Kit::Font(15, QFont::Bold), kCurve);
    }
    // An example spectrum: a peak near 0.1 Hz and a breathing peak near 0.25 Hz.
    QPainterPath spectrum;
    for (int i = 0; i <= 200; ++i) {
        const double hz = maxHz * i / 200;
        auto peak = [hz](double centre, double width) {
            const double d = (hz - centre) / width;
            return std::exp(-d * d);
        };
        const double power =
            0.9 * std::exp(-hz / 0.02) + 0.55 * peak(0.1, 0.025) + 0.45 * peak(0.25, 0.035);
        const QPointF point(x(hz), plot.bottom() - plot.height() * 0.85 * std::min(power, 1.0));
        if (i == 0)
            spectrum.moveTo(point);
        else
            spectrum.lineTo(point);
    }
    painter.setPen(QPen(kCurve, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(spectrum);
    painter.setPen(QPen(Kit::kSlate, 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (const char* mark : {"0.04", "0.15", "0.4"}) {
        const qreal at = x(QString::fromLatin1(mark).toDouble());
        painter.drawLine(QPointF(at, plot.bottom()), QPointF(at, plot.bottom() + 5));
        Kit::Text(painter, QRectF(at - 25, plot.bottom() + 6, 50, 18), QLatin1String(mark),
                  Kit::Font(12), Kit::kSlate);
    }
    Kit::Text(painter, QRectF(plot.right() - 40, plot.bottom() + 6, 60, 18), QStringLiteral("Hz"),
              Kit::Font(12), Kit::kSlate);
    Kit::Text(painter, QRectF(0, plot.bottom() + 26, 600, 20),
              context.Choose("심박수 변화의 주파수", "Frequency of the heart-rate changes",
                             "心拍数の変化の周波数", "心率变化的频率"),
              Kit::Font(13), Kit::kInk);
}

// The nine balance types as the report's map places them: the LF class grows to the right,
// the HF class upwards; the middle (both within the norm) is type 9.
void PaintHelpBalance(QPainter& painter, const PictureContext& context) {
    Paper(painter, 420, 330);
    const QString classes[] = {context.Choose("낮음", "below", "低い", "低"),
                               context.Choose("기준 안", "norm", "基準内", "正常"),
                               context.Choose("높음", "above", "高い", "高")};
    const QRectF grid(110, 20, 270, 240);
    const qreal cellWidth = grid.width() / 3;
    const qreal cellHeight = grid.height() / 3;
    for (int lf = 0; lf < 3; ++lf) {
        for (int hf = 0; hf < 3; ++hf) {
            const QRectF cell(grid.left() + lf * cellWidth, grid.bottom() - (hf + 1) * cellHeight,
                              cellWidth, cellHeight);
            const int type = AnsType(lf, hf);
            Kit::Panel(painter, cell.adjusted(2, 2, -2, -2), 6,
                       type == 9 ? QColor(97, 171, 0, 70) : Qt::white, kRule);
            Kit::Text(painter, cell, QString::number(type), Kit::Font(28, QFont::Bold), kCurve);
        }
    }
    for (int i = 0; i < 3; ++i) {
        Kit::Text(painter, QRectF(grid.left() + i * cellWidth, grid.bottom() + 4, cellWidth, 20),
                  classes[i], Kit::Font(13), Kit::kSlate);
        Kit::Text(painter,
                  QRectF(grid.left() - 74, grid.bottom() - (i + 1) * cellHeight, 70, cellHeight),
                  classes[i], Kit::Font(13), Kit::kSlate, Qt::AlignRight | Qt::AlignVCenter);
    }
    Kit::Text(painter, QRectF(grid.left(), grid.bottom() + 26, grid.width(), 22),
              QStringLiteral("LF →"), Kit::Font(15, QFont::Bold), kCurve);
    painter.save();
    painter.translate(18, grid.center().y());
    painter.rotate(-90);
    Kit::Text(painter, QRectF(-grid.height() / 2, -11, grid.height(), 22), QStringLiteral("HF →"),
              Kit::Font(15, QFont::Bold), kCurve);
    painter.restore();
}

// The stress index scale 0 to 100 with the limits the report's texts name.
void PaintHelpGauge(QPainter& painter, const PictureContext& /*context*/) {
    Paper(painter, 600, 90);
    const QRectF scale(20, 18, 560, 30);
    const struct {
        int from;
        int to;
        QColor colour;
    } bands[] = {{0, 25, QColor(97, 171, 0)},
                 {25, 35, QColor(170, 190, 0)},
                 {35, 45, QColor(237, 193, 0)},
                 {45, 60, QColor(240, 130, 0)},
                 {60, 100, QColor(220, 40, 30)}};
    for (const auto& band : bands) {
        painter.fillRect(QRectF(scale.left() + scale.width() * band.from / 100, scale.top(),
                                scale.width() * (band.to - band.from) / 100, scale.height()),
                         band.colour);
    }
    for (int mark : {0, 25, 35, 45, 60, 100}) {
        const qreal x = scale.left() + scale.width() * mark / 100;
        painter.setPen(QPen(Kit::kSlate, 1));
        painter.drawLine(QPointF(x, scale.bottom()), QPointF(x, scale.bottom() + 6));
        Kit::Text(painter, QRectF(x - 20, scale.bottom() + 8, 40, 18), QString::number(mark),
                  Kit::Font(13), Kit::kSlate);
    }
}
