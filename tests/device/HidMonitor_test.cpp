#include "device/HidMonitor.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace {

using Changes = std::vector<std::pair<uint32_t, std::string>>;

constexpr uint32_t kIn = DeviceChange::kArrival;
constexpr uint32_t kOut = DeviceChange::kRemoveComplete;

// Listings taken a second apart, without udev.
TEST(CompareListings, ReportsEveryDeviceThatCameOrWentAtItsNode) {
    struct Case {
        const char* what;
        InterfaceListing before;
        InterfaceListing after;
        Changes changes;
    };
    const Case cases[] = {
        {"nothing changed",
         {{"/dev/hidraw0", "0003:04D8:003F.0001"}},
         {{"/dev/hidraw0", "0003:04D8:003F.0001"}},
         {}},
        {"plugged in", {}, {{"/dev/hidraw0", "0003:04D8:003F.0001"}}, {{kIn, "/dev/hidraw0"}}},
        {"unplugged", {{"/dev/hidraw0", "0003:04D8:003F.0001"}}, {}, {{kOut, "/dev/hidraw0"}}},
        // Unplugged and plugged in again within one listing: the same node, a new device.
        {"replugged at the same node",
         {{"/dev/hidraw0", "0003:04D8:003F.0001"}, {"/dev/hidraw1", "0003:046D:C52B.0002"}},
         {{"/dev/hidraw0", "0003:04D8:003F.0003"}, {"/dev/hidraw1", "0003:046D:C52B.0002"}},
         {{kOut, "/dev/hidraw0"}, {kIn, "/dev/hidraw0"}}},
        {"one gone, another come",
         {{"/dev/hidraw0", "a"}},
         {{"/dev/hidraw1", "b"}},
         {{kOut, "/dev/hidraw0"}, {kIn, "/dev/hidraw1"}}},
    };
    for (const Case& c : cases) {
        Changes changes;
        for (const DeviceChange& change : CompareListings(c.before, c.after)) {
            EXPECT_EQ(change.deviceType, DeviceChange::kTypeInterface) << c.what;
            changes.emplace_back(change.event, change.path);
        }
        EXPECT_EQ(changes, c.changes) << c.what;
    }
}

// A monitor descriptor that fails without data must end the wait (the monitor then lists
// devices instead) rather than wake the poll again at once, for ever.
TEST(WaitForMonitor, TellsDataFromFailureAndStop) {
    int stop[2];
    ASSERT_EQ(pipe2(stop, O_CLOEXEC), 0);
    struct Case {
        const char* what;
        bool writeEndClosed; // the monitor's read end hangs up, without data
        bool data;
        bool stopSignalled;
        MonitorWake wake;
    };
    const Case cases[] = {
        {"data", false, true, false, MonitorWake::Event},
        {"hang-up without data", true, false, false, MonitorWake::Failed},
        {"stop", false, false, true, MonitorWake::Stop},
    };
    for (const Case& c : cases) {
        int monitor[2];
        ASSERT_EQ(pipe2(monitor, O_CLOEXEC), 0);
        if (c.data) {
            ASSERT_EQ(write(monitor[1], "x", 1), 1);
        }
        if (c.writeEndClosed)
            close(monitor[1]);
        if (c.stopSignalled) {
            ASSERT_EQ(write(stop[1], "x", 1), 1);
        }
        EXPECT_EQ(WaitForMonitor(stop[0], monitor[0]), c.wake) << c.what;
        close(monitor[0]);
        if (!c.writeEndClosed)
            close(monitor[1]);
    }
    close(stop[0]);
    close(stop[1]);
}

} // namespace
