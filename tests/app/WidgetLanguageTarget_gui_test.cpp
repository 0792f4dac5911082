// The language tables applied to Qt dialogs: texts and tooltips by control ID.

#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ControlId.h"
#include "controls/staticex.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>

namespace {

template <class Control> Control* AddControl(QWidget* dialog, int id) {
    auto* control = new Control(dialog);
    SetControlId(control, id);
    return control;
}

} // namespace

class WidgetLanguageTargetTest : public QObject {
    Q_OBJECT
private slots:
    void init() { TheApp().RegisterLanguageTables(); }
    void TextsAndTooltipsComeFromTheSectionOfTheCurrentLanguage();
    void ControlsAreFoundAmongNestedChildrenOrSkipped();
};

void WidgetLanguageTargetTest::TextsAndTooltipsComeFromTheSectionOfTheCurrentLanguage() {
    TheApp().languageIndex = 2;
    QDialog dialog;
    auto* apg = AddControl<CButtonST>(&dialog, 1000);
    auto* korean = AddControl<CButtonST>(&dialog, 1021);
    auto* caption = AddControl<CStaticEx>(&dialog, 1014);
    auto* start = AddControl<CButtonST>(&dialog, 1032);
    start->setText("placeholder");
    ApplyLanguage(&dialog, "Tondrela");
    QCOMPARE(korean->text(), QString("Korean"));
    QCOMPARE(caption->text(), QString("Vascular age index measurement"));
    QCOMPARE(apg->TooltipText(), QString("Initial Wellness index test"));
    QCOMPARE(korean->TooltipText(), QString());                   // no tooltip entry for 1021
    QCOMPARE(start->text(), QString());                           // a blank entry
    QCOMPARE(start->TooltipText(), QString("Start measurement")); // trimmed
}

void WidgetLanguageTargetTest::ControlsAreFoundAmongNestedChildrenOrSkipped() {
    QDialog dialog;
    CWidgetLanguageTarget target(&dialog);
    QVERIFY(!target.SetControlText(1030, "User name"));
    QVERIFY(!target.SetControlTooltip(1000, "tip"));
    auto* panel = new QWidget(&dialog);
    auto* edit = AddControl<QLineEdit>(panel, 1029);
    QVERIFY(target.SetControlText(1029, "Kim"));
    QCOMPARE(edit->text(), QString("Kim"));
    QCOMPARE(FindControl(&dialog, 1029), static_cast<QWidget*>(edit));
    QCOMPARE(FindControl(&dialog, 0), static_cast<QWidget*>(nullptr));
    QCOMPARE(ControlId(panel), 0);
}

QTEST_MAIN(WidgetLanguageTargetTest)
#include "WidgetLanguageTarget_gui_test.moc"
