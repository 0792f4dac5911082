// Beat detection on a real 300 s resting finger PPG, against the beat intervals of the ECG
// recorded at the same time (tests/data/README.md).
//
// Tolerances: an interval is a whole number of samples at 200 Hz, so near 86 bpm one sample
// is 0.6 bpm; the pulse reaches the finger 0.3 to 0.5 s after the R-peak and that delay
// varies with breathing. Where the ECG itself has artefacts (near 218, 232 and 259 s) the
// reference intervals are interpolated and our pulse-based rates may differ by much more.

#include "analysis/Hrv.h"
#include "tests/common/TestInputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ReferenceBeat {
    double rPeakSeconds;
    double rateBpm;
};

// Rate of the ECG interval that ended last before time t.
double EcgRateAt(const std::vector<ReferenceBeat>& ecg, double t) {
    double rate = 0;
    for (const ReferenceBeat& beat : ecg) {
        if (beat.rPeakSeconds > t)
            break;
        rate = beat.rateBpm;
    }
    return rate;
}

constexpr double kPulseDelaySeconds = 0.4;                   // R-peak to pulse lobe end, about
constexpr int kSettlingSamples = CHrv::kSettlingSamples - 1; // signal index 0 is raw sample 39

class RestingRecording : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<int16_t> samples;
        for (const std::string& line : DataLines("neurokit_resting5min_raw.csv"))
            samples.push_back(static_cast<int16_t>(std::stoi(line)));
        ASSERT_EQ(samples.size(), 59999u);
        for (const std::string& line : DataLines("neurokit_resting5min_ecg_nn.csv")) {
            const size_t comma = line.find(',');
            ecg.push_back(
                {std::stod(line.substr(0, comma)), 60000 / std::stod(line.substr(comma + 1))});
        }
        ASSERT_GT(ecg.size(), 400u);
        hrv->AttachRateChart(300);
        hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    }
    // When the beat's pulse left the heart: its lobe end in seconds less the pulse delay.
    double HeartSeconds(const BeatEntry& beat) const {
        return (beat.index + kSettlingSamples) / 200.0 - kPulseDelaySeconds;
    }

    std::unique_ptr<CHrv> hrv = std::make_unique<CHrv>();
    std::vector<ReferenceBeat> ecg;
};

} // namespace

TEST_F(RestingRecording, BeatByBeatRatesFollowTheEcg) {
    std::vector<double> differences;
    for (int i = 0; i < hrv->BeatCount(); ++i) {
        BeatEntry beat = hrv->Beat(i);
        double reference = EcgRateAt(ecg, HeartSeconds(beat));
        if (beat.rateBpm > 0 && reference > 0)
            differences.push_back(std::fabs(beat.rateBpm - reference));
    }
    ASSERT_GT(differences.size(), 400u); // 431 ECG beats; the first 2.2 s fill the window
    std::sort(differences.begin(), differences.end());
    EXPECT_LE(differences[differences.size() / 2], 0.6); // median within one sample
    size_t within2 =
        std::count_if(differences.begin(), differences.end(), [](double d) { return d <= 2.0; });
    EXPECT_GE(static_cast<double>(within2) / differences.size(), 0.90);
}

TEST_F(RestingRecording, ThirtySecondMeansFollowTheEcg) {
    for (int start = 0; start < 300; start += 30) {
        double ours = 0;
        int n = 0;
        for (int i = 0; i < hrv->BeatCount(); ++i) {
            BeatEntry beat = hrv->Beat(i);
            double t = HeartSeconds(beat);
            if (t >= start && t < start + 30 && beat.rateBpm > 0) {
                ours += beat.rateBpm;
                ++n;
            }
        }
        double reference = 0;
        int m = 0;
        for (const ReferenceBeat& beat : ecg) {
            if (beat.rPeakSeconds >= start && beat.rPeakSeconds < start + 30) {
                reference += beat.rateBpm;
                ++m;
            }
        }
        ASSERT_GT(n, 20);
        EXPECT_NEAR(ours / n, reference / m, 3.0) << "window from " << start << " s";
    }
}

TEST_F(RestingRecording, TimelineMeanMatchesTheReferenceHeartRate) {
    double lo = 0;
    double hi = 0;
    double mean = hrv->TimelineStats(&lo, &hi);
    EXPECT_NEAR(mean, 86.4, 1.0); // reference mean heart rate of the recording
    EXPECT_GT(lo, 60);
    EXPECT_LT(hi, 121);
    EXPECT_EQ(hrv->TimelineTicks(), (59999 - 438) / 50);
}
