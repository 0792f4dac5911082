#pragma once
// The real sensor through hidapi (hidraw on Linux). The sensor's reports are 64 bytes
// without report ID; as on other systems, reports here carry the report ID in byte 0, so
// both lengths are 65 and a read stores 0 in byte 0. hidraw keeps its own input queue, so
// the input-buffer count cannot be set. Arrival and removal come from HidMonitor.
//
// hidapi is called from one thread at a time, process-wide: its hidraw backend keeps one
// error string for the whole process that hid_enumerate, hid_open_path, hid_close and
// hid_exit free and replace, so two threads in those calls free it twice. Every hidapi call
// of the program, the monitor's listing included, runs under one lock (HidapiLock in
// HidapiPlatform.cpp), which also guards the handle tables. A read never waits inside
// hidapi: it takes what the device has queued without waiting, and waits between two looks
// outside the lock, so no other call waits for a read.
//
// Threads: every member may be called from any thread.

#include "device/HidPlatform.h"

#include <map>
#include <memory>
#include <mutex>

struct hid_device_;
class HidMonitor;

class HidapiPlatform : public HidPlatform {
public:
    HidapiPlatform();
    ~HidapiPlatform() override;

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
    struct OpenHandle {
        hid_device_* device; // null for a query handle (the IDs come from the enumeration)
        uint16_t vendorId;
        uint16_t productId;
    };

    // Under the hidapi lock: the device of a data handle, null when there is none.
    hid_device_* DeviceLocked(Handle handle) const;

    // Guarded by the hidapi lock:
    std::map<Handle, OpenHandle> m_handles;
    Handle m_nextHandle = 1;
    std::map<std::string, HidInterfaceInfo> m_enumerated; // by path, from the last Enumerate

    std::mutex m_monitorLock; // guards m_monitor; never held together with the hidapi lock
    std::unique_ptr<HidMonitor> m_monitor;
};
