#pragma once
// A simulated finger-clip sensor behind the HID platform interface. It enumerates as the
// sensor (vendor 0x04D8, product 0x003F), takes each output report as a request and answers
// it with one 65-byte input report: report ID 0, the signed group count N, then N groups of
// marker (0xFF or 0xFE), high byte, low byte, holding the samples its 200 Hz clock produced
// since the last answer, at most 21 per report (a larger backlog waits for the next
// answers). The samples come from a PulseSource, pulled in order as they are sent, so a
// replayed recording arrives complete and in order. When no request comes for a second, the
// clock starts again at the next request (the sensor keeps no old samples).
//
// For tests it can be unplugged and plugged in again (removal and arrival are reported to
// the device-change callback on the calling thread), made to stop answering or to refuse
// data handles (as a hidraw node without permission), another device's arrival or removal
// can be announced, and its clock can run faster than real time.
//
// Threads: every member may be called from any thread.

#include "device/HidPlatform.h"
#include "device/PulseSource.h"

#include <chrono>
#include <map>
#include <memory>
#include <mutex>

class SimulatedSensor : public HidPlatform {
public:
    static constexpr const char* kPath = "simulated:tondrela-sensor";
    static constexpr int kReportLength = 65;
    static constexpr int kMaxGroups = 21;
    static constexpr double kSampleRate = 200.0;

    // speed: clock rate in multiples of real time (> 0).
    explicit SimulatedSensor(std::unique_ptr<PulseSource> source, double speed = 1.0);
    ~SimulatedSensor() override;

    // Unplugging fails the open handles for good and drops the requests in flight; plugging
    // in makes the sensor enumerable again with a fresh clock.
    void Unplug();
    void PlugIn();
    // A sensor that does not answer accepts requests but sends no report.
    void SetAnswering(bool answering);
    // Samples sent in reports since construction (across unplugging).
    long long SamplesSent() const;
    // An inaccessible sensor enumerates and shows its attributes, but cannot be opened for
    // writing or reading.
    void SetAccessible(bool accessible);
    // Reports event (DeviceChange::kArrival or kRemoveComplete) of another interface at path.
    void AnnounceOther(uint32_t event, const std::string& path);

    std::vector<HidInterfaceInfo> Enumerate() override;
    Handle Open(const std::string& path, Access access) override;
    void Close(Handle handle) override;
    bool GetAttributes(Handle handle, uint16_t* vendorId, uint16_t* productId) override;
    bool GetReportLengths(Handle handle, int* inputLength, int* outputLength) override;
    bool SetNumInputBuffers(Handle handle, int count) override;
    bool Write(Handle handle, const uint8_t* report, int length) override;
    ReadStatus Read(Handle handle, uint8_t* report, int length, int* received,
                    std::chrono::milliseconds limit, ReadCancel& cancel) override;
    void SetDeviceChangeCallback(DeviceChangeCallback callback) override;

private:
    using Clock = std::chrono::steady_clock;

    struct OpenHandle {
        Access access;
        unsigned plugCount; // the plug-in the handle was opened under
    };

    bool UsableLocked(Handle handle, Access access) const;
    void RestartClockLocked(Clock::time_point now);
    int AnswerLocked(uint8_t* report, int length);
    void Notify(uint32_t event, const std::string& path);

    mutable std::mutex m_lock; // guards everything below up to m_callbackLock
    std::unique_ptr<PulseSource> m_source;
    const double m_speed;
    bool m_plugged = true;
    bool m_answering = true;
    bool m_accessible = true;
    unsigned m_plugCount = 0;
    std::map<Handle, OpenHandle> m_handles;
    Handle m_nextHandle = 1;
    int m_pendingRequests = 0;
    Clock::time_point m_clockStart;
    Clock::time_point m_lastRequest;
    long long m_samplesSent = 0; // since m_clockStart
    unsigned m_groupsSent = 0;   // alternates the marker byte
    long long m_totalSent = 0;   // since construction

    std::mutex m_callbackLock; // guards m_callback; held while it runs
    DeviceChangeCallback m_callback;
};
