// The screen maps of the help pages: the main menu, the wellness test window and the wellness
// report drawn small from their own pictures and layout tables, with numbered markers that
// the pages explain. The wellness window is shown during a test, with example traces and
// figures in its panels.

#include "ApgFigures.h"
#include "PaintKit.h"
#include "PictureRegistry.h"

#include "apg/ApgLayout.h"
#include "apg/ApgReportLayout.h"
#include "app/MainMenuLayout.h"
#include "lang/LanguageTable.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

struct Marker {
    int number;
    QPointF at; // in the screen's design units
};

// The picture of a screen (painted at its design size), scaled into the target picture, with
// the markers over it.
void DrawScreenMap(QPainter& painter, const QImage& screen, QSizeF target,
                   std::initializer_list<Marker> markers) {
    painter.drawImage(QRectF(QPointF(0, 0), target), screen);
    const double scale = target.width() / screen.width();
    for (const Marker& marker : markers)
        Kit::Badge(painter, marker.at * scale, marker.number);
}

QImage PaintScreen(int width, int height, PaintFunction paint, const PictureContext& context) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paint(painter, context);
    return image;
}

QRectF Rect(const ControlLayoutRow& row) {
    return Kit::RowRect(row);
}

QRectF Rect(const DesignRect& r) {
    return QRectF(r.x, r.y, r.width, r.height);
}

QPointF LeftOf(const QRectF& area) {
    return QPointF(area.left() - 22, area.center().y());
}

QPointF RightOf(const QRectF& area) {
    return QPointF(area.right() + 22, area.center().y());
}

QPointF InsideCorner(const QRectF& area) {
    return QPointF(area.left() + 36, area.top() + 34);
}

// An example user line: name / sex / age in the language of the picture.
QString ExampleUserLine(const PictureContext& context) {
    return QStringLiteral("Kim / %1 / 45 %2").arg(context.Message(30007), context.Message(30005));
}

// --- The wellness test window during a test ---------------------------------------------

// An example pulse: beats of 0.83 s (72 per minute) at 200 samples per second.
std::vector<double> ExamplePulse(int samples) {
    std::vector<double> pulse(samples);
    for (int i = 0; i < samples; ++i) {
        const double phase = std::fmod(i / 166.0, 1.0);
        auto bump = [phase](double centre, double width) {
            const double d = (phase - centre) / width;
            return std::exp(-d * d);
        };
        pulse[i] = bump(0.18, 0.075) + 0.42 * bump(0.42, 0.10) + 0.08 * bump(0.62, 0.12);
    }
    return pulse;
}

// The mean of the last 10 differences, as the window's derivative series are formed.
std::vector<double> Derivative(const std::vector<double>& series) {
    std::vector<double> result(series.size(), 0.0);
    for (size_t i = 10; i < series.size(); ++i)
        result[i] = (series[i] - series[i - 10]) / 10;
    return result;
}

// A trace of the series over the panel, scaled to fill it (0 in the middle unless centred
// is false).
void DrawTrace(QPainter& painter, const QRectF& panel, const std::vector<double>& series,
               const QColor& colour, bool centred) {
    double low = 0;
    double high = 0;
    for (double value : series) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    if (centred) {
        high = std::max(high, -low);
        low = -high;
    }
    const QRectF area = panel.adjusted(4, 6, -4, -6);
    QPainterPath path;
    for (size_t i = 0; i < series.size(); ++i) {
        const QPointF point(area.left() + area.width() * i / (series.size() - 1),
                            area.bottom() - area.height() * (series[i] - low) / (high - low));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void DrawBar(QPainter& painter, const QRectF& panel, double fraction, const QColor& colour,
             const QString& text) {
    const QRectF bar(panel.left(), panel.top(), panel.width() * fraction, panel.height());
    painter.fillRect(bar, colour);
    Kit::Text(painter, QRectF(bar.left(), bar.top(), std::max(bar.width(), 60.0), bar.height()),
              text, Kit::Font(static_cast<int>(panel.height() * 3 / 5), QFont::Bold), Qt::white);
}

// The window's labels, each with its text in the picture's language.
void DrawLabels(QPainter& painter, const PictureContext& context) {
    for (const ControlLayoutRow& row : ApgLayout) {
        if (row.id <= 0)
            break;
        const QString text = context.SectionText("Tondrela", row.id);
        const bool hidden = row.id == ApgId::kHidden1 || row.id == ApgId::kHidden2 ||
                            row.id == ApgId::kHidden3 || row.id == ApgId::kHidden4;
        if (row.x < 0 || text.isEmpty() || hidden)
            continue;
        const bool grey = (row.id >= ApgId::kPulseTip && row.id <= ApgId::kDiff2Tip) ||
                          (row.id >= ApgId::kTimeTip && row.id <= ApgId::kToResult);
        Kit::Text(painter, Rect(row), text, Kit::FitFont(Kit::Font(15), text, row.width),
                  grey ? QColor(164, 164, 164) : Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void DrawExampleTest(QPainter& painter, const PictureContext& context) {
    using ApgFigures::AeCurve;
    DrawLabels(painter, context);
    Kit::Text(painter, Rect(*ApgRow(ApgId::kStatus)), context.Message(30002), Kit::Font(15),
              Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
    Kit::Text(painter, Rect(*ApgRow(ApgId::kUserLine)), ExampleUserLine(context), Kit::Font(16),
              Qt::white, Qt::AlignLeft | Qt::AlignVCenter);

    // The first explanatory page under its button.
    const DesignRect& info = ApgInfoPictureRects[0];
    painter.drawImage(Rect(info), PaintScreen(kApgInfoPictureWidth, kApgInfoPictureHeight,
                                              PaintApgInfo1, context));

    // The four round buttons: Main, Start, Stop, Result.
    for (int id : {ApgId::kQuit, ApgId::kStart, ApgId::kStop, ApgId::kResult}) {
        const QRectF button = Rect(*ApgRow(id)).adjusted(4, 4, -4, -4);
        painter.setPen(QPen(QColor(150, 225, 228), 2));
        painter.setBrush(QColor(255, 255, 255, 30));
        painter.drawEllipse(button);
    }

    const std::vector<double> pulse = ExamplePulse(842);
    const std::vector<double> diff1 = Derivative(pulse);
    const std::vector<double> diff2 = Derivative(diff1);
    DrawTrace(painter, Rect(ApgPanelRect(ApgPanel::PulseWave)), pulse, QColor(255, 255, 0), false);
    DrawTrace(painter, Rect(ApgPanelRect(ApgPanel::Diff1)), diff1, QColor(0, 255, 255), true);
    DrawTrace(painter, Rect(ApgPanelRect(ApgPanel::Diff2)), diff2, QColor(255, 0, 255), true);

    const QColor amber(255, 210, 0);
    const QRectF rate = Rect(ApgPanelRect(ApgPanel::PulseRate));
    Kit::Text(painter, QRectF(rate.left(), rate.top() + 10, rate.width() - 8, rate.height() - 8),
              QStringLiteral("72"), Kit::Font(static_cast<int>(rate.height() - 8)), amber);
    DrawBar(painter, Rect(ApgPanelRect(ApgPanel::Time)), 30.0 / 60, QColor(1, 80, 172),
            QStringLiteral("00:30"));
    DrawBar(painter, Rect(ApgPanelRect(ApgPanel::SignalStrength)), 18.0 / 60, QColor(255, 114, 0),
            QStringLiteral("18%"));
    const QRectF index = Rect(ApgPanelRect(ApgPanel::WellnessIndex));
    Kit::Text(painter, index, QStringLiteral("57"), Kit::Font(static_cast<int>(index.height())),
              amber);

    const QRectF scale = Rect(ApgPanelRect(ApgPanel::IndexScale));
    for (int band = 0; band < 3; ++band) {
        const double* edges = ApgFigures::kBandEdges;
        const QRectF area(scale.left() + scale.width() * edges[band], scale.top(),
                          scale.width() * (edges[band + 1] - edges[band]), scale.height());
        painter.fillRect(area, ApgFigures::kBandColours[band]);
        Kit::Text(painter, area, ApgFigures::IndexBandName(context, band),
                  Kit::Font(static_cast<int>(scale.height() - 6), QFont::Bold), Qt::white);
    }
    const QRectF bar = Rect(ApgPanelRect(ApgPanel::IndexBar));
    painter.fillRect(QRectF(bar.left(), bar.top(), bar.width() * 0.57, bar.height()),
                     ApgFigures::kBandColours[1]);

    const QRectF type = Rect(ApgPanelRect(ApgPanel::WellnessType));
    const qreal typeX = 235 + 33 * 1; // type B
    painter.setPen(QPen(QColor(0, 128, 255), 4));
    painter.drawLine(QPointF(typeX, type.top() + 2), QPointF(typeX, type.bottom() - 2));

    const auto& shape = ApgFigures::kTypeShapes[1];
    const QRectF standard = Rect(ApgPanelRect(ApgPanel::StandardSignal)).adjusted(4, 4, -4, -4);
    AeCurve(painter, standard, ApgFigures::kTypeShapes[2], QPen(QColor(0, 255, 255, 90), 5));
    AeCurve(painter, standard, shape, QPen(QColor(255, 255, 0), 2));

    const QRectF ae = Rect(ApgPanelRect(ApgPanel::AeDiagram)).adjusted(4, 4, -4, -4);
    const qreal line = ae.height() / 10;
    const QRectF curve(ae.left(), ae.top() + 4 * line, ae.width(), 2.5 * line);
    const std::array<QPointF, 5> waves = AeCurve(painter, curve, shape, QPen(amber, 2));
    const char* letters = "abcde";
    for (int i = 0; i < 5; ++i)
        Kit::Text(painter, QRectF(waves[i].x() - 8, waves[i].y() - 16, 16, 14),
                  QString(QLatin1Char(letters[i])), Kit::Font(12, QFont::Bold), amber);
    const char* texts[] = {"a-b : 85 ms",  "a-c : 150 ms", "a-d : 205 ms", "a-e : 270 ms",
                           "b/a : -0.80 ", "c/a : -0.10 ", "d/a : -0.30 ", "e/a : +0.20 "};
    const qreal rows[] = {0, 1, 2, 3, 6.5, 7.5, 8.5, 9.5};
    for (int i = 0; i < 8; ++i)
        Kit::Text(painter,
                  QRectF(ae.left(), ae.top() + rows[i] * line - line / 2, ae.width(), line),
                  QString::fromLatin1(texts[i]), Kit::Font(static_cast<int>(0.75 * line)),
                  QColor(136, 136, 136), Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace

// The main menu with its controls numbered as "Usage_01.html" explains them.
void PaintHelpMainMenuMap(QPainter& painter, const PictureContext& context) {
    using namespace MainMenuId;
    QImage screen = PaintScreen(1600, 1000, PaintMainPicture, context);
    {
        QPainter over(&screen);
        over.setRenderHint(QPainter::TextAntialiasing);
        Kit::Text(over, Rect(*MainMenuRow(kStatus)), context.Message(30002), Kit::Font(16),
                  Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
        Kit::Text(over, Rect(*MainMenuRow(kUserLine)), ExampleUserLine(context), Kit::Font(16),
                  Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
        for (int language = 1; language <= 4; ++language)
            Kit::Text(over, Rect(*MainMenuRow(kKorean + language - 1)),
                      QString::fromStdString(OwnLanguageName(language)), Kit::Font(14), Qt::white,
                      Qt::AlignCenter);
    }
    auto above = [](int id) {
        const QRectF area = Rect(*MainMenuRow(id));
        return QPointF(area.center().x(), area.top() - 20);
    };
    const QRectF status = Rect(*MainMenuRow(kStatus));
    DrawScreenMap(painter, screen, QSizeF(800, 500),
                  {{1, QPointF(status.right() + 30, status.center().y() + 6)},
                   {2, above(kUsage)},
                   {3, above(kUser)},
                   {4, above(kManual)},
                   {5, above(kAbout)},
                   {6, InsideCorner(Rect(*MainMenuRow(kApg)))},
                   {7, InsideCorner(Rect(*MainMenuRow(kStress)))},
                   {8, InsideCorner(Rect(*MainMenuRow(kReview)))},
                   {9, LeftOf(Rect(*MainMenuRow(kUserLine))) - QPointF(30, 0)},
                   {10, LeftOf(Rect(*MainMenuRow(kQuit)))},
                   {10, LeftOf(Rect(*MainMenuRow(kClose)))},
                   {11, LeftOf(Rect(*MainMenuRow(kKorean)))}});
}

// The wellness test window during a test, its panels numbered as "ApgHelp_01.html" explains
// them.
void PaintHelpApgScreenMap(QPainter& painter, const PictureContext& context) {
    QImage screen = PaintScreen(1600, 1000, PaintApgPicture, context);
    {
        QPainter over(&screen);
        over.setRenderHint(QPainter::Antialiasing);
        over.setRenderHint(QPainter::TextAntialiasing);
        DrawExampleTest(over, context);
    }
    auto panel = [](ApgPanel which) { return Rect(ApgPanelRect(which)); };
    DrawScreenMap(painter, screen, QSizeF(800, 500),
                  {{1, LeftOf(Rect(*ApgRow(ApgId::kUserLine)))},
                   {2, LeftOf(Rect(*ApgRow(ApgId::kInfo1)))},
                   {3, LeftOf(panel(ApgPanel::PulseWave))},
                   {4, LeftOf(panel(ApgPanel::Diff1))},
                   {5, LeftOf(panel(ApgPanel::Diff2))},
                   {6, LeftOf(panel(ApgPanel::PulseRate))},
                   {7, RightOf(panel(ApgPanel::Time))},
                   {8, RightOf(panel(ApgPanel::SignalStrength))},
                   {9, LeftOf(panel(ApgPanel::StandardSignal))},
                   {10, panel(ApgPanel::WellnessIndex).topRight() + QPointF(16, 0)},
                   {11, RightOf(Rect(*ApgRow(ApgId::kBad)))},
                   {12, QPointF(panel(ApgPanel::AeDiagram).center().x(),
                                panel(ApgPanel::AeDiagram).top() - 20)},
                   {13, LeftOf(Rect(*ApgRow(ApgId::kQuit)))}});
}

// The wellness report's page with its parts numbered as "Usage_06.html" explains them.
void PaintHelpReportMap(QPainter& painter, const PictureContext& context) {
    using namespace ApgReport;
    QImage page = PaintScreen(kPageWidth, kPageHeight, PaintApgReportPicture, context);
    {
        QPainter over(&page);
        over.drawImage(QRectF(205, 2489, 2070, 492),
                       PaintScreen(2070, 492, PaintBannerPicture, context));
    }
    constexpr qreal kMargin = 150; // left of the captions
    DrawScreenMap(painter, page, QSizeF(560, 560.0 * kPageHeight / kPageWidth),
                  {{1, QPointF(kDateTime.x - 60, kDateTime.y + 20)},
                   {2, QPointF(kUserLine.x - 60, kUserLine.y + 22)},
                   {3, QPointF(1960, kSignalLevel.y - 50)},
                   {4, QPointF(kMargin, kIndexNumber.y + 40)},
                   {5, QPointF(kMargin, kTypeLetter.y + 40)},
                   {6, QPointF(kMargin, kPulseNumber.y + 40)},
                   {7, QPointF(kMargin, kHistoryTop - 55)},
                   {8, QPointF(1832 - 70, 2576 + 60)},
                   {9, QPointF(205 + 60, 2489 - 60)},
                   {10, QPointF(2138 - 70, 64 + 45)}});
}
