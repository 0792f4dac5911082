#pragma once
// Colours of the windows are given as COLORREF values: 0x00BBGGRR, red in the lowest byte.

#include <QColor>

#include <cstdint>

constexpr int ColorRefRed(std::uint32_t colorRef) {
    return static_cast<int>(colorRef & 0xFF);
}
constexpr int ColorRefGreen(std::uint32_t colorRef) {
    return static_cast<int>((colorRef >> 8) & 0xFF);
}
constexpr int ColorRefBlue(std::uint32_t colorRef) {
    return static_cast<int>((colorRef >> 16) & 0xFF);
}

inline QColor ColorFromColorRef(std::uint32_t colorRef) {
    return QColor(ColorRefRed(colorRef), ColorRefGreen(colorRef), ColorRefBlue(colorRef));
}

// COLORREF of an RGB triple (the windows' "RGB(r, g, b)").
constexpr std::uint32_t RgbColorRef(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
           (static_cast<std::uint32_t>(blue) << 16);
}
