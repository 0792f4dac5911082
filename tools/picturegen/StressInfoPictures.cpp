// The six pictures of the stress window's information panel (482 x 334 each): three health
// topics (standard weight and obesity, body mass index, waist-hip ratio) and their three
// calculators. The calculators draw the labels and the frames in which the window puts its
// inputs, outputs and the body-mass-index marker (stress/StressLayout.h); every picture keeps
// the bottom right corner free for the window's button to the calculator and back.

#include "InfoKit.h"
#include "PaintKit.h"
#include "PictureRegistry.h"

#include "stress/StressLayout.h"

#include <QPainter>

namespace {

using namespace InfoKit;

const QColor kFrame(127, 166, 184);
const QColor kLabel(30, 44, 60);
// Underweight to severely obese.
const QColor kSlots[] = {QColor(90, 160, 210), QColor(97, 160, 0), QColor(222, 178, 0),
                         QColor(236, 120, 40), QColor(214, 64, 40)};

QRectF RectOf(const DesignRect& r) {
    return QRectF(r.x, r.y, r.width, r.height);
}

struct Texts {
    const char* ko;
    const char* en;
    const char* ja;
    const char* zh;
};

QString Say(const PictureContext& c, const Texts& t) {
    return c.Choose(t.ko, t.en, t.ja, t.zh);
}

const Texts kHeightLabel = {"키", "Height", "身長", "身高"};
const Texts kWeightLabel = {"몸무게", "Weight", "体重", "体重"};
const Texts kEnterValues = {"값을 넣고 계산기 단추를 누르세요.",
                            "Enter the values, then press the calculator.",
                            "値を入力して電卓ボタンを押してください。", "输入数值后按计算器按钮。"};
const Texts kToCalculator = {
    "계산기 단추를 누르면 직접 계산할 수 있습니다.", "The calculator button below works yours out.",
    "下の電卓ボタンで自分の値を計算できます。", "按下方的计算器按钮即可计算您自己的数值。"};
const Texts kSlotNames[] = {{"저체중", "Under", "低体重", "偏瘦"},
                            {"정상", "Normal", "普通", "正常"},
                            {"과체중", "Over", "過体重", "超重"},
                            {"비만", "Obese", "肥満", "肥胖"},
                            {"고도 비만", "Severe", "高度肥満", "重度肥胖"}};
const char* const kSlotBounds[] = {"18.5", "25", "30", "35"};

// A line of text left-aligned in the area.
void Line(QPainter& painter, const QRectF& area, const QString& text, int size = 13,
          int weight = QFont::Normal, const QColor& colour = kLabel) {
    Kit::Text(painter, area, text, Kit::FitFont(Kit::Font(size, weight), text, area.width()),
              colour, Qt::AlignLeft | Qt::AlignVCenter);
}

// The white frame in which the window puts an input or an output.
void Slot(QPainter& painter, const DesignRect& control) {
    Kit::Panel(painter, RectOf(control).adjusted(-2, -2, 2, 2), 4, Qt::white, kFrame, 1.2);
}

// The five body-mass-index slots in `area`, their names inside, the bounds below.
void BodyMassSlots(QPainter& painter, const PictureContext& c, const QRectF& area) {
    const qreal slot = area.width() / 5;
    for (int i = 0; i < 5; ++i) {
        const QRectF box(area.left() + i * slot, area.top(), slot, area.height());
        painter.fillRect(box.adjusted(0.5, 0, -0.5, 0), kSlots[i]);
        const QString name = Say(c, kSlotNames[i]);
        Kit::Text(painter, box, name, Kit::FitFont(Kit::Font(12, QFont::Bold), name, slot - 6),
                  Qt::white);
    }
    for (int i = 0; i < 4; ++i) {
        const qreal x = area.left() + (i + 1) * slot;
        Kit::Text(painter, QRectF(x - 20, area.bottom() + 2, 40, 16),
                  QString::fromLatin1(kSlotBounds[i]), Kit::Font(11), Kit::kSlate);
    }
}

// A calculator: its title, the two inputs with their labels and units, the frames of the
// outputs, the place of the calculate button, and the hint.
void Calculator(QPainter& painter, const PictureContext& c, const Texts& title, const Texts& first,
                const char* firstUnit, const Texts& second, const char* secondUnit) {
    Paper(painter);
    Heading(painter, 10, Say(c, title));
    const struct {
        const DesignRect& input;
        const Texts& label;
        const char* unit;
    } inputs[] = {{kFirstInput, first, firstUnit}, {kSecondInput, second, secondUnit}};
    for (const auto& input : inputs) {
        const QRectF box = RectOf(input.input);
        Line(painter, QRectF(20, box.top(), box.left() - 28, box.height()), Say(c, input.label), 14,
             QFont::DemiBold);
        Slot(painter, input.input);
        Line(painter, QRectF(box.right() + 6, box.top(), 34, box.height()),
             QString::fromUtf8(input.unit));
    }
    // The radio buttons and the calculate button sit on soft panels.
    Kit::Panel(painter, RectOf(kMaleRadio).united(RectOf(kFemaleRadio)).adjusted(-6, -6, 4, 6), 8,
               QColor(255, 255, 255, 160), kRule);
    painter.save();
    painter.setPen(QPen(kRule, 1.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(RectOf(kCalculateButton).adjusted(-3, -3, 3, 3));
    painter.restore();
    painter.fillRect(QRectF(20, 158, kWidth - 40, 1), kRule);
    Kit::Text(painter, QRectF(20, kHeight - 34, 380, 26), Say(c, kEnterValues), Kit::Font(12),
              Kit::kSlate, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
}

// An output row: label, the frame the window writes into, a unit after it.
void Output(QPainter& painter, const PictureContext& c, const DesignRect& output,
            const Texts& label, const char* unit) {
    const QRectF box = RectOf(output);
    Line(painter, QRectF(20, box.top(), box.left() - 28, box.height()), Say(c, label), 14,
         QFont::Bold, kCurve);
    Slot(painter, output);
    Line(painter, QRectF(box.right() + 8, box.top(), 80, box.height()), QString::fromUtf8(unit));
}

// A small table of rows: label and value, with a colour chip.
void Table(QPainter& painter, qreal top, const QStringList& labels, const QStringList& values,
           const QColor* colours) {
    for (int i = 0; i < labels.size(); ++i) {
        const qreal y = top + i * 22;
        painter.fillRect(QRectF(34, y + 6, 10, 10), colours[i]);
        Line(painter, QRectF(52, y, 150, 22), labels[i], 13, QFont::DemiBold);
        Line(painter, QRectF(206, y, 250, 22), values[i]);
    }
}

} // namespace

// Topic 1: standard weight by height band, and the obesity percentage.
void PaintStressInfo1(QPainter& painter, const PictureContext& c) {
    Paper(painter);
    Heading(painter, 10,
            c.Choose("표준체중과 비만도", "Standard weight and obesity index", "標準体重と肥満度",
                     "标准体重与肥胖度"));
    qreal y = 46;
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("키 150cm 미만: 키 − 100", "Height below 150 cm: height − 100",
                           "身長150cm未満: 身長 − 100", "身高不足150cm：身高 − 100"));
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("키 150~159cm: (키 − 150) × 0.5 + 50",
                           "150 to 159 cm: (height − 150) × 0.5 + 50",
                           "身長150〜159cm: (身長 − 150) × 0.5 + 50",
                           "身高150~159cm：(身高 − 150) × 0.5 + 50"));
    y = Paragraph(
        painter, 20, y, kWidth - 40,
        c.Choose("키 160cm 이상: (키 − 100) × 0.9", "160 cm and above: (height − 100) × 0.9",
                 "身長160cm以上: (身長 − 100) × 0.9", "身高160cm以上：(身高 − 100) × 0.9"));
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("비만도 = (몸무게 − 표준체중) ÷ 표준체중 × 100 %",
                           "Obesity = (weight − standard weight) ÷ standard weight × 100 %",
                           "肥満度 = (体重 − 標準体重) ÷ 標準体重 × 100 %",
                           "肥胖度 = (体重 − 标准体重) ÷ 标准体重 × 100 %"));
    const QColor colours[] = {kSlots[0], kSlots[1], kSlots[2], kSlots[4]};
    Table(painter, y + 6,
          {c.Choose("저체중", "Underweight", "やせ", "偏瘦"),
           c.Choose("정상", "Normal", "普通", "正常"),
           c.Choose("과체중", "Overweight", "過体重", "超重"),
           c.Choose("비만", "Obese", "肥満", "肥胖")},
          {c.Choose("−10% 미만", "below −10 %", "−10%未満", "低于−10%"), "−10 ~ 10 %", "10 ~ 20 %",
           c.Choose("20% 이상", "20 % and above", "20%以上", "20%以上")},
          colours);
    Kit::Text(painter, QRectF(20, kHeight - 34, 380, 26), Say(c, kToCalculator), Kit::Font(12),
              Kit::kSlate, Qt::AlignLeft | Qt::AlignVCenter);
}

// Topic 2: the body mass index and its five categories.
void PaintStressInfo2(QPainter& painter, const PictureContext& c) {
    Paper(painter);
    Heading(
        painter, 10,
        c.Choose("체질량지수 (BMI)", "Body mass index (BMI)", "体格指数 (BMI)", "体重指数 (BMI)"));
    qreal y = 46;
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("BMI = 몸무게(kg) ÷ 키(m)²", "BMI = weight (kg) ÷ height (m)²",
                           "BMI = 体重(kg) ÷ 身長(m)²", "BMI = 体重(kg) ÷ 身高(m)²"));
    y = Paragraph(painter, 20, y, kWidth - 40,
                  c.Choose("BMI는 키에 비해 몸무게가 얼마나 되는지를 나타냅니다. 근육이 많은 "
                           "사람은 높게 나올 수 있습니다.",
                           "The index relates the weight to the height. Very muscular people "
                           "may score high without being fat.",
                           "BMIは身長に対する体重の割合を示します。筋肉の多い人は高く出ることが"
                           "あります。",
                           "BMI表示体重相对于身高的比例。肌肉发达的人数值可能偏高。"));
    BodyMassSlots(painter, c, QRectF(40, y + 16, kWidth - 80, 30));
    Paragraph(painter, 20, y + 80, kWidth - 40,
              c.Choose("18.5 이상 25 미만이 정상 범위입니다.",
                       "18.5 to below 25 is the normal range.", "18.5以上25未満が普通の範囲です。",
                       "18.5至不足25为正常范围。"));
    Kit::Text(painter, QRectF(20, kHeight - 34, 380, 26), Say(c, kToCalculator), Kit::Font(12),
              Kit::kSlate, Qt::AlignLeft | Qt::AlignVCenter);
}

// Topic 3: the waist-hip ratio and where it is measured.
void PaintStressInfo3(QPainter& painter, const PictureContext& c) {
    Paper(painter);
    Heading(
        painter, 10,
        c.Choose("허리-엉덩이 둘레 비율", "Waist and hip ratio", "ウエスト・ヒップ比", "腰臀比"));
    // A figure with the two measuring lines.
    const QRectF figure(330, 48, 120, 200);
    painter.save();
    painter.setPen(QPen(kCurve, 2));
    painter.setBrush(Qt::NoBrush);
    QPainterPath body;
    body.moveTo(figure.left() + 36, figure.top());
    body.cubicTo(figure.left() + 20, figure.top() + 60, figure.left() + 34, figure.top() + 80,
                 figure.left() + 28, figure.top() + 110);
    body.cubicTo(figure.left() + 8, figure.top() + 140, figure.left() + 14, figure.top() + 170,
                 figure.left() + 30, figure.bottom());
    body.moveTo(figure.right() - 36, figure.top());
    body.cubicTo(figure.right() - 20, figure.top() + 60, figure.right() - 34, figure.top() + 80,
                 figure.right() - 28, figure.top() + 110);
    body.cubicTo(figure.right() - 8, figure.top() + 140, figure.right() - 14, figure.top() + 170,
                 figure.right() - 30, figure.bottom());
    painter.drawPath(body);
    painter.setPen(QPen(kAccent, 2, Qt::DashLine));
    painter.drawLine(QPointF(figure.left() + 20, figure.top() + 82),
                     QPointF(figure.right() - 20, figure.top() + 82));
    painter.drawLine(QPointF(figure.left() + 6, figure.top() + 150),
                     QPointF(figure.right() - 6, figure.top() + 150));
    painter.restore();
    Kit::Text(painter, QRectF(figure.left(), figure.top() + 64, figure.width(), 16),
              c.Choose("허리", "waist", "ウエスト", "腰围"), Kit::Font(11, QFont::DemiBold),
              kAccent);
    Kit::Text(painter, QRectF(figure.left(), figure.top() + 132, figure.width(), 16),
              c.Choose("엉덩이", "hip", "ヒップ", "臀围"), Kit::Font(11, QFont::DemiBold), kAccent);

    qreal y = 48;
    const qreal width = 300;
    y = Paragraph(painter, 20, y, width,
                  c.Choose("허리 둘레를 엉덩이 둘레로 나눈 값입니다 (같은 단위).",
                           "The waist girth divided by the hip girth, both in the same unit.",
                           "ウエスト周囲をヒップ周囲で割った値です（同じ単位）。",
                           "腰围除以臀围所得的值（单位相同）。"));
    y = Paragraph(painter, 20, y, width,
                  c.Choose("남성 0.9, 여성 0.85를 넘으면 복부 비만으로 봅니다.",
                           "Above 0.9 for men and 0.85 for women counts as abdominal obesity.",
                           "男性0.9、女性0.85を超えると腹部肥満とみなします。",
                           "男性超过0.9、女性超过0.85视为腹部肥胖。"));
    Paragraph(painter, 20, y, width,
              c.Choose("허리는 배꼽 높이에서, 엉덩이는 가장 넓은 곳에서 잽니다.",
                       "Measure the waist at the navel and the hips at their widest.",
                       "ウエストはへその高さで、ヒップは最も広いところで測ります。",
                       "腰围在肚脐高度测量，臀围在最宽处测量。"));
    Kit::Text(painter, QRectF(20, kHeight - 34, 380, 26), Say(c, kToCalculator), Kit::Font(12),
              Kit::kSlate, Qt::AlignLeft | Qt::AlignVCenter);
}

// Calculator 4: standard weight and obesity.
void PaintStressInfo4(QPainter& painter, const PictureContext& c) {
    Calculator(
        painter, c,
        {"표준체중 계산기", "Standard weight calculator", "標準体重の計算", "标准体重计算器"},
        kHeightLabel, "cm", kWeightLabel, "kg");
    Output(painter, c, kFirstOutput, {"표준체중", "Standard weight", "標準体重", "标准体重"}, "kg");
    Output(painter, c, kSecondOutput, {"비만도", "Obesity", "肥満度", "肥胖度"}, "");
}

// Calculator 5: body mass index with its scale; the window puts its marker above the slot.
void PaintStressInfo5(QPainter& painter, const PictureContext& c) {
    Calculator(painter, c, {"BMI 계산기", "Body mass index calculator", "BMIの計算", "BMI计算器"},
               kHeightLabel, "cm", kWeightLabel, "kg");
    Output(painter, c, kFirstOutput, {"체질량지수", "BMI", "BMI", "BMI"}, "kg/m²");
    BodyMassSlots(painter, c, RectOf(kBodyMassScale));
}

// Calculator 6: waist-hip ratio.
void PaintStressInfo6(QPainter& painter, const PictureContext& c) {
    Calculator(painter, c,
               {"허리-엉덩이 비율 계산기", "Waist-hip ratio calculator", "ウエスト・ヒップ比の計算",
                "腰臀比计算器"},
               {"허리 둘레", "Waist", "ウエスト", "腰围"}, "cm",
               {"엉덩이 둘레", "Hip", "ヒップ", "臀围"}, "cm");
    Output(painter, c, kFirstOutput,
           {"허리-엉덩이 비율", "Waist-hip ratio", "ウエスト・ヒップ比", "腰臀比"}, "");
    Paragraph(painter, 20, 226, kWidth - 100,
              c.Choose("남성 0.9, 여성 0.85 초과: 복부 비만",
                       "Men above 0.9, women above 0.85: "
                       "abdominal obesity",
                       "男性0.9・女性0.85超: 腹部肥満", "男性超过0.9、女性超过0.85：腹部肥胖"));
}
