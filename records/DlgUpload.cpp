#include "records/DlgUpload.h"

#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/ControlId.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr char kCancelSection[] = "Tondrela-Registration";
constexpr int kMinimumWidth = 420; // pixels
} // namespace

CDlgUpload::CDlgUpload(UploadSettings settings, const QString& path, QWidget* parent,
                       UploadLimits limits)
    : QDialog(parent), m_settings(std::move(settings)), m_limits(limits), m_path(path) {
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setMinimumWidth(kMinimumWidth);
    QFont font = this->font();
    font.setFamily(TheApp().fontFace);
    setFont(font);

    auto* layout = new QVBoxLayout(this);
    m_label = new QLabel(QFileInfo(path).fileName(), this); // the name it is stored under
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 0); // busy until the first bytes move
    m_cancelButton = new QPushButton(this);
    SetControlId(m_cancelButton, kCancelId);
    m_cancelButton->setAutoDefault(false);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancelButton, 0, Qt::AlignRight);
    ApplyLanguage(this, kCancelSection);
    connect(m_cancelButton, &QPushButton::clicked, this, &CDlgUpload::reject);

    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &CDlgUpload::Poll);
}

CDlgUpload::~CDlgUpload() {
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

UploadResult CDlgUpload::Run() {
    m_thread = std::thread([this, path = QFile::encodeName(m_path).toStdString()] {
        CFtp ftp(m_settings, m_limits);
        m_result = ftp.SendFile(path, [this](std::int64_t sent, std::int64_t total) {
            m_sent = sent;
            m_total = total;
            return !m_cancel.load();
        });
        m_done = true;
    });
    m_poll->start();
    exec();
    m_poll->stop();
    m_cancel = true; // in case the window was ended from outside (the program quits)
    m_thread.join();
    return m_result;
}

void CDlgUpload::reject() {
    // The window stays until the transfer has stopped; Poll closes it.
    m_cancel = true;
    m_cancelButton->setEnabled(false);
}

void CDlgUpload::Poll() {
    if (m_done) {
        accept();
        return;
    }
    const std::int64_t total = m_total;
    const std::int64_t sent = m_sent;
    if (total > 0 && sent > 0) {
        m_bar->setRange(0, 100);
        m_bar->setValue(static_cast<int>(sent * 100 / total));
    }
}
