#include "device/SyntheticPulseSource.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kSampleRate = 200.0;
constexpr double kLfHz = 0.1;
constexpr double kHfHz = 0.25;

// One wave of a beat: height (systolic wave = 1), centre and standard deviation in seconds
// after the onset. With these, the second derivative of a beat (after the analysis' 10 Hz
// low-pass and derivative smoothing) has b/a about -0.56, c/a -0.29, d/a -0.34 and e/a 0.21
// at rates of 45 to 90 per minute: a wellness type B at a vascular age of about 60.
struct Wave {
    double height;
    double centre;
    double width;
};
constexpr Wave kWaves[] = {
    {1.000, 0.108, 0.075}, // systolic wave
    {0.666, 0.235, 0.066}, // reflected wave
    {0.304, 0.330, 0.101}, // diastolic wave
};
constexpr double kShapeSeconds = 1.0;  // a beat's waves have faded after this
constexpr double kShapeInterval = 0.8; // beat interval the wave times are made for
} // namespace

SyntheticPulseSource::SyntheticPulseSource(const SyntheticPulseConfig& config)
    : m_config(config), m_meanInterval(60.0 / std::clamp(config.heartRateBpm, 20.0, 250.0)),
      m_timeScale(std::min(1.0, m_meanInterval / kShapeInterval)), m_random(config.seed),
      m_noise(0.0, std::max(config.noiseRaw, 0.0)) {
    std::fill(std::begin(m_onsets), std::end(m_onsets), -1e9);
    m_nextOnset = 0.1;
    for (double t = 0; t < kShapeSeconds; t += 0.001)
        m_peak = std::max(m_peak, Shape(t));
}

double SyntheticPulseSource::NextInterval(double onsetSeconds) const {
    double modulation = m_config.lfDepth * std::sin(2 * std::numbers::pi * kLfHz * onsetSeconds) +
                        m_config.hfDepth * std::sin(2 * std::numbers::pi * kHfHz * onsetSeconds);
    return m_meanInterval * (1 + modulation);
}

double SyntheticPulseSource::Shape(double t) const {
    if (t < 0 || t > kShapeSeconds * m_timeScale)
        return 0;
    double value = 0;
    for (const Wave& wave : kWaves) {
        double z = (t - wave.centre * m_timeScale) / (wave.width * m_timeScale);
        value += wave.height * std::exp(-0.5 * z * z);
    }
    return value;
}

int16_t SyntheticPulseSource::Next() {
    double t = static_cast<double>(m_sample++) / kSampleRate;
    while (t >= m_nextOnset) {
        std::rotate(std::begin(m_onsets), std::begin(m_onsets) + 1, std::end(m_onsets));
        m_onsets[kBeats - 1] = m_nextOnset;
        m_nextOnset += NextInterval(m_nextOnset);
    }
    double pulse = 0;
    for (double onset : m_onsets)
        pulse += Shape(t - onset);
    // Transmission clip: more blood, less light, lower value; centred on 1024.
    double raw = 1024 - m_config.swingRaw * (pulse / m_peak - 0.5) + m_noise(m_random);
    return static_cast<int16_t>(std::clamp(std::lround(raw), -32768L, 32767L));
}
