#pragma once
// What the test-window tests share besides TestRuntime.h: the application state of a chosen
// language and person, and simulated sensors behind the application's sensor link.

#include "app/Tondrela.h"
#include "device/HidPlatform.h"
#include "device/SensorLink.h"
#include "device/SimulatedSensor.h"
#include "device/SyntheticPulseSource.h"

#include "TestRuntime.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <memory>

namespace testkit {

// The application as the main menu leaves it: a 1600 x 1000 screen, the language's tables
// and messages, and a man of 45 chosen.
inline void SetUpApplication(int languageIndex) {
    CTondrelaApp& app = TheApp();
    app.InitInstance(QSize(1600, 1000), QDir::currentPath());
    app.CurrentUser = UserRecord{QStringLiteral("Kim"), QDate::currentDate().year() - 45, 1,
                                 QStringLiteral("010-1234")};
    UseLanguage(languageIndex);
}

// A simulated sensor with the synthetic pulse that stops sending after `limit` samples (its
// reports then carry no group): a test then holds exactly the samples a recording keeps.
class LimitedSensor : public SimulatedSensor {
public:
    LimitedSensor(double speed, long long limit)
        : SimulatedSensor(std::make_unique<SyntheticPulseSource>(), speed), m_limit(limit) {}

    long long Sent() const { return m_sent; }

    ReadStatus Read(Handle handle, uint8_t* report, int length, int* received,
                    std::chrono::milliseconds limit, ReadCancel& cancel) override {
        const ReadStatus status =
            SimulatedSensor::Read(handle, report, length, received, limit, cancel);
        if (status == ReadStatus::Report && *received > 1) {
            const long long groups =
                std::min<long long>(static_cast<int8_t>(report[1]), m_limit - m_sent);
            report[1] = static_cast<uint8_t>(std::max<long long>(groups, 0));
            m_sent += report[1];
        }
        return status;
    }

private:
    const long long m_limit;
    std::atomic<long long> m_sent{0};
};

// Gives the application a started link on the platform; the link follows device changes
// itself and the windows' connection timers show them.
inline void UsePlatform(std::unique_ptr<HidPlatform> platform) {
    auto link = std::make_unique<SensorLink>(std::move(platform), std::chrono::milliseconds(500));
    SensorLink* raw = link.get();
    TheApp().SetLink(std::move(link));
    raw->StartUp({});
}

// A simulated sensor with a synthetic pulse, its clock `speed` times real time.
inline SimulatedSensor* UseSimulatedSensor(double speed = 1.0) {
    auto sensor =
        std::make_unique<SimulatedSensor>(std::make_unique<SyntheticPulseSource>(), speed);
    SimulatedSensor* raw = sensor.get();
    UsePlatform(std::move(sensor));
    return raw;
}

} // namespace testkit
