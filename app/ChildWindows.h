#pragma once
// The windows that the main menu opens, one function each: the one place where a window is
// plugged into the main menu.
// - Modeless windows (APG test, stress test, review, usage, manual): the function creates the
//   window with the opener as parent, gives it its picture, places and shows it, and returns
//   it. The main menu keeps at most one of each kind and releases it when it posts
//   childClosed.
// - Modal windows (user registration, about): the function runs the window and returns its
//   result (QDialog::Accepted or Rejected).
// Threads: GUI thread only.

class CBkDialog;
class QWidget;

CBkDialog* OpenApgWindow(QWidget* opener);
CBkDialog* OpenStressWindow(QWidget* opener);
CBkDialog* OpenReviewWindow(QWidget* opener);
CBkDialog* OpenUsageWindow(QWidget* opener);
CBkDialog* OpenManualWindow(QWidget* opener);
int RunUserDialog(QWidget* opener);
int RunAboutDialog(QWidget* opener);

// Shows a full-screen window (the test, review and menu windows fill the screen).
void ShowFullScreenWindow(QWidget* window);
