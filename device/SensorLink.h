#pragma once
// SensorLink: the one link per process to the finger-clip sensor (USB HID, vendor 0x04D8,
// product 0x003F). It finds and opens the sensor (an attribute handle, a write handle and a
// read handle), exchanges one request and one answer report per acquisition cycle, and keeps
// the connection state that the windows show and check.
//
// Threads:
// - StartUp, OpenSensor, HandleDeviceChange, RegisterSensorNotification and DevicePath belong
//   to the owner's (GUI) thread, one call at a time.
// - SendRequestReport, ReadInputReport, InputReport and InputBytes belong to the acquisition
//   thread; at most one acquisition loop uses the link at a time.
// - CancelRead, ResumeReads, DeviceOpen and SensorConnected may be called from any thread.
// Opening and closing are serialised against each write and each read (m_ioLock), so that a
// device change never replaces or closes a handle while the acquisition thread uses it.
//
// Device-change notifications arrive on a platform thread. The link only forwards them to the
// callback given to StartUp/RegisterSensorNotification; the GUI posts each one to its own
// thread and calls HandleDeviceChange there, then shows SensorConnected(): message 30002 in
// white when it is 1, else 30001 in red.

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
    // Stops the notifications and closes the handles. No acquisition loop may run.
    ~SensorLink();
    SensorLink(const SensorLink&) = delete;
    SensorLink& operator=(const SensorLink&) = delete;

    // Start-up: OpenSensor, register the notification callback, then sensorConnected = 1 and
    // 5 input buffers when the sensor was opened, else sensorConnected = 0.
    void StartUp(DeviceChangeCallback notify);
    // Opens the first interface in enumeration order with the sensor's IDs; handles of an
    // earlier open are closed first. Returns deviceOpen.
    bool OpenSensor();
    void RegisterSensorNotification(DeviceChangeCallback notify);
    // Re-opens the sensor on an arrival, marks it lost on its removal (handles stay open
    // until the next open or I/O failure), and updates sensorConnected.
    void HandleDeviceChange(const DeviceChange& change);

    // One all-zero output report of the device's output length. A failed write closes the
    // link.
    void SendRequestReport();
    // Reads one input report into InputReport() (cleared first), waiting up to the read
    // limit. A time-out or failure closes the link; a cancelled read leaves an empty report
    // and the link as it is.
    void ReadInputReport();
    const uint8_t* InputReport() const { return m_inputReport; }
    // Bytes the last read stored (0 when nothing was read).
    int InputBytes() const { return m_bytesRead; }

    // Ends a pending read at once and makes reads return at once (cancelled) until
    // ResumeReads. Used by the acquisition's stop.
    void CancelRead() { m_cancel.Request(); }
    void ResumeReads() { m_cancel.Clear(); }

    // The one acquisition loop on the link: a loop claims the link before its thread starts
    // and releases it once that thread has been joined, so that two windows never run loops
    // on the link at once. ClaimLoop is false while another loop holds the link.
    bool ClaimLoop() { return !m_loopClaimed.exchange(true); }
    void ReleaseLoop() { m_loopClaimed = false; }

    bool DeviceOpen() const { return m_deviceOpen.load() != 0; }
    bool SensorConnected() const { return m_sensorConnected.load() != 0; }
    const std::string& DevicePath() const { return m_devicePath; }

private:
    void OpenReadChannel(const std::string& path);
    void SetInputBuffers();
    void CloseHandlesLocked();
    void CloseIfValid(HidPlatform::Handle* handle);

    std::unique_ptr<HidPlatform> m_platform;
    const std::chrono::milliseconds m_readLimit;

    std::atomic<int> m_sensorConnected{0};
    std::atomic<bool> m_loopClaimed{false};
    std::atomic<uint8_t> m_deviceOpen{0};

    std::mutex m_ioLock; // guards the handles, the report lengths and m_openCount's change
    HidPlatform::Handle m_queryHandle = HidPlatform::kInvalidHandle;
    std::string m_devicePath; // owner's thread only
    int m_inputLength = 0;    // bytes, report ID included
    int m_outputLength = 0;
    HidPlatform::Handle m_writeHandle = HidPlatform::kInvalidHandle;
    HidPlatform::Handle m_readHandle = HidPlatform::kInvalidHandle;
    std::atomic<unsigned> m_openCount{0}; // advances with every open that found the sensor
    ReadCancel m_cancel;

    // Acquisition thread only.
    int m_bytesRead = 0;
    uint8_t m_inputReport[kReportBufferBytes] = {};
    uint8_t m_outputReport[kReportBufferBytes] = {};
};
