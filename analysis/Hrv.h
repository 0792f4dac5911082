#pragma once
// CHrv: the signal-analysis object of one test or review window. It takes the sensor's byte
// stream (FeedBytes) or samples (AddSamples) at 200 samples per second, conditions them,
// finds the heart beats on the smoothed slope, turns each beat interval into a rate and
// keeps the rate queue and the attachments (APG analysis, rate chart, rate display, pulse
// ring, LF/HF chart) up to date. It also reads and writes the recording files and runs the
// HRV analysis.
//
// Threads: FeedBytes and AddSamples run on the acquisition thread while a test runs; the
// Copy*, Summarise*, Timeline* and flag accessors, StopApgIntake and SavePulseFile may be
// called from any thread at any time (the stress test saves its pulse recording while it
// goes on). Everything else (reset, attach, the other file operations, analysis) belongs to
// the owner's thread while no acquisition thread feeds the object. One lock guards all data; it is
// taken once per FeedBytes/AddSamples batch and once per reader call, and never held while the
// owner draws.
//
// The object is large (three series of 65000 values): create it on the heap.

#include "analysis/ApgCanvas.h"
#include "analysis/ElementQueue.h"
#include "analysis/HrvCanvas.h"
#include "analysis/HrvResult.h"
#include "analysis/MovingAverage.h"
#include "analysis/PulseRing.h"
#include "analysis/ShiftArray.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class LfHfCanvas;
struct RecordingHeader;

struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Which recording the object holds, set from the file name by the file operations.
struct RecordingIdentity {
    std::string name;         // the path as given to the last load or pulse save
    std::string dateTimeText; // "YYYY-MM-DD HH:MM:SS", empty after a reset
    DateTime dateTime;
    int age = -1; // years, -1 when not set
};

struct BeatEntry {
    double index = 0; // sample index in the signal series
    double value = 0; // signal value there
    double rateBpm = 0;
};

// The rate chart as a window draws it: the timeline (oldest first) and its page position.
struct RateChartCopy {
    std::vector<double> timeline;
    int droppedTicks = 0;   // tick markers dropped from the front of a full timeline
    int scrollPosition = 0; // ticks the page has moved on (span exceeded or dropped)
    int ticks = 0;          // tick markers received
};

// The LF/HF chart as a window draws it: the history of smoothed LF shares (oldest first).
struct LfHfChartCopy {
    std::vector<double> history;
    int droppedValues = 0;
    int scrollPosition = 0;
};

enum class FileStatus {
    Ok,
    CannotOpen,   // the file could not be created or opened
    WriteFailed,  // writing, flushing or replacing the file failed (disk full, read-only)
    UnsafeName,   // the file name could escape its folder or is not a valid name
    NothingSaved, // nothing to save (no samples, no timeline): no file was written
};

class CHrv {
public:
    static constexpr double kSampleRate = 200.0;
    static constexpr int kSeriesCapacity = 65000;
    static constexpr int kSettlingSamples = 40;
    static constexpr int kSlopeWindow = 10;
    static constexpr int kDetectionWindow = 400;
    static constexpr int kSamplesPerTick = 50;
    static constexpr int kNoBeatWait = 171; // samples before the next try after a rejected beat
    static constexpr int kBeatCapacity = 750;
    static constexpr int kRateCapacity = 1080;
    static constexpr int kResampledCapacity = kRateCapacity + 2;
    static constexpr int kIntakeCapacity = 24000;
    static constexpr int kPulseRing = 400;

    enum class Series { Raw, Signal, Slope, ApgPulse, ApgDiff1, ApgDiff2 };

    CHrv();
    ~CHrv();
    CHrv(const CHrv&) = delete;
    CHrv& operator=(const CHrv&) = delete;

    // Back to an empty measurement: series, windows, beats, rates, filter state and every
    // attachment emptied, running flag cleared, date-time cleared, age -1. The name stays.
    void ResetMeasurement();

    // Attachments: each call creates the attachment when missing, else resets it.
    void AttachApg();
    void AttachRateDisplay();
    void AttachRateChart(int spanSeconds);
    void AttachPulseRing();
    void AttachLfHfChart();

    // --- Intake (acquisition thread) ---
    // Appends the bytes of one report to the intake queue and decodes the whole groups.
    void FeedBytes(const uint8_t* bytes, int length);
    // Runs the per-sample chain for each sample in order.
    void AddSamples(const int16_t* samples, int count);
    // Records a rate (0 or 30..240 bpm) or a tick marker (-1); other values are ignored.
    // redraw says whether the charts should repaint now (see ChartRevision).
    void AddRate(bool redraw, double value);

    // --- Flags (any thread) ---
    void SetRunning(bool running) { m_running = running ? 1 : 0; }
    bool Running() const { return m_running != 0; }
    void SetThreadRun(bool run) { m_threadRun = run ? 1 : 0; }
    bool ThreadRun() const { return m_threadRun != 0; }
    // Advances each time a rate or tick arrives with redraw set; a window repaints its
    // charts when the revision it drew last differs.
    unsigned ChartRevision() const { return m_chartRevision; }

    // --- Readers (any thread; each copies under the lock) ---
    int Count(Series which) const;
    // Copies the newest min(maxCount, count) values of a series, oldest first, into dst;
    // returns how many. total (optional) receives the series count; extent (optional) the
    // largest absolute value of the whole series.
    int CopySeriesTail(Series which, double* dst, int maxCount, int* total = nullptr,
                       double* extent = nullptr) const;
    // The raw samples received since the last reset, numbered from 0 in arrival order: copies
    // those numbered `first` and later that the raw series still holds (its newest 65000)
    // into *dst and returns how many were received in all. A reader that falls more than
    // 65000 samples behind misses some: the returned total minus `first` exceeds dst's size.
    long long CopyRawFrom(long long first, std::vector<double>* dst) const;
    // Minimum and maximum of the pulse ring, truncated to int and stored back into the ring.
    // Returns false (outputs unset) when no pulse ring is attached.
    bool PulseRingRange(int* minValue, int* maxValue);
    RateDisplay CopyRateDisplay() const;
    std::vector<double> CopyRates() const;          // rate queue, oldest first
    std::vector<double> CopyResampledRates() const; // cleaned series of the last analysis
    std::vector<double> CopyTimeline() const;       // rate timeline, oldest first
    std::vector<double> CopyLfHistory() const;      // LF/HF chart history, oldest first
    RateChartCopy CopyRateChart() const;            // empty without a rate chart
    LfHfChartCopy CopyLfHfChart() const;            // empty without an LF/HF chart
    int TimelineTicks() const;
    // TimelineStats of the rate chart (0 and outputs unset without a chart or rates).
    double TimelineStats(double* minRate, double* maxRate) const;
    int BeatCount() const;
    BeatEntry Beat(int i) const;
    int LastInterval() const;
    // APG figures for a person of that age and sex (runs ComputeMeans); all "nothing to
    // show" values when no APG object is attached.
    ApgSummary SummariseApg(int age, int sex);
    HrvResult Result() const;
    RecordingIdentity Identity() const;
    void SetAge(int age);

    // The APG object keeps what it holds and takes no further samples, beats or rates (the
    // stress test keeps the wellness figures of its first minute); until the next reset. The
    // intake also ends by itself with the first sample its full series (65 s) cannot take.
    void StopApgIntake();

    // --- HRV analysis (owner's thread) ---
    // Cleans the rate queue as it stands (f_cleanrate) into the resampled rate queue; returns
    // the seconds of valid beats of the cleaned series and its count in *cleanedCount.
    double CleanRateQueue(int* cleanedCount);
    // Fills the result record from the rate queue; TooShort leaves it zeroed apart from age,
    // sex and the four norm fields.
    HrvStatus AnalyseHrv(int sex, int age);

    // --- Recording files (owner's thread) ---
    FileStatus SavePulseFile(const std::string& path, const RecordingHeader* header);
    FileStatus SaveRateFile(const RecordingHeader* header, const std::string& path);
    FileStatus LoadPulseFile(RecordingHeader* header, const std::string& path);
    FileStatus LoadRateFile(RecordingHeader* header, const std::string& path);

private:
    struct Filter {
        double fs = 200.0;
        double cutoff = 10.0;
        double resonance = 0.0;
        double fourFs2 = 0, eightFs2 = 0, twoFs = 0, piOverFs = 0;
        double a1 = 0, a2 = 0, b1 = 0, b2 = 0;
        double s1 = 0, s2 = 0, t1 = 0, t2 = 0;
        double gain = 0;
        double fmin = 0, fmax = 0;
        void Design();
        double Step(double x);
    };

    void ResetLocked();
    void DecodeSamplesLocked();
    void AddSamplesLocked(const int16_t* samples, int count);
    void AddSampleLocked(double x);
    void EvaluateBeat();
    void AddRateLocked(bool redraw, double value);
    void SetIdentityFromPath(const std::string& path, int birthYear);
    ApgCanvas* ApgIntake() { return m_apgIntake ? m_apg.get() : nullptr; }
    const double* SeriesData(Series which, int* count) const;

    mutable std::mutex m_lock; // guards every member below except the atomics

    Filter m_filter;
    ElementQueue<uint8_t> m_intake{kIntakeCapacity};
    std::vector<int16_t> m_decoded; // sample buffer of one decode pass
    RecordingIdentity m_identity;

    ShiftArray<double, kSeriesCapacity> m_raw;
    long long m_rawReceived = 0; // samples pushed into m_raw since the reset
    ShiftArray<double, kSeriesCapacity> m_signal;
    ShiftArray<double, kSeriesCapacity> m_slope;
    MovingAverage<kSlopeWindow> m_slopeAverage; // of the signal's first differences
    ShiftArray<double, kDetectionWindow> m_window;

    int m_countdown = -1; // -1 while searching
    int m_tickCounter = 0;
    int m_lastInterval = 0;
    int m_lastBeatIndex = 0;
    int m_apgLastIndex = -1;
    bool m_apgIntake = true; // the APG object takes samples, beats and rates

    int m_beatCount = 0;
    double m_beatIndex[kBeatCapacity] = {};
    double m_beatValue[kBeatCapacity] = {};
    double m_beatRate[kBeatCapacity] = {};

    ElementQueue<double> m_rates{kRateCapacity};
    ElementQueue<double> m_resampled{kResampledCapacity};
    HrvResult m_result;

    std::atomic<int> m_running{0};
    std::atomic<int> m_threadRun{0};
    std::atomic<unsigned> m_chartRevision{0};

    std::unique_ptr<ApgCanvas> m_apg;
    std::unique_ptr<HrvCanvas> m_rateChart;
    std::unique_ptr<RateDisplay> m_rateDisplay;
    std::unique_ptr<PulseRing> m_pulseRing;
    std::unique_ptr<LfHfCanvas> m_lfHf;
};
