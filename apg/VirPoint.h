#pragma once
// Maps virtual graph coordinates to pixels for the chart panels: a point (i, v) lies at
// x = trunc(scaleX * i) + 4 and y = trunc(scaleY * v) + yOffset, the scales being device size
// over virtual size. The device height is given negative, so that larger values lie higher.

#include <QPoint>

class CVirPoint {
public:
    CVirPoint(int deviceWidth, int deviceHeight)
        : m_deviceWidth(deviceWidth), m_deviceHeight(deviceHeight) {}

    // A virtual size of 0 in either direction leaves the mapping as it was.
    void SetVirtualSize(double width, double height) {
        if (width == 0 || height == 0)
            return;
        m_scaleX = m_deviceWidth / width;
        m_scaleY = m_deviceHeight / height;
    }
    void SetYOffset(int yOffset) { m_yOffset = yOffset; }

    double ScaleX() const { return m_scaleX; }
    double ScaleY() const { return m_scaleY; }

    QPoint Map(double i, double v) const {
        return QPoint(static_cast<int>(m_scaleX * i) + kLeft,
                      static_cast<int>(m_scaleY * v) + m_yOffset);
    }

private:
    static constexpr int kLeft = 4; // pixels left free at the panel's left edge

    int m_deviceWidth;
    int m_deviceHeight;
    double m_scaleX = 1.0; // until a virtual size is set: one pixel per unit
    double m_scaleY = 1.0;
    int m_yOffset = 0;
};
