#pragma once
// The operating-system side of the sensor link: HID interface enumeration, handles, one
// output report per write, one input report per read, and arrival/removal notifications.
// SensorLink holds the logic; a platform only carries out single operations. Backends: the
// real sensor through hidapi (HidapiPlatform) and a simulated sensor (SimulatedSensor).
//
// Threads: Enumerate, Open, Close and the attribute calls run on the link owner's thread at
// start-up and on the platform's notification thread afterwards, Write and Read on the
// acquisition thread; the link never runs two of them at once on the same handle and never
// closes a handle while it is in use. Device-change callbacks arrive on a thread of the
// platform. A backend makes its calls safe to make from several threads at once: where the
// system library is not (hidapi), the backend calls it from one thread at a time.

#include "device/ReadCancel.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct HidInterfaceInfo {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string path;
};

// A device-change notification as the link's handler receives it.
struct DeviceChange {
    static constexpr uint32_t kArrival = 0x8000;        // a device interface arrived
    static constexpr uint32_t kRemoveComplete = 0x8004; // a device interface is gone
    static constexpr uint32_t kTypeInterface = 5;       // the event carries an interface path

    uint32_t event = 0;
    uint32_t deviceType = kTypeInterface;
    std::string path;
};

using DeviceChangeCallback = std::function<void(const DeviceChange&)>;

class HidPlatform {
public:
    using Handle = int;
    static constexpr Handle kInvalidHandle = -1;

    enum class Access {
        Query, // attributes, report lengths, input-buffer count; no data transfer
        Write, // output reports
        Read,  // input reports
    };

    enum class ReadStatus {
        Report,    // a report was read
        Timeout,   // nothing arrived within the limit; the pending transfer is cancelled
        Cancelled, // ended early through ReadCancel; nothing was read
        Failed,    // the read failed (device gone, invalid handle)
    };

    virtual ~HidPlatform() = default;

    // Present HID interfaces, in the system's enumeration order.
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // kInvalidHandle when the interface cannot be opened for that access.
    virtual Handle Open(const std::string& path, Access access) = 0;
    virtual void Close(Handle handle) = 0;
    // Vendor and product ID; false when they cannot be read.
    virtual bool GetAttributes(Handle handle, uint16_t* vendorId, uint16_t* productId) = 0;
    // Report lengths in bytes, report ID byte included; false when unknown.
    virtual bool GetReportLengths(Handle handle, int* inputLength, int* outputLength) = 0;
    // Number of input reports the system queues for the handle; false where the platform
    // cannot set it.
    virtual bool SetNumInputBuffers(Handle handle, int count) = 0;
    // Writes one output report (byte 0 is the report ID); false on failure.
    virtual bool Write(Handle handle, const uint8_t* report, int length) = 0;
    // Reads one input report into report (byte 0 receives the report ID, 0 when the device
    // numbers no reports). *received gets the bytes stored.
    virtual ReadStatus Read(Handle handle, uint8_t* report, int length, int* received,
                            std::chrono::milliseconds limit, ReadCancel& cancel) = 0;
    // Starts delivering arrival and removal of HID interfaces to callback (on a platform
    // thread); an empty callback stops the delivery and returns once no call is running.
    virtual void SetDeviceChangeCallback(DeviceChangeCallback callback) = 0;
};

// The platform the program and tondrela-record use: option "" is the real sensor,
// "synthetic" a simulated sensor with a synthetic pulse, anything else the path of a .csv
// or .ppg recording that a simulated sensor replays in a loop. speed makes a simulated
// clock run that many times faster than real time (ignored for the real sensor). Returns
// nullptr and a message in *error when the recording cannot be read.
std::unique_ptr<HidPlatform> MakeHidPlatform(const std::string& option, double speed = 1.0,
                                             std::string* error = nullptr);
