#pragma once
// A scriptable HID platform for the sensor-link and acquisition tests: a list of interfaces,
// read results, and a record of what the link did (open handles, writes, input buffers).
// As hidraw, it keeps one report queue per open read handle: a report that arrives goes to
// every read handle open at that moment, so a report that arrived before a handle was opened
// is not in its queue. A read with nothing queued waits for its limit, as a sensor that does
// not answer. An answering sensor sends one numbered report for every request written.
// Every member may be called from any thread.

#include "device/HidPlatform.h"
#include "device/SensorLink.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakeHidPlatform : public HidPlatform {
public:
    struct Interface {
        uint16_t vendorId = SensorLink::kVendorId;
        uint16_t productId = SensorLink::kProductId;
        std::string path;
        bool openable = true;   // Open succeeds
        bool attributes = true; // GetAttributes succeeds
        bool dataAccess = true; // opening for Write or Read succeeds (false: no permission)
    };

    struct ScriptedRead {
        ReadStatus status = ReadStatus::Report;
        std::vector<uint8_t> bytes; // the report as received, report ID first
    };

    struct OpenRecord {
        std::string path;
        Access access;
        bool stale = false; // the interface was unplugged after the open
        int inputBuffers = 0;
        std::deque<ScriptedRead> queue = {}; // reports arrived since the open (read handles)
    };

    static Interface Sensor(const std::string& path) { return Interface{.path = path}; }
    static Interface Other(const std::string& path) {
        return Interface{.vendorId = 0x046D, .productId = 0xC52B, .path = path};
    }

    void SetInterfaces(std::vector<Interface> interfaces) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_interfaces = std::move(interfaces);
    }
    // Removes an interface; its open handles fail from now on.
    void Unplug(const std::string& path) {
        std::lock_guard<std::mutex> guard(m_lock);
        std::erase_if(m_interfaces, [&](const Interface& i) { return i.path == path; });
        for (auto& [handle, open] : m_open) {
            if (open.path == path)
                open.stale = true;
        }
    }
    void QueueReport(std::vector<uint8_t> bytes) {
        QueueRead(ScriptedRead{ReadStatus::Report, std::move(bytes)});
    }
    // The read result arrives now: every open read handle queues it.
    void QueueRead(ScriptedRead read) {
        std::lock_guard<std::mutex> guard(m_lock);
        ArriveLocked(read);
    }
    // An answering sensor answers each request written with a report of one sample group
    // whose value counts the answers: 0, 1, 2, ...
    void SetAnswering(bool answering) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_answering = answering;
    }
    void SetWritesFail(bool fail) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_writesFail = fail;
    }
    void Fire(const DeviceChange& change) {
        DeviceChangeCallback callback;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            callback = m_callback;
        }
        if (callback)
            callback(change);
    }

    // --- What the link did ---
    int OpenCount() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return static_cast<int>(m_open.size());
    }
    std::vector<OpenRecord> OpenHandles() const {
        std::lock_guard<std::mutex> guard(m_lock);
        std::vector<OpenRecord> list;
        for (const auto& [handle, open] : m_open)
            list.push_back(open);
        return list;
    }
    int Writes() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return static_cast<int>(m_writeThreads.size());
    }
    std::vector<std::thread::id> WriteThreads() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_writeThreads;
    }
    std::vector<uint8_t> LastWrite() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_lastWrite;
    }
    ReadStatus LastReadStatus() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_lastReadStatus;
    }
    // True while a read waits with nothing queued: every queued read has been consumed and
    // the reader is past the report before.
    bool ReadBlocked() const {
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_open.find(m_waitingHandle);
        return it != m_open.end() && it->second.queue.empty();
    }
    bool HasCallback() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return static_cast<bool>(m_callback);
    }

    // --- HidPlatform ---
    std::vector<HidInterfaceInfo> Enumerate() override {
        std::lock_guard<std::mutex> guard(m_lock);
        std::vector<HidInterfaceInfo> list;
        for (const Interface& i : m_interfaces)
            list.push_back(HidInterfaceInfo{i.vendorId, i.productId, i.path});
        return list;
    }
    Handle Open(const std::string& path, Access access) override {
        std::lock_guard<std::mutex> guard(m_lock);
        const Interface* i = Find(path);
        if (!i || !i->openable || (access != Access::Query && !i->dataAccess))
            return kInvalidHandle;
        m_open[m_next] = OpenRecord{path, access};
        return m_next++;
    }
    void Close(Handle handle) override {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_open.erase(handle) == 0)
            ADD_FAILURE() << "closing handle " << handle << " that is not open";
    }
    bool GetAttributes(Handle handle, uint16_t* vendorId, uint16_t* productId) override {
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_open.find(handle);
        const Interface* i = it == m_open.end() ? nullptr : Find(it->second.path);
        if (!i || !i->attributes)
            return false;
        *vendorId = i->vendorId;
        *productId = i->productId;
        return true;
    }
    bool GetReportLengths(Handle handle, int* inputLength, int* outputLength) override {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_open.contains(handle))
            return false;
        *inputLength = inputLengthBytes;
        *outputLength = outputLengthBytes;
        return true;
    }
    bool SetNumInputBuffers(Handle handle, int count) override {
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_open.find(handle);
        if (it == m_open.end())
            return false;
        it->second.inputBuffers = count;
        return true;
    }
    bool Write(Handle handle, const uint8_t* report, int length) override {
        std::lock_guard<std::mutex> guard(m_lock);
        m_writeThreads.push_back(std::this_thread::get_id());
        auto it = m_open.find(handle);
        if (it == m_open.end() || it->second.stale || it->second.access != Access::Write ||
            m_writesFail)
            return false;
        m_lastWrite.assign(report, report + length);
        if (m_answering) {
            const int n = m_answers++;
            ArriveLocked({ReadStatus::Report,
                          {0, 1, 0xFF, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)}});
        }
        return true;
    }
    ReadStatus Read(Handle handle, uint8_t* report, int length, int* received,
                    std::chrono::milliseconds limit, ReadCancel& cancel) override {
        *received = 0;
        auto usable = [&] {
            auto it = m_open.find(handle);
            return it != m_open.end() && !it->second.stale && it->second.access == Access::Read;
        };
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (!usable())
                return Finish(ReadStatus::Failed);
            m_waitingHandle = handle;
        }
        bool cancelled = cancel.WaitFor(limit, [&] {
            std::lock_guard<std::mutex> guard(m_lock);
            return !usable() || !m_open[handle].queue.empty();
        });
        std::lock_guard<std::mutex> guard(m_lock);
        m_waitingHandle = kInvalidHandle;
        if (!usable())
            return Finish(ReadStatus::Failed);
        if (cancelled)
            return Finish(ReadStatus::Cancelled);
        std::deque<ScriptedRead>& queue = m_open[handle].queue;
        if (queue.empty())
            return Finish(ReadStatus::Timeout);
        ScriptedRead read = std::move(queue.front());
        queue.pop_front();
        int n = std::min(static_cast<int>(read.bytes.size()), length);
        std::copy(read.bytes.begin(), read.bytes.begin() + n, report);
        if (read.status == ReadStatus::Report)
            *received = n;
        return Finish(read.status);
    }
    void SetDeviceChangeCallback(DeviceChangeCallback callback) override {
        std::lock_guard<std::mutex> guard(m_lock);
        m_callback = std::move(callback);
    }

    int inputLengthBytes = 65;
    int outputLengthBytes = 65;

private:
    const Interface* Find(const std::string& path) const {
        for (const Interface& i : m_interfaces) {
            if (i.path == path)
                return &i;
        }
        return nullptr;
    }
    ReadStatus Finish(ReadStatus status) {
        m_lastReadStatus = status;
        return status;
    }
    void ArriveLocked(const ScriptedRead& read) {
        for (auto& [handle, open] : m_open) {
            if (open.access == Access::Read && !open.stale)
                open.queue.push_back(read);
        }
    }

    mutable std::mutex m_lock; // guards everything below
    std::vector<Interface> m_interfaces;
    std::map<Handle, OpenRecord> m_open;
    Handle m_next = 1;
    bool m_writesFail = false;
    bool m_answering = false;
    int m_answers = 0;
    Handle m_waitingHandle = kInvalidHandle; // of the read waiting now
    ReadStatus m_lastReadStatus = ReadStatus::Report;
    std::vector<std::thread::id> m_writeThreads;
    std::vector<uint8_t> m_lastWrite;
    DeviceChangeCallback m_callback;
};
