// The four explanatory pictures of the wellness test window (482 x 334 each): the principle
// of the measure, the seven wave types, the wellness index and the wellness type. Page 3
// leaves the bottom centre free for the window's "next" button, page 4 the top centre for
// its "back" button.

#include "ApgFigures.h"
#include "InfoKit.h"
#include "PaintKit.h"
#include "PictureRegistry.h"

#include "apg/ApgLayout.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace {

using namespace InfoKit;
using ApgFigures::AeCurve;
using ApgFigures::kTypeShapes;

const QColor kWaveA(214, 64, 40);
const QColor kGood(2, 120, 200);
const QColor& kBandLow = ApgFigures::kBandColours[0];
const QColor& kBandMiddle = ApgFigures::kBandColours[1];

QString PageTitle(const PictureContext& c, const char* ko, const char* en, const char* ja,
                  const char* zh) {
    return c.Choose(ko, en, ja, zh);
}

} // namespace

// Page 1: the pulse wave, its second derivative with the a to e waves, and what they mean.
void PaintApgInfo1(QPainter& painter, const PictureContext& c) {
    Paper(painter);
    Heading(painter, 10,
            PageTitle(c, "맥파와 가속도 맥파", "Pulse wave and its second derivative",
                      "脈波と加速度脈波", "脉波与加速度脉波"));

    const QRectF pulseArea(24, 48, 200, 72);
    const QPainterPath pulse = Kit::PulseWave(pulseArea, 2);
    painter.setPen(QPen(kCurve, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(pulse);
    Kit::Text(painter, QRectF(24, 128, 200, 18),
              c.Choose("맥파 (PPG)", "Pulse wave (PPG)", "脈波 (PPG)", "脉波 (PPG)"), Kit::Font(12),
              Kit::kSlate);

    const QRectF apgArea(262, 58, 196, 56);
    painter.setPen(QPen(kRule, 1));
    painter.drawLine(QPointF(apgArea.left(), apgArea.center().y()),
                     QPointF(apgArea.right(), apgArea.center().y()));
    const std::array<QPointF, 5> waves =
        AeCurve(painter, apgArea, kTypeShapes[1], QPen(kWaveA, 2, Qt::SolidLine, Qt::RoundCap));
    const char* letters[] = {"a", "b", "c", "d", "e"};
    for (int i = 0; i < 5; ++i) {
        const bool above = i == 0 || i == 4;
        const QRectF box(waves[i].x() - 8, waves[i].y() + (above ? -18 : 2), 16, 16);
        Kit::Text(painter, box, letters[i], Kit::Font(13, QFont::DemiBold), kCurve);
    }
    Kit::Text(painter, QRectF(262, 128, 200, 18),
              c.Choose("가속도 맥파 (APG)", "Second derivative (APG)", "加速度脈波 (APG)",
                       "加速度脉波 (APG)"),
              Kit::Font(12), Kit::kSlate);

    qreal y = 156;
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("손가락 센서가 손끝 혈관의 맥파를 1초에 200번 측정합니다.",
                           "The finger clip records the pulse wave in the fingertip 200 times "
                           "a second.",
                           "指先センサーが指先の血管の脈波を毎秒200回測定します。",
                           "指夹传感器每秒200次测量指尖血管的脉波。"));
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("맥파를 두 번 미분한 가속도 맥파에는 a, b, c, d, e 다섯 개의 파가 "
                           "나타납니다.",
                           "Its second derivative, the accelerated plethysmogram, shows five "
                           "waves: a, b, c, d and e.",
                           "脈波を2回微分した加速度脈波には、a・b・c・d・eの5つの波が現れます。",
                           "脉波的二阶导数即加速度脉波，呈现a、b、c、d、e五个波。"));
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("a파에 대한 각 파의 높이(b/a, c/a, d/a, e/a)는 혈관의 탄력을 "
                           "나타냅니다. 탄력이 좋을수록 b는 깊고 c, d는 높습니다.",
                           "The heights of the waves relative to a (b/a, c/a, d/a, e/a) "
                           "reflect how elastic the arteries are: elastic arteries give a deep b "
                           "and high c and d.",
                           "a波に対する各波の高さ（b/a、c/a、d/a、e/a）は血管の弾力性を表します。"
                           "弾力があるほどbは深く、c・dは高くなります。",
                           "各波相对于a波的高度（b/a、c/a、d/a、e/a）反映血管的弹性：弹性越好，"
                           "b越深，c、d越高。"));
    Paragraph(painter, 20, y, kWidth - 40,
              c.Choose("측정은 약 1분이 걸리며, 신호 세기가 4% 이상인 맥박만 계산에 씁니다.",
                       "A test takes about one minute; only beats with a signal strength of "
                       "4 % or more are counted.",
                       "測定は約1分で、信号強度が4%以上の脈拍だけを計算に使います。",
                       "测量约需1分钟，只统计信号强度在4%以上的脉搏。"));
}

// Page 2: the seven wave types with their curves.
void PaintApgInfo2(QPainter& painter, const PictureContext& c) {
    Paper(painter);
    Heading(painter, 10,
            PageTitle(c, "가속도 맥파의 7가지 유형", "The seven wave types A to G",
                      "加速度脈波の7つのタイプ", "加速度脉波的七种类型"));
    const qreal cellWidth = 108;
    const qreal cellHeight = 92;
    for (int i = 0; i < 7; ++i) {
        const int row = i < 4 ? 0 : 1;
        const int column = i < 4 ? i : i - 4;
        const qreal left = (row == 0 ? 20 : 74) + column * (cellWidth + 4);
        const QRectF cell(left, 46 + row * (cellHeight + 6), cellWidth, cellHeight);
        const QColor tone = i < 2 ? kGood : (i < 4 ? kBandMiddle.darker(115) : kBandLow);
        Kit::Panel(painter, cell, 8, Qt::white, kRule);
        Kit::Text(painter, QRectF(cell.left() + 8, cell.top() + 4, 24, 20), QString(QChar('A' + i)),
                  Kit::Font(16, QFont::Bold), tone, Qt::AlignLeft | Qt::AlignVCenter);
        const QRectF curve = cell.adjusted(8, 24, -8, -10);
        painter.setPen(QPen(kRule, 1));
        painter.drawLine(QPointF(curve.left(), curve.center().y()),
                         QPointF(curve.right(), curve.center().y()));
        AeCurve(painter, curve, kTypeShapes[i], QPen(tone, 2, Qt::SolidLine, Qt::RoundCap));
    }
    qreal y = 250;
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("A형은 탄력 있는 젊은 혈관의 파형입니다. G형으로 갈수록 c파와 d파가 "
                           "낮아지고 혈관이 굳어 있음을 뜻합니다.",
                           "Type A is the wave of young, elastic arteries. Towards type G the c "
                           "and d waves sink: the arteries are stiffer.",
                           "A型は弾力のある若い血管の波形です。G型に近づくほどc波とd波が低くなり、"
                           "血管が硬いことを示します。",
                           "A型是年轻、有弹性血管的波形。越接近G型，c波和d波越低，表示血管越硬。"));
    Paragraph(painter, 20, y, kWidth - 40,
              c.Choose("파란색: 좋음   노란색: 보통   빨간색: 관리 필요",
                       "Blue: good   Yellow: average   Red: needs care",
                       "青: 良好   黄: 普通   赤: 注意が必要",
                       "蓝色：良好   黄色：一般   红色：需注意"));
}

// Page 3: the wellness index and its three bands; the bottom centre stays free.
void PaintApgInfo3(QPainter& painter, const PictureContext& c) {
    Paper(painter);
    Heading(painter, 10, PageTitle(c, "건강지수", "The wellness index", "健康指数", "健康指数"));
    qreal y = 48;
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("건강지수는 측정한 c/a를 같은 나이대·성별의 기준값과 비교한 "
                           "점수입니다.",
                           "The wellness index compares your c/a with the norm of people of "
                           "your age decade and sex.",
                           "健康指数は、測定したc/aを同じ年代・性別の基準値と比べた点数です。",
                           "健康指数是将测得的c/a与同年龄段、同性别的基准值相比较得出的分数。"));
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("50점이 기준값이며, 표준편차 하나마다 20점씩 오르거나 내립니다.",
                           "50 is the norm of the group; each standard deviation moves the index "
                           "by 20 points.",
                           "50点が基準値で、標準偏差1つごとに20点上下します。",
                           "50分为基准值，每偏离一个标准差增减20分。"));

    // The three bands with their names from the table.
    const QRectF scale(40, y + 10, kWidth - 80, 26);
    const QString ranges[] = {"0 - 29", "30 - 69", "70 -"};
    for (int band = 0; band < 3; ++band) {
        const double* edges = ApgFigures::kBandEdges;
        const QRectF area(scale.left() + scale.width() * edges[band], scale.top(),
                          scale.width() * (edges[band + 1] - edges[band]), scale.height());
        painter.fillRect(area, ApgFigures::kBandColours[band]);
        Kit::Text(painter, area, ApgFigures::IndexBandName(c, band), Kit::Font(13, QFont::Bold),
                  Qt::white);
        Kit::Text(painter, QRectF(area.left(), area.bottom() + 2, area.width(), 18), ranges[band],
                  Kit::Font(12), Kit::kSlate);
    }
    y = scale.bottom() + 30;
    Paragraph(painter, 20, y, kWidth - 40,
              c.Choose("막대는 지수만큼 채워지며, 70점 이상이면 같은 나이대보다 혈관 상태가 "
                       "좋은 편입니다.",
                       "The bar grows with the index; from 70 on, the arteries are in better "
                       "shape than usual for the age group.",
                       "バーは指数に応じて伸びます。70点以上なら同年代より血管の状態が良い方です。",
                       "指数条随分数增长；70分以上表示血管状态优于同龄人。"));
}

// Page 4: the wellness type and the vascular age; the top centre stays free.
void PaintApgInfo4(QPainter& painter, const PictureContext& c) {
    Paper(painter);
    Heading(painter, 40,
            PageTitle(c, "건강 유형과 혈관 나이", "Wellness type and vascular age",
                      "健康タイプと血管年齢", "健康类型与血管年龄"));
    // A small type scale as the window shows it.
    const QRectF scale(60, 86, kWidth - 120, 8);
    QLinearGradient gradient(scale.topLeft(), scale.topRight());
    gradient.setColorAt(0, kGood);
    gradient.setColorAt(0.5, kBandMiddle);
    gradient.setColorAt(1, kBandLow);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(scale, 4, 4);
    for (int i = 0; i < kApgTypes; ++i) {
        const qreal x = scale.left() + scale.width() * i / (kApgTypes - 1);
        Kit::Text(painter, QRectF(x - 10, scale.bottom() + 2, 20, 16), QString(QChar('A' + i)),
                  Kit::Font(12, QFont::DemiBold), kCurve);
    }
    qreal y = 120;
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("건강 유형은 모든 맥박의 파형을 A부터 G까지로 나눈 뒤 그 대표값을 "
                           "보여 줍니다. 표시는 좋음(A)과 나쁨(G) 사이에 놓입니다.",
                           "The wellness type sorts every beat's wave into A to G and shows the "
                           "typical one; the marker sits between Good (A) and Bad (G).",
                           "健康タイプは各脈拍の波形をAからGに分け、その代表値を示します。"
                           "マーカーは良い(A)と悪い(G)の間に置かれます。",
                           "健康类型将每次脉搏的波形分为A至G，并显示其代表值；标记位于良好(A)与"
                           "较差(G)之间。"));
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("혈관 나이는 평균 파형의 (b − c − d − e)/a로 추정합니다.",
                           "The vascular age is estimated from (b − c − d − e)/a of your mean "
                           "wave.",
                           "血管年齢は平均波形の (b − c − d − e)/a から推定します。",
                           "血管年龄由平均波形的 (b − c − d − e)/a 推算。"));
    Paragraph(painter, 20, y, kWidth - 40,
              c.Choose("표준 신호 창에는 나이대의 표준 파형(하늘색)과 측정한 파형(노란색)이 "
                       "겹쳐 보입니다.",
                       "The standard signal shows the standard wave of your age group (light "
                       "blue) under your own mean wave (yellow).",
                       "標準信号には、年代の標準波形（水色）と測定した波形（黄色）が重ねて"
                       "表示されます。",
                       "标准信号中同时显示您年龄段的标准波形（浅蓝色）和您的平均波形（黄色）。"));
}
