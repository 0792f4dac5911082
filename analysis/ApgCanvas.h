#pragma once
// Pulse-wave (APG) analysis of one test: the conditioned pulse and its smoothed first,
// second and third derivatives, the a to e waves of the second derivative found once per
// beat, and the figures derived from all beats of the test. Draws nothing.
// Owned by CHrv, which guards it: every call happens under CHrv's lock or while no
// acquisition thread runs. All storage is fixed inside the object (no allocation per
// sample or per beat); the object is large (about 1 MB), so create it on the heap.
//
// Time base: 200 samples per second; an interval in ms is an index difference * 1000 / 200.
// A beat is qualified when its signal strength is 4 percent or more. Every figure below uses
// the qualified beats only, except MeanSignalStrength (all beats) and MeanPulse (rate list).

#include "analysis/MovingAverage.h"
#include "analysis/ShiftArray.h"

// Everything the windows, the report and the analysis tool show of one test.
struct ApgSummary {
    int qualified = 0; // ComputeMeans: qualified beats with a non-zero a wave
    double ba = 0;     // mean ratios b/a, c/a, d/a, e/a
    double ca = 0;
    double da = 0;
    double ea = 0;
    double abMs = 0; // mean intervals a-b, a-c, a-d, a-e in ms
    double acMs = 0;
    double adMs = 0;
    double aeMs = 0;
    double wellnessIndex = 0;
    double vascularAge = 0;
    int typeIndex = -1; // 0..6 for A..G, -1 = no type
    int bpStatus = 0;   // language-table message 40012..40015, 0 = none
    double meanSignalStrength = 0;
    double meanPulse = 0;
    int rows = 0; // beat-table rows
};

// One row of the beat table: the a, b, c, d and e waves (index 0..4) of one analysed beat.
struct ApgBeatRow {
    double position[5] = {};  // index of the wave in the DIFF2 series
    double amplitude[5] = {}; // DIFF2 value at that index
    double vascularAge = 0;   // ((b - c - d - e) / a + 1.515) / 0.023 of the amplitudes, years
                              // (not finite when a is 0)
    double typeIndex = 0;     // 0..6 for the wellness types A..G
    double strength = 0;      // signal strength in percent passed with the beat
};

class ApgCanvas {
public:
    static constexpr int kSeriesCapacity = 13000;
    static constexpr int kWindowCapacity = 500;
    static constexpr int kBeatCapacity = 750;
    static constexpr int kRateCapacity = 180;
    static constexpr int kSmoothing = 10;             // differences averaged per derivative
    static constexpr double kSampleRate = 200.0;      // samples per second
    static constexpr double kQualifiedStrength = 4.0; // percent

    enum class Series { Pulse, Diff1, Diff2, Diff3 };

    ApgCanvas();
    virtual ~ApgCanvas();

    // Back to the empty state: series, windows, beat table, means, rate list and beat list.
    void Reset();
    // Appends one conditioned pulse value and one value to each derivative series. DIFF1 is
    // the mean of the last 10 first differences of the pulse (0 until 10 exist), DIFF2 the
    // same on DIFF1, the third series the same on DIFF2. A full series drops its oldest value.
    void AddSample(double value);
    // Finds the a to e waves in the newest 500 values of DIFF2 and appends a beat-table row
    // (the first 750 rows are kept). A beat whose waves are not found leaves no row.
    void AnalyseBeat(double strengthPercent);
    // Rate list: the newest 180 rates in bpm (0 for a rejected beat).
    void AppendRate(double rateBpm);
    // Beat list kept for CHrv (pulse-series index, pulse value, rate); first 750 entries.
    void AppendBeat(int pulseIndex, double pulseValue, double rateBpm);

    // Means of b/a, c/a, d/a, e/a and of the a-b .. a-e intervals in ms over the qualified
    // beats with a non-zero a wave; returns their number. With none the means stay as they were.
    int ComputeMeans();
    // 50 at the c/a norm of the age decade and sex (1 male, 2 female), 20 points per standard
    // deviation, never below 0; 0 without a qualified beat.
    double WellnessIndex(int age, int sex) const;
    // Trimmed mean of the truncated vascular ages, at least 0; 0 without a qualified beat.
    double MeanVascularAge() const;
    // Trimmed mean of the type indices, truncated: 0..6 for A..G, -1 without a qualified beat.
    int MeanTypeIndex() const;
    // Blood-pressure tendency from the d/a mean of ComputeMeans against the age decade:
    // message number 40012..40015, 0 = no text (negative age).
    int BloodPressureStatus(int age) const;
    // Reference d/a of the age decade that BloodPressureStatus compares with (ages outside
    // 0..89 take the nearest decade).
    static double ReferenceDa(int age);
    double MeanSignalStrength() const; // plain mean over all beat-table rows, 0 when empty
    double MeanPulse() const;          // plain mean of the rate list, 0 when empty

    // ComputeMeans and every figure above in one record.
    ApgSummary Summarise(int age, int sex);

    int PulseCount() const;
    int LastSampleIndex() const; // index of the newest pulse value, -1 when empty
    int Count(Series which) const;
    const double* Data(Series which) const; // oldest first, Count(which) values
    int BeatRows() const;
    ApgBeatRow Row(int i) const; // row i of the beat table, an empty row outside 0..BeatRows()-1
    int BeatListCount() const;

private:
    using SeriesArray = ShiftArray<double, kSeriesCapacity>;

    // One smoothed-derivative stage: the mean of the last 10 first differences of its input.
    using Smoother = MovingAverage<kSmoothing>;

    struct BeatListEntry {
        int pulseIndex = 0;
        double pulseValue = 0;
        double rateBpm = 0;
    };

    // Pushes the next value of out: the smoothed newest difference of in.
    static void Differentiate(const SeriesArray& in, Smoother& smoother, SeriesArray& out);
    // Places the a to e waves in the analysis window; false when one of them is missing.
    bool PlaceWaves(int wave[5]) const;
    // Peak at or after start whose value is above 0 (-1 when there is none).
    int PositivePeak(int start) const;
    // Peak at or after start whose value reaches the a-wave threshold (-1 when none).
    int ThresholdPeak(int start, double threshold) const;
    // Writes the values of the qualified rows that pass the filter into values; their count.
    template <class Pick> int CollectQualified(double* values, Pick pick) const;

    SeriesArray m_pulse;
    SeriesArray m_diff1;
    SeriesArray m_diff2;
    SeriesArray m_diff3;
    Smoother m_smooth1;
    Smoother m_smooth2;
    Smoother m_smooth3;

    const double* m_window = nullptr; // newest part of DIFF2, valid during AnalyseBeat
    int m_windowLength = 0;
    int m_windowOffset = 0; // index in DIFF2 of m_window[0]

    ApgBeatRow m_rows[kBeatCapacity];
    int m_rowCount = 0;

    // b/a, c/a, d/a, e/a, a-b ms, a-c ms, a-d ms, a-e ms, as ComputeMeans stored them.
    double m_means[8] = {};

    ShiftArray<double, kRateCapacity> m_rates;

    BeatListEntry m_beatList[kBeatCapacity];
    int m_beatListCount = 0;
};
