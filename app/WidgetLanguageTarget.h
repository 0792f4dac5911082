#pragma once
// The language tables' view of a Qt dialog: control texts and tooltips set by control ID
// (controls/ControlId.h). Skinned buttons take their tooltip through CButtonST's own tooltip.
// Threads: GUI thread only.

#include "lang/LanguageTable.h"

#include <string_view>

class QWidget;

class CWidgetLanguageTarget : public LanguageTarget {
public:
    explicit CWidgetLanguageTarget(QWidget* dialog) : m_dialog(dialog) {}

    bool SetControlText(int id, const std::string& text) override;
    bool SetControlTooltip(int id, const std::string& text) override;

private:
    QWidget* m_dialog;
};

// Applies the section `name` of the current language (TheApp().languageIndex) to the dialog,
// with the tooltips of "<name>-tooltip".
void ApplyLanguage(QWidget* dialog, std::string_view name);
