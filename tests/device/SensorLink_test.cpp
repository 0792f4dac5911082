#include "device/SensorLink.h"
#include "tests/device/FakeHidPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>

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
    // Start-up as the main menu runs it; notifications go straight to the link's handler.
    void StartUp(std::vector<Interface> interfaces = {FakeHidPlatform::Sensor("/dev/hidraw0")}) {
        fake->SetInterfaces(std::move(interfaces));
        link->StartUp([this](const DeviceChange& change) { link->HandleDeviceChange(change); });
    }
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
}

TEST_F(DeviceChangeHandling, UnrelatedDevicesAndEventsLeaveTheSensorConnected) {
    StartUp();
    fake->SetInterfaces(
        {FakeHidPlatform::Sensor("/dev/hidraw0"), FakeHidPlatform::Other("/dev/hidraw1")});
    fake->Fire({DeviceChange::kArrival, DeviceChange::kTypeInterface, "/dev/hidraw1"});
    ExpectOpenOn("/dev/hidraw0"); // re-opened: still three handles
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

using ReportExchange = SensorLinkTest;

TEST_F(ReportExchange, RequestIsAllZeroAndTheReportIsReadWithItsLength) {
    fake->outputLengthBytes = 9;
    StartUp();
    fake->QueueReport({0, 1, 0xFF, 0x03, 0xE8});
    link->SendRequestReport();
    EXPECT_EQ(fake->LastWrite(), std::vector<uint8_t>(9, 0));
    link->ReadInputReport();
    EXPECT_EQ(link->InputBytes(), 5);
    EXPECT_EQ(link->InputReport()[4], 0xE8);
    EXPECT_TRUE(link->DeviceOpen());
}

TEST_F(ReportExchange, DeviceReportLongerThanTheBufferIsCutToIt) {
    fake->inputLengthBytes = 1000;
    StartUp();
    fake->QueueReport(std::vector<uint8_t>(1000, 0xFE));
    link->ReadInputReport();
    EXPECT_EQ(link->InputBytes(), SensorLink::kReportBufferBytes);
}

TEST_F(ReportExchange, FailedWriteClosesTheLinkButNotTheConnectionState) {
    StartUp();
    fake->SetWritesFail(true);
    link->SendRequestReport();
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Can't write to device\n"});
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_TRUE(link->SensorConnected());
    EXPECT_EQ(fake->OpenCount(), 0);
}

TEST_F(ReportExchange, TimeoutOrReadFailureTracesAndClosesTheLink) {
    MakeLink(20ms);
    StartUp();
    link->ReadInputReport(); // nothing queued: times out
    EXPECT_EQ(trace.Lines(),
              (std::vector<std::string>{"ReadFile timeout \n", "Can't read from device  "}));
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_EQ(fake->OpenCount(), 0);
    EXPECT_EQ(link->InputBytes(), 0);

    ASSERT_TRUE(link->OpenSensor());
    trace.Clear();
    fake->QueueRead({HidPlatform::ReadStatus::Failed, {}});
    link->ReadInputReport();
    EXPECT_EQ(trace.Lines(),
              (std::vector<std::string>{"Undefined error \n", "Can't read from device \n"}));
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_EQ(fake->OpenCount(), 0);
}

TEST_F(ReportExchange, SensorThatStopsAnsweringFailsEveryLaterCycle) {
    MakeLink(20ms);
    StartUp();
    link->SendRequestReport();
    link->ReadInputReport(); // waits out the limit, closes the link
    ASSERT_FALSE(link->DeviceOpen());
    trace.Clear();

    for (int cycle = 0; cycle < 2; ++cycle) {
        link->SendRequestReport();
        link->ReadInputReport();
        EXPECT_EQ(link->InputReport()[1], 0);
        EXPECT_EQ(link->InputBytes(), 0);
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
    fake->SetWritesFail(true);
    link->SendRequestReport(); // closes the link
    fake->SetWritesFail(false);
    trace.Clear();

    auto read = std::async(std::launch::async, [this] { link->ReadInputReport(); });
    ASSERT_EQ(read.wait_for(50ms), std::future_status::timeout); // waiting for its limit
    fake->Fire(kArrival0);
    ASSERT_EQ(read.wait_for(30s), std::future_status::ready);
    EXPECT_TRUE(link->DeviceOpen()); // the fresh handles were not closed by a time-out
    EXPECT_EQ(fake->OpenCount(), 3);
    EXPECT_EQ(trace.Count("ReadFile timeout \n"), 0);
}

TEST_F(ReportExchange, CancelledReadLeavesTheLinkOpen) {
    MakeLink(std::chrono::hours(1));
    StartUp();
    link->CancelRead();
    link->ReadInputReport(); // returns at once
    EXPECT_EQ(fake->LastReadStatus(), HidPlatform::ReadStatus::Cancelled);
    EXPECT_TRUE(link->DeviceOpen());
    EXPECT_TRUE(trace.Lines().empty());

    link->ResumeReads();
    fake->QueueReport({0, 1, 0xFF, 0x00, 0x01});
    link->ReadInputReport();
    EXPECT_EQ(link->InputBytes(), 5);
}

} // namespace
