// Byte intake of CHrv: marker groups into samples, resynchronisation, split groups and the
// capacity of the intake queue.

#include "analysis/Hrv.h"
#include "analysis/Trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Groups(const std::vector<int>& samples, uint8_t marker = 0xFF) {
    std::vector<uint8_t> bytes;
    for (int s : samples) {
        bytes.push_back(marker);
        bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
        bytes.push_back(static_cast<uint8_t>(s & 0xFF));
    }
    return bytes;
}

std::vector<double> Raw(const CHrv& hrv) {
    std::vector<double> values(CHrv::kSeriesCapacity);
    int n = hrv.CopySeriesTail(CHrv::Series::Raw, values.data(), CHrv::kSeriesCapacity);
    values.resize(static_cast<size_t>(n));
    return values;
}

class ByteIntake : public ::testing::Test {
protected:
    std::unique_ptr<CHrv> hrv = std::make_unique<CHrv>();
};

} // namespace

TEST_F(ByteIntake, FullReportYieldsSamplesInOrderAndSetsRunning) {
    std::vector<int> samples;
    for (int i = 0; i < 21; ++i)
        samples.push_back(1000 + i);
    std::vector<uint8_t> bytes = Groups(samples);
    ASSERT_EQ(bytes.size(), 63u);
    EXPECT_FALSE(hrv->Running());
    hrv->FeedBytes(bytes.data(), 63);
    std::vector<double> raw = Raw(*hrv);
    ASSERT_EQ(raw.size(), 21u);
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(raw[i], 1000 + i);
    EXPECT_TRUE(hrv->Running());
}

TEST_F(ByteIntake, EmptyReportFeedsNothing) {
    hrv->FeedBytes(nullptr, 0);
    uint8_t byte = 0xFF;
    hrv->FeedBytes(&byte, -3);
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 0);
    EXPECT_FALSE(hrv->Running());
}

TEST_F(ByteIntake, BothMarkersAndDataBytesThatLookLikeMarkers) {
    std::vector<uint8_t> bytes = {0xFE, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFE, 0x03, 0xE8};
    hrv->FeedBytes(bytes.data(), static_cast<int>(bytes.size()));
    std::vector<double> raw = Raw(*hrv);
    ASSERT_EQ(raw.size(), 3u);
    EXPECT_EQ(raw[0], static_cast<int16_t>(0xFFFE));
    EXPECT_EQ(raw[1], static_cast<int16_t>(0xFFFF));
    EXPECT_EQ(raw[2], 1000);
}

TEST_F(ByteIntake, HighByteFrom0x80IsNegative) {
    std::vector<uint8_t> bytes = {0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x38};
    hrv->FeedBytes(bytes.data(), 6);
    std::vector<double> raw = Raw(*hrv);
    ASSERT_EQ(raw.size(), 2u);
    EXPECT_EQ(raw[0], -32768);
    EXPECT_EQ(raw[1], -200);
}

TEST_F(ByteIntake, GroupSplitAcrossTwoReportsIsDecodedOnce) {
    std::vector<uint8_t> bytes = Groups({500, 600});
    hrv->FeedBytes(bytes.data(), 5); // one group and two bytes of the next
    EXPECT_EQ(Raw(*hrv), (std::vector<double>{500}));
    hrv->FeedBytes(bytes.data() + 5, 1);
    EXPECT_EQ(Raw(*hrv), (std::vector<double>{500, 600}));
}

TEST_F(ByteIntake, JunkBetweenGroupsIsSkipped) {
    std::vector<uint8_t> bytes = {0x01, 0x02, 0xFF, 0x01, 0x00, 0x33, 0x44, 0x55, 0xFE, 0x02, 0x00};
    hrv->FeedBytes(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(Raw(*hrv), (std::vector<double>{256, 512}));
}

TEST_F(ByteIntake, StreamStartingMidGroupResynchronises) {
    // high, low, then whole groups: the first two bytes are skipped.
    std::vector<uint8_t> bytes = {0x03, 0xE8};
    std::vector<uint8_t> groups = Groups({700, 800});
    bytes.insert(bytes.end(), groups.begin(), groups.end());
    hrv->FeedBytes(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(Raw(*hrv), (std::vector<double>{700, 800}));
}

TEST_F(ByteIntake, FalseMarkerInsideAGroupIsResynchronisedByTheNext) {
    // Low byte 0xFF of a cut group is taken as a marker: one wrong sample, then in step.
    std::vector<uint8_t> bytes = {0x03, 0xFF};
    std::vector<uint8_t> groups = Groups({0x0102, 0x0304, 0x0506});
    bytes.insert(bytes.end(), groups.begin(), groups.end());
    hrv->FeedBytes(bytes.data(), static_cast<int>(bytes.size()));
    std::vector<double> raw = Raw(*hrv);
    ASSERT_GE(raw.size(), 2u);
    EXPECT_EQ(raw[0], static_cast<int16_t>(0xFF01)); // marker 0xFF, high 0xFF, low 0x01
    EXPECT_EQ(raw.back(), 0x0506);
}

TEST_F(ByteIntake, MoreThanTheQueueCapacityInOneCallIsDecodedInPasses) {
    std::vector<int> samples;
    for (int i = 0; i < 10000; ++i)
        samples.push_back(i);
    std::vector<uint8_t> bytes = Groups(samples);
    ASSERT_GT(bytes.size(), static_cast<size_t>(CHrv::kIntakeCapacity));
    hrv->FeedBytes(bytes.data(), static_cast<int>(bytes.size()));
    std::vector<double> raw = Raw(*hrv);
    ASSERT_EQ(raw.size(), 10000u);
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(raw[i], i);
}

TEST_F(ByteIntake, ResetEmptiesAPartialGroup) {
    std::vector<uint8_t> bytes = Groups({500});
    hrv->FeedBytes(bytes.data(), 2);
    hrv->ResetMeasurement();
    hrv->FeedBytes(bytes.data() + 2, 1);
    std::vector<uint8_t> next = Groups({600});
    hrv->FeedBytes(next.data(), 3);
    EXPECT_EQ(Raw(*hrv), (std::vector<double>{600}));
}

TEST_F(ByteIntake, ReenteredFeedIsTraced) {
    // A trace line written inside a feed (the beat trace) calls FeedBytes on a second
    // object: the second call finds the first still in progress.
    auto other = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachPulseRing();
    std::vector<std::string> lines;
    bool inner = false;
    SetTraceSink([&](const char*, int, const std::string& text) {
        lines.push_back(text);
        if (!inner && text.rfind("bpm:", 0) == 0) {
            inner = true;
            std::vector<uint8_t> bytes = Groups({1});
            other->FeedBytes(bytes.data(), 3);
        }
    });
    std::vector<int> pulse;
    for (int n = 0; n < 3000; ++n)
        pulse.push_back(n % 200 < 40 ? 700 + n % 200 * 5 : 1000);
    std::vector<uint8_t> bytes = Groups(pulse);
    hrv->FeedBytes(bytes.data(), static_cast<int>(bytes.size()));
    SetTraceSink(nullptr);
    ASSERT_TRUE(inner);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "### reEntered! (1) ###\n"), lines.end());
}
