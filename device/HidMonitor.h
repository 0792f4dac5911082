#pragma once
// Arrival and removal of hidraw interfaces on Linux, reported with the interface's device
// node (the path hidapi opens). When udev runs, the events come from a udev monitor;
// otherwise the interfaces are listed once a second and compared with the previous list.
// The callback runs on the monitor's own thread; the destructor returns once it has ended.

#include "device/HidPlatform.h"

#include <functional>
#include <string>
#include <thread>
#include <vector>

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
    bool WaitForStop(int timeoutMs); // true when the monitor is being destroyed

    DeviceChangeCallback m_callback;
    ListPaths m_listPaths;
    int m_stopFd = -1; // eventfd, written by the destructor
    std::thread m_thread;
};
