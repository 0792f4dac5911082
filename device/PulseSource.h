#pragma once
// Sample sources of the simulated sensor: one raw sample per call, at 200 samples per second,
// in the finger clip's polarity (more blood, lower value, around 1024).

#include <cstdint>

class PulseSource {
public:
    virtual ~PulseSource() = default;
    virtual int16_t Next() = 0;
};
