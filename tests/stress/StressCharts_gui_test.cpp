// The stress window's graphics: the walk over the rate timeline that the heart-rate chart and
// the report share, the two charts on the pixels of panel-sized images, their scrolling, and
// the time bar full at 150 seconds.

#include "analysis/Hrv.h"
#include "apg/ApgPanels.h"
#include "stress/RateTrace.h"
#include "stress/StressCharts.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <functional>

namespace {

const QSize kPanel(850, 95); // a chart panel at a 1600 x 1000 screen

QImage Draw(const std::function<void(QPainter&, QSize)>& draw, QSize size = kPanel) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter, size);
    return image;
}

bool Near(QRgb pixel, const QColor& colour, int tolerance = 30) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

// Rows of column x that are near the colour.
int InColumn(const QImage& image, int x, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        count += Near(image.pixel(x, y), colour) ? 1 : 0;
    return count;
}

// A colour drawn at alpha 180 over the white panel.
QColor Over(const QColor& c) {
    auto mix = [](int v) { return (v * 180 + 255 * 75) / 255; };
    return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
}

const QColor kLf(120, 0, 0);
const QColor kHf(0, 74, 160);

using Segments = std::vector<std::vector<std::pair<int, double>>>;

Segments Walk(const std::vector<double>& timeline, int skip, int pageTicks = 600) {
    Segments segments;
    for (const auto& segment : RateTraceSegments(timeline, skip, pageTicks)) {
        segments.emplace_back();
        for (const TracePoint& p : segment)
            segments.back().emplace_back(p.tick, p.rate);
    }
    return segments;
}

} // namespace

class StressChartsTest : public QObject {
    Q_OBJECT
private slots:
    void TraceBreaksAtJumpsAndLowRates_data();
    void TraceBreaksAtJumpsAndLowRates();
    void HeartRateChartDrawsTheSegmentsOfItsPage();
    void HeartRateChartScrollsAfter600Ticks();
    void LfShareOf60ChangesColourAtTheReferenceLine();
    void LfHfChartScrollsAfter150Values();
    void TimeBarIsEmptyBeforeTheFirstTickHalfAt75AndFullAt150();
};

void StressChartsTest::TraceBreaksAtJumpsAndLowRates_data() {
    QTest::addColumn<std::vector<double>>("timeline");
    QTest::addColumn<int>("skip");
    QTest::addColumn<int>("pageTicks");
    QTest::addColumn<Segments>("segments");
    QTest::newRow("95 jumps, 96 starts anew, 73 jumps")
        << std::vector<double>{70, -1, 72, -1, 95, -1, 96, -1, 73} << 0 << 600
        << Segments{{{0, 70}, {1, 72}}, {{3, 96}}};
    QTest::newRow("a jump of 20 joins, 21 breaks")
        << std::vector<double>{70, -1, 90, -1, 111} << 0 << 600 << Segments{{{0, 70}, {1, 90}}};
    QTest::newRow("page starting on a marker compares its first rate with -1")
        << std::vector<double>{80, -1, -1, 70, 72} << 1 << 600 << Segments{{{1, 72}}};
    QTest::newRow("a rate below 30 breaks, a rejected beat of 0 as well")
        << std::vector<double>{70, 29, 70, 0, 71, 72} << 0 << 600 << Segments{{{0, 70}}, {{0, 72}}};
    QTest::newRow("the walk ends after the page's ticks")
        << std::vector<double>{70, -1, 71, -1, 72} << 0 << 2 << Segments{{{0, 70}, {1, 71}}};
    QTest::newRow("more markers skipped than there are")
        << std::vector<double>{70, -1, 71} << 2 << 600 << Segments{};
}

void StressChartsTest::TraceBreaksAtJumpsAndLowRates() {
    QFETCH(std::vector<double>, timeline);
    QFETCH(int, skip);
    QFETCH(int, pageTicks);
    QFETCH(Segments, segments);
    QCOMPARE(Walk(timeline, skip, pageTicks), segments);
}

void StressChartsTest::HeartRateChartDrawsTheSegmentsOfItsPage() {
    // 70 at tick 0, 72 at tick 100, 95 at tick 200 (not drawn), 96 at tick 300, 73 at 400.
    RateChartCopy chart;
    for (const double rate : {70.0, 72.0, 95.0, 96.0, 73.0}) {
        chart.timeline.push_back(rate);
        chart.timeline.insert(chart.timeline.end(), 100, -1);
    }
    const QImage image = Draw([&](QPainter& p, QSize s) { DrawHeartRateChart(p, s, chart); });
    const QColor curve(255, 64, 255);
    auto x = [](int tick) { return int(850.0 / 600 * tick) + 4; };
    QVERIFY(InColumn(image, x(50), curve) > 0);  // 70 to 72
    QCOMPARE(InColumn(image, x(150), curve), 0); // 72 to 95: broken
    QCOMPARE(InColumn(image, x(250), curve), 0); // 95 to 96: 96 only places the pen
    QCOMPARE(InColumn(image, x(350), curve), 0); // 96 to 73: broken
    // The rate grid (30, 60, 90, 120 bpm) and a time line at 0 and every 30 s.
    const QColor grid(30, 30, 30);
    QVERIFY(InColumn(image, x(120), grid) >= 60);
    QVERIFY(InColumn(image, x(60), grid) < 10);
}

void StressChartsTest::HeartRateChartScrollsAfter600Ticks() {
    CHrv hrv;
    hrv.AttachRateChart(150);
    const QColor grid(30, 30, 30);
    auto x = [](int p) { return int(850.0 / 600 * p) + 4; };
    for (int tick = 1; tick <= 601; ++tick) {
        hrv.AddRate(false, 70);
        hrv.AddRate(false, -1);
        const RateChartCopy chart = hrv.CopyRateChart();
        if (tick < 600)
            continue;
        QCOMPARE(chart.scrollPosition, tick - 600);
        // The time lines follow the page: at p = 0 on the first page, at p = 119 on the next.
        const QImage image = Draw([&](QPainter& p, QSize s) { DrawHeartRateChart(p, s, chart); });
        QCOMPARE(InColumn(image, x(0), grid) >= 60, tick == 600);
        QCOMPARE(InColumn(image, x(119), grid) >= 60, tick == 601);
    }
}

void StressChartsTest::LfShareOf60ChangesColourAtTheReferenceLine() {
    LfHfChartCopy chart;
    chart.history.assign(150, 60.0);
    const QImage image = Draw([&](QPainter& p, QSize s) { DrawLfHfChart(p, s, chart, 2); });
    const int x = int(850.0 / 150 * 75) + 4;
    const int line = 95 - int(95.0 / 100 * 60); // the reference line's row
    QVERIFY(Near(image.pixel(x, line + 2), Over(kLf), 12));
    QVERIFY(Near(image.pixel(x, line - 2), Over(kHf), 12));
    QVERIFY(Near(image.pixel(x, 90), Over(kLf), 12));
    QVERIFY(Near(image.pixel(x, 4), Over(kHf), 12));
}

void StressChartsTest::LfHfChartScrollsAfter150Values() {
    // Shares alternate 10 and 90: position 1 shows value 1 on the first page, value 2 after one
    // step of scrolling.
    LfHfChartCopy chart;
    for (int i = 0; i < 151; ++i)
        chart.history.push_back(i % 2 ? 90 : 10);
    const int x = int(850.0 / 150 * 1) + 4;
    for (int scroll : {0, 1}) {
        chart.scrollPosition = scroll;
        const QImage image = Draw([&](QPainter& p, QSize s) { DrawLfHfChart(p, s, chart, 2); });
        const QColor middle = scroll == 0 ? kLf : kHf; // value 1 is 90, value 2 is 10
        QVERIFY(Near(image.pixel(x, 47), Over(middle), 12));
    }
}

void StressChartsTest::TimeBarIsEmptyBeforeTheFirstTickHalfAt75AndFullAt150() {
    const QSize size(348, 32);
    auto bar = [&](int seconds) {
        return Draw([&](QPainter& p, QSize s) { DrawElapsedTime(p, s, seconds, 150); }, size);
    };
    const QColor blue(1, 80, 172);
    QCOMPARE(bar(0), Draw([](QPainter&, QSize) {}, size)); // no bar, no text
    const QImage half = bar(75);
    QVERIFY(Near(half.pixel(170, 2), blue, 20));
    QVERIFY(Near(half.pixel(176, 2), Qt::white, 5)); // 348 * 75 / 150 = 174
    QVERIFY(Near(bar(150).pixel(346, 2), blue, 20));
}

QTEST_MAIN(StressChartsTest)
#include "StressCharts_gui_test.moc"
