#pragma once
// Dialog controls are known by numeric IDs (the language tables, the layout tables and the
// command handlers address them so). The ID is kept on the widget as a property.

class QWidget;

void SetControlId(QWidget* control, int id);

// The control's ID, 0 when it has none.
int ControlId(const QWidget* control);

// The first descendant of dialog with that ID (in creation order), or nullptr.
QWidget* FindControl(const QWidget* dialog, int id);
