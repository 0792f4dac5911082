#pragma once
// The wellness-test help: the page "ApgHelp_01.html", opened from the wellness test window,
// titled with text 30023 and placed at an eighth of the screen width.

#include "help/HtmlHelpDialog.h"

class CDlgApgHelp : public CHtmlHelpDialog {
    Q_OBJECT
public:
    static constexpr char kFirstPage[] = "ApgHelp_01.html";
    static constexpr int kTitleMessage = 30023;

    CDlgApgHelp(QWidget* opener, const QString& firstPage);
};

// Opens the help of the current language for opener, unless opener has one open already;
// returns the window that is open. The opener releases the window when it closes.
CDlgApgHelp* OpenApgHelpWindow(QWidget* opener);
