#include "device/HidapiPlatform.h"

#include "analysis/Trace.h"
#include "device/HidMonitor.h"

#include <hidapi/hidapi.h>

#include <algorithm>

namespace {
constexpr int kReportLength = 65;                   // report ID byte + 64 data bytes
constexpr std::chrono::milliseconds kReadSlice{50}; // cancellation is noticed this often

std::vector<HidInterfaceInfo> ListInterfaces() {
    std::vector<HidInterfaceInfo> list;
    hid_device_info* all = hid_enumerate(0, 0);
    for (hid_device_info* info = all; info; info = info->next)
        list.push_back(HidInterfaceInfo{info->vendor_id, info->product_id, info->path});
    hid_free_enumeration(all);
    return list;
}
} // namespace

HidapiPlatform::HidapiPlatform() {
    if (hid_init() != 0)
        TRACE("hid_init failed\n");
}

HidapiPlatform::~HidapiPlatform() {
    SetDeviceChangeCallback({});
    for (auto& [handle, open] : m_handles) {
        if (open.device)
            hid_close(open.device);
    }
    hid_exit();
}

std::vector<HidInterfaceInfo> HidapiPlatform::Enumerate() {
    std::vector<HidInterfaceInfo> list = ListInterfaces();
    std::lock_guard<std::mutex> guard(m_lock);
    m_enumerated.clear();
    for (const HidInterfaceInfo& info : list)
        m_enumerated[info.path] = info;
    return list;
}

HidPlatform::Handle HidapiPlatform::Open(const std::string& path, Access access) {
    std::unique_lock<std::mutex> lock(m_lock);
    auto known = m_enumerated.find(path);
    if (known == m_enumerated.end())
        return kInvalidHandle;
    OpenHandle open{nullptr, known->second.vendorId, known->second.productId};
    if (access != Access::Query) {
        lock.unlock();
        open.device = hid_open_path(path.c_str());
        if (!open.device)
            return kInvalidHandle;
        lock.lock();
    }
    Handle handle = m_nextHandle++;
    m_handles[handle] = open;
    return handle;
}

void HidapiPlatform::Close(Handle handle) {
    hid_device* device = nullptr;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_handles.find(handle);
        if (it == m_handles.end())
            return;
        device = it->second.device;
        m_handles.erase(it);
    }
    if (device)
        hid_close(device);
}

hid_device* HidapiPlatform::Device(Handle handle) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_handles.find(handle);
    return it == m_handles.end() ? nullptr : it->second.device;
}

bool HidapiPlatform::GetAttributes(Handle handle, uint16_t* vendorId, uint16_t* productId) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_handles.find(handle);
    if (it == m_handles.end())
        return false;
    *vendorId = it->second.vendorId;
    *productId = it->second.productId;
    return true;
}

bool HidapiPlatform::GetReportLengths(Handle handle, int* inputLength, int* outputLength) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_handles.contains(handle))
        return false;
    *inputLength = kReportLength;
    *outputLength = kReportLength;
    return true;
}

bool HidapiPlatform::SetNumInputBuffers(Handle, int) {
    return false;
}

bool HidapiPlatform::Write(Handle handle, const uint8_t* report, int length) {
    hid_device* device = Device(handle);
    return device && length > 0 && hid_write(device, report, static_cast<size_t>(length)) >= 0;
}

HidPlatform::ReadStatus HidapiPlatform::Read(Handle handle, uint8_t* report, int length,
                                             int* received, std::chrono::milliseconds limit,
                                             ReadCancel& cancel) {
    *received = 0;
    hid_device* device = Device(handle);
    if (!device || length < 2)
        return ReadStatus::Failed;
    report[0] = 0; // the sensor numbers no reports
    for (auto left = limit; left.count() > 0; left -= kReadSlice) {
        if (cancel.Requested())
            return ReadStatus::Cancelled;
        int slice = static_cast<int>(std::min(left, kReadSlice).count());
        int bytes = hid_read_timeout(device, report + 1, static_cast<size_t>(length - 1), slice);
        if (bytes < 0)
            return ReadStatus::Failed;
        if (bytes > 0) {
            *received = bytes + 1;
            return ReadStatus::Report;
        }
    }
    return cancel.Requested() ? ReadStatus::Cancelled : ReadStatus::Timeout;
}

void HidapiPlatform::SetDeviceChangeCallback(DeviceChangeCallback callback) {
    std::lock_guard<std::mutex> guard(m_monitorLock);
    m_monitor.reset();
    if (callback) {
        m_monitor = std::make_unique<HidMonitor>(std::move(callback), [] {
            std::vector<std::string> paths;
            for (const HidInterfaceInfo& info : ListInterfaces())
                paths.push_back(info.path);
            return paths;
        });
    }
}
