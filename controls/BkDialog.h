#pragma once
// A dialog drawn over a picture: the picture is stretched to the client area once per size,
// at the screen's pixel density, and kept; painting draws the kept copy at (0, 0) and nothing
// else. Without a picture the dialog paints nothing of its own (a tile set through
// CBackgroundUtil is repeated instead). A new client size also makes the transparent skinned
// buttons take the picture under them anew, and calls ClientAreaChanged, where a window lays
// itself out again.
//
// A dialog that an opener created posts childClosed(itself) when it closes (done(), the close
// box, accept or reject); the opener then releases it. The signal is the window's
// "child closed" message, so openers connect it queued.
// Threads: GUI thread only.

#include "controls/BackgroundUtil.h"

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QString>

class CBkDialog : public QDialog, public CBackgroundUtil {
    Q_OBJECT
public:
    explicit CBkDialog(QWidget* parent = nullptr);

    // Keeps the path; when it is not empty loads the picture and replaces the kept background
    // with it, stretched to the client area. A picture that cannot be read leaves the
    // background empty.
    void SetBackground(const QString& path);
    const QString& BackgroundPath() const { return m_path; }
    // The kept background at the client size (null when there is none); its pixels are the
    // screen's device pixels.
    const QPixmap& Background() const { return m_background; }

    void done(int result) override;

signals:
    void childClosed(QWidget* child);

protected:
    // After the client area took a new size (the background is stretched to it already).
    virtual void ClientAreaChanged() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void StretchPicture();

    QString m_path;
    QImage m_picture;     // as loaded
    QPixmap m_background; // m_picture stretched to the client area
    QSize m_laidOutSize;  // the client size of the last ClientAreaChanged
};
