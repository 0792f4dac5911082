#pragma once
// The glyphs of the wellness window's icon buttons (the four round action buttons and the
// two page buttons of the explanatory pictures), painted at the button's size.

#include <QPixmap>
#include <QSize>

enum class ActionGlyph { Main, Start, Stop, Result, PageDown, PageUp };

enum class ActionLook {
    Normal,
    Hovered,
    Disabled, // dimmed: the action cannot be taken now
};

QPixmap ActionIcon(ActionGlyph glyph, QSize size, ActionLook look);
