#pragma once
// Arrival and removal of hidraw interfaces on Linux, reported with the interface's device
// node (the path hidapi opens). When udev runs, the events come from a udev monitor;
// otherwise, or when the monitor's socket fails, the interfaces are listed once a second and
// compared with the previous list. A listing tells the devices apart by more than their
// node: a sensor unplugged and plugged in again between two listings usually gets the same
// /dev/hidrawN, but it is a new HID device (sysfs numbers them anew), so it is reported as a
// removal and an arrival.
// The callback runs on the monitor's own thread; the destructor returns once it has ended.

#include "device/HidPlatform.h"

#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

// Interfaces by device node, each with what identifies the device behind it.
using InterfaceListing = std::map<std::string, std::string>;

// The device-change events between two listings: removals (in node order) before arrivals.
std::vector<DeviceChange> CompareListings(const InterfaceListing& before,
                                          const InterfaceListing& after);

enum class MonitorWake {
    Stop,   // the stop descriptor is readable
    Event,  // the monitor descriptor has data
    Failed, // poll failed, or the monitor descriptor reports an error or hang-up without data
};
// Waits (without limit) until the stop descriptor is readable or the monitor descriptor
// has data or fails.
MonitorWake WaitForMonitor(int stopFd, int monitorFd);

class HidMonitor {
public:
    using ListPaths = std::function<std::vector<std::string>()>;

    HidMonitor(DeviceChangeCallback callback, ListPaths listPaths);
    ~HidMonitor();
    HidMonitor(const HidMonitor&) = delete;
    HidMonitor& operator=(const HidMonitor&) = delete;

private:
    void RunUdev();
    void RunPolling();
    InterfaceListing List() const;
    bool WaitForStop(int timeoutMs); // true when the monitor is being destroyed

    DeviceChangeCallback m_callback;
    ListPaths m_listPaths;
    int m_stopFd = -1; // eventfd, written by the destructor
    std::thread m_thread;
};
