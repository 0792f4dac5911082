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

// Reads the samples of a recording: a .ppg pulse file, or a .csv with a header line and one
// sample per line (when a line holds several comma-separated fields, the last one is the
// sample). False, with a message in *error, when the file cannot be read, holds no sample or
// holds a value that is not a 16-bit integer.
bool LoadReplaySamples(const std::string& path, std::vector<int16_t>* samples, std::string* error);
