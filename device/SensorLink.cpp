#include "device/SensorLink.h"

#include "analysis/Trace.h"

#include <algorithm>
#include <cstring>

namespace {
bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
}
} // namespace

SensorLink::SensorLink(std::unique_ptr<HidPlatform> platform, std::chrono::milliseconds readLimit)
    : m_platform(std::move(platform)), m_readLimit(readLimit) {}

SensorLink::~SensorLink() {
    m_platform->SetDeviceChangeCallback({});
    std::lock_guard<std::mutex> guard(m_ioLock);
    CloseHandlesLocked();
}

void SensorLink::StartUp(DeviceChangeCallback changed) {
    OpenSensor();
    if (DeviceOpen()) {
        m_sensorConnected = 1;
        SetInputBuffers();
    } else {
        m_sensorConnected = 0;
    }
    RegisterSensorNotification(std::move(changed));
    m_platform->SetDeviceChangeCallback([this](const DeviceChange& change) {
        HandleDeviceChange(change);
        std::lock_guard<std::mutex> guard(m_notifyLock);
        if (m_changed)
            m_changed(change);
    });
}

void SensorLink::RegisterSensorNotification(DeviceChangeCallback changed) {
    std::lock_guard<std::mutex> guard(m_notifyLock);
    m_changed = std::move(changed);
}

std::string SensorLink::DevicePath() const {
    std::lock_guard<std::mutex> guard(m_pathLock);
    return m_devicePath;
}

bool SensorLink::OpenSensor() {
    std::lock_guard<std::mutex> guard(m_ioLock);
    // Handles of an earlier open (a removed sensor, or the same sensor found again) go first,
    // so that nothing leaks and the acquisition thread never sees a half-replaced set.
    CloseHandlesLocked();
    m_deviceOpen = 0;
    m_inaccessible = 0;
    for (const HidInterfaceInfo& info : m_platform->Enumerate()) {
        HidPlatform::Handle query = m_platform->Open(info.path, HidPlatform::Access::Query);
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        bool attributes = query != HidPlatform::kInvalidHandle &&
                          m_platform->GetAttributes(query, &vendorId, &productId);
        if (attributes && vendorId == kVendorId && productId == kProductId) {
            {
                std::lock_guard<std::mutex> path(m_pathLock);
                m_devicePath = info.path;
            }
            m_queryHandle = query;
            int inputLength = 0;
            int outputLength = 0;
            if (!m_platform->GetReportLengths(query, &inputLength, &outputLength))
                inputLength = outputLength = 0;
            m_inputLength = std::clamp(inputLength, 0, kReportBufferBytes);
            m_outputLength = std::clamp(outputLength, 0, kReportBufferBytes);
            m_writeHandle = m_platform->Open(info.path, HidPlatform::Access::Write);
            OpenReadChannel(info.path);
            if (m_writeHandle == HidPlatform::kInvalidHandle ||
                m_readHandle == HidPlatform::kInvalidHandle) {
                // Every cycle would fail: say so instead of showing the sensor as connected.
                TRACE("sensor found at %s but it cannot be opened\n", info.path.c_str());
                CloseHandlesLocked();
                m_inaccessible = 1;
            } else {
                m_deviceOpen = 1;
                ++m_openCount;
            }
            break;
        }
        CloseIfValid(&query);
    }
    return DeviceOpen();
}

void SensorLink::OpenReadChannel(const std::string& path) {
    m_readHandle = m_platform->Open(path, HidPlatform::Access::Read);
}

bool SensorLink::IsSensorPath(const DeviceChange& change) const {
    std::lock_guard<std::mutex> guard(m_pathLock);
    return change.deviceType == DeviceChange::kTypeInterface && !m_devicePath.empty() &&
           EqualsIgnoringCase(change.path, m_devicePath);
}

void SensorLink::HandleDeviceChange(const DeviceChange& change) {
    const bool ours = IsSensorPath(change);
    if (change.event == DeviceChange::kArrival) {
        // The connection state follows what the open found: an arrival of the sensor's own
        // path that cannot be opened again must not show the sensor as connected.
        bool open = OpenSensor();
        m_sensorConnected = open ? 1 : 0;
        if (open && !ours)
            SetInputBuffers();
    } else if (change.event == DeviceChange::kRemoveComplete && ours) {
        m_deviceOpen = 0;
        m_sensorConnected = 0;
        m_inaccessible = 0;
    }
}

void SensorLink::SetInputBuffers() {
    std::lock_guard<std::mutex> guard(m_ioLock);
    if (m_queryHandle != HidPlatform::kInvalidHandle)
        m_platform->SetNumInputBuffers(m_queryHandle, kInputBuffers);
}

int SensorLink::ExchangeReports(uint8_t* report, ReadCancel& cancel) {
    std::unique_lock<std::mutex> lock(m_ioLock);
    SendRequestLocked();
    return ReadInputLocked(lock, report, cancel);
}

void SensorLink::SendRequestLocked() {
    m_outputReport[0] = 0; // report ID; the request carries nothing else
    bool written = m_writeHandle != HidPlatform::kInvalidHandle &&
                   m_platform->Write(m_writeHandle, m_outputReport, m_outputLength);
    if (!written) {
        TRACE("Can't write to device\n");
        CloseHandlesLocked();
        m_deviceOpen = 0;
    }
}

int SensorLink::ReadInputLocked(std::unique_lock<std::mutex>& lock, uint8_t* report,
                                ReadCancel& cancel) {
    std::memset(report, 0, kReportBufferBytes);
    int received = 0;
    HidPlatform::ReadStatus status;
    if (m_readHandle != HidPlatform::kInvalidHandle) {
        status =
            m_platform->Read(m_readHandle, report, m_inputLength, &received, m_readLimit, cancel);
    } else {
        // No transfer can start: the read waits out its limit. The lock is released meanwhile
        // so that the sensor can be opened again; a new open ends the wait with an empty
        // report, as does a cancellation.
        const unsigned openCount = m_openCount;
        lock.unlock();
        cancel.WaitFor(m_readLimit, [&] { return m_openCount != openCount; });
        lock.lock();
        status = cancel.Requested() || m_openCount != openCount ? HidPlatform::ReadStatus::Cancelled
                                                                : HidPlatform::ReadStatus::Timeout;
    }

    switch (status) {
    case HidPlatform::ReadStatus::Report:
        return std::clamp(received, 0, m_inputLength);
    case HidPlatform::ReadStatus::Cancelled:
        break;
    case HidPlatform::ReadStatus::Timeout:
        TRACE("ReadFile timeout \n");
        TRACE("Can't read from device  ");
        CloseHandlesLocked();
        m_deviceOpen = 0;
        break;
    case HidPlatform::ReadStatus::Failed:
        TRACE("Undefined error \n");
        CloseHandlesLocked();
        TRACE("Can't read from device \n");
        m_deviceOpen = 0;
        break;
    }
    std::memset(report, 0, kReportBufferBytes);
    return 0;
}

void SensorLink::CloseHandlesLocked() {
    CloseIfValid(&m_queryHandle);
    CloseIfValid(&m_readHandle);
    CloseIfValid(&m_writeHandle);
}

void SensorLink::CloseIfValid(HidPlatform::Handle* handle) {
    if (*handle != HidPlatform::kInvalidHandle) {
        m_platform->Close(*handle);
        *handle = HidPlatform::kInvalidHandle;
    }
}
