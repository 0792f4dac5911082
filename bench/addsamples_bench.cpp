// Throughput of the per-sample chain and the cost of the beat search.

#include "analysis/BeatSearch.h"
#include "analysis/Hrv.h"
#include "analysis/PulseRing.h"
#include "tests/common/SyntheticPulse.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// 150 s of pulse at 75 beats per minute, the length of a stress test.
const std::vector<int16_t>& StressTestPulse() {
    static const std::vector<int16_t> samples = SyntheticPulse(160, 150 * 200);
    return samples;
}

void AddSamplesOver150Seconds(benchmark::State& state, bool withApg) {
    const std::vector<int16_t>& samples = StressTestPulse();
    auto hrv = std::make_unique<CHrv>();
    if (withApg)
        hrv->AttachApg();
    hrv->AttachRateChart(150);
    hrv->AttachRateDisplay();
    hrv->AttachPulseRing();
    for (auto _ : state) {
        hrv->ResetMeasurement();
        hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
        benchmark::DoNotOptimize(hrv->BeatCount());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(samples.size()));
}

void BM_AddSamples150s(benchmark::State& state) {
    AddSamplesOver150Seconds(state, false);
}
BENCHMARK(BM_AddSamples150s)->Unit(benchmark::kMillisecond);

void BM_AddSamples150sWithApg(benchmark::State& state) {
    AddSamplesOver150Seconds(state, true);
}
BENCHMARK(BM_AddSamples150sWithApg)->Unit(benchmark::kMillisecond);

// The beat evaluation without the pulse-wave analysis: the lobe search over the detection
// window and the pulse ring's range for the signal strength.
void BM_BeatSearchAndStrength(benchmark::State& state) {
    std::vector<double> window(CHrv::kDetectionWindow);
    PulseRing ring;
    std::vector<int16_t> pulse = SyntheticPulse(160, CHrv::kDetectionWindow + 1);
    for (int i = 0; i < CHrv::kDetectionWindow; ++i) {
        window[i] = static_cast<double>(pulse[i] - pulse[i + 1]);
        ring.values.Push(1024 - 0.5 * pulse[i]);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(NextLobeEnd(window.data(), CHrv::kDetectionWindow));
        ring.UpdateRange();
        benchmark::DoNotOptimize(ring.StrengthPercent());
    }
}
BENCHMARK(BM_BeatSearchAndStrength);

} // namespace

namespace {

// The first `seconds` of the resting recording kept with the tests.
std::vector<int16_t> RestingRecording(int seconds) {
    std::ifstream in(std::string(TONDRELA_TEST_DATA) + "/neurokit_resting5min_raw.csv");
    std::string line;
    std::getline(in, line); // header
    std::vector<int16_t> samples;
    while (static_cast<int>(samples.size()) < seconds * 200 && std::getline(in, line))
        samples.push_back(static_cast<int16_t>(std::stoi(line)));
    return samples;
}

// A recording replayed as the review and report windows do: APG analysis, rate chart, pulse
// ring and LF/HF chart attached (the LF/HF analysis runs once a second after 62 s).
void BM_ReplayRecording(benchmark::State& state) {
    const std::vector<int16_t> samples = RestingRecording(static_cast<int>(state.range(0)));
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachRateChart(300);
    hrv->AttachPulseRing();
    hrv->AttachLfHfChart();
    for (auto _ : state) {
        hrv->ResetMeasurement();
        hrv->AddSamples(samples.data(), static_cast<int>(samples.size()));
        benchmark::DoNotOptimize(hrv->BeatCount());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(samples.size()));
}
BENCHMARK(BM_ReplayRecording)->Arg(60)->Arg(150)->Unit(benchmark::kMillisecond);

} // namespace
