#include "device/HidapiPlatform.h"

#include "analysis/Trace.h"
#include "device/HidMonitor.h"

#include <hidapi/hidapi.h>

#include <algorithm>

namespace {
constexpr int kReportLength = 65; // report ID byte + 64 data bytes
// A waiting read looks for a report this often; an answer waits at most this long extra.
constexpr std::chrono::milliseconds kReadPoll{4};

// The one lock of every hidapi call in the process (see HidapiPlatform.h).
std::mutex& HidapiLock() {
    static std::mutex lock;
    return lock;
}

std::vector<HidInterfaceInfo> ListInterfacesLocked() {
    std::vector<HidInterfaceInfo> list;
    hid_device_info* all = hid_enumerate(0, 0);
    for (hid_device_info* info = all; info; info = info->next) {
        if (info->path)
            list.push_back(HidInterfaceInfo{info->vendor_id, info->product_id, info->path});
    }
    hid_free_enumeration(all);
    return list;
}
} // namespace

HidapiPlatform::HidapiPlatform() {
    std::lock_guard<std::mutex> guard(HidapiLock());
    if (hid_init() != 0)
        TRACE("hid_init failed\n");
}

HidapiPlatform::~HidapiPlatform() {
    SetDeviceChangeCallback({});
    std::lock_guard<std::mutex> guard(HidapiLock());
    for (auto& [handle, open] : m_handles) {
        if (open.device)
            hid_close(open.device);
    }
    hid_exit();
}

std::vector<HidInterfaceInfo> HidapiPlatform::Enumerate() {
    std::lock_guard<std::mutex> guard(HidapiLock());
    std::vector<HidInterfaceInfo> list = ListInterfacesLocked();
    m_enumerated.clear();
    for (const HidInterfaceInfo& info : list)
        m_enumerated[info.path] = info;
    return list;
}

HidPlatform::Handle HidapiPlatform::Open(const std::string& path, Access access) {
    std::lock_guard<std::mutex> guard(HidapiLock());
    auto known = m_enumerated.find(path);
    OpenHandle open{nullptr, 0, 0};
    if (access == Access::Query) {
        if (known == m_enumerated.end())
            return kInvalidHandle;
        open.vendorId = known->second.vendorId;
        open.productId = known->second.productId;
    } else {
        open.device = hid_open_path(path.c_str());
        if (!open.device) {
            TRACE("cannot open %s: %ls\n", path.c_str(), hid_error(nullptr));
            return kInvalidHandle;
        }
    }
    Handle handle = m_nextHandle++;
    m_handles[handle] = open;
    return handle;
}

void HidapiPlatform::Close(Handle handle) {
    std::lock_guard<std::mutex> guard(HidapiLock());
    auto it = m_handles.find(handle);
    if (it == m_handles.end())
        return;
    if (it->second.device)
        hid_close(it->second.device);
    m_handles.erase(it);
}

hid_device* HidapiPlatform::DeviceLocked(Handle handle) const {
    auto it = m_handles.find(handle);
    return it == m_handles.end() ? nullptr : it->second.device;
}

bool HidapiPlatform::GetAttributes(Handle handle, uint16_t* vendorId, uint16_t* productId) {
    std::lock_guard<std::mutex> guard(HidapiLock());
    auto it = m_handles.find(handle);
    if (it == m_handles.end() || it->second.device)
        return false;
    *vendorId = it->second.vendorId;
    *productId = it->second.productId;
    return true;
}

bool HidapiPlatform::GetReportLengths(Handle handle, int* inputLength, int* outputLength) {
    std::lock_guard<std::mutex> guard(HidapiLock());
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
    std::lock_guard<std::mutex> guard(HidapiLock());
    hid_device* device = DeviceLocked(handle);
    return device && length > 0 && hid_write(device, report, static_cast<size_t>(length)) >= 0;
}

HidPlatform::ReadStatus HidapiPlatform::Read(Handle handle, uint8_t* report, int length,
                                             int* received, std::chrono::milliseconds limit,
                                             ReadCancel& cancel) {
    *received = 0;
    if (length < 2)
        return ReadStatus::Failed;
    report[0] = 0; // the sensor numbers no reports
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (cancel.Requested())
            return ReadStatus::Cancelled;
        int bytes = -1;
        {
            std::lock_guard<std::mutex> guard(HidapiLock());
            if (hid_device* device = DeviceLocked(handle))
                bytes = hid_read_timeout(device, report + 1, static_cast<size_t>(length - 1), 0);
        }
        if (bytes < 0)
            return ReadStatus::Failed;
        if (bytes > 0) {
            *received = bytes + 1;
            return ReadStatus::Report;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= end)
            return ReadStatus::Timeout;
        const auto wait = std::min<std::chrono::steady_clock::duration>(end - now, kReadPoll);
        cancel.WaitFor(std::chrono::ceil<std::chrono::milliseconds>(wait), [] { return false; });
    }
}

void HidapiPlatform::SetDeviceChangeCallback(DeviceChangeCallback callback) {
    std::lock_guard<std::mutex> guard(m_monitorLock);
    m_monitor.reset();
    if (callback) {
        m_monitor = std::make_unique<HidMonitor>(std::move(callback), [] {
            std::vector<std::string> paths;
            std::lock_guard<std::mutex> hidapi(HidapiLock());
            for (const HidInterfaceInfo& info : ListInterfacesLocked())
                paths.push_back(info.path);
            return paths;
        });
    }
}
