#pragma once
// What the wellness window's tests share: a runtime tree of their own (bin/ and work/ side by
// side, the staged pictures and sounds linked in, the process inside bin/), the application
// state of a chosen language and person, simulated sensors, and message boxes caught
// instead of shown.

#include "analysis/Hrv.h"
#include "apg/DlgApg.h"
#include "app/Tondrela.h"
#include "controls/MessageBox.h"
#include "device/HidPlatform.h"
#include "device/SensorLink.h"
#include "device/SimulatedSensor.h"
#include "device/SyntheticPulseSource.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>
#include <memory>

namespace apgtest {

// A temporary runtime tree; the process works in its bin/ while the object lives.
class RuntimeFolder {
public:
    RuntimeFolder() : m_previous(QDir::currentPath()) {
        QDir root(m_dir.path());
        root.mkpath(QStringLiteral("bin"));
        root.mkpath(QStringLiteral("work"));
        for (const char* folder : {"IMAGE", "wav"}) {
            QFile::link(QStringLiteral(TONDRELA_STAGE_DIR "/") + QLatin1String(folder),
                        root.filePath(QLatin1String(folder)));
        }
        QDir::setCurrent(root.filePath(QStringLiteral("bin")));
    }
    ~RuntimeFolder() { QDir::setCurrent(m_previous); }
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

    bool Valid() const { return m_dir.isValid(); }
    QString Bin() const { return QDir(m_dir.path()).filePath(QStringLiteral("bin")); }
    QString Work() const { return QDir(m_dir.path()).filePath(QStringLiteral("work")); }
    QStringList WorkFiles() const { return QDir(Work()).entryList(QDir::Files); }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

// The application as the main menu leaves it: a 1600 x 1000 screen, the language's tables
// and messages, and a man of 45 chosen.
inline void SetUpApplication(int languageIndex) {
    CTondrelaApp& app = TheApp();
    app.InitInstance(QSize(1600, 1000), QDir::currentPath());
    app.RegisterLanguageTables();
    app.languageIndex = languageIndex;
    app.fontFace = languageIndex == 1 ? QStringLiteral("돋움") : QStringLiteral("Arial");
    LoadMessageList(app.messageList, app.CurrentTable(), "Tondrela-message", true);
    app.CurrentUser = UserRecord{QStringLiteral("Kim"), QDate::currentDate().year() - 45, 1,
                                 QStringLiteral("010-1234")};
    app.userLine = FormatUserLine(app.CurrentUser, QDate::currentDate().year());
}

// A simulated sensor that stops sending after `limit` samples (its reports then carry no
// group): a test then holds exactly the samples a recording file keeps.
class LimitedSensor : public HidPlatform {
public:
    LimitedSensor(std::unique_ptr<SimulatedSensor> sensor, long long limit)
        : m_sensor(std::move(sensor)), m_limit(limit) {}

    SimulatedSensor& Sensor() { return *m_sensor; }
    long long Sent() const { return m_sent; }

    std::vector<HidInterfaceInfo> Enumerate() override { return m_sensor->Enumerate(); }
    Handle Open(const std::string& path, Access access) override {
        return m_sensor->Open(path, access);
    }
    void Close(Handle handle) override { m_sensor->Close(handle); }
    bool GetAttributes(Handle handle, uint16_t* vendorId, uint16_t* productId) override {
        return m_sensor->GetAttributes(handle, vendorId, productId);
    }
    bool GetReportLengths(Handle handle, int* inputLength, int* outputLength) override {
        return m_sensor->GetReportLengths(handle, inputLength, outputLength);
    }
    bool SetNumInputBuffers(Handle handle, int count) override {
        return m_sensor->SetNumInputBuffers(handle, count);
    }
    bool Write(Handle handle, const uint8_t* report, int length) override {
        return m_sensor->Write(handle, report, length);
    }
    ReadStatus Read(Handle handle, uint8_t* report, int length, int* received,
                    std::chrono::milliseconds limit, ReadCancel& cancel) override {
        const ReadStatus status = m_sensor->Read(handle, report, length, received, limit, cancel);
        if (status == ReadStatus::Report && *received > 1) {
            const long long groups =
                std::min<long long>(static_cast<int8_t>(report[1]), m_limit - m_sent);
            report[1] = static_cast<uint8_t>(std::max<long long>(groups, 0));
            m_sent += report[1];
        }
        return status;
    }
    void SetDeviceChangeCallback(DeviceChangeCallback callback) override {
        m_sensor->SetDeviceChangeCallback(std::move(callback));
    }

private:
    std::unique_ptr<SimulatedSensor> m_sensor;
    const long long m_limit;
    std::atomic<long long> m_sent{0};
};

// Gives the application a started link on the platform; device changes are handed to the
// link on the GUI thread, as the main menu does.
inline void UsePlatform(std::unique_ptr<HidPlatform> platform) {
    auto link = std::make_unique<SensorLink>(std::move(platform), std::chrono::milliseconds(500));
    SensorLink* raw = link.get();
    TheApp().SetLink(std::move(link));
    QObject* context = QCoreApplication::instance();
    raw->StartUp([raw, context](const DeviceChange& change) {
        QMetaObject::invokeMethod(
            context,
            [raw, change] {
                if (TheApp().Link() == raw) // not a link that was replaced meanwhile
                    raw->HandleDeviceChange(change);
            },
            Qt::QueuedConnection);
    });
}

// A simulated sensor with a synthetic pulse, its clock `speed` times real time.
inline SimulatedSensor* UseSimulatedSensor(double speed = 1.0) {
    auto sensor =
        std::make_unique<SimulatedSensor>(std::make_unique<SyntheticPulseSource>(), speed);
    SimulatedSensor* raw = sensor.get();
    UsePlatform(std::move(sensor));
    return raw;
}

// The message boxes shown while the object lives.
class MessageCatcher {
public:
    MessageCatcher() {
        SetMessageBoxInterceptor([this](const QString& text, const QString&, auto) {
            messages.append(text);
            return QMessageBox::Ok;
        });
    }
    ~MessageCatcher() { SetMessageBoxInterceptor({}); }
    MessageCatcher(const MessageCatcher&) = delete;
    MessageCatcher& operator=(const MessageCatcher&) = delete;

    QStringList messages;
};

// The window as the main menu opens it, at the screen's size with its picture.
inline std::unique_ptr<CDlgApg> OpenWindow() {
    auto window = std::make_unique<CDlgApg>();
    window->resize(TheApp().screenSize);
    window->SetBackground(
        TheApp().ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("apg.jpg")));
    return window;
}

// Runs timer 2 until the test ends (at most `ticks` times); the number of ticks it took.
inline int RunSecondsToTheEnd(CDlgApg& window, int ticks = 61) {
    int run = 0;
    while (run < ticks && window.TimerActive(CDlgApg::kSecondTimer)) {
        window.OnTimer(CDlgApg::kSecondTimer);
        ++run;
    }
    return run;
}

} // namespace apgtest
