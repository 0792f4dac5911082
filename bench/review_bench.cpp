// Opening the review of a person with 500 recordings: 250 wellness tests (61 s each) and 250
// stress tests (150 s each), every one replayed through the analysis. Target: 300 ms of real
// time; the CPU time counts every thread of the load.

#include "records/ReviewRecords.h"
#include "tests/common/ReviewFiles.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kTests = 250; // of each kind

// The folder with the recordings, made once per run and removed at exit.
const fs::path& RecordingsFolder() {
    struct Folder {
        fs::path path = fs::temp_directory_path() / "tondrela-review-bench";
        Folder() {
            fs::remove_all(path);
            fs::create_directories(path);
            for (int n = 0; n < kTests; ++n) {
                reviewfiles::SavePulseRecording(path, "Kim", n, 1960, 1);
                reviewfiles::SaveRateRecording(path, "Kim", n, 1960, 1);
            }
        }
        ~Folder() {
            std::error_code ec;
            fs::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

void BM_LoadReview500Recordings(benchmark::State& state) {
    const fs::path& folder = RecordingsFolder();
    for (auto _ : state) {
        const ReviewRecords records = LoadReviewRecords(folder, "Kim", 1);
        if (records.wellness.size() != kTests || records.stress.size() != kTests) {
            state.SkipWithError("not every recording gave a point");
            break;
        }
        benchmark::DoNotOptimize(records);
    }
}
BENCHMARK(BM_LoadReview500Recordings)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace
