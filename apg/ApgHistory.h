#pragma once
// The history of the wellness report: the current user's earlier recordings up to the one
// the report shows, each replayed through the report's CHrv and summed up in one record.
//
// A user's recordings are exactly the files "<name>_YYYYMMDD_HHMMSS.ppg" of the working
// folder (not those of another user whose name starts the same way), taken in name order,
// which is the order of the test times.
// Threads: GUI thread, while no acquisition thread feeds the CHrv.

#include <QString>

#include <vector>

class CHrv;

// One earlier recording of the history.
struct CHistoryList {
    double vascularAge = 0;  // mean vascular age, truncated to whole years
    char typeLetter = 0;     // 'A'..'G', 0 without a type
    double daDifference = 0; // percent against the age decade's reference d/a, -1 for a
                             // negative age
    double meanPulse = 0;    // bpm, truncated
    QString dateTimeText;    // "YYYY-MM-DD HH:MM:SS"
    QString bpText;          // blood-pressure tendency (language text), "" without one
    double wellnessIndex = 0;
    int age = 0; // years, from the recording
};

constexpr int kApgHistoryRecords = 10;
constexpr int kApgRateChartSeconds = 300; // span of a wellness test's rate chart

// The attachments of a wellness test's CHrv: the APG object, the rate display, the rate chart
// and the pulse ring. A recording replayed into a CHrv made so gives the test's figures.
void AttachWellnessAnalysis(CHrv& hrv);

// The history of a report.
struct ApgHistory {
    std::vector<CHistoryList> records; // oldest first
    QString last;            // bare name of the last recording of the range, "" without any
    bool lastLoaded = false; // it was read and holds samples: the replaying CHrv holds it
};

// Replays through `replay` at most the 10 recordings that end with the one named upTo (a path
// or a bare name, compared by bare file name; the 10 newest when upTo names none of them) and
// returns their records. Each replay resets `replay`, so afterwards it holds the last one
// loaded. A recording that cannot be read, or holds no sample, has no record. sex: 1 male,
// 2 female.
ApgHistory BuildApgHistory(CHrv& replay, const QString& folder, const QString& userName, int sex,
                           const QString& upTo);

// The record of the recording the CHrv holds now (its age from the recording).
CHistoryList SummariseRecording(CHrv& hrv, int sex);
