// The real hidapi backend from several threads at once, as the program uses it: the device
// monitor lists the interfaces while the link enumerates and opens. hidapi's hidraw backend
// replaces one process-wide error string in hid_enumerate, hid_open_path and hid_close, so
// without one lock around every call two threads free it twice. No device is needed: listing
// and failing to open set that string as well. Runs under AddressSanitizer and
// ThreadSanitizer.

#include "device/HidapiPlatform.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(HidapiConcurrency, ListingAndOpeningFromSeveralThreadsAtOnce) {
    HidapiPlatform link;
    HidapiPlatform tool; // a second platform in the process shares hidapi's state
    link.SetDeviceChangeCallback([](const DeviceChange&) {}); // the monitor lists as well
    constexpr int kListings = 300;
    constexpr int kOpens = 50000; // a failing open is quick; the race needs many
    std::vector<std::thread> threads;
    for (HidapiPlatform* platform : {&link, &tool}) {
        threads.emplace_back([platform] {
            for (int i = 0; i < kListings; ++i)
                platform->Enumerate();
        });
    }
    for (HidapiPlatform* platform : {&link, &link, &tool}) {
        threads.emplace_back([platform] {
            for (int i = 0; i < kOpens; ++i) {
                const auto access = i % 2 ? HidPlatform::Access::Read : HidPlatform::Access::Write;
                EXPECT_EQ(platform->Open("/dev/tondrela-absent-hidraw", access),
                          HidPlatform::kInvalidHandle);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    link.SetDeviceChangeCallback({});
}

} // namespace
