#pragma once
// The usage guide: the pages from "Usage_01.html" on, opened by the main menu (Usage, 1017),
// titled with text 30021 and centred on the screen.

#include "help/HtmlHelpDialog.h"

class CDlgUsage : public CHtmlHelpDialog {
    Q_OBJECT
public:
    static constexpr char kFirstPage[] = "Usage_01.html";
    static constexpr int kTitleMessage = 30021;

    CDlgUsage(QWidget* opener, const QString& firstPage);
};
