#include "device/SensorLink.h"
#include "tests/common/TestInputs.h"
#include "tests/device/FakeHidPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <thread>

namespace {

using Interface = FakeHidPlatform::Interface;
using Access = HidPlatform::Access;
using namespace std::chrono_literals;

const DeviceChange kArrival0{DeviceChange::kArrival, DeviceChange::kTypeInterface, "/dev/hidraw0"};
const DeviceChange kRemoval0{DeviceChange::kRemoveComplete, DeviceChange::kTypeInterface,
                             "/dev/hidraw0"};

class SensorLinkTest : public ::testing::Test {
protected:
    void MakeLink(std::chrono::milliseconds readLimit = SensorLink::kReadLimit) {
        auto platform = std::make_unique<FakeHidPlatform>();
        fake = platform.get();
        link = std::make_unique<SensorLink>(std::move(platform), readLimit);
    }
    // Start-up as the main menu runs it; the link handles device changes on the thread that
    // fires them and then tells the owner, who sees the state the change left.
    void StartUp(std::vector<Interface> interfaces = {FakeHidPlatform::Sensor("/dev/hidraw0")}) {
        fake->SetInterfaces(std::move(interfaces));
        link->StartUp([this](const DeviceChange& change) {
            told.push_back({change.event, link->SensorConnected()});
        });
    }
    // One request and answer into `report`; the bytes received.
    int Exchange() { return link->ExchangeReports(report, cancel); }
    int HandlesOn(const std::string& path) const {
        auto open = fake->OpenHandles();
        return static_cast<int>(std::count_if(
            open.begin(), open.end(), [&](const auto& record) { return record.path == path; }));
    }
    int QueryBuffers() const {
        for (const auto& record : fake->OpenHandles()) {
            if (record.access == Access::Query)
                return record.inputBuffers;
        }
        return -1;
    }
    // Connected to the sensor on path with its three handles (attributes, write, read) open.
    void ExpectOpenOn(const std::string& path) const {
        EXPECT_TRUE(link->SensorConnected());
        EXPECT_TRUE(link->DeviceOpen());
        EXPECT_EQ(link->DevicePath(), path);
        EXPECT_EQ(HandlesOn(path), 3);
        EXPECT_EQ(fake->OpenCount(), 3);
    }
    void SetUp() override { MakeLink(); }

    FakeHidPlatform* fake = nullptr;
    std::unique_ptr<SensorLink> link;
    TraceCapture trace;
    std::vector<std::pair<uint32_t, bool>> told; // event, SensorConnected() when told
    uint8_t report[SensorLink::kReportBufferBytes] = {};
    ReadCancel cancel;
};

using OpenSensor = SensorLinkTest;

TEST_F(OpenSensor, TakesTheFirstUsableSensorInEnumerationOrder) {
    Interface unopenable = FakeHidPlatform::Sensor("/dev/hidraw0");
    unopenable.openable = false;
    Interface unreadable = FakeHidPlatform::Sensor("/dev/hidraw1");
    unreadable.attributes = false;
    Interface sameMaker = FakeHidPlatform::Sensor("/dev/hidraw5"); // another product
    sameMaker.productId = SensorLink::kProductId + 1;
    StartUp({unopenable, unreadable, sameMaker, FakeHidPlatform::Other("/dev/hidraw2"),
             FakeHidPlatform::Sensor("/dev/hidraw3"), FakeHidPlatform::Sensor("/dev/hidraw4")});
    ExpectOpenOn("/dev/hidraw3");
    EXPECT_EQ(QueryBuffers(), SensorLink::kInputBuffers);
}

TEST_F(OpenSensor, WithoutSensorLeavesTheLinkClosedAndNoHandleOpen) {
    StartUp({FakeHidPlatform::Other("/dev/hidraw0"), FakeHidPlatform::Other("/dev/hidraw1")});
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_FALSE(link->SensorConnected());
    EXPECT_EQ(fake->OpenCount(), 0);
    EXPECT_TRUE(fake->HasCallback());
}

TEST_F(OpenSensor, ClosesTheHandlesOfAnEarlierOpen) {
    StartUp();
    ASSERT_TRUE(link->OpenSensor());
    EXPECT_EQ(fake->OpenCount(), 3);
    fake->SetInterfaces({});
    EXPECT_FALSE(link->OpenSensor());
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_EQ(fake->OpenCount(), 0);
}

using DeviceChangeHandling = SensorLinkTest;

TEST_F(DeviceChangeHandling, SensorPluggedInAfterStartUpIsOpened) {
    StartUp({FakeHidPlatform::Other("/dev/hidraw0")});
    ASSERT_FALSE(link->SensorConnected());
    ASSERT_TRUE(link->DevicePath().empty());

    fake->SetInterfaces(
        {FakeHidPlatform::Other("/dev/hidraw0"), FakeHidPlatform::Sensor("/dev/hidraw1")});
    fake->Fire({DeviceChange::kArrival, DeviceChange::kTypeInterface, "/dev/hidraw1"});
    ExpectOpenOn("/dev/hidraw1");
    EXPECT_EQ(QueryBuffers(), SensorLink::kInputBuffers);
    // The owner is told after the change was handled.
    EXPECT_EQ(told, (std::vector<std::pair<uint32_t, bool>>{{DeviceChange::kArrival, true}}));
}

TEST_F(DeviceChangeHandling, UnplugMarksTheSensorLostAndReplugOpensItAgain) {
    StartUp({FakeHidPlatform::Sensor("/dev/HIDRAW3")});
    ASSERT_TRUE(link->SensorConnected());

    fake->Unplug("/dev/HIDRAW3");
    fake->Fire({DeviceChange::kRemoveComplete, DeviceChange::kTypeInterface, "/dev/hidraw3"});
    EXPECT_FALSE(link->SensorConnected());
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_EQ(fake->OpenCount(), 3); // closed by the next open, not by the removal

    fake->SetInterfaces({FakeHidPlatform::Sensor("/dev/HIDRAW3")});
    fake->Fire({DeviceChange::kArrival, DeviceChange::kTypeInterface, "/dev/hidraw3"});
    ExpectOpenOn("/dev/HIDRAW3");
    auto open = fake->OpenHandles();
    EXPECT_TRUE(std::none_of(open.begin(), open.end(), [](const auto& r) { return r.stale; }));
    // The arrival of the stored path leaves the driver's input-buffer count as it was.
    EXPECT_EQ(QueryBuffers(), 0);
}

TEST_F(DeviceChangeHandling, UnrelatedDevicesAndEventsLeaveTheSensorConnected) {
    StartUp();
    fake->SetInterfaces(
        {FakeHidPlatform::Sensor("/dev/hidraw0"), FakeHidPlatform::Other("/dev/hidraw1")});
    fake->Fire({DeviceChange::kArrival, DeviceChange::kTypeInterface, "/dev/hidraw1"});
    ExpectOpenOn("/dev/hidraw0"); // re-opened: still three handles
    EXPECT_EQ(QueryBuffers(), SensorLink::kInputBuffers);
    fake->Fire({DeviceChange::kRemoveComplete, DeviceChange::kTypeInterface, "/dev/hidraw1"});
    fake->Fire({DeviceChange::kRemoveComplete, 3, "/dev/hidraw0"}); // not an interface event
    fake->Fire({0x8001, DeviceChange::kTypeInterface, "/dev/hidraw0"});
    ExpectOpenOn("/dev/hidraw0");
}

TEST_F(DeviceChangeHandling, ReturningSensorThatCannotBeOpenedShowsDisconnected) {
    StartUp();
    fake->Fire(kRemoval0);
    Interface locked = FakeHidPlatform::Sensor("/dev/hidraw0");
    locked.openable = false;
    fake->SetInterfaces({locked});
    fake->Fire(kArrival0);
    EXPECT_FALSE(link->SensorConnected());
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_EQ(fake->OpenCount(), 0);
}

// Without the udev rule the sensor enumerates with its IDs but its node cannot be opened for
// reading or writing: the link says so instead of showing it as connected.
TEST_F(DeviceChangeHandling, SensorWithoutPermissionIsToldApartUntilItCanBeOpened) {
    Interface noPermission = FakeHidPlatform::Sensor("/dev/hidraw0");
    noPermission.dataAccess = false;
    StartUp({noPermission});
    EXPECT_FALSE(link->SensorConnected());
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_TRUE(link->SensorInaccessible());
    EXPECT_EQ(fake->OpenCount(), 0);
    EXPECT_EQ(trace.Count("sensor found at /dev/hidraw0 but it cannot be opened\n"), 1);

    // The rule installed, the sensor plugged in again.
    fake->Unplug("/dev/hidraw0");
    fake->Fire(kRemoval0);
    EXPECT_FALSE(link->SensorInaccessible());
    fake->SetInterfaces({FakeHidPlatform::Sensor("/dev/hidraw0")});
    fake->Fire(kArrival0);
    ExpectOpenOn("/dev/hidraw0");
    EXPECT_FALSE(link->SensorInaccessible());
}

// A removal is shown at once even while an exchange waits for a sensor that does not answer;
// the exchange ends when its read limit passes or when it is cancelled.
TEST_F(DeviceChangeHandling, RemovalDoesNotWaitForAStalledExchange) {
    MakeLink(std::chrono::hours(1));
    StartUp();
    auto exchange = std::async(std::launch::async, [this] { return Exchange(); });
    ASSERT_TRUE(Eventually([&] { return fake->ReadBlocked(); }));
    auto removal = std::async(std::launch::async, [this] { fake->Fire(kRemoval0); });
    EXPECT_EQ(removal.wait_for(30s), std::future_status::ready);
    EXPECT_FALSE(link->SensorConnected());
    cancel.Request();
    EXPECT_EQ(exchange.get(), 0);
}

using ReportExchange = SensorLinkTest;

TEST_F(ReportExchange, RequestIsAllZeroAndTheReportIsReadWithItsLength) {
    fake->outputLengthBytes = 9;
    StartUp();
    fake->QueueReport({0, 1, 0xFF, 0x03, 0xE8});
    EXPECT_EQ(Exchange(), 5);
    EXPECT_EQ(fake->LastWrite(), std::vector<uint8_t>(9, 0));
    EXPECT_EQ(report[4], 0xE8);
    EXPECT_TRUE(link->DeviceOpen());
}

TEST_F(ReportExchange, DeviceReportLongerThanTheBufferIsCutToIt) {
    fake->inputLengthBytes = 1000;
    StartUp();
    fake->QueueReport(std::vector<uint8_t>(1000, 0xFE));
    EXPECT_EQ(Exchange(), SensorLink::kReportBufferBytes);
}

TEST_F(ReportExchange, FailuresTraceAndCloseTheLinkButNotTheConnectionState) {
    struct Case {
        const char* what;
        bool writeFails;
        std::vector<FakeHidPlatform::ScriptedRead> reads;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // The write closes the link; the read then has no handle and waits out its limit.
        {"failed write",
         true,
         {},
         {"Can't write to device\n", "ReadFile timeout \n", "Can't read from device  "}},
        {"no answer", false, {}, {"ReadFile timeout \n", "Can't read from device  "}},
        {"failed read",
         false,
         {{HidPlatform::ReadStatus::Failed, {}}},
         {"Undefined error \n", "Can't read from device \n"}},
    };
    MakeLink(20ms);
    StartUp();
    for (const Case& c : cases) {
        ASSERT_TRUE(link->OpenSensor()) << c.what;
        trace.Clear();
        fake->SetWritesFail(c.writeFails);
        for (const auto& read : c.reads)
            fake->QueueRead(read);
        EXPECT_EQ(Exchange(), 0) << c.what;
        EXPECT_EQ(trace.Lines(), c.lines) << c.what;
        EXPECT_FALSE(link->DeviceOpen()) << c.what;
        EXPECT_TRUE(link->SensorConnected()) << c.what;
        EXPECT_EQ(fake->OpenCount(), 0) << c.what;
        fake->SetWritesFail(false);
    }
}

TEST_F(ReportExchange, SensorThatStopsAnsweringFailsEveryLaterCycle) {
    MakeLink(20ms);
    StartUp();
    Exchange(); // waits out the limit, closes the link
    ASSERT_FALSE(link->DeviceOpen());
    trace.Clear();

    for (int cycle = 0; cycle < 2; ++cycle) {
        report[1] = 7;
        EXPECT_EQ(Exchange(), 0);
        EXPECT_EQ(report[1], 0);
    }
    EXPECT_EQ(fake->Writes(), 1); // later writes fail without reaching the device
    EXPECT_EQ(trace.Count("Can't write to device\n"), 2);
    EXPECT_EQ(trace.Count("ReadFile timeout \n"), 2);
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_TRUE(link->SensorConnected());
}

TEST_F(ReportExchange, ReadWithoutHandleEndsWhenTheSensorIsOpenedAgain) {
    MakeLink(std::chrono::hours(1));
    StartUp();
    fake->SetWritesFail(true); // the write closes the link; the read has no handle
    auto exchange = std::async(std::launch::async, [this] { return Exchange(); });
    ASSERT_EQ(exchange.wait_for(50ms), std::future_status::timeout); // waiting for its limit
    ASSERT_TRUE(Eventually([&] { return !link->DeviceOpen(); }));
    fake->SetWritesFail(false);
    trace.Clear();
    fake->Fire(kArrival0); // the re-open is not held up by the waiting read
    ASSERT_EQ(exchange.wait_for(30s), std::future_status::ready);
    EXPECT_EQ(exchange.get(), 0);
    EXPECT_TRUE(link->DeviceOpen()); // the fresh handles were not closed by a time-out
    EXPECT_EQ(fake->OpenCount(), 3);
    EXPECT_EQ(trace.Count("ReadFile timeout \n"), 0);
}

TEST_F(ReportExchange, CancellationEndsOnlyTheReadsOfItsOwnLoop) {
    MakeLink(std::chrono::hours(1));
    StartUp();
    cancel.Request();
    EXPECT_EQ(Exchange(), 0); // returns at once
    EXPECT_EQ(fake->LastReadStatus(), HidPlatform::ReadStatus::Cancelled);
    EXPECT_TRUE(link->DeviceOpen());
    EXPECT_TRUE(trace.Lines().empty());

    // Another loop's reads go on; the cancelled one kept no report from them.
    ReadCancel other;
    fake->QueueReport({0, 1, 0xFF, 0x00, 0x01});
    EXPECT_EQ(link->ExchangeReports(report, other), 5);
    fake->QueueReport({0, 1, 0xFF, 0x00, 0x02});
    cancel.Clear();
    EXPECT_EQ(Exchange(), 5);
    EXPECT_EQ(report[4], 0x02);
}

// Arrivals of another device re-open the link again and again while requests and answers go
// back and forth. As with hidraw, an answer reaches only the read handles open when it
// arrives: a re-open between a request and its answer would lose the answer and close the
// link with a time-out.
TEST_F(ReportExchange, ReopeningArrivalStormLosesNoCycleIn2000) {
    MakeLink(2s);
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0"), FakeHidPlatform::Other("/dev/hidraw1")});
    fake->SetAnswering(true);
    std::atomic<bool> storming{true};
    std::atomic<int> reopens{0};
    std::vector<std::thread> storm;
    for (int i = 0; i < 3; ++i) {
        storm.emplace_back([&] {
            while (storming) {
                fake->Fire({DeviceChange::kArrival, DeviceChange::kTypeInterface, "/dev/hidraw1"});
                ++reopens;
            }
        });
    }
    ASSERT_TRUE(Eventually([&] { return reopens > 0; }));
    int lost = 0;    // cycles without their answer
    int between = 0; // cycles that a re-open came before
    int expected = 0;
    // At least 2000 cycles, more on a busy machine until 200 of them followed a re-open.
    for (int cycle = 0; cycle < 2000 || (between < 200 && cycle < 50000); ++cycle) {
        const int before = reopens;
        std::this_thread::sleep_for(100us); // the loop's pause, shortened
        between += reopens != before;
        if (Exchange() != 5) {
            ++lost;
            continue;
        }
        const int answer = report[3] << 8 | report[4];
        lost += answer - expected; // answers skipped
        expected = answer + 1;
    }
    storming = false;
    for (std::thread& thread : storm)
        thread.join();
    EXPECT_EQ(lost, 0);
    EXPECT_GE(between, 200); // the storm did reach the link between the cycles
    EXPECT_EQ(trace.Count("ReadFile timeout \n"), 0);
    EXPECT_TRUE(link->DeviceOpen());
}

} // namespace
