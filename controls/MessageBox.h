#pragma once
// Message boxes of the program. Every window shows its messages through ShowMessageBox, so
// that tests can answer them through an interceptor instead of a blocking modal box.
// Threads: GUI thread only.

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// Receives the box instead of the user; returns the button "pressed".
using MessageBoxInterceptor = std::function<QMessageBox::StandardButton(
    const QString& text, const QString& caption, QMessageBox::StandardButtons buttons)>;

// Shows a modal box with the text (caption "" = the program's name) and returns the button
// pressed.
QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& text,
                                           const QString& caption = QString(),
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           QMessageBox::Icon icon = QMessageBox::NoIcon);

// Installs the interceptor (an empty function restores the real boxes).
void SetMessageBoxInterceptor(MessageBoxInterceptor interceptor);
