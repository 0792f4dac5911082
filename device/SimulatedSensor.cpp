#include "device/SimulatedSensor.h"

#include "device/SensorLink.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kMaxPendingRequests = 64;
constexpr std::chrono::seconds kIdleRestart{1}; // no request for this long: clock restarts
} // namespace

SimulatedSensor::SimulatedSensor(std::unique_ptr<PulseSource> source, double speed)
    : m_source(std::move(source)), m_speed(speed > 0 ? speed : 1.0) {
    RestartClockLocked(Clock::now());
}

SimulatedSensor::~SimulatedSensor() = default;

void SimulatedSensor::RestartClockLocked(Clock::time_point now) {
    m_clockStart = now;
    m_lastRequest = now;
    m_samplesSent = 0;
}

void SimulatedSensor::Unplug() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_plugged)
            return;
        m_plugged = false;
        m_pendingRequests = 0;
    }
    Notify(DeviceChange::kRemoveComplete, kPath);
}

void SimulatedSensor::PlugIn() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_plugged)
            return;
        m_plugged = true;
        ++m_plugCount;
        RestartClockLocked(Clock::now());
    }
    Notify(DeviceChange::kArrival, kPath);
}

void SimulatedSensor::SetAnswering(bool answering) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_answering = answering;
    if (!answering)
        m_pendingRequests = 0;
}

long long SimulatedSensor::SamplesSent() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_totalSent;
}

void SimulatedSensor::SetAccessible(bool accessible) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_accessible = accessible;
}

void SimulatedSensor::AnnounceOther(uint32_t event, const std::string& path) {
    Notify(event, path);
}

void SimulatedSensor::Notify(uint32_t event, const std::string& path) {
    std::lock_guard<std::mutex> guard(m_callbackLock);
    if (m_callback)
        m_callback(DeviceChange{event, DeviceChange::kTypeInterface, path});
}

void SimulatedSensor::SetDeviceChangeCallback(DeviceChangeCallback callback) {
    std::lock_guard<std::mutex> guard(m_callbackLock);
    m_callback = std::move(callback);
}

std::vector<HidInterfaceInfo> SimulatedSensor::Enumerate() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_plugged)
        return {};
    return {HidInterfaceInfo{SensorLink::kVendorId, SensorLink::kProductId, kPath}};
}

HidPlatform::Handle SimulatedSensor::Open(const std::string& path, Access access) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_plugged || path != kPath || (access != Access::Query && !m_accessible))
        return kInvalidHandle;
    Handle handle = m_nextHandle++;
    m_handles[handle] = OpenHandle{access, m_plugCount};
    return handle;
}

void SimulatedSensor::Close(Handle handle) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_handles.erase(handle);
}

bool SimulatedSensor::UsableLocked(Handle handle, Access access) const {
    auto it = m_handles.find(handle);
    return it != m_handles.end() && m_plugged && it->second.plugCount == m_plugCount &&
           (access == Access::Query || it->second.access == access);
}

bool SimulatedSensor::GetAttributes(Handle handle, uint16_t* vendorId, uint16_t* productId) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!UsableLocked(handle, Access::Query))
        return false;
    *vendorId = SensorLink::kVendorId;
    *productId = SensorLink::kProductId;
    return true;
}

bool SimulatedSensor::GetReportLengths(Handle handle, int* inputLength, int* outputLength) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!UsableLocked(handle, Access::Query))
        return false;
    *inputLength = kReportLength;
    *outputLength = kReportLength;
    return true;
}

bool SimulatedSensor::SetNumInputBuffers(Handle handle, int count) {
    std::lock_guard<std::mutex> guard(m_lock);
    return UsableLocked(handle, Access::Query) && count > 0;
}

bool SimulatedSensor::Write(Handle handle, const uint8_t*, int length) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!UsableLocked(handle, Access::Write) || length != kReportLength)
        return false;
    auto now = Clock::now();
    if (now - m_lastRequest > kIdleRestart)
        RestartClockLocked(now);
    m_lastRequest = now;
    if (m_answering)
        m_pendingRequests = std::min(m_pendingRequests + 1, kMaxPendingRequests);
    return true;
}

HidPlatform::ReadStatus SimulatedSensor::Read(Handle handle, uint8_t* report, int length,
                                              int* received, std::chrono::milliseconds limit,
                                              ReadCancel& cancel) {
    *received = 0;
    auto ready = [&] {
        std::lock_guard<std::mutex> guard(m_lock);
        return !UsableLocked(handle, Access::Read) || (m_answering && m_pendingRequests > 0);
    };
    bool cancelled = cancel.WaitFor(limit, ready);
    std::lock_guard<std::mutex> guard(m_lock);
    if (!UsableLocked(handle, Access::Read))
        return ReadStatus::Failed;
    if (m_answering && m_pendingRequests > 0 && !cancelled) {
        --m_pendingRequests;
        *received = AnswerLocked(report, length);
        return ReadStatus::Report;
    }
    return cancelled ? ReadStatus::Cancelled : ReadStatus::Timeout;
}

int SimulatedSensor::AnswerLocked(uint8_t* report, int length) {
    const int bytes = std::clamp(length, 0, kReportLength);
    std::memset(report, 0, static_cast<size_t>(bytes));
    if (bytes < 2)
        return bytes;
    double elapsed = std::chrono::duration<double>(Clock::now() - m_clockStart).count();
    long long due = static_cast<long long>(elapsed * kSampleRate * m_speed);
    int groups = static_cast<int>(std::clamp(due - m_samplesSent, 0LL, 1LL * kMaxGroups));
    groups = std::min(groups, (bytes - 2) / 3);
    report[1] = static_cast<uint8_t>(groups);
    for (int i = 0; i < groups; ++i) {
        auto sample = static_cast<uint16_t>(m_source->Next());
        uint8_t* group = report + 2 + 3 * i;
        group[0] = (m_groupsSent++ % 2 == 0) ? 0xFF : 0xFE;
        group[1] = static_cast<uint8_t>(sample >> 8);
        group[2] = static_cast<uint8_t>(sample & 0xFF);
    }
    m_samplesSent += groups;
    m_totalSent += groups;
    return bytes;
}
