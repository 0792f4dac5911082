// The wave analysis on whole pulse waves: a synthetic pulse fed sample by sample, and the
// same pulse arriving as sensor samples through CHrv.

#include "analysis/ApgCanvas.h"
#include "analysis/Hrv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kPeriod = 200;        // samples per beat: 60 beats per minute
constexpr int kSystolicPeak = 50;   // sample of the systolic peak within a beat (0.25 s)
constexpr int kSmoothingDelay = 10; // two moving differences over 10 samples, 5 each

// Pulse of one beat per second: a systolic wave (centre 0.25 s, width 0.05 s) and a
// reflected wave half as high (0.36 s, 0.06 s), two Gaussians, continued across periods.
double Pulse(int n) {
    const double t = static_cast<double>(n % kPeriod) / kPeriod;
    double v = 0;
    for (int k = -1; k <= 1; ++k) {
        const double s = t + k - 0.25;
        const double r = t + k - 0.36;
        v += 100 * std::exp(-s * s / (2 * 0.05 * 0.05));
        v += 50 * std::exp(-r * r / (2 * 0.06 * 0.06));
    }
    return v;
}

TEST(ApgSyntheticPulse, SystolicAndReflectedWaveGiveTypeAWithOrderedWaves) {
    auto apg = std::make_unique<ApgCanvas>();
    int calls = 0;
    for (int n = 0; n < 12 * kPeriod; ++n) {
        apg->AddSample(Pulse(n));
        // Once per beat, late in the beat, after two beats have filled the series.
        if (n >= 2 * kPeriod && n % kPeriod == 180) {
            apg->AnalyseBeat(20);
            ++calls;
        }
    }
    ASSERT_EQ(apg->BeatRows(), calls);

    for (int i = 0; i < apg->BeatRows(); ++i) {
        SCOPED_TRACE(i);
        const ApgBeatRow row = apg->Row(i);
        const double* pos = row.position;
        const double* amp = row.amplitude;
        EXPECT_TRUE(pos[0] < pos[1] && pos[1] < pos[2] && pos[2] < pos[3] && pos[3] < pos[4]);
        EXPECT_LT(pos[4] - pos[0], kPeriod / 2) << "all waves within the systole";
        if (i > 0) {
            EXPECT_EQ(pos[0] - apg->Row(i - 1).position[0], kPeriod);
        }
        // The steepest bend of the wave, b, sits on the systolic peak; a comes before it.
        const int b = static_cast<int>(pos[1]) - kSmoothingDelay;
        EXPECT_NEAR(b % kPeriod, kSystolicPeak, 2);
        EXPECT_LT(static_cast<int>(pos[0]) - kSmoothingDelay, b);

        EXPECT_GT(amp[0], 0);
        EXPECT_LT(amp[1] / amp[0], -1.0);
        EXPECT_GT(amp[2] / amp[0], 0.1);
        EXPECT_LT(amp[3] / amp[0], 0);
        EXPECT_GT(amp[3] / amp[0], -0.3);
        EXPECT_GT(amp[4] / amp[0], 0.1);
        EXPECT_EQ(row.typeIndex, 0);
    }
    EXPECT_EQ(apg->ComputeMeans(), calls);
    EXPECT_EQ(apg->MeanTypeIndex(), 0);
}

// Sensor samples of the pulse as the finger clip delivers them: more blood, lower value.
std::vector<int16_t> SensorSamples(int first, int count) {
    std::vector<int16_t> samples;
    for (int n = first; n < first + count; ++n)
        samples.push_back(static_cast<int16_t>(std::lround(1024 - 3 * Pulse(n))));
    return samples;
}

class ApgThroughHrv : public ::testing::Test {
protected:
    void SetUp() override {
        hrv->AttachApg();
        hrv->AttachPulseRing();
    }

    void Feed(int seconds) {
        const std::vector<int16_t> samples = SensorSamples(m_fed, seconds * kPeriod);
        hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
        m_fed += seconds * kPeriod;
    }

    std::unique_ptr<CHrv> hrv = std::make_unique<CHrv>();

private:
    int m_fed = 0;
};

TEST_F(ApgThroughHrv, RegularPulseGivesOneTypeAndItsPulseRate) {
    Feed(30);
    const ApgSummary s = hrv->SummariseApg(45, 1);
    EXPECT_GE(s.qualified, 20);
    EXPECT_EQ(s.qualified, s.rows);
    EXPECT_EQ(s.typeIndex, 0);
    EXPECT_LT(s.ba, 0);
    EXPECT_GT(s.ca, 0);
    EXPECT_LT(s.da, 0);
    EXPECT_GT(s.ea, 0);
    EXPECT_TRUE(s.abMs < s.acMs && s.acMs < s.adMs && s.adMs < s.aeMs);
    EXPECT_GT(s.abMs, 0);
    EXPECT_LT(s.aeMs, 500);
    EXPECT_NEAR(s.meanPulse, 60, 3);
    EXPECT_GT(s.meanSignalStrength, 4);
    EXPECT_NE(s.bpStatus, 0);
}

TEST_F(ApgThroughHrv, IntakeEndsWhenTheSeriesAreFull) {
    // The series hold 13000 values, about 65 s; a beat analysed after that would see the
    // same window again and repeat an earlier row.
    Feed(66);
    const ApgSummary first = hrv->SummariseApg(45, 1);
    EXPECT_EQ(hrv->Count(CHrv::Series::ApgPulse), ApgCanvas::kSeriesCapacity);
    EXPECT_GE(first.rows, 60);
    const int beats = hrv->BeatCount();
    Feed(10);
    const ApgSummary later = hrv->SummariseApg(45, 1);
    EXPECT_EQ(later.rows, first.rows);
    EXPECT_EQ(later.meanPulse, first.meanPulse);
    EXPECT_EQ(hrv->BeatCount(), beats + 10) << "beat detection goes on at 60 per minute";
}

// The first 61 s of a resting finger recording (tests/data, see its README), against the
// beat intervals of the ECG recorded with it.
TEST(ApgRealRecording, RestingRecordingGivesPlausibleFigures) {
    std::ifstream raw(std::string(TONDRELA_TEST_DATA) + "/neurokit_resting5min_raw.csv");
    ASSERT_TRUE(raw.is_open());
    std::string line;
    std::getline(raw, line); // header
    std::vector<int16_t> samples;
    while (samples.size() < 61 * 200 && std::getline(raw, line))
        samples.push_back(static_cast<int16_t>(std::stoi(line)));
    ASSERT_EQ(samples.size(), 61u * 200);

    std::ifstream ecg(std::string(TONDRELA_TEST_DATA) + "/neurokit_resting5min_ecg_nn.csv");
    ASSERT_TRUE(ecg.is_open());
    std::getline(ecg, line); // header
    double sumMs = 0;
    int beats = 0;
    while (std::getline(ecg, line)) {
        const size_t comma = line.find(',');
        if (std::stod(line.substr(0, comma)) > 61)
            break;
        sumMs += std::stod(line.substr(comma + 1));
        ++beats;
    }
    ASSERT_GT(beats, 60);
    const double ecgRate = 60000 / (sumMs / beats);

    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachPulseRing();
    hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
    const ApgSummary s = hrv->SummariseApg(45, 1);

    EXPECT_GE(s.qualified, beats - 10);
    EXPECT_NEAR(s.meanPulse, ecgRate, 2.5);
    EXPECT_TRUE(s.ba > -1.5 && s.ba < -0.5) << s.ba;
    EXPECT_TRUE(s.ca > -1 && s.ca < 0.5) << s.ca;
    EXPECT_TRUE(s.da > -1 && s.da < 0.5) << s.da;
    EXPECT_TRUE(s.ea > 0 && s.ea < 0.6) << s.ea;
    EXPECT_TRUE(s.abMs > 50 && s.abMs < s.acMs && s.acMs < s.adMs && s.adMs < s.aeMs &&
                s.aeMs < 500);
    EXPECT_TRUE(s.vascularAge > 10 && s.vascularAge < 80) << s.vascularAge;
    EXPECT_GT(s.wellnessIndex, 0);
    EXPECT_TRUE(s.typeIndex >= 0 && s.typeIndex <= 6);
}

} // namespace
