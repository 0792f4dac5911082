#pragma once
// SensorLink: the one link per process to the finger-clip sensor (USB HID, vendor 0x04D8,
// product 0x003F). It finds and opens the sensor (an attribute handle, a write handle and a
// read handle), exchanges one request and one answer report per acquisition cycle, follows
// arrival and removal of devices, and keeps the connection state that the windows show and
// check.
//
// Threads:
// - StartUp belongs to the owner's (GUI) thread and runs before any acquisition.
// - Device changes are handled on the platform's notification thread: an arrival re-opens
//   the sensor there, after an exchange in progress has ended, so the owner's thread never
//   waits for the device. Then the callback given to StartUp/RegisterSensorNotification is
//   called on that thread; the GUI posts it to its own thread and shows the state: message
//   30002 in white when SensorConnected(), 40023 in red when SensorInaccessible(), else
//   30001 in red.
// - ExchangeReports belongs to the one acquisition loop that holds Gate().
// - Everything else may be called from any thread.
// Opening and closing are serialised against each request-and-answer pair (m_ioLock): no
// handle is replaced or closed while the acquisition thread uses it, and no re-open comes
// between a request and its answer (the answer would arrive in the closed handle's queue).

#include "device/AcquisitionGate.h"
#include "device/HidPlatform.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class SensorLink {
public:
    static constexpr uint16_t kVendorId = 0x04D8;
    static constexpr uint16_t kProductId = 0x003F;
    static constexpr int kReportBufferBytes = 256;
    static constexpr int kInputBuffers = 5;
    static constexpr std::chrono::milliseconds kReadLimit{6000};

    explicit SensorLink(std::unique_ptr<HidPlatform> platform,
                        std::chrono::milliseconds readLimit = kReadLimit);
    // Stops following device changes and closes the handles. No acquisition loop may run.
    ~SensorLink();
    SensorLink(const SensorLink&) = delete;
    SensorLink& operator=(const SensorLink&) = delete;

    // Start-up: OpenSensor; sensorConnected = 1 and 5 input buffers when the sensor was
    // opened, else sensorConnected = 0; then follow device changes, telling `changed`.
    void StartUp(DeviceChangeCallback changed);
    // Opens the first interface in enumeration order with the sensor's IDs; handles of an
    // earlier open are closed first. A sensor whose data handles cannot be opened (on Linux:
    // no permission on its hidraw node) is not opened but marked inaccessible. Returns
    // deviceOpen.
    bool OpenSensor();
    // Replaces the callback told after each device change (empty: nobody). Returns once no
    // call of the previous one is running.
    void RegisterSensorNotification(DeviceChangeCallback changed);

    // One acquisition cycle's request and answer under one lock: writes the all-zero output
    // report of the device's output length, then reads one input report into report
    // (kReportBufferBytes, cleared first), waiting up to the read limit. Returns the bytes
    // received, 0 when nothing was read. A failed write, a time-out or a failed read closes
    // the link; a read ended through cancel leaves the link as it is.
    int ExchangeReports(uint8_t* report, ReadCancel& cancel);

    // Admits one acquisition loop at a time.
    AcquisitionGate& Gate() { return m_gate; }

    bool DeviceOpen() const { return m_deviceOpen.load() != 0; }
    bool SensorConnected() const { return m_sensorConnected.load() != 0; }
    // The sensor is present but could not be opened at the last open.
    bool SensorInaccessible() const { return m_inaccessible.load() != 0; }
    std::string DevicePath() const;

private:
    void HandleDeviceChange(const DeviceChange& change);
    bool IsSensorPath(const DeviceChange& change) const;
    void OpenReadChannel(const std::string& path);
    void SetInputBuffers();
    void SendRequestLocked();
    int ReadInputLocked(std::unique_lock<std::mutex>& lock, uint8_t* report, ReadCancel& cancel);
    void CloseHandlesLocked();
    void CloseIfValid(HidPlatform::Handle* handle);

    std::unique_ptr<HidPlatform> m_platform;
    const std::chrono::milliseconds m_readLimit;

    std::atomic<int> m_sensorConnected{0};
    std::atomic<uint8_t> m_deviceOpen{0};
    std::atomic<uint8_t> m_inaccessible{0};

    mutable std::mutex m_pathLock; // guards m_devicePath
    std::string m_devicePath;      // of the last matched sensor; empty until the first match

    std::mutex m_ioLock; // guards the handles, the report lengths, m_outputReport and the change of
                         // m_openCount
    HidPlatform::Handle m_queryHandle = HidPlatform::kInvalidHandle;
    int m_inputLength = 0; // bytes, report ID included
    int m_outputLength = 0;
    HidPlatform::Handle m_writeHandle = HidPlatform::kInvalidHandle;
    HidPlatform::Handle m_readHandle = HidPlatform::kInvalidHandle;
    std::atomic<unsigned> m_openCount{0}; // advances with every open that found the sensor
    uint8_t m_outputReport[kReportBufferBytes] = {};

    std::mutex m_notifyLock; // guards m_changed; held while it runs
    DeviceChangeCallback m_changed;

    AcquisitionGate m_gate;
};
