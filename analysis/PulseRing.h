#pragma once
// The last 400 conditioned pulse values, for scaling the pulse chart and for the signal
// strength of a beat. Guarded by the owning CHrv.

#include "analysis/ShiftArray.h"
#include "analysis/proc.h"

struct PulseRing {
    static constexpr int kCapacity = 400;

    ShiftArray<double, kCapacity> values;
    int minValue = 1024;
    int maxValue = 0;

    void Reset() {
        values.Clear();
        minValue = 1024;
        maxValue = 0;
    }

    // Rewrites the minimum and maximum from the values, truncated to int (0 and 0 for an
    // empty ring, as f_min and f_max give).
    void UpdateRange() {
        minValue = static_cast<int>(f_min(values.Data(), values.Count()));
        maxValue = static_cast<int>(f_max(values.Data(), values.Count()));
    }

    // Pulse amplitude in percent of the sensor's half range: the signal strength.
    double StrengthPercent() const { return static_cast<double>(maxValue - minValue) * 100 / 512; }
};
