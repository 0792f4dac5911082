#pragma once
// The simulated sensor's synthetic pulse.

#include "device/PulseSource.h"

#include <random>

struct SyntheticPulseConfig {
    double heartRateBpm = 70;
    double lfDepth = 0.04; // beat-interval modulation at 0.1 Hz, fraction of the interval
    double hfDepth = 0.03; // beat-interval modulation at 0.25 Hz (breathing)
    double swingRaw = 300; // pulse swing in raw units
    double noiseRaw = 1.5; // standard deviation of the added noise in raw units
    uint32_t seed = 1;
};

// A pulse whose beats are a systolic wave, a reflected wave and a diastolic wave (three
// Gaussians), so that its second derivative shows the a, b, c, d and e waves. The beat
// intervals are modulated by a slow (LF) and a breathing (HF) rhythm.
class SyntheticPulseSource : public PulseSource {
public:
    explicit SyntheticPulseSource(const SyntheticPulseConfig& config = {});
    int16_t Next() override;

private:
    static constexpr int kBeats = 4; // beats whose waves still reach the present sample

    double NextInterval(double onsetSeconds) const;
    double Shape(double secondsSinceOnset) const;

    SyntheticPulseConfig m_config;
    double m_meanInterval; // seconds
    double m_timeScale;    // shortens the wave shape at high rates
    double m_peak = 0;     // largest value of one beat's shape
    long long m_sample = 0;
    double m_onsets[kBeats];
    double m_nextOnset;
    std::mt19937 m_random;
    std::normal_distribution<double> m_noise;
};
