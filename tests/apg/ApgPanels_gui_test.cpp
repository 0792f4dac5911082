// The drawn panels of the wellness window: the coordinate mapping, the sweep graphs and their
// gap, the bars and their colours, the index, the type marker, the curves and the a-e
// diagram, checked on the pixels of panel-sized images.

#include "apg/AeDiagram.h"
#include "apg/ApgPanels.h"
#include "apg/CardinalSpline.h"
#include "apg/VirPoint.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <functional>
#include <vector>

namespace {

const QColor kGround(20, 24, 30);

// A panel image over a plain background, drawn by draw.
QImage Draw(QSize size, const std::function<void(QPainter&, QSize)>& draw) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(kGround);
    QPainter painter(&image);
    draw(painter, size);
    return image;
}

QImage Blank(QSize size) {
    return Draw(size, [](QPainter&, QSize) {});
}

bool Near(QRgb pixel, const QColor& colour, int tolerance = 12) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

// A pure colour drawn on the background at full opacity.
bool IsCyan(QRgb p) {
    return qRed(p) < 60 && qGreen(p) > 200 && qBlue(p) > 200;
}
bool IsYellow(QRgb p) {
    return qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) < 60;
}

// Pixels of the area that satisfy test.
int Count(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

// Rows in [top, bottom] of column x that satisfy test.
int CountInColumn(const QImage& image, int x, int top, int bottom, bool (*test)(QRgb)) {
    return Count(image, QRect(QPoint(x, top), QPoint(x, bottom)), test);
}

std::function<bool(QRgb)> NearTo(const QColor& colour, int tolerance) {
    return [colour, tolerance](QRgb pixel) { return Near(pixel, colour, tolerance); };
}

// A colour blended at alpha over the test background.
QColor Over(const QColor& colour, int alpha) {
    auto mix = [alpha](int top, int ground) {
        return (top * alpha + ground * (255 - alpha)) / 255;
    };
    return QColor(mix(colour.red(), kGround.red()), mix(colour.green(), kGround.green()),
                  mix(colour.blue(), kGround.blue()));
}

const QSize kGraph(850, 95); // the graph panels at a 1600 x 1000 screen
constexpr int kSweep = 850 - 8;

} // namespace

class ApgPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void VirPointTruncatesOffsetsAndIgnoresAZeroSize();
    void CardinalSplinePassesThroughEveryPoint();
    void SweepWithFewerThanTwoValuesDrawsOnlyTheBackground();
    void ExactlyOneSweepDrawsThePreviousSweepFromStepOne();
    void SweepLeavesAGapOfOneStepAtTheWritePosition();
    void PulseSweepFillsThePulseRingRange();
    void SignalStrengthIsRedBelow4AndOrangeFrom4AndCutAtTheEdge();
    void ElapsedTimeBarIsFullAt60Seconds();
    void WellnessIndexIsTruncatedAndHiddenAtZero();
    void IndexBarAndScaleShowTheThreeBands();
    void TypeMarkerSitsOnItsLetterAndNeedsAType();
    void StandardSignalShowsThePersonFromTwoBeats();
    void StandardShapeCoversEveryAge();
    void AeDiagramShowsTheMeansFromTwoBeats();
};

void ApgPanelsTest::VirPointTruncatesOffsetsAndIgnoresAZeroSize() {
    CVirPoint map(101, -88);
    map.SetVirtualSize(100, 2);
    map.SetYOffset(47);
    QCOMPARE(map.Map(0, 0), QPoint(4, 47));
    // 1.01 * 50 = 50.5 -> 50; -44 * 1 -> -44: larger values lie higher.
    QCOMPARE(map.Map(50, 1), QPoint(54, 3));
    QCOMPARE(map.Map(99, -1), QPoint(103, 91)); // 99.99 truncates to 99
    QCOMPARE(map.Map(10, 0.5).y(), 47 - 22);
    // A zero virtual size keeps the mapping as it was.
    map.SetVirtualSize(0, 10);
    QCOMPARE(map.Map(50, 1), QPoint(54, 3));
    map.SetVirtualSize(100, 0);
    QCOMPARE(map.Map(50, 1), QPoint(54, 3));
    map.SetVirtualSize(50, 2);
    QVERIFY(map.Map(50, 1) != QPoint(54, 3));
}

void ApgPanelsTest::CardinalSplinePassesThroughEveryPoint() {
    const std::vector<QPointF> points = {{0, 0}, {10, 20}, {20, -5}, {30, 30}, {40, 0}};
    const QPainterPath path = CardinalSpline(points);
    QCOMPARE(path.elementCount(), 1 + 3 * 4); // a move and one cubic per segment
    for (size_t i = 0; i < points.size(); ++i)
        QCOMPARE(QPointF(path.elementAt(static_cast<int>(3 * i))), points[i]);
    // Catmull-Rom: the first control point of segment 1 is p1 + (p2 - p0) / 6.
    QCOMPARE(QPointF(path.elementAt(4)), QPointF(10 + 20.0 / 6, 20 - 5.0 / 6));
    // Evenly spaced points on a line give the line itself.
    const std::vector<QPointF> line = {{0, 0}, {10, 10}, {20, 20}, {30, 30}};
    const QPainterPath straight = CardinalSpline(line);
    QCOMPARE(straight.pointAtPercent(0.5), QPointF(15, 15));
    QVERIFY(CardinalSpline({}).isEmpty());
}

void ApgPanelsTest::SweepWithFewerThanTwoValuesDrawsOnlyTheBackground() {
    const std::vector<double> one = {5.0};
    const SweepValues values{one, 1};
    const QImage blank = Blank(kGraph);
    QCOMPARE(Draw(kGraph, [&](QPainter& p, QSize s) { DrawPulseSweep(p, s, values, 0, 10); }),
             blank);
    QCOMPARE(Draw(kGraph,
                  [&](QPainter& p, QSize s) { DrawDerivativeSweep(p, s, values, 5, kDiff1Color); }),
             blank);
    const SweepValues none{{}, 0};
    QCOMPARE(Draw(kGraph, [&](QPainter& p, QSize s) { DrawPulseSweep(p, s, none, 0, 10); }), blank);
    // Two values are a line.
    const std::vector<double> two = {5.0, -5.0};
    QVERIFY(Draw(kGraph, [&](QPainter& p, QSize s) {
                DrawDerivativeSweep(p, s, SweepValues{two, 2}, 5, kDiff1Color);
            }) != blank);
}

void ApgPanelsTest::ExactlyOneSweepDrawsThePreviousSweepFromStepOne() {
    // W values, all at the top; the newest one at the bottom.
    std::vector<double> tail(kSweep, 10.0);
    tail.back() = -10.0;
    const QImage image = Draw(kGraph, [&](QPainter& p, QSize s) {
        DrawDerivativeSweep(p, s, SweepValues{tail, kSweep}, 10, kDiff1Color);
    });
    // Step 0 (x 4) is empty: the current sweep holds nothing.
    QCOMPARE(CountInColumn(image, 4, 0, 94, IsCyan), 0);
    // The previous sweep starts at step 1 and runs to the right edge, at the top.
    for (int x : {5, 6, 100, 500, 840})
        QVERIFY2(CountInColumn(image, x, 0, 8, IsCyan) > 0, qPrintable(QString::number(x)));
    // Value W - 2 is its last point: the newest value (bottom) is not drawn.
    for (int x = 4; x < 850; ++x)
        QCOMPARE(CountInColumn(image, x, 60, 94, IsCyan), 0);
    // The zero line runs across the middle.
    QVERIFY(Near(image.pixel(400, 47), Over(QColor(128, 128, 128), 200)));
}

void ApgPanelsTest::SweepLeavesAGapOfOneStepAtTheWritePosition() {
    // n = W + 10: values below W at the top, the newest ten (the current sweep) at the bottom.
    const int n = kSweep + 10;
    std::vector<double> tail;
    for (int j = n - kSweep; j < n; ++j)
        tail.push_back(j < kSweep ? 10.0 : -10.0);
    const QImage image = Draw(kGraph, [&](QPainter& p, QSize s) {
        DrawDerivativeSweep(p, s, SweepValues{tail, n}, 10, kDiff1Color);
    });
    // Current sweep: steps 0..9 (x 4..13) at the bottom.
    for (int x = 5; x <= 12; ++x) {
        QVERIFY2(CountInColumn(image, x, 85, 94, IsCyan) > 0, qPrintable(QString::number(x)));
        QCOMPARE(CountInColumn(image, x, 0, 40, IsCyan), 0);
    }
    // The gap: step 10 (x 14) holds nothing, not even a joining line.
    QCOMPARE(CountInColumn(image, 14, 0, 94, IsCyan), 0);
    // Previous sweep from step 11 (x 15) on, at the top.
    for (int x : {16, 200, 700, 840}) {
        QVERIFY2(CountInColumn(image, x, 0, 8, IsCyan) > 0, qPrintable(QString::number(x)));
        QCOMPARE(CountInColumn(image, x, 50, 94, IsCyan), 0);
    }
}

void ApgPanelsTest::PulseSweepFillsThePulseRingRange() {
    std::vector<double> tail;
    for (int j = 0; j < 400; ++j)
        tail.push_back(j % 100 < 50 ? 1100.0 : 900.0);
    const QImage image = Draw(kGraph, [&](QPainter& p, QSize s) {
        DrawPulseSweep(p, s, SweepValues{tail, 400}, 900, 1100);
    });
    // 220 units over 88 pixels from y 90 upwards: 1100 at y 6, 900 at y 86.
    QVERIFY(CountInColumn(image, 30, 4, 8, IsYellow) > 0);
    QVERIFY(CountInColumn(image, 80, 84, 88, IsYellow) > 0);
    for (int x = 4; x < 404; ++x) {
        QCOMPARE(CountInColumn(image, x, 0, 3, IsYellow), 0);
        QCOMPARE(CountInColumn(image, x, 90, 94, IsYellow), 0);
    }
}

void ApgPanelsTest::SignalStrengthIsRedBelow4AndOrangeFrom4AndCutAtTheEdge() {
    const QSize size(348, 32);
    const QColor red = Over(QColor(255, 0, 0), 240);
    const QColor orange = Over(QColor(255, 114, 0), 240);
    auto strength = [size](double percent) {
        return Draw(size, [percent](QPainter& p, QSize s) { DrawSignalStrength(p, s, percent); });
    };
    const QImage low = strength(3.9);
    const QImage enough = strength(4.0);
    // 348 * 3.9 / 60 = 22.6 pixels; 4 % reaches 23.2.
    QVERIFY(Near(low.pixel(2, 1), red));
    QVERIFY(Near(low.pixel(21, 1), red));
    QVERIFY(Near(low.pixel(24, 1), kGround));
    QVERIFY(Near(enough.pixel(2, 1), orange));
    QVERIFY(Near(enough.pixel(22, 1), orange));
    // The percentage is written in white.
    QVERIFY(Count(enough, QRect(0, 0, 40, 32), NearTo(Qt::white, 30)) > 0);
    QCOMPARE(strength(0), Blank(size));
    // 75 % would reach past the panel: the bar ends at its edge.
    const QImage high = strength(75);
    QCOMPARE(high.size(), size);
    QVERIFY(Near(high.pixel(347, 1), orange));
    QVERIFY(Near(high.pixel(347, 30), orange));
    QVERIFY(Near(strength(30).pixel(172, 1), orange));
    QVERIFY(Near(strength(30).pixel(176, 1), kGround));
}

void ApgPanelsTest::ElapsedTimeBarIsFullAt60Seconds() {
    const QSize size(348, 32);
    const QColor blue = Over(QColor(1, 80, 172), 240);
    const QImage half = Draw(size, [](QPainter& p, QSize s) { DrawElapsedTime(p, s, 30, 60); });
    QVERIFY(Near(half.pixel(173, 1), blue));
    QVERIFY(Near(half.pixel(174, 1), kGround)); // 348 * 30 / 60 = 174 pixels wide
    const QImage full = Draw(size, [](QPainter& p, QSize s) { DrawElapsedTime(p, s, 61, 60); });
    QVERIFY(Near(full.pixel(347, 1), blue));
    QCOMPARE(Draw(size, [](QPainter& p, QSize s) { DrawElapsedTime(p, s, 0, 60); }), Blank(size));
    // "01:05" differs from "00:65" would: the minutes are counted.
    QVERIFY(Draw(size, [](QPainter& p, QSize s) { DrawElapsedTime(p, s, 65, 60); }) !=
            Draw(size, [](QPainter& p, QSize s) { DrawElapsedTime(p, s, 5, 60); }));
}

void ApgPanelsTest::WellnessIndexIsTruncatedAndHiddenAtZero() {
    const QSize size(190, 62);
    auto index = [size](double value) {
        return Draw(size, [value](QPainter& p, QSize s) { DrawWellnessIndex(p, s, value); });
    };
    QCOMPARE(index(29.9), index(29.0));
    QVERIFY(index(29.9) != index(30.0));
    QVERIFY(index(29.9) != Blank(size));
    for (double value : {0.0, 0.9, -3.0})
        QCOMPARE(index(value), Blank(size));
}

void ApgPanelsTest::IndexBarAndScaleShowTheThreeBands() {
    const QSize size(261, 19);
    const QColor red = Over(QColor(255, 0, 0), 210);
    const QColor yellow = Over(QColor(237, 193, 0), 210);
    const QColor green = Over(QColor(97, 171, 0), 210);
    auto bar = [size](double value) {
        return Draw(size, [value](QPainter& p, QSize s) { DrawIndexBar(p, s, value); });
    };
    const QImage low = bar(29.9);
    QVERIFY(Near(low.pixel(1, 9), red));
    QVERIFY(Near(low.pixel(74, 9), red)); // 29 * 261 / 100 = 75
    QVERIFY(Near(low.pixel(76, 9), kGround));
    QVERIFY(Near(bar(30).pixel(1, 9), yellow));
    QVERIFY(Near(bar(69.9).pixel(1, 9), yellow));
    QVERIFY(Near(bar(70).pixel(1, 9), green));
    QVERIFY(Near(bar(120).pixel(260, 9), green));
    for (double value : {0.0, 0.5, -10.0})
        QCOMPARE(bar(value), Blank(size));

    const QImage scale = Draw(size, [](QPainter& p, QSize s) {
        DrawIndexScale(
            p, s, {QStringLiteral("Below"), QStringLiteral("Average"), QStringLiteral("Above")});
    });
    // Edges at 261 * 30 / 100 = 78 and 261 * 70 / 100 = 182; corners are clear of the texts.
    QVERIFY(Near(scale.pixel(1, 0), red));
    QVERIFY(Near(scale.pixel(77, 0), red));
    QVERIFY(Near(scale.pixel(78, 0), yellow));
    QVERIFY(Near(scale.pixel(181, 0), yellow));
    QVERIFY(Near(scale.pixel(182, 0), green));
    QVERIFY(Near(scale.pixel(260, 18), green));
}

void ApgPanelsTest::TypeMarkerSitsOnItsLetterAndNeedsAType() {
    const QSize size(240, 14);
    QCOMPARE(Draw(size, [](QPainter& p, QSize s) { DrawTypeMarker(p, s, -1, 1.0, 218); }),
             Blank(size));
    // Type D (3) at design x 334, the panel at 218: x 116.
    const QImage d = Draw(size, [](QPainter& p, QSize s) { DrawTypeMarker(p, s, 3, 1.0, 218); });
    QVERIFY(qBlue(d.pixel(116, 7)) > 200 && qRed(d.pixel(116, 7)) < 60);
    QVERIFY(qRed(d.pixel(113, 7)) > 150 && qBlue(d.pixel(113, 7)) > 150); // the grey rim
    QVERIFY(Near(d.pixel(106, 7), kGround));
    QVERIFY(Near(d.pixel(126, 7), kGround));
    // At 1024 pixels wide (scale 0.64) type G sits at trunc(0.64 * 433) - trunc(0.64 * 218).
    const QImage g = Draw(QSize(153, 10), [](QPainter& p, QSize s) {
        DrawTypeMarker(p, s, 6, 0.64, static_cast<int>(0.64 * 218));
    });
    QVERIFY(qBlue(g.pixel(277 - 139, 5)) > 200);
}

void ApgPanelsTest::StandardSignalShowsThePersonFromTwoBeats() {
    const QSize size(100, 62);
    ApgSummary summary;
    summary.ba = -0.6;
    summary.ca = -0.1;
    summary.da = -0.3;
    summary.ea = 0.2;
    summary.qualified = 1;
    const QImage one =
        Draw(size, [&](QPainter& p, QSize s) { DrawStandardSignal(p, s, 45, summary); });
    QVERIFY(one != Blank(size)); // the standard curve
    QCOMPARE(Count(one, one.rect(), IsYellow), 0);
    summary.qualified = 2;
    const QImage two =
        Draw(size, [&](QPainter& p, QSize s) { DrawStandardSignal(p, s, 45, summary); });
    QVERIFY(Count(two, two.rect(), IsYellow) > 20);
    // The person's a wave (value 1) reaches the top: point 3 at x trunc(93 / 92 * 27) + 4 = 31,
    // y trunc(-55 / 2) + 31 = 4.
    QVERIFY(CountInColumn(two, 31, 3, 6, IsYellow) > 0);
}

void ApgPanelsTest::StandardShapeCoversEveryAge() {
    QCOMPARE(StandardShape(45), (std::array<double, 5>{1.0, -0.68, -0.08, -0.29, 0.22}));
    QCOMPARE(StandardShape(5), (std::array<double, 5>{1.0, -0.9, 0.15, -0.1, 0.21}));
    QCOMPARE(StandardShape(89), (std::array<double, 5>{1.0, -0.4, -0.24, -0.46, 0.12}));
    // Outside the table: the nearest group.
    QCOMPARE(StandardShape(95), StandardShape(85));
    QCOMPARE(StandardShape(-12), StandardShape(0));
}

void ApgPanelsTest::AeDiagramShowsTheMeansFromTwoBeats() {
    const QSize size(222, 210);
    ApgSummary summary;
    summary.ba = -0.7;
    summary.ca = -0.2;
    summary.da = -0.35;
    summary.ea = 0.15;
    summary.abMs = 95;
    summary.acMs = 140;
    summary.adMs = 180;
    summary.aeMs = 240;
    auto draw = [&](int qualified) {
        summary.qualified = qualified;
        return Draw(size, [&](QPainter& p, QSize s) {
            DrawAeDiagram(p, QRectF(QPointF(0, 0), s), summary, AeDiagramPens{},
                          QStringLiteral("Arial"));
        });
    };
    const auto curve = NearTo(QColor(255, 210, 0), 40);
    const auto text = NearTo(QColor(136, 136, 136), 20);
    const QImage one = draw(1);
    // Only the zero line: y = (210 - 8) / 2 + 4 = 105.
    QVERIFY(Near(one.pixel(100, 105), Over(QColor(128, 128, 128), 200)));
    QCOMPARE(Count(one, one.rect(), curve), 0);
    const QImage two = draw(2);
    QVERIFY(Count(two, two.rect(), curve) > 100);
    QVERIFY(Count(two, two.rect(), text) > 50);
    // The text rows keep clear of the a wave at the top left (point 3 at x 68).
    QCOMPARE(Count(two, QRect(0, 0, 50, 20), text), 0);
}

QTEST_MAIN(ApgPanelsTest)
#include "ApgPanels_gui_test.moc"
