#include "controls/MessageBox.h"

#include <QGuiApplication>

namespace {
MessageBoxInterceptor& Interceptor() {
    static MessageBoxInterceptor interceptor;
    return interceptor;
}
} // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& text,
                                           const QString& caption,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::Icon icon) {
    if (Interceptor())
        return Interceptor()(text, caption, buttons);
    QMessageBox box(icon, caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption,
                    text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetMessageBoxInterceptor(MessageBoxInterceptor interceptor) {
    Interceptor() = std::move(interceptor);
}
