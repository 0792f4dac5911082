#include "device/HidMonitor.h"

#include "analysis/Trace.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

namespace {
bool UdevRuns() {
    return access("/run/udev/control", F_OK) == 0;
}
} // namespace

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
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        TRACE("HID monitor: udev monitor unavailable, listing devices instead\n");
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
        RunPolling();
        return;
    }
    pollfd fds[2] = {{m_stopFd, POLLIN, 0}, {udev_monitor_get_fd(monitor), POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            TRACE("HID monitor: poll failed: %s\n", std::strerror(errno));
            break;
        }
        if (fds[0].revents != 0)
            break;
        if ((fds[1].revents & POLLIN) == 0)
            continue;
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
                m_callback(DeviceChange{DeviceChange::kRemoveComplete, DeviceChange::kTypeInterface,
                                        node});
        }
        udev_device_unref(device);
    }
    udev_monitor_unref(monitor);
    udev_unref(context);
}

void HidMonitor::RunPolling() {
    auto list = [this] {
        std::vector<std::string> paths = m_listPaths();
        return std::set<std::string>(paths.begin(), paths.end());
    };
    std::set<std::string> known = list();
    while (!WaitForStop(1000)) {
        std::set<std::string> present = list();
        for (const std::string& path : known) {
            if (!present.contains(path))
                m_callback(DeviceChange{DeviceChange::kRemoveComplete, DeviceChange::kTypeInterface,
                                        path});
        }
        for (const std::string& path : present) {
            if (!known.contains(path))
                m_callback(
                    DeviceChange{DeviceChange::kArrival, DeviceChange::kTypeInterface, path});
        }
        known = std::move(present);
    }
}
