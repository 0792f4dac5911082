#pragma once
// Placement of a window's controls from a table of rows given in the window's own design
// space (1600 x 1000 units for the full-screen windows). Each x and width is multiplied by
// scaleX, each y and height by scaleY, and truncated toward zero. A row whose ID is not
// positive ends the table; a control placed at a negative x lies out of view.

#include <span>

class QWidget;

struct ControlLayoutRow {
    int id;
    int x;
    int y;
    int width;
    int height;
};

// Moves every control of the table that dialog has; returns the number of controls placed.
int ApplyControlLayout(QWidget* dialog, std::span<const ControlLayoutRow> rows, double scaleX,
                       double scaleY);
