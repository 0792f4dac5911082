#include "device/HidMonitor.h"

#include "analysis/Trace.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {
bool UdevRuns() {
    return access("/run/udev/control", F_OK) == 0;
}

// The HID device that a hidraw node belongs to, as sysfs names it ("0003:04D8:003F.000A",
// the last number counting up with every device the system sees); "" when unknown.
std::string DeviceIdentity(const std::string& node) {
    std::error_code ec;
    const std::filesystem::path link = std::filesystem::path("/sys/class/hidraw") /
                                       std::filesystem::path(node).filename() / "device";
    return std::filesystem::read_symlink(link, ec).filename().string();
}
} // namespace

std::vector<DeviceChange> CompareListings(const InterfaceListing& before,
                                          const InterfaceListing& after) {
    std::vector<DeviceChange> changes;
    for (const auto& [path, identity] : before) {
        auto now = after.find(path);
        if (now == after.end() || now->second != identity)
            changes.push_back({DeviceChange::kRemoveComplete, DeviceChange::kTypeInterface, path});
    }
    for (const auto& [path, identity] : after) {
        auto then = before.find(path);
        if (then == before.end() || then->second != identity)
            changes.push_back({DeviceChange::kArrival, DeviceChange::kTypeInterface, path});
    }
    return changes;
}

MonitorWake WaitForMonitor(int stopFd, int monitorFd) {
    pollfd fds[2] = {{stopFd, POLLIN, 0}, {monitorFd, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return MonitorWake::Failed;
        }
        if (fds[0].revents != 0)
            return MonitorWake::Stop;
        if (fds[1].revents & POLLIN)
            return MonitorWake::Event;
        if (fds[1].revents != 0) // POLLERR, POLLHUP or POLLNVAL: polling again returns at once
            return MonitorWake::Failed;
    }
}

HidMonitor::HidMonitor(DeviceChangeCallback callback, ListPaths listPaths)
    : m_callback(std::move(callback)), m_listPaths(std::move(listPaths)),
      m_stopFd(eventfd(0, EFD_CLOEXEC)) {
    if (m_stopFd < 0) {
        TRACE("HID monitor: no eventfd: %s\n", std::strerror(errno));
        return;
    }
    m_thread = std::thread([this] {
        if (UdevRuns())
            RunUdev();
        else
            RunPolling();
    });
}

HidMonitor::~HidMonitor() {
    if (m_thread.joinable()) {
        uint64_t one = 1;
        if (write(m_stopFd, &one, sizeof one) != sizeof one)
            TRACE("HID monitor: cannot signal stop\n");
        m_thread.join();
    }
    if (m_stopFd >= 0)
        close(m_stopFd);
}

bool HidMonitor::WaitForStop(int timeoutMs) {
    pollfd stop{m_stopFd, POLLIN, 0};
    return poll(&stop, 1, timeoutMs) > 0;
}

void HidMonitor::RunUdev() {
    udev* context = udev_new();
    udev_monitor* monitor = context ? udev_monitor_new_from_netlink(context, "udev") : nullptr;
    bool listInstead =
        !monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0;
    if (listInstead) {
        TRACE("HID monitor: udev monitor unavailable, listing devices instead\n");
    } else {
        for (;;) {
            const MonitorWake wake = WaitForMonitor(m_stopFd, udev_monitor_get_fd(monitor));
            if (wake == MonitorWake::Stop)
                break;
            if (wake == MonitorWake::Failed) {
                TRACE("HID monitor: udev monitor failed, listing devices instead\n");
                listInstead = true;
                break;
            }
            udev_device* device = udev_monitor_receive_device(monitor);
            if (!device)
                continue;
            const char* action = udev_device_get_action(device);
            const char* node = udev_device_get_devnode(device);
            if (action && node) {
                if (std::strcmp(action, "add") == 0)
                    m_callback(
                        DeviceChange{DeviceChange::kArrival, DeviceChange::kTypeInterface, node});
                else if (std::strcmp(action, "remove") == 0)
                    m_callback(DeviceChange{DeviceChange::kRemoveComplete,
                                            DeviceChange::kTypeInterface, node});
            }
            udev_device_unref(device);
        }
    }
    if (monitor)
        udev_monitor_unref(monitor);
    if (context)
        udev_unref(context);
    if (listInstead)
        RunPolling();
}

InterfaceListing HidMonitor::List() const {
    InterfaceListing listing;
    for (const std::string& path : m_listPaths())
        listing[path] = DeviceIdentity(path);
    return listing;
}

void HidMonitor::RunPolling() {
    InterfaceListing known = List();
    while (!WaitForStop(1000)) {
        InterfaceListing present = List();
        for (const DeviceChange& change : CompareListings(known, present))
            m_callback(change);
        known = std::move(present);
    }
}
