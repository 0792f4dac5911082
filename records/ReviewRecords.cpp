#include "records/ReviewRecords.h"

#include "analysis/Hrv.h"
#include "analysis/RecordingFile.h"
#include "analysis/RecordingHeader.h"
#include "analysis/Trace.h"
#include "records/UserRecordings.h"

#include <cmath>
#include <memory>
#include <optional>

namespace fs = std::filesystem;

namespace {

constexpr int kRateChartSeconds = 300; // span of the review's rate chart

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

void Append(std::vector<CLinkList>* list, int kind, double value, const CHrv& hrv,
            const std::string& fileName) {
    CLinkList entry;
    entry.dateLabel = hrv.Identity().dateTimeText;
    entry.kind = kind;
    entry.value = value;
    entry.number = static_cast<int>(list->size()) + 1;
    entry.fileName = fileName;
    list->push_back(std::move(entry));
}

} // namespace

ReviewRecords LoadReviewRecords(const fs::path& folder, std::string_view userName, int userSex,
                                std::stop_token stop, ReviewLoadProgress* progress) {
    ReviewRecords records;
    const std::vector<std::string> pulses = ListUserRecordings(folder, userName, ".ppg");
    const std::vector<std::string> rates = ListUserRecordings(folder, userName, ".hrv");
    if (progress) {
        progress->done = 0;
        progress->total = static_cast<int>(pulses.size() + rates.size());
    }
    auto step = [&] {
        if (progress)
            ++progress->done;
        return !stop.stop_requested();
    };

    auto hrv = std::make_unique<CHrv>();
    hrv->AttachApg();
    hrv->AttachRateChart(kRateChartSeconds);
    hrv->AttachPulseRing();
    for (const std::string& name : pulses) {
        const std::string path = PathIn(folder, name);
        if (const std::optional<PulsePoint> point = ReadPulsePoint(*hrv, path)) {
            Append(&records.meanPulse, CLinkList::kMeanPulse, point->meanPulse, *hrv, name);
            Append(&records.wellness, CLinkList::kWellnessIndex, point->wellnessIndex, *hrv, name);
        } else {
            TRACE("review: cannot read %s\n", path.c_str());
            ++records.unreadable;
        }
        if (!step())
            return records;
    }
    for (const std::string& name : rates) {
        const std::string path = PathIn(folder, name);
        if (const std::optional<double> stress = ReadStressPoint(*hrv, path, userSex)) {
            Append(&records.stress, CLinkList::kStressIndex, *stress, *hrv, name);
        } else {
            TRACE("review: cannot read %s\n", path.c_str());
            ++records.unreadable;
        }
        if (!step())
            return records;
    }
    return records;
}
