#include "device/SensorLink.h"
#include "tests/device/FakeHidPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>

namespace {

using Interface = FakeHidPlatform::Interface;
using Access = HidPlatform::Access;
using namespace std::chrono_literals;

class SensorLinkTest : public ::testing::Test {
protected:
    void MakeLink(std::chrono::milliseconds readLimit = SensorLink::kReadLimit) {
        auto platform = std::make_unique<FakeHidPlatform>();
        fake = platform.get();
        link = std::make_unique<SensorLink>(std::move(platform), readLimit);
    }
    // Start-up as the main menu runs it; notifications go straight to the link's handler.
    void StartUp(std::vector<Interface> interfaces) {
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
    void SetUp() override { MakeLink(); }

    FakeHidPlatform* fake = nullptr;
    std::unique_ptr<SensorLink> link;
    TraceCapture trace;
};

using OpenSensor = SensorLinkTest;

TEST_F(OpenSensor, TakesTheFirstSensorInEnumerationOrder) {
    fake->SetInterfaces({FakeHidPlatform::Other("/dev/hidraw0"),
                         FakeHidPlatform::Sensor("/dev/hidraw1"),
                         FakeHidPlatform::Sensor("/dev/hidraw2")});
    EXPECT_TRUE(link->OpenSensor());
    EXPECT_TRUE(link->DeviceOpen());
    EXPECT_EQ(link->DevicePath(), "/dev/hidraw1");
    EXPECT_EQ(HandlesOn("/dev/hidraw1"), 3); // attributes, write, read
    EXPECT_EQ(fake->OpenCount(), 3);
}

TEST_F(OpenSensor, WithoutSensorLeavesTheLinkClosedAndNoHandleOpen) {
    StartUp({FakeHidPlatform::Other("/dev/hidraw0"), FakeHidPlatform::Other("/dev/hidraw1")});
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_FALSE(link->SensorConnected());
    EXPECT_EQ(fake->OpenCount(), 0);
    EXPECT_TRUE(fake->HasCallback());
}

TEST_F(OpenSensor, SkipsInterfacesThatCannotBeOpenedOrQueried) {
    Interface unopenable = FakeHidPlatform::Sensor("/dev/hidraw0");
    unopenable.openable = false;
    Interface unreadable = FakeHidPlatform::Sensor("/dev/hidraw1");
    unreadable.attributes = false;
    fake->SetInterfaces({unopenable, unreadable, FakeHidPlatform::Sensor("/dev/hidraw2")});
    EXPECT_TRUE(link->OpenSensor());
    EXPECT_EQ(link->DevicePath(), "/dev/hidraw2");
    EXPECT_EQ(fake->OpenCount(), 3);
}

TEST_F(OpenSensor, ClosesTheHandlesOfAnEarlierOpen) {
    fake->SetInterfaces({FakeHidPlatform::Sensor("/dev/hidraw0")});
    ASSERT_TRUE(link->OpenSensor());
    ASSERT_TRUE(link->OpenSensor());
    EXPECT_EQ(fake->OpenCount(), 3);

    fake->SetInterfaces({});
    EXPECT_FALSE(link->OpenSensor());
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_EQ(fake->OpenCount(), 0);
}

TEST_F(OpenSensor, StartUpAsksForFiveInputBuffers) {
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    EXPECT_TRUE(link->SensorConnected());
    EXPECT_EQ(QueryBuffers(), SensorLink::kInputBuffers);
}

using DeviceChangeHandling = SensorLinkTest;

TEST_F(DeviceChangeHandling, SensorPluggedInAfterStartUpIsOpened) {
    StartUp({FakeHidPlatform::Other("/dev/hidraw0")});
    ASSERT_FALSE(link->SensorConnected());
    ASSERT_TRUE(link->DevicePath().empty());

    fake->SetInterfaces(
        {FakeHidPlatform::Other("/dev/hidraw0"), FakeHidPlatform::Sensor("/dev/hidraw1")});
    fake->Fire({DeviceChange::kArrival, DeviceChange::kTypeInterface, "/dev/hidraw1"});
    EXPECT_TRUE(link->SensorConnected());
    EXPECT_TRUE(link->DeviceOpen());
    EXPECT_EQ(HandlesOn("/dev/hidraw1"), 3);
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
    EXPECT_TRUE(link->SensorConnected());
    EXPECT_TRUE(link->DeviceOpen());
    auto open = fake->OpenHandles();
    EXPECT_EQ(open.size(), 3u);
    EXPECT_TRUE(std::none_of(open.begin(), open.end(), [](const auto& r) { return r.stale; }));
}

TEST_F(DeviceChangeHandling, UnrelatedArrivalReopensAndStaysConnected) {
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    fake->SetInterfaces(
        {FakeHidPlatform::Sensor("/dev/hidraw0"), FakeHidPlatform::Other("/dev/hidraw1")});
    fake->Fire({DeviceChange::kArrival, DeviceChange::kTypeInterface, "/dev/hidraw1"});
    EXPECT_TRUE(link->SensorConnected());
    EXPECT_EQ(link->DevicePath(), "/dev/hidraw0");
    EXPECT_EQ(HandlesOn("/dev/hidraw0"), 3);
    EXPECT_EQ(fake->OpenCount(), 3);
}

TEST_F(DeviceChangeHandling, UnrelatedRemovalsAndOtherEventsChangeNothing) {
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    fake->Fire({DeviceChange::kRemoveComplete, DeviceChange::kTypeInterface, "/dev/hidraw1"});
    fake->Fire({DeviceChange::kRemoveComplete, 3, "/dev/hidraw0"}); // not an interface event
    fake->Fire({0x8001, DeviceChange::kTypeInterface, "/dev/hidraw0"});
    EXPECT_TRUE(link->SensorConnected());
    EXPECT_TRUE(link->DeviceOpen());
    EXPECT_EQ(fake->OpenCount(), 3);
}

TEST_F(DeviceChangeHandling, ReturningSensorThatCannotBeOpenedShowsDisconnected) {
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    fake->Fire({DeviceChange::kRemoveComplete, DeviceChange::kTypeInterface, "/dev/hidraw0"});
    Interface locked = FakeHidPlatform::Sensor("/dev/hidraw0");
    locked.openable = false;
    fake->SetInterfaces({locked});
    fake->Fire({DeviceChange::kArrival, DeviceChange::kTypeInterface, "/dev/hidraw0"});
    EXPECT_FALSE(link->SensorConnected());
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_EQ(fake->OpenCount(), 0);
}

using ReportExchange = SensorLinkTest;

TEST_F(ReportExchange, RequestIsAnAllZeroReportOfTheOutputLength) {
    fake->outputLengthBytes = 9;
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    link->SendRequestReport();
    EXPECT_EQ(fake->LastWrite(), std::vector<uint8_t>(9, 0));
    EXPECT_TRUE(link->DeviceOpen());
}

TEST_F(ReportExchange, FailedWriteClosesTheLinkButNotTheConnectionState) {
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    fake->SetWritesFail(true);
    link->SendRequestReport();
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Can't write to device\n"});
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_TRUE(link->SensorConnected());
    EXPECT_EQ(fake->OpenCount(), 0);
}

TEST_F(ReportExchange, ReportIsReadWithItsLength) {
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    fake->QueueReport({0, 1, 0xFF, 0x03, 0xE8});
    link->SendRequestReport();
    link->ReadInputReport();
    EXPECT_EQ(link->InputBytes(), 5);
    EXPECT_EQ(link->InputReport()[4], 0xE8);
    EXPECT_TRUE(link->DeviceOpen());
}

TEST_F(ReportExchange, DeviceReportLongerThanTheBufferIsCutToIt) {
    fake->inputLengthBytes = 1000;
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    fake->QueueReport(std::vector<uint8_t>(1000, 0xFE));
    link->ReadInputReport();
    EXPECT_EQ(link->InputBytes(), SensorLink::kReportBufferBytes);
}

TEST_F(ReportExchange, TimeoutTracesAndClosesTheLink) {
    MakeLink(20ms);
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    link->SendRequestReport();
    link->ReadInputReport();
    EXPECT_EQ(trace.Lines(),
              (std::vector<std::string>{"ReadFile timeout \n", "Can't read from device  "}));
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_EQ(fake->OpenCount(), 0);
    EXPECT_EQ(link->InputBytes(), 0);
}

TEST_F(ReportExchange, ReadFailureTracesAndClosesTheLink) {
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    fake->QueueRead({HidPlatform::ReadStatus::Failed, {}});
    link->ReadInputReport();
    EXPECT_EQ(trace.Lines(),
              (std::vector<std::string>{"Undefined error \n", "Can't read from device \n"}));
    EXPECT_FALSE(link->DeviceOpen());
    EXPECT_EQ(fake->OpenCount(), 0);
}

TEST_F(ReportExchange, SensorThatStopsAnsweringFailsEveryLaterCycle) {
    MakeLink(20ms);
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
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
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
    fake->SetWritesFail(true);
    link->SendRequestReport(); // closes the link
    fake->SetWritesFail(false);
    trace.Clear();

    auto read = std::async(std::launch::async, [this] { link->ReadInputReport(); });
    ASSERT_EQ(read.wait_for(50ms), std::future_status::timeout); // waiting for its limit
    fake->Fire({DeviceChange::kArrival, DeviceChange::kTypeInterface, "/dev/hidraw0"});
    ASSERT_EQ(read.wait_for(30s), std::future_status::ready);
    EXPECT_TRUE(link->DeviceOpen()); // the fresh handles were not closed by a time-out
    EXPECT_EQ(fake->OpenCount(), 3);
    EXPECT_EQ(trace.Count("ReadFile timeout \n"), 0);
}

TEST_F(ReportExchange, CancelledReadLeavesTheLinkOpen) {
    MakeLink(std::chrono::hours(1));
    StartUp({FakeHidPlatform::Sensor("/dev/hidraw0")});
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
