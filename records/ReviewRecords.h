#pragma once
// The points of the review's three trend charts, computed from a user's recordings in the
// working folder: per pulse recording (".ppg") its mean pulse and its wellness index, per rate
// recording (".hrv") its stress index. Each recording is replayed through a CHrv of the
// loader's own, as the test computed it.
//
// A user's recordings are exactly "<name>_YYYYMMDD_HHMMSS.ppg" / ".hrv" (UserRecordings.h),
// taken in name order, which is the order of the tests. A recording that cannot be read gives
// no point (a point at a made-up 0 would be a wrong result); it is counted instead.
// Names are UTF-8.
//
// Threads: LoadReviewRecords may run on any thread; it shares nothing with its caller but
// the stop token and the progress counters, which are safe to read from any thread while it
// runs. It replays the recordings on up to four threads at once (the calling one included),
// each with a CHrv of its own, and joins them before it returns.

#include <atomic>
#include <filesystem>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

// One point of a chart. The loader fills the date label, kind, value, number and file name;
// the window's positioning step fills the position and the hot rectangle.
struct CLinkList {
    static constexpr int kMeanPulse = 1;     // from a .ppg
    static constexpr int kWellnessIndex = 2; // from a .ppg
    static constexpr int kStressIndex = 4;   // from a .hrv

    std::string dateLabel; // "YYYY-MM-DD HH:MM:SS" from the file name
    int kind = 0;
    double value = 0;
    int number = 0; // 1-based, within its chart, in listing order
    int x = 0;      // position inside the chart, pixels
    int y = 0;
    int hotLeft = 0; // sensitive area in window coordinates, edges included
    int hotTop = 0;
    int hotRight = 0;
    int hotBottom = 0;
    std::string fileName; // bare, in the working folder
};

struct ReviewRecords {
    std::vector<CLinkList> meanPulse; // kind 1, one per readable .ppg
    std::vector<CLinkList> wellness;  // kind 2, one per readable .ppg
    std::vector<CLinkList> stress;    // kind 4, one per readable .hrv
    int unreadable = 0;               // recordings of either kind that could not be read
};

// How far a load has come: recordings looked at, of all found.
struct ReviewLoadProgress {
    std::atomic<int> done{0};
    std::atomic<int> total{0};
};

// Reads the recordings of userName in folder:
// - .ppg: mean pulse = the mean of the replayed rate timeline, truncated; wellness index =
//   WellnessIndex with the recording's age (test year from the file name minus the header's
//   birth year) and the header's sex, truncated;
// - .hrv: stress index = the stress score of AnalyseHrv with userSex (1 male, 2 female) and
//   the recording's age.
// Cannot be read: a file that does not open, is shorter than its header or starts with no
// recording marker; a pulse recording that yields no rate; a rate recording that the HRV
// analysis finds too short.
// When stop is requested the load ends after the recordings in hand; what it returns then is
// incomplete.
ReviewRecords LoadReviewRecords(const std::filesystem::path& folder, std::string_view userName,
                                int userSex, std::stop_token stop = {},
                                ReviewLoadProgress* progress = nullptr);
