#pragma once
// The glyphs of the icon buttons: the round action buttons of the test windows, the page,
// calculator and back buttons over the explanatory pictures and the reports' send button,
// painted at the button's size and at the screen's pixel density (ratio: device pixels per
// pixel).

#include <QPixmap>
#include <QSize>

enum class ActionGlyph { Main, Start, Stop, Result, PageDown, PageUp, Send, Calculator, Back };

enum class ActionLook {
    Normal,
    Hovered,
    Disabled, // dimmed: the action cannot be taken now
};

QPixmap ActionIcon(ActionGlyph glyph, QSize size, ActionLook look, qreal ratio = 1.0);
