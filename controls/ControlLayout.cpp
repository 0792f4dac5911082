#include "controls/ControlLayout.h"

#include "controls/ControlId.h"

#include <QWidget>

int ApplyControlLayout(QWidget* dialog, std::span<const ControlLayoutRow> rows, double scaleX,
                       double scaleY) {
    int placed = 0;
    for (const ControlLayoutRow& row : rows) {
        if (row.id <= 0)
            break;
        QWidget* control = FindControl(dialog, row.id);
        if (!control)
            continue;
        control->setGeometry(static_cast<int>(row.x * scaleX), static_cast<int>(row.y * scaleY),
                             static_cast<int>(row.width * scaleX),
                             static_cast<int>(row.height * scaleY));
        ++placed;
    }
    return placed;
}
