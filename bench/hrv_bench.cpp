// Cost of the end-of-test HRV analysis and of its two heaviest numeric steps.

#include "analysis/Hrv.h"
#include "analysis/proc.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace {

// Beat-by-beat rates over `seconds`: 70 bpm with a 0.1 Hz and a 0.25 Hz modulation, every
// 40th beat missing (rate 0).
std::vector<double> RateSeries(double seconds) {
    std::vector<double> rates;
    for (double t = 0; t < seconds;) {
        double rate = 70 + 4 * std::sin(2 * std::numbers::pi * 0.1 * t) +
                      2 * std::sin(2 * std::numbers::pi * 0.25 * t);
        t += 60 / rate;
        rates.push_back(rates.size() % 40 == 39 ? 0 : rate);
    }
    return rates;
}

void BM_AnalyseHrv150s(benchmark::State& state) {
    auto hrv = std::make_unique<CHrv>();
    for (double rate : RateSeries(150))
        hrv->AddRate(false, rate);
    for (auto _ : state)
        benchmark::DoNotOptimize(hrv->AnalyseHrv(1, 45));
}
BENCHMARK(BM_AnalyseHrv150s);

// A full rate queue (1080 rates, about 15 minutes).
void BM_CleanRateFullQueue(benchmark::State& state) {
    std::vector<double> rates = RateSeries(1000);
    rates.resize(1080, 70);
    std::vector<double> cleaned(rates.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(f_cleanrate(cleaned.data(), rates.data(), 1080));
}
BENCHMARK(BM_CleanRateFullQueue);

void BM_BandPower(benchmark::State& state) {
    std::vector<double> rates = RateSeries(1000);
    rates.resize(static_cast<size_t>(state.range(0)), 70);
    for (double& rate : rates)
        rate = rate == 0 ? 70 : rate;
    BandPower bands;
    for (auto _ : state) {
        f_bandpower(rates.data(), &bands, static_cast<int>(rates.size()));
        benchmark::DoNotOptimize(bands);
    }
}
BENCHMARK(BM_BandPower)->Arg(175)->Arg(1080)->Arg(2160);

} // namespace
