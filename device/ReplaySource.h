#pragma once
// The simulated sensor's replay of a recording.

#include "device/PulseSource.h"

#include <string>
#include <vector>

// Replays recorded samples in a loop.
class ReplaySource : public PulseSource {
public:
    explicit ReplaySource(std::vector<int16_t> samples); // not empty
    int16_t Next() override;

private:
    std::vector<int16_t> m_samples;
    size_t m_next = 0;
};

// Reads the samples of a recording: a .ppg pulse file, or anything else as a raw-sample .csv
// (analysis/SampleCsv.h). False, with "<path>: <reason>" in *error, when the file cannot be
// read, is refused by the .csv grammar or holds no sample.
bool LoadReplaySamples(const std::string& path, std::vector<int16_t>* samples, std::string* error);
