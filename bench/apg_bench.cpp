// Cost of the pulse-wave analysis: one sample (three derivative steps) and one beat (wave
// search on a full 500-value window).

#include "analysis/ApgCanvas.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// One beat per second at 200 samples per second: systolic and reflected wave.
std::vector<double> PulseWave(int count) {
    std::vector<double> v(static_cast<size_t>(count));
    for (int n = 0; n < count; ++n) {
        const double t = (n % 200) / 200.0;
        const double s = t - 0.25;
        const double r = t - 0.36;
        v[static_cast<size_t>(n)] =
            100 * std::exp(-s * s / (2 * 0.05 * 0.05)) + 50 * std::exp(-r * r / (2 * 0.06 * 0.06));
    }
    return v;
}

void BM_ApgAddSample(benchmark::State& state) {
    auto apg = std::make_unique<ApgCanvas>();
    const std::vector<double> pulse = PulseWave(ApgCanvas::kSeriesCapacity);
    size_t i = 0;
    for (auto _ : state) {
        if (i == pulse.size()) {
            apg->Reset(); // one test's worth of samples, as CHrv feeds them
            i = 0;
        }
        apg->AddSample(pulse[i++]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ApgAddSample);

void BM_ApgAnalyseBeat(benchmark::State& state) {
    auto apg = std::make_unique<ApgCanvas>();
    for (double v : PulseWave(3 * 200))
        apg->AddSample(v);
    for (auto _ : state)
        apg->AnalyseBeat(20); // the table fills after 750 beats; the search still runs
    if (apg->BeatRows() == 0)
        state.SkipWithError("no beat found in the window");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ApgAnalyseBeat);

} // namespace
