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

// Replays at most the 10 recordings that end with the one the CHrv holds (compared by bare
// file name; the 10 newest when it holds none of them) and returns their records, oldest
// first. Each replay resets the CHrv, so afterwards it holds the last one loaded. Without any
// recording of the user the CHrv is left as it was. sex: 1 male, 2 female.
std::vector<CHistoryList> BuildApgHistory(CHrv& hrv, const QString& folder, const QString& userName,
                                          int sex);

// The record of the recording the CHrv holds now (its age from the recording).
CHistoryList SummariseRecording(CHrv& hrv, int sex);
