#include "controls/ControlId.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr char kIdProperty[] = "tondrelaControlId";
}

void SetControlId(QWidget* control, int id) {
    control->setProperty(kIdProperty, id);
}

int ControlId(const QWidget* control) {
    return control->property(kIdProperty).toInt();
}

QWidget* FindControl(const QWidget* dialog, int id) {
    if (id <= 0)
        return nullptr;
    const QList<QWidget*> children = dialog->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (ControlId(child) == id)
            return child;
    }
    return nullptr;
}
