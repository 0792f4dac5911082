#pragma once
// What the test-window tests share besides TestRuntime.h: the application state of a chosen
// language and person, and simulated sensors behind the application's sensor link.

#include "analysis/Hrv.h"
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
#include <vector>

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

// A limited sensor whose input reports carry up to four of the simulated sensor's answers
// (84 samples): with a fast clock the acquisition loop, which pauses 10 ms per cycle, takes
// the samples in at about forty times real time.
class WideSensor : public LimitedSensor {
public:
    static constexpr int kAnswers = 4;
    static constexpr int kReportLength = 2 + 3 * kMaxGroups * kAnswers;

    using LimitedSensor::LimitedSensor;

    bool GetReportLengths(Handle handle, int* inputLength, int* outputLength) override {
        if (!LimitedSensor::GetReportLengths(handle, inputLength, outputLength))
            return false;
        *inputLength = kReportLength;
        return true;
    }
    bool Write(Handle handle, const uint8_t* report, int length) override {
        bool written = true;
        for (int i = 0; i < kAnswers; ++i)
            written = LimitedSensor::Write(handle, report, length) && written;
        return written;
    }
    ReadStatus Read(Handle handle, uint8_t* report, int length, int* received,
                    std::chrono::milliseconds limit, ReadCancel& cancel) override {
        std::fill(report, report + length, uint8_t{0});
        int groups = 0;
        for (int i = 0; i < kAnswers; ++i) {
            uint8_t part[SimulatedSensor::kReportLength];
            int got = 0;
            const ReadStatus status =
                LimitedSensor::Read(handle, part, static_cast<int>(sizeof part), &got,
                                    i == 0 ? limit : std::chrono::milliseconds(0), cancel);
            if (status != ReadStatus::Report) {
                if (i == 0)
                    return status;
                break;
            }
            const int n = std::clamp<int>(static_cast<int8_t>(part[1]), 0, kMaxGroups);
            std::copy(part + 2, part + 2 + 3 * n, report + 2 + 3 * groups);
            groups += n;
        }
        report[1] = static_cast<uint8_t>(groups);
        *received = length;
        return ReadStatus::Report;
    }
};

// Feeds the synthetic pulse into the CHrv, one quarter second at a time, until `qualified`
// good beats were analysed; false when that does not happen within 90 s of pulse.
inline bool FeedUntilQualified(CHrv& hrv, SyntheticPulseSource& source, int qualified) {
    std::vector<int16_t> chunk(50);
    for (int i = 0; i < 90 * 4; ++i) {
        if (hrv.SummariseApg(45, 1).qualified >= qualified)
            return hrv.SummariseApg(45, 1).qualified == qualified;
        for (int16_t& sample : chunk)
            sample = source.Next();
        hrv.AddSamples(chunk.data(), static_cast<int>(chunk.size()));
    }
    return false;
}

// Feeds `seconds` of the synthetic pulse into the CHrv.
inline void FeedPulse(CHrv& hrv, SyntheticPulseSource& source, int seconds) {
    std::vector<int16_t> samples(static_cast<size_t>(seconds) * 200);
    for (int16_t& sample : samples)
        sample = source.Next();
    hrv.AddSamples(samples.data(), static_cast<int>(samples.size()));
}

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
