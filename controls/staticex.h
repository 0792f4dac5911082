#pragma once
// Static text of the skinned windows: its own font (weight 900), text and background colours,
// an optional transparent background, and click actions: toggle a linked window's visibility,
// open a link address, and the clicked() signal for whoever must know.
//
// A transparent static draws nothing but its text, so a new text leaves no remnant of the
// old one on the picture behind it. A text that does not fit into the static at its font is
// drawn in a smaller size of that font that fits (FitFont, controls/ControlFont.h): a label
// is never cut off, whatever the window's size and the language.
// Threads: GUI thread only.

#include <QLabel>
#include <QPointer>
#include <QString>

#include <cstdint>

class CStaticEx : public QLabel {
    Q_OBJECT
public:
    static constexpr std::uint32_t kVisitedColorRef = 0xC08000;

    explicit CStaticEx(QWidget* parent = nullptr);

    void SetFont(const QString& face, int pixelHeight);
    // Colours are 0x00BBGGRR.
    void SetTextColor(std::uint32_t colorRef);
    void SetBkColor(std::uint32_t colorRef);
    void SetTransparent(bool transparent);
    // The address opened by a click ("" = no link).
    void SetLink(const QString& address);
    bool IsVisited() const { return m_visited; }
    // The window whose visibility a click toggles (nullptr = none).
    void SetLinkedWindow(QWidget* window) { m_linkedWindow = window; }
    // Shows the hand cursor over the static.
    void SetHandCursor(bool hand);

    // The colour the text is drawn in now.
    QColor CurrentTextColor() const;
    // The font the text is drawn in at the static's present size.
    QFont DrawnFont() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyColors();
    void OnClicked();
    int TextFlags() const;

    QColor m_textColor;
    QColor m_backgroundColor;
    bool m_transparent = false;
    QString m_link;
    bool m_visited = false;
    QPointer<QWidget> m_linkedWindow;
};
