#include "app/WidgetLanguageTarget.h"

#include "app/Tondrela.h"
#include "controls/BtnST.h"
#include "controls/ControlId.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

bool CWidgetLanguageTarget::SetControlText(int id, const std::string& text) {
    QWidget* control = FindControl(m_dialog, id);
    if (!control)
        return false;
    const QString value = QString::fromStdString(text);
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(value);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(value);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(value);
    else
        control->setWindowTitle(value);
    return true;
}

bool CWidgetLanguageTarget::SetControlTooltip(int id, const std::string& text) {
    QWidget* control = FindControl(m_dialog, id);
    if (!control)
        return false;
    const QString value = QString::fromStdString(text);
    if (auto* button = qobject_cast<CButtonST*>(control))
        button->SetTooltipText(value);
    else if (!value.isEmpty())
        control->setToolTip(value);
    return true;
}

void ApplyLanguage(QWidget* dialog, std::string_view name) {
    CWidgetLanguageTarget target(dialog);
    ApplyLanguageSection(TheApp().CurrentTable(), name, target);
}
