// Byte intake of CHrv: marker groups into samples, resynchronisation, split groups and the
// capacity of the intake queue.

#include "analysis/Hrv.h"
#include "analysis/Trace.h"
#include "tests/common/TestInputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

class ByteIntake : public ::testing::Test {
protected:
    void Feed(const Bytes& bytes) { hrv->FeedBytes(bytes.data(), static_cast<int>(bytes.size())); }
    std::vector<double> Raw() const {
        std::vector<double> values(CHrv::kSeriesCapacity);
        values.resize(static_cast<size_t>(
            hrv->CopySeriesTail(CHrv::Series::Raw, values.data(), CHrv::kSeriesCapacity)));
        return values;
    }

    std::unique_ptr<CHrv> hrv = std::make_unique<CHrv>();
};

} // namespace

TEST_F(ByteIntake, DecodesGroupsSkipsJunkAndResynchronises) {
    std::vector<int> report(21), ramp(10000);
    std::iota(report.begin(), report.end(), 1000);
    std::iota(ramp.begin(), ramp.end(), 0);
    struct Case {
        const char* what;
        Bytes bytes;
        std::vector<int> samples;
    };
    const Case cases[] = {
        {"full report of 21 groups", Groups(report), report},
        {"both markers, data bytes that look like markers",
         {0xFE, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFE, 0x03, 0xE8},
         {-2, -1, 1000}},
        {"high byte from 0x80 is negative", {0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x38}, {-32768, -200}},
        {"junk between groups",
         {0x01, 0x02, 0xFF, 0x01, 0x00, 0x33, 0x44, 0x55, 0xFE, 0x02, 0x00},
         {256, 512}},
        {"start mid-group: high, low, then whole groups",
         Concat({0x03, 0xE8}, Groups({700, 800})),
         {700, 800}},
        // The low byte 0xFF of a cut group is taken as a marker: one wrong sample, then in step.
        {"false marker",
         Concat({0x03, 0xFF}, Groups({0x0102, 0x0304, 0x0506})),
         {static_cast<int16_t>(0xFF01), 0x0304, 0x0506}},
        {"more than the intake queue holds in one call", Groups(ramp), ramp},
    };
    ASSERT_GT(cases[6].bytes.size(), static_cast<size_t>(CHrv::kIntakeCapacity));
    for (const Case& c : cases) {
        hrv->ResetMeasurement();
        EXPECT_FALSE(hrv->Running());
        Feed(c.bytes);
        EXPECT_EQ(Raw(), std::vector<double>(c.samples.begin(), c.samples.end())) << c.what;
        if (&c == &cases[0]) {
            EXPECT_TRUE(hrv->Running()) << "a full report sets the running flag";
        }
    }
}

// A pass sets the running flag when it decodes at least a third of the bytes it began with
// (i >= Q / 3, integer division): junk may take up to two bytes of a group's worth.
TEST_F(ByteIntake, PassSetsRunningOnlyWhenAThirdOfItsBytesBecameSamples) {
    const Bytes junk = {0x12, 0x34, 0x56};
    struct Case {
        const char* what;
        Bytes bytes;
        bool running;
    };
    const Case cases[] = {
        {"whole groups, Q 9, i 3", Groups({1, 2, 3}), true},
        {"two junk bytes, Q 11, i 3", Concat({0x12, 0x34}, Groups({1, 2, 3})), true},
        {"three junk bytes, Q 12, i 3", Concat(junk, Groups({1, 2, 3})), false},
        {"a group's worth of junk, Q 9, i 2", Concat(junk, Groups({1, 2})), false},
    };
    for (const Case& c : cases) {
        hrv->ResetMeasurement();
        Feed(c.bytes);
        EXPECT_EQ(hrv->Running(), c.running) << c.what;
    }
}

TEST_F(ByteIntake, EmptyReportFeedsNothing) {
    hrv->FeedBytes(nullptr, 0);
    uint8_t byte = 0xFF;
    hrv->FeedBytes(&byte, -3);
    EXPECT_EQ(hrv->Count(CHrv::Series::Raw), 0);
    EXPECT_FALSE(hrv->Running());
}

TEST_F(ByteIntake, GroupSplitAcrossTwoReportsIsDecodedOnceAndResetDropsIt) {
    Bytes bytes = Groups({500, 600});
    hrv->FeedBytes(bytes.data(), 5); // one group and two bytes of the next
    EXPECT_EQ(Raw(), (std::vector<double>{500}));
    hrv->FeedBytes(bytes.data() + 5, 1);
    EXPECT_EQ(Raw(), (std::vector<double>{500, 600}));

    hrv->FeedBytes(bytes.data(), 2);
    hrv->ResetMeasurement();
    hrv->FeedBytes(bytes.data() + 2, 1);
    Feed(Groups({700}));
    EXPECT_EQ(Raw(), (std::vector<double>{700}));
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
            Bytes bytes = Groups({1});
            other->FeedBytes(bytes.data(), 3);
        }
    });
    std::vector<int> pulse;
    for (int n = 0; n < 3000; ++n)
        pulse.push_back(n % 200 < 40 ? 700 + n % 200 * 5 : 1000);
    Feed(Groups(pulse));
    SetTraceSink(nullptr);
    ASSERT_TRUE(inner);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "### reEntered! (1) ###\n"), lines.end());
}
