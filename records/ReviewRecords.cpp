#include "records/ReviewRecords.h"

#include "analysis/Hrv.h"
#include "analysis/RecordingFile.h"
#include "analysis/RecordingHeader.h"
#include "analysis/Trace.h"
#include "records/UserRecordings.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr int kRateChartSeconds = 300; // span of the review's rate chart
constexpr size_t kMaxWorkers = 4;      // threads replaying recordings at once

struct PulsePoint {
    double meanPulse;
    double wellnessIndex;
};

std::string PathIn(const fs::path& folder, const std::string& name) {
    const std::u8string text =
        (folder / fs::path(std::u8string(name.begin(), name.end()))).u8string();
    return std::string(text.begin(), text.end());
}

// The two values of a pulse recording, or nothing when it cannot be read.
std::optional<PulsePoint> ReadPulsePoint(CHrv& hrv, const std::string& path) {
    if (!HasRecordingStart(path))
        return std::nullopt;
    RecordingHeader header;
    hrv.ResetMeasurement();
    if (hrv.LoadPulseFile(&header, path) != FileStatus::Ok)
        return std::nullopt;
    // TimelineStats sets the range only when the timeline holds a rate.
    double minRate = -1;
    double maxRate = -1;
    const double mean = hrv.TimelineStats(&minRate, &maxRate);
    if (minRate < 0)
        return std::nullopt;
    const ApgSummary apg = hrv.SummariseApg(hrv.Identity().age, header.Sex());
    return PulsePoint{std::trunc(mean), std::trunc(apg.wellnessIndex)};
}

// The stress index of a rate recording, or nothing when it cannot be read.
std::optional<double> ReadStressPoint(CHrv& hrv, const std::string& path, int userSex) {
    if (!HasRecordingStart(path))
        return std::nullopt;
    RecordingHeader header;
    if (hrv.LoadRateFile(&header, path) != FileStatus::Ok)
        return std::nullopt;
    if (hrv.AnalyseHrv(userSex, hrv.Identity().age) != HrvStatus::Ok)
        return std::nullopt;
    return hrv.Result().stressScoreCopy;
}

enum class Kind { Pulse, Rate };

struct Job {
    const std::string* name;
    Kind kind;
};

// What became of one job; written by the one worker that took it.
struct Outcome {
    bool loaded = false; // false: not taken before a stop
    bool readable = false;
    double first = 0;  // mean pulse, or stress index
    double second = 0; // wellness index
    std::string dateLabel;
};

std::unique_ptr<CHrv> MakeReplayHrv() {
    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachRateChart(kRateChartSeconds);
    hrv->AttachPulseRing();
    return hrv;
}

// One worker: takes the next job until none is left or a stop is requested, with a CHrv of
// its own.
void Work(const std::vector<Job>& jobs, std::vector<Outcome>& outcomes, std::atomic<size_t>& next,
          const fs::path& folder, int userSex, const std::stop_token& stop,
          ReviewLoadProgress* progress) {
    const std::unique_ptr<CHrv> hrv = MakeReplayHrv();
    for (size_t i = 0; !stop.stop_requested() && (i = next++) < jobs.size();) {
        const std::string path = PathIn(folder, *jobs[i].name);
        Outcome outcome;
        outcome.loaded = true;
        if (jobs[i].kind == Kind::Pulse) {
            if (const std::optional<PulsePoint> point = ReadPulsePoint(*hrv, path)) {
                outcome.readable = true;
                outcome.first = point->meanPulse;
                outcome.second = point->wellnessIndex;
            }
        } else if (const std::optional<double> stress = ReadStressPoint(*hrv, path, userSex)) {
            outcome.readable = true;
            outcome.first = *stress;
        }
        if (outcome.readable)
            outcome.dateLabel = hrv->Identity().dateTimeText;
        else
            TRACE("review: cannot read %s\n", path.c_str());
        outcomes[i] = std::move(outcome);
        if (progress)
            ++progress->done;
    }
}

void Append(std::vector<CLinkList>* list, int kind, double value, const Outcome& outcome,
            const std::string& fileName) {
    CLinkList entry;
    entry.dateLabel = outcome.dateLabel;
    entry.kind = kind;
    entry.value = value;
    entry.number = static_cast<int>(list->size()) + 1;
    entry.fileName = fileName;
    list->push_back(std::move(entry));
}

} // namespace

ReviewRecords LoadReviewRecords(const fs::path& folder, std::string_view userName, int userSex,
                                std::stop_token stop, ReviewLoadProgress* progress) {
    const std::vector<std::string> pulses = ListUserRecordings(folder, userName, ".ppg");
    const std::vector<std::string> rates = ListUserRecordings(folder, userName, ".hrv");
    std::vector<Job> jobs;
    for (const std::string& name : pulses)
        jobs.push_back({&name, Kind::Pulse});
    for (const std::string& name : rates)
        jobs.push_back({&name, Kind::Rate});
    if (progress) {
        progress->done = 0;
        progress->total = static_cast<int>(jobs.size());
    }

    // The recordings are independent: they are replayed on up to kMaxWorkers threads at once,
    // this one included.
    std::vector<Outcome> outcomes(jobs.size());
    std::atomic<size_t> next{0};
    {
        const size_t cores = std::max(1u, std::thread::hardware_concurrency());
        const size_t workers = std::min({kMaxWorkers, cores, jobs.size()});
        std::vector<std::jthread> helpers;
        for (size_t i = 1; i < workers; ++i) {
            try {
                helpers.emplace_back(
                    [&] { Work(jobs, outcomes, next, folder, userSex, stop, progress); });
            } catch (const std::system_error& error) {
                TRACE("review: loading with %zu threads only (%s)\n", i, error.what());
                break;
            }
        }
        Work(jobs, outcomes, next, folder, userSex, stop, progress);
    } // the helpers are joined here

    ReviewRecords records;
    for (size_t i = 0; i < jobs.size(); ++i) {
        const Outcome& outcome = outcomes[i];
        const std::string& name = *jobs[i].name;
        if (!outcome.loaded)
            continue;
        if (!outcome.readable) {
            ++records.unreadable;
        } else if (jobs[i].kind == Kind::Pulse) {
            Append(&records.meanPulse, CLinkList::kMeanPulse, outcome.first, outcome, name);
            Append(&records.wellness, CLinkList::kWellnessIndex, outcome.second, outcome, name);
        } else {
            Append(&records.stress, CLinkList::kStressIndex, outcome.first, outcome, name);
        }
    }
    return records;
}
