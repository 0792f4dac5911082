#pragma once
// Owner-drawn push button of the skinned windows: its own font and colours per state, hover
// tracking, flat / transparent / borderless looks, an optional icon pair, a cursor, a
// tooltip and auto-repeat.
//
// A transparent button shows the part of its parent's background that lies under it. The
// part is copied the first time the button is drawn and kept: moving the button does not
// refresh it; ResetBackgroundCopy takes it anew (after the parent's picture changed), and
// ResetBackgroundCopies does so for every button of a window (after the window's size
// changed).
// A disabled button takes no hover look. Its text is drawn in a smaller size of its font
// when it does not fit otherwise (FitFont, controls/ControlFont.h).
// Threads: GUI thread only.

#include <QCursor>
#include <QPixmap>
#include <QPushButton>
#include <QString>

#include <cstdint>

class CButtonST : public QPushButton {
    Q_OBJECT
public:
    enum class Color {
        BackgroundIn,  // background while hovered or pressed
        TextIn,        // text while hovered or pressed
        BackgroundOut, // background otherwise
        TextOut,       // text otherwise
    };
    static constexpr int kTooltipMaxWidth = 400; // pixels
    static constexpr int kAutoRepeatDelayMs = 100;

    explicit CButtonST(QWidget* parent = nullptr);

    // The face at that pixel height, weight 900.
    void SetFont(const QString& face, int pixelHeight);
    // colorRef is 0x00BBGGRR.
    void SetColor(Color index, std::uint32_t colorRef, bool repaint = true);
    QColor ColorOf(Color index) const { return m_colors[static_cast<int>(index)]; }

    void SetFlat(bool flat, bool repaint = true);
    void SetDrawBorder(bool drawBorder, bool repaint = true);
    void SetTransparent(bool transparent, bool repaint = true);
    void SetNoBorder(bool noBorder, bool repaint = true);
    void SetAlignLeft(bool alignLeft, bool repaint = true);
    void SetIcon(const QPixmap& hovered, const QPixmap& normal);
    void SetAutoRepeatCommand(bool on, int delayMs = kAutoRepeatDelayMs);
    void SetBtnCursor(const QCursor& cursor);
    // Nothing for an empty text. Texts wider than kTooltipMaxWidth are wrapped.
    void SetTooltipText(const QString& text);
    const QString& TooltipText() const { return m_tooltip; }

    // Forgets the copy of the parent's background; the next draw takes it anew.
    void ResetBackgroundCopy();

    bool IsHovered() const { return m_hover; }
    // The font the text is drawn in at the button's present size.
    QFont DrawnFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

    // Fills the rectangle with the hovered / pressed or the normal background colour.
    virtual void DrawBackground(QPainter& painter, const QRect& area, bool pressed);
    // A 3D rectangle in shadow and highlight, swapped when pressed.
    virtual void DrawBorder(QPainter& painter, const QRect& area, bool pressed);

private:
    void ClearHover();
    void CaptureBackground();
    void DrawClassicEdge(QPainter& painter, const QRect& area);
    void DrawIcon(QPainter& painter, const QRect& area, bool pressed);
    void DrawLabel(QPainter& painter, const QRect& area, bool pressed);
    void Repaint(bool repaint);
    QRect TextArea(const QRect& area) const;
    int TextFlags() const;

    bool m_hover = false;
    bool m_flat = true;
    bool m_drawBorder = true;
    bool m_transparent = false;
    bool m_noBorder = false;
    bool m_alignLeft = false;
    QColor m_colors[4];
    QPixmap m_iconHovered;
    QPixmap m_iconNormal;
    QString m_tooltip;
    QPixmap m_backgroundCopy; // the parent's background under the button, taken once
};

// ResetBackgroundCopy of every skinned button of the window.
void ResetBackgroundCopies(QWidget* window);
