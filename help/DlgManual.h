#pragma once
// The reference manual: the pages from "Manual_01.html" on, opened by the main menu (Manual,
// 1020), titled with text 30022 and centred on the screen.

#include "help/HtmlHelpDialog.h"

class CDlgManual : public CHtmlHelpDialog {
    Q_OBJECT
public:
    static constexpr char kFirstPage[] = "Manual_01.html";
    static constexpr int kTitleMessage = 30022;

    CDlgManual(QWidget* opener, const QString& firstPage);
};
