#pragma once
// The small modal window shown while a recording is sent to the upload server: the
// recording's file name, a progress bar and Cancel. The transfer (CFtp) runs on a thread of its
// own, so the windows keep painting and Cancel is heard while the server is slow or silent.
//
// Owns the sending thread. Threads: the sending thread only runs CFtp::SendFile and writes
// the progress counters and the result; everything else belongs to the GUI thread, which
// polls the counters with a timer and joins the thread before the window goes (a Cancel or
// a close while it runs only asks the transfer to stop; the window closes once it has).

#include "net/Ftp.h"

#include <QDialog>
#include <QString>

#include <atomic>
#include <cstdint>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class CDlgUpload : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCancelId = 2; // its text: "Cancel" of the registration section
    static constexpr int kPollMs = 100; // progress bar refresh, and the look for the end

    CDlgUpload(UploadSettings settings, const QString& path, QWidget* parent,
               UploadLimits limits = {});
    ~CDlgUpload() override;

    // Sends the file with the window shown modally; returns when the transfer has ended.
    UploadResult Run();

    std::int64_t SentBytes() const { return m_sent.load(); }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QProgressBar* ProgressBar() const { return m_bar; }

public slots:
    void reject() override; // Cancel, Escape or the close box: stop the transfer

private:
    void Poll();

    const UploadSettings m_settings;
    const UploadLimits m_limits;
    const QString m_path;
    QLabel* m_label = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QTimer* m_poll = nullptr;

    std::thread m_thread;
    std::atomic<std::int64_t> m_sent{0};
    std::atomic<std::int64_t> m_total{0};
    std::atomic<bool> m_cancel{false}; // set by the GUI thread, read by the sending thread
    std::atomic<bool> m_done{false};   // set by the sending thread once m_result is written
    UploadResult m_result;             // written by the sending thread before m_done
};
